// Entering and leaving a control of a window, as the user moves through the window.
#include "platform/ui/ControlEntry.h"

#include "platform/ui/LbApplication.h"

#include <QApplication>
#include <QWidget>

namespace lb::ui {

ControlEntry::ControlEntry(QWidget* window) : QObject(window), window_(window->window())
{
    current_ = window_->focusWidget();
    // The application's focus changes, not the controls' focus events: a focus put in a control
    // while its window is inactive comes with the window's activation, under the reason of that,
    // and only a comparison with the control that had it tells an entry from a return.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusChanged(now); });
}

void ControlEntry::onEnter(QWidget* control, std::function<void()> handler)
{
    handlers_.push_back({control, true, std::move(handler)});
}

void ControlEntry::onExit(QWidget* control, std::function<void()> handler)
{
    handlers_.push_back({control, false, std::move(handler)});
}

void ControlEntry::focusChanged(QWidget* now)
{
    // A control of another window (a box, a picker, a pop-up menu) leaves this window's as it is.
    if (!now || now->window() != window_ || now == current_)
        return;
    const QPointer<QWidget> left = current_;
    current_ = now;
    const bool moved = movedTo_ == now && movedFrom_ == left;
    movedFrom_ = nullptr;
    movedTo_ = nullptr;
    if (left && !moved)
        run(left, false);
    run(now, true);
}

void ControlEntry::moveFocus(QWidget* control)
{
    movedFrom_ = current_;
    movedTo_ = control;
    control->setFocus(Qt::OtherFocusReason);
}

void ControlEntry::run(QWidget* control, bool enter)
{
    // Taken first: a handler may add handlers, or end the window and this object with it.
    std::vector<std::function<void()>> commands;
    for (const Handler& handler : handlers_)
        if (handler.enter == enter && handler.control == control)
            commands.push_back(handler.run);
    const QPointer<ControlEntry> alive(this);
    for (const std::function<void()>& command : commands) {
        if (!alive)
            return;
        LbApplication::guarded(window_, [&] {
            command();
            return true;
        });
    }
}

} // namespace lb::ui
