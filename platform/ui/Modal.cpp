// Runs the program's modal windows, so that tests can act on them in place of a user.
#include "platform/ui/Modal.h"

#include "platform/ui/GuardSlot.h"
#include "platform/ui/ScriptedModals.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

namespace lb::ui {

int Modal::exec(QDialog& dialog)
{
    ScriptedModals* script = ScriptedModals::current();
    if (!script)
        return dialog.exec();
    ScriptedModals::Step step = script->take(dialog);
    if (!step)
        return QDialog::Rejected;
    QPointer<QDialog> guard(&dialog);
    QTimer::singleShot(0, &dialog, guardSlot(&dialog, [guard, step] {
        // A step that forgot to close the window, or failed, must not hang the test.
        struct CloseAfter {
            QPointer<QDialog> dialog;
            ~CloseAfter()
            {
                if (dialog && dialog->isVisible())
                    dialog->reject();
            }
        } closeAfter{guard};
        step(*guard);
    }));
    return dialog.exec();
}

} // namespace lb::ui
