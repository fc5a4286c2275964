// Enter presses the focused button, Esc a window's cancel button, when nothing in the window took the key.
#pragma once

#include <QObject>

class QAbstractButton;
class QCoreApplication;

namespace lb::ui {

// Qt presses a focused push button on Enter only in dialogs, and a tool button never; Esc
// rejects a dialog but does nothing in a plain window. In every window of the program a key that
// went from the focused widget up through its parents untaken does this at the window:
// - Enter (Return, or the keypad's Enter) on a focused push or tool button presses it, also in
//   a dialog, whose default button it comes before;
// - Esc presses the button the window named its cancel button (setCancelButton) while it is
//   shown and enabled; a window that named none takes no Esc, whatever its buttons' captions,
//   and a dialog keeps its own Esc.
// So the Enter chains, a grid's Enter, a multi-line box and a cell editor's Esc keep their keys.
class ButtonKeys : public QObject {
    Q_OBJECT
public:
    // Installs the keys for every window; the application object installs them once and owns
    // them.
    static void install(QCoreApplication& application);

    // Names `button`, one of `window`'s own, as the button Esc presses in it (`window` is not a
    // dialog: a dialog keeps its own Esc). The window keeps only a guarded pointer to it: a
    // button deleted is no longer pressed. Naming another replaces it.
    static void setCancelButton(QWidget& window, QAbstractButton& button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

} // namespace lb::ui
