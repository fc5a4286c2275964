// Runs the program's modal windows, so that tests can act on them in place of a user.
#pragma once

class QDialog;

namespace lb::ui {

class Modal {
public:
    // Shows `dialog` modally and returns its result (QDialog::Accepted or Rejected). While a
    // ScriptedModals is installed its next step acts on the dialog inside the modal loop;
    // a dialog the step leaves open is rejected, and one with no step is rejected at once.
    static int exec(QDialog& dialog);
};

} // namespace lb::ui
