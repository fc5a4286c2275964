// Enter presses the focused button, Esc a window's cancel button, when nothing in the window took the key.
#include "platform/ui/ButtonKeys.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>

namespace lb::ui {

namespace {

// The window's property that holds the button setCancelButton named, as a guarded pointer.
const char* const cancelButton = "lbCancelButton";

// The button `key` presses when it reaches `window` untaken; nullptr for none.
QAbstractButton* buttonFor(int key, QWidget& window)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        QWidget* focused = QApplication::focusWidget();
        const bool button = qobject_cast<QPushButton*>(focused) || qobject_cast<QToolButton*>(focused);
        return button && focused->window() == &window ? static_cast<QAbstractButton*>(focused) : nullptr;
    }
    if (key != Qt::Key_Escape || qobject_cast<QDialog*>(&window))
        return nullptr;
    // A button on a page not shown (another tab's) is not this page's way out.
    const auto cancel = window.property(cancelButton).value<QPointer<QAbstractButton>>();
    return cancel && cancel->isVisible() ? cancel.data() : nullptr;
}

} // namespace

void ButtonKeys::install(QCoreApplication& application)
{
    // The application's filters see a key press at each step of its way from the focused widget
    // up to the window, before that step's widget: at the window's step, nothing below took it.
    application.installEventFilter(new ButtonKeys(&application));
}

void ButtonKeys::setCancelButton(QWidget& window, QAbstractButton& button)
{
    window.setProperty(cancelButton, QVariant::fromValue(QPointer<QAbstractButton>(&button)));
}

bool ButtonKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() || !static_cast<QWidget*>(watched)->isWindow())
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    QAbstractButton* button = buttonFor(key->key(), *static_cast<QWidget*>(watched));
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

} // namespace lb::ui
