// Tests of the log-in window and the operator management windows.
#include "CoreFixture.h"

#include "core/ScramblePassword.h"
#include "core/TFropadd.h"
#include "core/TFrpassword.h"
#include "core/Tfrmain.h"
#include "core/Tfropcrl.h"
#include "core/Tfropedit.h"
#include "platform/ui/ScriptedModals.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using lb::core::ScramblePassword;
using lb::core::TFropadd;
using lb::core::TFrpassword;
using lb::core::Tfrmain;
using lb::core::Tfropcrl;
using lb::core::Tfropedit;

class OperatorTest : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        window = std::make_unique<Tfrmain>();
        frmain = window.get();
        dm().ATcompany->open();
        insertRow(QStringLiteral("opcrl"), {{QStringLiteral("bh"), QStringLiteral("001")},
                                            {QStringLiteral("xm"), QStringLiteral("张三")},
                                            {QStringLiteral("pw"), ScramblePassword(QStringLiteral("123"))}});
    }
    void TearDown() override
    {
        list.reset();
        window.reset();
        CoreFixture::TearDown();
    }

    // Runs a log-in typed as given; returns whether it succeeded.
    bool logIn(const QString& number, const QString& password)
    {
        lb::ui::ScriptedModals modals;
        modals.then([&](QDialog& dialog) {
            auto& login = dynamic_cast<TFrpassword&>(dialog);
            login.ComboBox1->setEditText(number);
            login.Edit1->setText(password);
            login.BokClick();
        });
        return TFrpassword::logIn(window.get());
    }

    void openList(const QString& operatorNo)
    {
        window->OperatorNo = operatorNo;
        list = std::make_unique<Tfropcrl>(window.get());
    }
    // Puts the list on the operator with this number.
    void selectOperator(const QString& bh)
    {
        ASSERT_TRUE(dm().ATopcrl->locate(QStringLiteral("bh"), bh));
        list->selectRow(dm().ATopcrl->recNo() - 1);
    }
    QString stored(const QString& column, const QString& bh)
    {
        return scalar(QStringLiteral("select %1 from opcrl where bh=:p1").arg(column), {bh}).toString();
    }
    int operators() { return scalar(QStringLiteral("select count(*) from opcrl")).toInt(); }

    std::unique_ptr<Tfrmain> window;
    std::unique_ptr<Tfropcrl> list;
};

TEST_F(OperatorTest, LogInWindowStartsOnTheAdministratorWithTheFactoryPassword)
{
    TFrpassword login(window.get());
    EXPECT_EQ(QStringLiteral("登录验证"), login.windowTitle());
    EXPECT_EQ(QStringLiteral("999"), login.ComboBox1->currentText());
    EXPECT_EQ(QStringLiteral("888"), login.Edit1->text());
    EXPECT_EQ(QStringLiteral("***"), login.Edit1->displayText());
    EXPECT_EQ(QStringLiteral("(预设密码888)"), login.hintLabel->text());
    ASSERT_EQ(2, login.ComboBox1->count());
    EXPECT_EQ(QStringLiteral("999"), login.ComboBox1->itemText(0));
    EXPECT_EQ(QStringLiteral("001"), login.ComboBox1->itemText(1));
    EXPECT_FALSE(dm().ATopcrl->active());
}

TEST_F(OperatorTest, LogInSetsTheOperatorAndTheCaption)
{
    EXPECT_TRUE(logIn(QStringLiteral("001"), QStringLiteral(" 123 "))); // the password is trimmed
    EXPECT_EQ(QStringLiteral("001"), window->OperatorNo);
    EXPECT_EQ(QStringLiteral("张三"), window->OperatorName);
    EXPECT_EQ(QStringLiteral("123"), window->OperatorPassword);
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" 操作员:张三")));
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("朔栎进销存(V2009)")));
    EXPECT_FALSE(window->terminated());
    EXPECT_TRUE(dm().ADOCon.connected());
    EXPECT_TRUE(dm().ATcompany->active());
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(OperatorTest, WrongPasswordEndsTheProgram)
{
    EXPECT_FALSE(logIn(QStringLiteral("999"), QStringLiteral("123")));
    EXPECT_EQ(QStringList{QStringLiteral("密码错误,非法用户！")}, dialogs.texts());
    EXPECT_EQ(lb::ui::DialogIcon::Warning, dialogs.shown().back().icon);
    EXPECT_TRUE(window->terminated());
    EXPECT_FALSE(dm().ADOCon.connected());
    EXPECT_EQ(QString(), window->OperatorNo);
}

