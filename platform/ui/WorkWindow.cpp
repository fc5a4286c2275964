// Base of the program's work windows: top-level, deleted on close, disabling their opener.
#include "platform/ui/WorkWindow.h"

#include "platform/ui/DataGrid.h"
#include "platform/ui/LbApplication.h"
#include "platform/ui/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <algorithm>
#include <vector>

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
        openerFocus_ = opener_->window()->focusWidget();
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

void WorkWindow::leave()
{
    if (inWayOut_) {
        // Qt ignores a close() made inside the close under way: that close ends for the way out.
        wayOutLeft_ = true;
        return;
    }
    leaving_ = true;
    close();
    leaving_ = false; // a closed window is deleted later, not here
}

bool WorkWindow::takeTyping()
{
    for (DataGrid* grid : findChildren<DataGrid*>())
        if (!grid->takeTyping())
            return false;
    return true;
}

void WorkWindow::closeEvent(QCloseEvent* event)
{
    if (finished_) {
        event->accept();
        return;
    }
    if (!leaving_ && !ending_) {
        if (const std::function<void()> way = wayOut()) {
            inWayOut_ = true;
            wayOutLeft_ = false;
            // A refusal or an error of the way out is reported as its command reports it; the
            // window stays open unless the way out left.
            LbApplication::guarded(this, [&way] {
                way();
                return true;
            });
            inWayOut_ = false;
            if (!wayOutLeft_) {
                event->ignore();
                return;
            }
        } else {
            // The close box takes what is typed as a command does; a row that cannot be
            // stored keeps the window open, the typing on screen.
            bool taken = false;
            LbApplication::guarded(this, [&] {
                taken = takeTyping();
                return true;
            });
            if (!taken) {
                event->ignore();
                return;
            }
        }
    }
    if (!ending_ && !canClose()) {
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

void WorkWindow::endAll(QWidget* keep)
{
    for (;;) {
        std::vector<WorkWindow*> open;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* work = qobject_cast<WorkWindow*>(window); work && work->isVisible() && !work->finished_ && !work->ending_)
                open.push_back(work);
        // One that opened none of the others: a picker before its form, a form before its
        // list, whose closing would take the form's document away.
        const auto last = std::find_if(open.begin(), open.end(), [&open](const WorkWindow* candidate) {
            return std::none_of(open.begin(), open.end(), [candidate](const WorkWindow* other) {
                return other->opener_ && other->opener_->window() == candidate;
            });
        });
        if (last == open.end())
            break;
        (*last)->end();
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == keep || !window->isVisible())
            continue;
        if (auto* dialog = qobject_cast<QDialog*>(window))
            dialog->reject();
        else
            window->close();
    }
}

void WorkWindow::end()
{
    ending_ = true;
    if (inWayOut_) {
        // The end came from inside the window's own way out (its failure's error form): that
        // close goes on to the end when the way out returns.
        wayOutLeft_ = true;
        return;
    }
    const QPointer<WorkWindow> alive(this);
    LbApplication::guarded(this, [this] {
        if (const std::function<void()> way = wayOut())
            way();
        else
            takeTyping();
        return true;
    });
    if (alive && !finished_)
        close();
}

void WorkWindow::finish()
{
    finished_ = true;
    // The opener comes back even when a close hook fails; the error still reaches the caller.
    struct EnableOpener {
        WorkWindow& window;
        ~EnableOpener() { window.enableOpener(); }
    } enable{*this};
    onClosing();
    emit closed();
}

void WorkWindow::enableOpener()
{
    if (!opener_)
        return;
    opener_->setEnabled(true);
    // The window's activation puts the focus back into this control.
    if (disabledOpener_ && openerFocus_ && openerFocus_->isEnabled())
        openerFocus_->setFocus();
    opener_->raise();
    opener_->activateWindow();
}

} // namespace lb::ui
