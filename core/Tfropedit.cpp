// The window "修改操作员密码": the logged-in operator's own name and password.
#include "core/Tfropedit.h"

#include "core/ScramblePassword.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
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

Tfropedit::Tfropedit(QWidget* list)
    : QWidget(nullptr, Qt::Window)
    , list_(list)
{
    setWindowTitle(QStringLiteral("修改操作员密码"));
    Edit3 = new QLineEdit(this);
    Edit3->setMaxLength(10);
    Edit1 = new QLineEdit(this);
    Edit1->setMaxLength(6);
    Edit1->setEchoMode(QLineEdit::Password);
    Edit2 = new QLineEdit(this);
    Edit2->setMaxLength(6);
    Edit2->setEchoMode(QLineEdit::Password);
    Button1 = new QPushButton(QStringLiteral("保存"), this);
    Button2 = new QPushButton(QStringLiteral("取消"), this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("操作员"), Edit3);
    form->addRow(QStringLiteral("密码"), Edit1);
    form->addRow(QStringLiteral("重输密码"), Edit2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    for (QLineEdit* digits : {Edit1, Edit2})
        lb::ui::KeyFilter::install(digits, lb::ui::KeyFilter::Allowed::Digits);
    auto* chain = new lb::ui::FocusChain(this);
    chain->setOrder({Edit3, Edit1, Edit2, Button1});
    chain->setArrowKeys({Edit3, Edit1, Edit2});

    connect(Button1, &QPushButton::clicked, this, &Tfropedit::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);
}

void Tfropedit::showEdit()
{
    Edit1->clear();
    Edit2->clear();
    Edit3->setText(frdm->ATopcrl->fieldByName(QStringLiteral("xm")).asString());
    show();
    raise();
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
    const QString password = Edit1->text().trimmed();
    const QString again = Edit2->text().trimmed();
    if (password.isEmpty() || again.isEmpty() || password != again) {
        lb::ui::Dialogs::message(QStringLiteral("密码输入不合法!"));
        Edit1->clear();
        Edit1->setFocus();
        return;
    }
    // A new name is saved with an unchanged password too; an unchanged row is not written.
    lb::db::Table& operators = *frdm->ATopcrl;
    const QString scrambled = lb::core::ScramblePassword(password);
    if (scrambled != operators.fieldByName(QStringLiteral("pw")).asString()
        || name != operators.fieldByName(QStringLiteral("xm")).asString()) {
        operators.edit();
        operators.fieldByName(QStringLiteral("pw")).setAsString(scrambled);
        operators.fieldByName(QStringLiteral("xm")).setAsString(name);
        operators.post();
    }
    // The privileged commands ask for the password the operator has now, not the old one.
    frmain->OperatorName = operators.fieldByName(QStringLiteral("xm")).asString();
    frmain->OperatorPassword = password;
    close();
}

void Tfropedit::closeEvent(QCloseEvent* event)
{
    lb::db::Table& operators = *frdm->ATopcrl;
    if (operators.active() && operators.state() != lb::db::DataSetState::Browse)
        operators.cancel();
    list_->setEnabled(true);
    QWidget::closeEvent(event);
}
