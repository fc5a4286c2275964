// Tab leaves a multi-line box as it leaves every other box, never typing a tab into it.
#include "platform/ui/MultiLineKeys.h"

#include "platform/ui/FocusChain.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>

namespace lb::ui {

namespace {

// `watched` when it is a multi-line box that takes typing (the program's are all plain-text
// ones); nullptr otherwise. A read-only one passes Tab on by itself.
QPlainTextEdit* editableMultiLine(QObject* watched)
{
    auto* box = qobject_cast<QPlainTextEdit*>(watched);
    return box && !box->isReadOnly() ? box : nullptr;
}

} // namespace

void MultiLineKeys::install(QCoreApplication& application)
{
    // The application sees a key press before the focused box does, after the shortcuts.
    application.installEventFilter(new MultiLineKeys(&application));
}

bool MultiLineKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
        return false;
    if (key->modifiers() & ~(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier))
        return false;
    QPlainTextEdit* box = editableMultiLine(watched);
    if (!box)
        return false;
    const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
    // Taken even where there is nowhere to go: a box alone in its window types no tab either.
    if (QWidget* next = FocusChain::neighbour(box, forward))
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

} // namespace lb::ui
