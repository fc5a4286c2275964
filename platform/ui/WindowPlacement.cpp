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
    if (box.windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
        box.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
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