TEST_F(OperatorTest, UnknownOrUntrimmedNumberFailsLikeAWrongPassword)
{
    EXPECT_FALSE(logIn(QStringLiteral("555"), QStringLiteral("888")));
    EXPECT_EQ(QStringLiteral("密码错误,非法用户！"), dialogs.lastText());
    EXPECT_TRUE(window->terminated());

    dm().ADOCon.open();
    dialogs.clear();
    EXPECT_FALSE(logIn(QStringLiteral("999 "), QStringLiteral("888"))); // the number goes as typed
    EXPECT_EQ(QStringLiteral("密码错误,非法用户！"), dialogs.lastText());
}

TEST_F(OperatorTest, CancelEndsTheProgramSilently)
{
    lb::ui::ScriptedModals modals;
    modals.then([](QDialog& dialog) { dynamic_cast<TFrpassword&>(dialog).Button2Click(); });
    EXPECT_FALSE(TFrpassword::logIn(window.get()));
    EXPECT_TRUE(window->terminated());
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_FALSE(dm().ADOCon.connected());
}

TEST_F(OperatorTest, LogInWindowClosedAnyOtherWayEndsTheProgramToo)
{
    lb::ui::ScriptedModals modals;
    modals.then([](QDialog& dialog) { dialog.close(); });
    EXPECT_FALSE(TFrpassword::logIn(window.get()));
    EXPECT_TRUE(window->terminated());
    EXPECT_EQ(QString(), window->OperatorNo);
}

TEST_F(OperatorTest, OnlyTheAdministratorAddsOrDeletes)
{
    openList(QStringLiteral("001"));
    list->ToolButton1Click();
    list->ToolButton2Click();
    EXPECT_EQ((QStringList{QStringLiteral("该用户无权增加操作员！"), QStringLiteral("该用户无权删除操作员！")}), dialogs.texts());
    EXPECT_FALSE(list->addWindow()->isVisible());
    EXPECT_TRUE(list->isEnabled());
    EXPECT_EQ(2, operators());
}

TEST_F(OperatorTest, AdministratorRowIsNeverDeleted)
{
    openList(QStringLiteral("999"));
    selectOperator(QStringLiteral("999"));
    list->ToolButton2Click();
    EXPECT_EQ(QStringList{QStringLiteral("不能删除管理员用户！")}, dialogs.texts());
    EXPECT_EQ(2, operators());

    selectOperator(QStringLiteral("001"));
    dialogs.answer(lb::ui::DialogAnswer::Cancel);
    list->ToolButton2Click();
    EXPECT_EQ(QStringLiteral("确实要删除该操作员吗?"), dialogs.lastText());
    EXPECT_EQ(QStringLiteral("提示！"), dialogs.shown().back().caption);
    EXPECT_EQ(2, operators());
    dialogs.answer(lb::ui::DialogAnswer::Ok);
    list->ToolButton2Click();
    EXPECT_EQ(1, operators());
    EXPECT_EQ(QString(), stored(QStringLiteral("xm"), QStringLiteral("001")));
}

