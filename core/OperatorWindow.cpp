// What the windows "新增操作员" and "修改操作员密码" share: their form, keys, password check and close.
#include "core/OperatorWindow.h"

#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "platform/db/Table.h"
#include "platform/ui/ButtonKeys.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FocusChain.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/KeyFilter.h"
#include "platform/ui/WindowPlacement.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lb::core {

OperatorWindow::OperatorWindow(QWidget* list, const QString& caption)
    : QWidget(nullptr, Qt::Window)
    , list_(list)
    , form_(new QFormLayout)
{
    setWindowTitle(caption);
}

QLineEdit* OperatorWindow::addEdit(const QString& label, int maxLength, bool digitsOnly)
{
    auto* edit = new QLineEdit(this);
    edit->setMaxLength(maxLength);
    if (digitsOnly)
        lb::ui::KeyFilter::install(edit, lb::ui::KeyFilter::Allowed::Digits);
    form_->addRow(label, edit);
    edits_ << edit;
    return edit;
}

void OperatorWindow::showAboveList()
{
    adjustSize();
    lb::ui::WindowPlacement::centreOver(*this, frmain);
    lb::ui::WindowPlacement::keepAbove(*this, list_);
    show();
    raise();
    activateWindow();
}

void OperatorWindow::finish()
{
    Edit1 = addEdit(QStringLiteral("密码"), 6, true);
    Edit2 = addEdit(QStringLiteral("重输密码"), 6, true);
    for (QLineEdit* password : {Edit1, Edit2}) {
        password->setEchoMode(QLineEdit::Password);
        password->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // masked with "*"
    }
    Button1 = new QPushButton(QStringLiteral("保存"), this);
    Button2 = new QPushButton(QStringLiteral("取消"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form_);
    layout->addLayout(buttons);

    auto* chain = new lb::ui::FocusChain(this);
    chain->setOrder(edits_ + QList<QWidget*>{Button1});
    chain->setArrowKeys(edits_);

    connect(Button1, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { close(); }));
    lb::ui::ButtonKeys::setCancelButton(*this, *Button2);
}

QString OperatorWindow::checkedPassword()
{
    const QString password = Edit1->text().trimmed();
    const QString again = Edit2->text().trimmed();
    if (!password.isEmpty() && !again.isEmpty() && password == again)
        return password;
    lb::ui::Dialogs::message(QStringLiteral("密码输入不合法!"));
    Edit1->clear();
    Edit1->setFocus();
    return QString();
}

void OperatorWindow::closeEvent(QCloseEvent* event)
{
    lb::db::Table& operators = *frdm->ATopcrl;
    if (operators.active() && operators.state() != lb::db::DataSetState::Browse)
        operators.cancel();
    list_->setEnabled(true);
    QWidget::closeEvent(event);
}

} // namespace lb::core
