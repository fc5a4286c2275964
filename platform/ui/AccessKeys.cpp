// Alt with a letter is a window's access key, never text typed into one of its boxes.
#include "platform/ui/AccessKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace lb::ui {

void AccessKeys::guard(QCoreApplication& application)
{
    // The application sees a key press after the shortcuts have passed it over, before the
    // focused widget does: a key an access key took never arrives here.
    application.installEventFilter(new AccessKeys(&application));
}

bool AccessKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers held = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (held != Qt::AltModifier || key->key() < Qt::Key_A || key->key() > Qt::Key_Z)
        return false;
    // An open pop-up menu chooses its item by the letter, with or without Alt.
    return !qobject_cast<QMenu*>(static_cast<QWidget*>(watched)->window());
}

} // namespace lb::ui
