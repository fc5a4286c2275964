// Where the program's windows appear: above the window they belong to, centred where they should be.
#pragma once

class QWidget;

namespace lb::ui {

// Top-level windows have no Qt parent (a disabled parent would disable them too), so the
// window system learns from here which window each one belongs to.
class WindowPlacement {
public:
    // Makes `window` transient for the top-level window of `owner` (nullptr: for none), so
    // that the window manager keeps it above that window, also when the other one is clicked.
    // A plain window becomes a dialog-type window for it (keeping minimise, maximise and close).
    static void keepAbove(QWidget& window, QWidget* owner);

    // For a box or form raised by `owner` (its top-level window counts): keeps it above that
    // window and on top of the others exactly when that window is. Call before showing;
    // `owner` may be nullptr.
    static void raiseOver(QWidget& box, QWidget* owner);

    // Moves `window`, frame included, so that it is centred over the top-level window of
    // `over`, or on the screen when `over` is nullptr or not shown, measured as it will show
    // (its layout applied); its frame's top left is kept within the screen's available area,
    // so that the title bar is on the screen.
    static void centreOver(QWidget& window, QWidget* over);
};

} // namespace lb::ui
