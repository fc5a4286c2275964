// Where the program's windows appear: above the window they belong to, centred where they should be.
#include "platform/ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace lb::ui {

void WindowPlacement::keepAbove(QWidget& window, QWidget* owner)
{
    QWidget* ownerWindow = owner ? owner->window() : nullptr;
    if (ownerWindow == &window)
        return;
    // Window systems keep only dialog-type windows above the window they are transient for
    // (X11 gets no WM_TRANSIENT_FOR for a plain window): a work window becomes one, with the
    // title bar buttons of a plain window.
    if (ownerWindow && window.windowType() == Qt::Window) {
        Qt::WindowFlags hints = window.windowFlags() & ~Qt::WindowType_Mask;
        if (!hints.testFlag(Qt::CustomizeWindowHint))
            hints |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                     | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
        const bool wasVisible = window.isVisible();
        window.setWindowFlags(hints | Qt::Dialog);
        if (wasVisible)
            window.show();
    }
    window.winId(); // the native window exists from here on, so it can be told its owner
    if (ownerWindow)
        ownerWindow->winId();
    window.windowHandle()->setTransientParent(ownerWindow ? ownerWindow->windowHandle() : nullptr);
}

void WindowPlacement::raiseOver(QWidget& box, QWidget* owner)
{
    QWidget* ownerWindow = owner ? owner->window() : nullptr;
    // A window that stays on top sits in a layer of its own: a box kept merely above it as its
    // transient would still open below it under some window managers.
    const bool onTop = ownerWindow && ownerWindow->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (box.windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
        // Changing the flags drops the decoration a dialog chose by default: keep it to a
        // title and a close button.
        Qt::WindowFlags flags = box.windowFlags();
        if (!flags.testFlag(Qt::CustomizeWindowHint))
            flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
        box.setWindowFlags(flags);
    }
    keepAbove(box, ownerWindow);
}

void WindowPlacement::centreOver(QWidget& window, QWidget* over)
{
    QWidget* overWindow = over ? over->window() : nullptr;
    QRect area;
    if (overWindow && overWindow->isVisible())
        area = overWindow->frameGeometry();
    else if (const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isEmpty())
        return;
    QRect frame(QPoint(), window.frameGeometry().size().expandedTo(window.size()));
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}

} // namespace lb::ui
