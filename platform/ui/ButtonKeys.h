// Enter presses the focused button, Esc a window's 取消, when nothing in the window took the key.
#pragma once

#include <QObject>

class QCoreApplication;

namespace lb::ui {

// Qt presses a focused push button on Enter only in dialogs, and a tool button never; Esc
// rejects a dialog but does nothing in a plain window. In every window of the program a key that
// went from the focused widget up through its parents untaken does this at the window:
// - Enter (Return, or the keypad's Enter) on a focused push or tool button presses it, also in
//   a dialog, whose default button it comes before;
// - Esc presses the window's shown, enabled "取消" button; a dialog keeps its own Esc.
// So the Enter chains, a grid's Enter, a multi-line box and a cell editor's Esc keep their keys.
class ButtonKeys : public QObject {
    Q_OBJECT
public:
    // Installs the keys for every window; the application object installs them once and owns
    // them.
    static void install(QCoreApplication& application);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

} // namespace lb::ui
