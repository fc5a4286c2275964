// Where the program's windows appear: above the window they belong to, centred where they should be.
#include "platform/ui/WindowPlacement.h"

#include <QApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

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

namespace {

// The frame the window system draws around `window` (title bar, borders): its own once it has
// been shown; before that, the frame of a shown window, `like` first, as the same window
// manager frames them alike; none when no window is shown.
QMargins frameOf(const QWidget& window, const QWidget* like)
{
    const auto margins = [](const QWidget& shown) {
        const QRect frame = shown.frameGeometry();
        const QRect inside = shown.geometry();
        return QMargins(inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
                        frame.bottom() - inside.bottom());
    };
    if (const QMargins own = margins(window); !own.isNull())
        return own;
    if (like && !margins(*like).isNull())
        return margins(*like);
    for (const QWidget* shown : QApplication::topLevelWidgets()) {
        if (shown->isVisible() && !margins(*shown).isNull())
            return margins(*shown);
    }
    return {};
}

} // namespace

void WindowPlacement::centreOver(QWidget& window, QWidget* over)
{
    QWidget* overWindow = over && over->window()->isVisible() ? over->window() : nullptr;
    const QScreen* screen = overWindow ? overWindow->screen() : window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QRect area = overWindow ? overWindow->frameGeometry() : available;
    // Placed before it is first shown, the window is measured as the showing will make it: one
    // never sized takes the size it asks for, its layout may still enlarge it, and its frame is
    // not drawn yet.
    const bool sized = window.testAttribute(Qt::WA_Resized);
    window.ensurePolished();
    if (!sized)
        window.adjustSize();
    if (QLayout* layout = window.layout())
        layout->activate();
    const QMargins frame = frameOf(window, overWindow);
    QRect outer(QPoint(), window.size().grownBy(frame));
    outer.moveCenter(area.center());
    // The title bar stays on the screen: a window larger than the one it is centred over, or
    // than the screen, hangs over the right and bottom edges instead.
    outer.moveTo(std::max(outer.left(), available.left()), std::max(outer.top(), available.top()));
    // The window itself goes inside its frame, whether or not the window system has made it yet;
    // a window never sized is measured again when shown, as before.
    window.setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), window.size()));
    window.setAttribute(Qt::WA_Resized, sized);
}

} // namespace lb::ui
