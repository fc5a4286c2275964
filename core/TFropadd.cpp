// The window "新增操作员": a new operator with number, name and password.
#include "core/TFropadd.h"

#include "core/ScramblePassword.h"
#include "core/Tfrdm.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FocusChain.h"
#include "platform/ui/KeyFilter.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFropadd::TFropadd(QWidget* list)
    : QWidget(nullptr, Qt::Window)
    , list_(list)
{
    setWindowTitle(QStringLiteral("新增操作员"));
    Edit3 = new QLineEdit(this);
    Edit3->setMaxLength(3);
    Edit4 = new QLineEdit(this);
    Edit4->setMaxLength(10);
    Edit1 = new QLineEdit(this);
    Edit1->setMaxLength(6);
    Edit1->setEchoMode(QLineEdit::Password);
    Edit2 = new QLineEdit(this);
    Edit2->setMaxLength(6);
    Edit2->setEchoMode(QLineEdit::Password);
    Button1 = new QPushButton(QStringLiteral("保存"), this);
    Button2 = new QPushButton(QStringLiteral("取消"), this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("编号"), Edit3);
    form->addRow(QStringLiteral("姓名"), Edit4);
    form->addRow(QStringLiteral("密码"), Edit1);
    form->addRow(QStringLiteral("重输密码"), Edit2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    for (QLineEdit* digits : {Edit3, Edit1, Edit2})
        lb::ui::KeyFilter::install(digits, lb::ui::KeyFilter::Allowed::Digits);
    auto* chain = new lb::ui::FocusChain(this);
    chain->setOrder({Edit3, Edit4, Edit1, Edit2, Button1});
    chain->setArrowKeys({Edit3, Edit4, Edit1, Edit2});

    connect(Button1, &QPushButton::clicked, this, &TFropadd::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);
}

void TFropadd::showAdd()
{
    for (QLineEdit* edit : {Edit3, Edit4, Edit1, Edit2})
        edit->clear();
    show();
    raise();
    Edit3->setFocus();
}

void TFropadd::Button1Click()
{
    const QString password = Edit1->text().trimmed();
    const QString again = Edit2->text().trimmed();
    if (password.isEmpty() || again.isEmpty() || password != again) {
        lb::ui::Dialogs::message(QStringLiteral("密码输入不合法!"));
        Edit1->clear();
        Edit1->setFocus();
        return;
    }
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
    operators.fieldByName(QStringLiteral("bh")).setAsString(number);
    operators.fieldByName(QStringLiteral("xm")).setAsString(name);
    operators.fieldByName(QStringLiteral("pw")).setAsString(lb::core::ScramblePassword(password));
    operators.post();
    close();
}

void TFropadd::closeEvent(QCloseEvent* event)
{
    lb::db::Table& operators = *frdm->ATopcrl;
    if (operators.active() && operators.state() != lb::db::DataSetState::Browse)
        operators.cancel();
    list_->setEnabled(true);
    QWidget::closeEvent(event);
}