TEST_F(OperatorTest, AddRefusesBadInputAndTakenNumbers)
{
    openList(QStringLiteral("999"));
    list->ToolButton1Click();
    TFropadd& add = *list->addWindow();
    EXPECT_FALSE(list->isEnabled());
    EXPECT_TRUE(add.isVisible());

    add.Edit3->setText(QStringLiteral("002"));
    add.Edit4->setText(QStringLiteral("李四"));
    add.Edit1->setText(QStringLiteral("456"));
    add.Edit2->setText(QStringLiteral("457"));
    add.Button1Click();
    EXPECT_EQ(QStringLiteral("密码输入不合法!"), dialogs.lastText());
    EXPECT_EQ(QString(), add.Edit1->text());

    add.Edit1->setText(QStringLiteral("456"));
    add.Edit2->setText(QStringLiteral("456"));
    add.Edit4->setText(QStringLiteral("  "));
    add.Button1Click();
    EXPECT_EQ(QStringLiteral("编号或姓名为空,请重新输入!"), dialogs.lastText());
    EXPECT_EQ(QString(), add.Edit3->text());

    add.Edit3->setText(QStringLiteral("001"));
    add.Edit4->setText(QStringLiteral("李四"));
    add.Button1Click();
    EXPECT_EQ(QStringLiteral("该编号已存在,请重新输入编号!"), dialogs.lastText());
    EXPECT_EQ(QString(), add.Edit3->text());
    EXPECT_EQ(2, operators());
    EXPECT_TRUE(add.isVisible());

    // Numbers are text: "01" is not "001".
    add.Edit3->setText(QStringLiteral("01"));
    add.Button1Click();
    EXPECT_FALSE(add.isVisible());
    EXPECT_TRUE(list->isEnabled());
    EXPECT_EQ(3, operators());
    EXPECT_EQ(QStringLiteral("李四"), stored(QStringLiteral("xm"), QStringLiteral("01")));
    EXPECT_EQ(ScramblePassword(QStringLiteral("456")), stored(QStringLiteral("pw"), QStringLiteral("01")));
}

