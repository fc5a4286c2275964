// The operator log-in window, shown at start and by "更换操作员".
#include "core/TFrpassword.h"

#include "core/ScramblePassword.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Modal.h"
#include "platform/ui/WindowPlacement.h"
#include "platform/ui/GuardSlot.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lb::core {

TFrpassword::TFrpassword(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("登录验证"));
    setModal(true);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    Edit1 = new QLineEdit(this);
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // masked with "*"
    Edit1->setMaxLength(6);
    hintLabel = new QLabel(QStringLiteral("(预设密码") + lb::core::FactoryAdminPassword + QLatin1Char(')'), this);
    Bok = new QPushButton(QStringLiteral("确定"), this);
    Button2 = new QPushButton(QStringLiteral("取消"), this);
    // Enter is handled by the key filter below: it must not press a default button.
    Bok->setAutoDefault(false);
    Button2->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("操作员:"), ComboBox1);
    form->addRow(QStringLiteral("密  码:"), Edit1);
    form->addRow(QString(), hintLabel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Bok);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(Bok, &QPushButton::clicked, this, lb::ui::guardSlot(this, &TFrpassword::BokClick));
    connect(Button2, &QPushButton::clicked, this, lb::ui::guardSlot(this, &TFrpassword::Button2Click));
    ComboBox1->installEventFilter(this);
    Edit1->installEventFilter(this);

    lb::db::Table& operators = *frdm->ATopcrl;
    operators.open();
    for (operators.first(); !operators.eof(); operators.next())
        ComboBox1->addItem(operators.fieldByName(QStringLiteral("bh")).asString());
    operators.close();
    ComboBox1->setEditText(QStringLiteral("999"));
    Edit1->setText(lb::core::FactoryAdminPassword);
    Edit1->setFocus();
}

void TFrpassword::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    lb::ui::WindowPlacement::centreOver(*this, nullptr);
}

bool TFrpassword::logIn(QWidget* owner)
{
    TFrpassword window(owner);
    if (lb::ui::Modal::exec(window) == QDialog::Accepted)
        return true;
    // However else the window went away (a window manager's close), nobody logged in.
    if (frmain && !frmain->terminated())
        window.endProgram();
    return false;
}

void TFrpassword::BokClick()
{
    lb::db::Query& query = *frdm->AQcom;
    query.close();
    query.sql().clear();
    query.sql().add(QStringLiteral("SELECT * from opcrl where bh=:p1"));
    query.paramByName(QStringLiteral("p1")).setAsString(ComboBox1->currentText()); // as typed
    query.open();
    const QString password = Edit1->text().trimmed();
    const lb::db::Field& stored = query.fieldByName(QStringLiteral("pw"));
    const bool match = !query.isEmpty() && !stored.isNull()
                       && lb::core::ScramblePassword(password) == stored.asString();
    if (match) {
        frmain->OperatorName = query.fieldByName(QStringLiteral("xm")).asString();
        frmain->OperatorNo = ComboBox1->currentText();
        frmain->OperatorPassword = password;
        frmain->updateOperatorCaption();
        query.close();
        accept();
        return;
    }
    lb::ui::Dialogs::warning(QStringLiteral("密码错误,非法用户！"));
    query.close();
    reject();
    endProgram();
}

void TFrpassword::Button2Click()
{
    reject();
    endProgram();
}

void TFrpassword::endProgram()
{
    frdm->ATcompany->close();
    frdm->ADOCon.close();
    if (frmain)
        frmain->terminateProgram();
}

void TFrpassword::keyPressEvent(QKeyEvent* event)
{
    // No system menu and no close box: Escape does not close the window either.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

bool TFrpassword::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == ComboBox1)
                Edit1->setFocus();
            else if (watched == Edit1)
                BokClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFrpassword::done(int result)
{
    // Whichever way the window closes, the company row and the connection are renewed.
    if (!closed_) {
        closed_ = true;
        frdm->ATcompany->close();
        frdm->ADOCon.close();
        frdm->ADOCon.open();
        frdm->ATcompany->open();
    }
    QDialog::done(result);
}

} // namespace lb::core
