// Alt with a letter is a window's access key, never text typed into one of its boxes.
#include "platform/ui/AccessKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace lb::ui {

AccessKeys::AccessKeys(QWidget* window) : QObject(window), window_(window) {}

void AccessKeys::guard(QWidget* window)
{
    // The application sees a key press after the shortcuts have passed it over, before the
    // focused widget does: a key an access key took never arrives here.
    qApp->installEventFilter(new AccessKeys(window));
}

bool AccessKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() || !window_)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers held = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (held != Qt::AltModifier || key->key() < Qt::Key_A || key->key() > Qt::Key_Z)
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    return widget == window_ || window_->isAncestorOf(widget);
}

} // namespace lb::ui
