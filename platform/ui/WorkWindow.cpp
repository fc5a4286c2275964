// Base of the program's work windows: top-level, deleted on close, disabling their opener.
#include "platform/ui/WorkWindow.h"

#include "platform/ui/LbApplication.h"
#include "platform/ui/WindowPlacement.h"

#include <QCloseEvent>

namespace lb::ui {

WorkWindow::WorkWindow(QWidget* opener) : QWidget(nullptr), opener_(opener)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

// A window destroyed without a close event (program end) still gives its opener back.
WorkWindow::~WorkWindow()
{
    if (!finished_ && disabledOpener_ && opener_)
        opener_->setEnabled(true);
}

void WorkWindow::centreWhenShown(QWidget* over)
{
    centreOver_ = over;
    centre_ = true;
}

void WorkWindow::showWork(bool disableOpener)
{
    if (disableOpener && opener_) {
        opener_->setEnabled(false);
        disabledOpener_ = true;
    }
    WindowPlacement::keepAbove(*this, opener_);
    if (centre_)
        WindowPlacement::centreOver(*this, centreOver_);
    show();
    raise();
    activateWindow();
}

void WorkWindow::closeEvent(QCloseEvent* event)
{
    if (finished_) {
        event->accept();
        return;
    }
    if (!canClose()) {
        event->ignore();
        return;
    }
    event->accept();
    // Closing runs inside Qt's own close: a failing close step is reported here, not thrown
    // through Qt. The window closes and its opener comes back all the same.
    LbApplication::guarded(this, [this] {
        finish();
        return true;
    });
}

void WorkWindow::finish()
{
    finished_ = true;
    // The opener comes back even when a close hook fails; the error still reaches the caller.
    struct EnableOpener {
        WorkWindow& window;
        ~EnableOpener()
        {
            if (window.opener_) {
                window.opener_->setEnabled(true);
                window.opener_->raise();
                window.opener_->activateWindow();
            }
        }
    } enable{*this};
    onClosing();
    emit closed();
}

} // namespace lb::ui
