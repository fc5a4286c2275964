// Moves the focus with Enter along a fixed order, and with Up and Down through the tab order.
#include "platform/ui/FocusChain.h"
#include "platform/ui/GuardSlot.h"

#include <QKeyEvent>
#include <QWidget>

namespace lb::ui {

FocusChain::FocusChain(QObject* parent) : QObject(parent) {}

void FocusChain::watch(QWidget* widget)
{
    if (watched_.contains(widget))
        return;
    watched_ << widget;
    widget->installEventFilter(this);
    connect(widget, &QObject::destroyed, this, guardSlot(this, [this, widget] {
        watched_.removeAll(widget);
        next_.remove(widget);
        arrows_.remove(widget);
    }));
}

void FocusChain::link(QWidget* from, QWidget* to)
{
    watch(from);
    next_[from] = to;
}

void FocusChain::setOrder(const QList<QWidget*>& order, bool wrap)
{
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        link(order[i], order[i + 1]);
    if (wrap && order.size() > 1)
        link(order.back(), order.front());
}

void FocusChain::setArrowKeys(const QList<QWidget*>& widgets, Arrows arrows)
{
    for (QWidget* widget : widgets) {
        watch(widget);
        arrows_[widget] = arrows;
    }
}

QWidget* FocusChain::neighbour(QWidget* from, bool forward)
{
    QWidget* candidate = from;
    for (;;) {
        candidate = forward ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        if (!candidate || candidate == from)
            return nullptr;
        if (candidate->window() == from->window() && candidate->isVisible() && candidate->isEnabled()
            && (candidate->focusPolicy() & Qt::TabFocus) && !candidate->focusProxy())
            return candidate;
    }
}

bool FocusChain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        const auto link = next_.constFind(widget);
        if (link != next_.constEnd() && link.value()) {
            link.value()->setFocus(Qt::TabFocusReason);
            return true;
        }
        return false;
    }
    const int arrows = arrows_.value(widget, 0);
    const bool up = key == Qt::Key_Up && (arrows & Up);
    const bool down = key == Qt::Key_Down && (arrows & Down);
    if (up || down) {
        if (QWidget* target = neighbour(widget, down))
            target->setFocus(down ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lb::ui