TEST_F(OperatorTest, AddWindowTakesOnlyDigitsInNumberAndPasswords)
{
    openList(QStringLiteral("999"));
    list->ToolButton1Click();
    TFropadd& add = *list->addWindow();
    for (QLineEdit* edit : {add.Edit3, add.Edit1}) {
        QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QKeyEvent digit(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
        QApplication::sendEvent(edit, &letter);
        QApplication::sendEvent(edit, &digit);
        EXPECT_EQ(QStringLiteral("7"), edit->text());
    }
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(add.Edit4, &letter);
    EXPECT_EQ(QStringLiteral("a"), add.Edit4->text());
}

TEST_F(OperatorTest, NobodyChangesAnotherOperatorsPassword)
{
    openList(QStringLiteral("999"));
    selectOperator(QStringLiteral("001"));
    list->ToolButton3Click();
    EXPECT_EQ(QStringList{QStringLiteral("不能修改他人密码！")}, dialogs.texts());
    EXPECT_FALSE(list->editWindow()->isVisible());
    EXPECT_TRUE(list->isEnabled());
}

TEST_F(OperatorTest, PasswordChangeIsKeptForThePrivilegedCommands)
{
    window->OperatorPassword = QStringLiteral("123");
    openList(QStringLiteral("001"));
    selectOperator(QStringLiteral("001"));
    list->ToolButton3Click();
    Tfropedit& edit = *list->editWindow();
    ASSERT_TRUE(edit.isVisible());
    EXPECT_EQ(QStringLiteral("张三"), edit.Edit3->text());

    edit.Edit1->setText(QStringLiteral("654"));
    edit.Edit2->setText(QStringLiteral("654"));
    edit.Button1Click();
    EXPECT_FALSE(edit.isVisible());
    EXPECT_TRUE(list->isEnabled());
    EXPECT_EQ(ScramblePassword(QStringLiteral("654")), stored(QStringLiteral("pw"), QStringLiteral("001")));
    EXPECT_EQ(QStringLiteral("654"), window->OperatorPassword);
}

TEST_F(OperatorTest, NewNameIsSavedWithAnUnchangedPassword)
{
    openList(QStringLiteral("001"));
    selectOperator(QStringLiteral("001"));
    list->ToolButton3Click();
    Tfropedit& edit = *list->editWindow();
    edit.Edit3->setText(QStringLiteral(" 张三丰 "));
    edit.Edit1->setText(QStringLiteral("123"));
    edit.Edit2->setText(QStringLiteral("12"));
    edit.Button1Click();
    EXPECT_EQ(QStringLiteral("密码输入不合法!"), dialogs.lastText());
    EXPECT_TRUE(edit.isVisible());

    edit.Edit1->setText(QStringLiteral("123"));
    edit.Edit2->setText(QStringLiteral("123"));
    edit.Button1Click();
    EXPECT_EQ(QStringLiteral("张三丰"), stored(QStringLiteral("xm"), QStringLiteral("001")));
    EXPECT_EQ(ScramblePassword(QStringLiteral("123")), stored(QStringLiteral("pw"), QStringLiteral("001")));
    EXPECT_EQ(QStringLiteral("张三丰"), window->OperatorName);

    list->ToolButton3Click();
    edit.Edit3->setText(QString());
    edit.Button1Click();
    EXPECT_EQ(QStringLiteral("操作员姓名不能为空!"), dialogs.lastText());
}

TEST_F(OperatorTest, AFailedAddCanBeTriedAgainAndStoresOneOperator)
{
    openList(QStringLiteral("999"));
    list->ToolButton1Click();
    TFropadd& add = *list->addWindow();
    add.Edit3->setText(QStringLiteral("002"));
    add.Edit4->setText(QStringLiteral("李四"));
    add.Edit1->setText(QStringLiteral("456"));
    add.Edit2->setText(QStringLiteral("456"));
    exec(QStringLiteral("create trigger full_disk before insert on opcrl begin select raise(abort, 'disk full'); end"));
    EXPECT_THROW(add.Button1Click(), lb::DatabaseError);
    EXPECT_TRUE(add.isVisible());
    EXPECT_EQ(lb::db::DataSetState::Browse, dm().ATopcrl->state());
    EXPECT_EQ(2, operators());

    exec(QStringLiteral("drop trigger full_disk"));
    add.Button1Click();
    EXPECT_FALSE(add.isVisible());
    EXPECT_EQ(3, operators());
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from opcrl where bh='002'")).toInt());
}

TEST_F(OperatorTest, AFailedPasswordChangeKeepsTheOldPasswordUntilARetryStoresTheNew)
{
    window->OperatorPassword = QStringLiteral("123");
    openList(QStringLiteral("001"));
    selectOperator(QStringLiteral("001"));
    list->ToolButton3Click();
    Tfropedit& edit = *list->editWindow();
    edit.Edit1->setText(QStringLiteral("654"));
    edit.Edit2->setText(QStringLiteral("654"));
    exec(QStringLiteral("create trigger full_disk before update on opcrl begin select raise(abort, 'disk full'); end"));
    EXPECT_THROW(edit.Button1Click(), lb::DatabaseError);
    EXPECT_TRUE(edit.isVisible());
    EXPECT_EQ(QStringLiteral("123"), window->OperatorPassword);
    EXPECT_EQ(ScramblePassword(QStringLiteral("123")), stored(QStringLiteral("pw"), QStringLiteral("001")));

    exec(QStringLiteral("drop trigger full_disk"));
    edit.Button1Click();
    EXPECT_FALSE(edit.isVisible());
    EXPECT_EQ(ScramblePassword(QStringLiteral("654")), stored(QStringLiteral("pw"), QStringLiteral("001")));
    EXPECT_EQ(QStringLiteral("654"), window->OperatorPassword);
}

TEST_F(OperatorTest, ClosingTheListClosesTheOperatorsTable)
{
    openList(QStringLiteral("999"));
    EXPECT_TRUE(dm().ATopcrl->active());
    list->ToolButton7Click();
    EXPECT_FALSE(dm().ATopcrl->active());
}
