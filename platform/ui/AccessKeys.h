// Alt with a letter is a window's access key, never text typed into one of its boxes.
#pragma once

#include <QObject>

class QCoreApplication;

namespace lb::ui {

// A caption with "&" before a letter ("过帐&O") gives its button that letter as access key:
// Alt and the letter click it while it is shown and enabled. Qt then leaves the key to the
// focused widget, and a text box would type the letter; the desktop's access keys never type.
class AccessKeys : public QObject {
    Q_OBJECT
public:
    // In every window of the program, the cell editors of its grids and Qt's own dialogs
    // included, an Alt letter that no shown, enabled access key takes does nothing; a pop-up
    // menu keeps Alt letters for its items. The application object installs this once and
    // owns it.
    static void guard(QCoreApplication& application);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

} // namespace lb::ui
