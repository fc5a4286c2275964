// A one-line box that the keyboard or the program puts the focus in has its whole text selected.
#include "platform/ui/FocusSelection.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>

namespace lb::ui {

namespace {

// Set on a box whose focus went to a pop-up or left with its window, until it has the focus again.
const char* const focusAway = "lbFocusAway";

QLineEdit* oneLineBox(QObject& receiver)
{
    if (auto* box = qobject_cast<QLineEdit*>(&receiver))
        return box;
    // An editable combo box hands its focus events to its box directly, past the application.
    auto* combo = qobject_cast<QComboBox*>(&receiver);
    return combo && combo->isEditable() ? combo->lineEdit() : nullptr;
}

} // namespace

void FocusSelection::delivered(QObject& receiver, const QEvent& event)
{
    if (event.type() != QEvent::FocusIn && event.type() != QEvent::FocusOut)
        return;
    QLineEdit* box = oneLineBox(receiver);
    if (!box)
        return;
    const Qt::FocusReason reason = static_cast<const QFocusEvent&>(event).reason();
    const bool away = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
    if (event.type() == QEvent::FocusOut) {
        box->setProperty(focusAway, away);
        return;
    }
    // A window that becomes active gives the focus to the box the program chose meanwhile, or
    // that had it when the window went: only the first is the program putting it there.
    const bool back = away && box->property(focusAway).toBool();
    box->setProperty(focusAway, false);
    if (back || reason == Qt::MouseFocusReason)
        return;
    box->end(false);
    box->home(true);
}

} // namespace lb::ui
