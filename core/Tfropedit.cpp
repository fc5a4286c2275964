// The window "修改操作员密码": the logged-in operator's own name and password.
#include "core/Tfropedit.h"

#include "core/ScramblePassword.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "platform/db/Table.h"
#include "platform/ui/Dialogs.h"

#include <QLineEdit>

namespace lb::core {

Tfropedit::Tfropedit(QWidget* list)
    : OperatorWindow(list, QStringLiteral("修改操作员密码"))
{
    Edit3 = addEdit(QStringLiteral("操作员"), 10, false);
    finish();
}

void Tfropedit::showEdit()
{
    Edit1->clear();
    Edit2->clear();
    Edit3->setText(frdm->ATopcrl->fieldByName(QStringLiteral("xm")).asString());
    showAboveList();
    Edit1->setFocus();
}

void Tfropedit::Button1Click()
{
    const QString name = Edit3->text().trimmed();
    if (name.isEmpty()) {
        lb::ui::Dialogs::message(QStringLiteral("操作员姓名不能为空!"));
        Edit3->setFocus();
        return;
    }
    const QString password = checkedPassword();
    if (password.isEmpty())
        return;
    // A new name is saved with an unchanged password too; an unchanged row is not written.
    lb::db::Table& operators = *frdm->ATopcrl;
    const QString scrambled = lb::core::ScramblePassword(password);
    if (scrambled != operators.fieldByName(QStringLiteral("pw")).asString()
        || name != operators.fieldByName(QStringLiteral("xm")).asString()) {
        operators.edit();
        try {
            operators.fieldByName(QStringLiteral("pw")).setAsString(scrambled);
            operators.fieldByName(QStringLiteral("xm")).setAsString(name);
            operators.post();
        } catch (...) {
            // The row goes back to what is stored, so that a retry compares with that and
            // writes, and the operator keeps the password that still opens the program.
            operators.cancel();
            throw;
        }
    }
    // The privileged commands ask for the password the operator has now, not the old one:
    // set only once the row holds it.
    frmain->OperatorName = operators.fieldByName(QStringLiteral("xm")).asString();
    frmain->OperatorPassword = password;
    close();
}

} // namespace lb::core
