// Entering and leaving a control of a window, as the user moves through the window.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QWidget;

namespace lb::ui {

// A control is entered when it becomes the control of its window that has the focus, and left
// when another control of the same window takes that place. The window losing its activation
// (a message box, a picker, another program) and getting it back is neither; a control the
// program put the focus in while the window was inactive is entered once the window has its
// activation back, whatever order the system brings the events in, and the one that had the
// focus is left then. Handlers run through the application's error guard (LbApplication).
class ControlEntry : public QObject {
    Q_OBJECT
public:
    // Watches the controls of `window`'s top-level window; a Qt child of `window`.
    explicit ControlEntry(QWidget* window);

    void onEnter(QWidget* control, std::function<void()> handler);
    void onExit(QWidget* control, std::function<void()> handler);
    // Puts the focus in `control` as the program's move, not the clerk's (the cursor put back
    // after a refusal): `control` is entered as ever, but the control that has the focus is not
    // left by it, now or when the window gets its activation back; the clerk leaving it later is.
    void moveFocus(QWidget* control);

private:
    struct Handler {
        QPointer<QWidget> control;
        bool enter;
        std::function<void()> run;
    };
    void focusChanged(QWidget* now);
    void run(QWidget* control, bool enter);

    QWidget* window_;
    QPointer<QWidget> current_; // the window's control with the focus, as last seen
    // The program's move under way (moveFocus): from the control that had the focus to another.
    QPointer<QWidget> movedFrom_;
    QPointer<QWidget> movedTo_;
    std::vector<Handler> handlers_;
};

} // namespace lb::ui
