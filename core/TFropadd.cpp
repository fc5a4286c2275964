// The window "新增操作员": a new operator with number, name and password.
#include "core/TFropadd.h"

#include "core/ScramblePassword.h"
#include "core/Tfrdm.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "platform/ui/Dialogs.h"

#include <QLineEdit>

namespace lb::core {

TFropadd::TFropadd(QWidget* list)
    : OperatorWindow(list, QStringLiteral("新增操作员"))
{
    Edit3 = addEdit(QStringLiteral("编号"), 3, true);
    Edit4 = addEdit(QStringLiteral("姓名"), 10, false);
    finish();
}

void TFropadd::showAdd()
{
    for (QLineEdit* edit : {Edit3, Edit4, Edit1, Edit2})
        edit->clear();
    showAboveList();
    Edit3->setFocus();
}

void TFropadd::Button1Click()
{
    const QString password = checkedPassword();
    if (password.isEmpty())
        return;
    const QString number = Edit3->text().trimmed();
    const QString name = Edit4->text().trimmed();
    if (number.isEmpty() || name.isEmpty()) {
        lb::ui::Dialogs::message(QStringLiteral("编号或姓名为空,请重新输入!"));
        Edit3->clear();
        Edit3->setFocus();
        return;
    }
    lb::db::Query& query = *frdm->AQcom;
    query.close();
    query.sql().clear();
    query.sql().add(QStringLiteral("SELECT * from opcrl where bh=:p1"));
    query.paramByName(QStringLiteral("p1")).setAsString(Edit3->text());
    query.open();
    const bool taken = !query.isEmpty();
    query.close();
    if (taken) {
        lb::ui::Dialogs::message(QStringLiteral("该编号已存在,请重新输入编号!"));
        Edit3->clear();
        Edit3->setFocus();
        return;
    }
    lb::db::Table& operators = *frdm->ATopcrl;
    operators.append();
    try {
        operators.fieldByName(QStringLiteral("bh")).setAsString(number);
        operators.fieldByName(QStringLiteral("xm")).setAsString(name);
        operators.fieldByName(QStringLiteral("pw")).setAsString(lb::core::ScramblePassword(password));
        operators.post();
    } catch (...) {
        // A row left pending would be posted by the next append: a retry would store two.
        operators.cancel();
        throw;
    }
    close();
}

} // namespace lb::core
