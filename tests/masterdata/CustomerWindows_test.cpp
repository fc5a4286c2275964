// The customer list and editor driven offscreen: search, add, modify, delete, pick.
#include "masterdata/FakeOpener.h"
#include "masterdata/MasterWindowFixture.h"
#include "support/Typing.h"

#include <QKeyEvent>
#include <QPushButton>

using lb::core::PickCode;
using lb::masterdata::MasterEditor;
using lb::masterdata::MasterListWindow;
using lb::ui::DialogAnswer;

class CustomerWindows : public MasterWindowFixture {
protected:
    MasterListWindow* openList()
    {
        return MasterListWindow::openFromMenu(QStringLiteral("TFrcustomer"), main.get());
    }
};

TEST_F(CustomerWindows, SearchOptionsAndCount)
{
    makeCustomer("0012", "甲商店", {{"tel", "138"}});
    makeCustomer("1200", "乙商店", {{"persondeal", "张"}});
    makeCustomer("0030", "丙公司");
    MasterListWindow* list = openList();
    EXPECT_FALSE(main->isEnabled());
    EXPECT_EQ(QStringLiteral("记录数:3"), list->statusText(1));
    list->Edit1->setText(QStringLiteral("12"));
    list->ToolButton6Click();
    EXPECT_EQ(2, list->dataSet().recordCount());
    EXPECT_EQ(QStringLiteral("记录数:2"), list->statusText(1));
    list->ComboBox1->setEditText(QStringLiteral("客户名"));
    list->Edit1->setText(QStringLiteral("商店"));
    list->ToolButton6Click();
    EXPECT_EQ(2, list->dataSet().recordCount());
    // With the option box empty the customer list does not search.
    list->ComboBox1->setEditText(QString());
    list->Edit1->setText(QStringLiteral("丙"));
    list->ToolButton6Click();
    EXPECT_EQ(2, list->dataSet().recordCount());
    list->ComboBox1->setEditText(QStringLiteral("编号"));
    list->Edit1->clear();
    list->ToolButton6Click();
    EXPECT_EQ(3, list->dataSet().recordCount());
    list->close();
    EXPECT_TRUE(main->isEnabled());
    EXPECT_FALSE(dm().Aqcustomer->active());
}

TEST_F(CustomerWindows, AddProposesTheNextNumberAndRefusesTwins)
{
    MasterListWindow* list = openList();
    list->ToolButton1Click();
    MasterEditor* editor = openEditor();
    ASSERT_NE(nullptr, editor);
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(QStringLiteral("0000000001"), editor->box("Edit2")->text());
    editor->box("Edit3")->setText(QStringLiteral("甲"));
    editor->box("Edit1")->setText(QStringLiteral("0571-1"));
    editor->Button1Click();
    EXPECT_EQ(QStringLiteral("数据保存完毕！ "), dialogs.lastText());
    EXPECT_FALSE(main->AddMode);
    EXPECT_EQ(QVariant("0000000001"), scalar("select intno from customer where name='甲'"));
    EXPECT_EQ(QVariant("0571-1"), scalar("select tel from customer"));

    editor->Button2Click();
    EXPECT_EQ(QStringLiteral("0000000002"), editor->box("Edit2")->text());
    EXPECT_EQ(QString(), editor->box("Edit3")->text());
    editor->box("Edit2")->setText(QStringLiteral("0000000001"));
    editor->box("Edit3")->setText(QStringLiteral("乙"));
    editor->Button1Click();
    EXPECT_EQ(QStringLiteral("该编号已存在,不能再录入！ "), dialogs.lastText());
    EXPECT_EQ(QVariant(1), scalar("select count(*) from customer"));
    editor->box("Edit2")->setText(QStringLiteral("0000000002"));
    editor->box("Edit3")->setText(QStringLiteral("甲"));
    editor->Button1Click();
    EXPECT_EQ(QStringLiteral("该名称已存在,不能再录入！ "), dialogs.lastText());
    editor->box("Edit2")->clear();
    editor->Button1Click();
    EXPECT_EQ(QStringLiteral("编号不能为空!"), dialogs.lastText());
    EXPECT_EQ(QVariant(1), scalar("select count(*) from customer"));
    EXPECT_EQ(0, dialogs.unanswered());

    editor->close();
    EXPECT_TRUE(list->isEnabled());
}

TEST_F(CustomerWindows, ModifyAsksOnlyForAnotherCustomersName)
{
    makeCustomer("0001", "甲");
    makeCustomer("0002", "乙");
    MasterListWindow* list = openList();
    list->dataSet().first();
    list->ToolButton2Click();
    MasterEditor* editor = openEditor();
    ASSERT_NE(nullptr, editor);
    EXPECT_TRUE(editor->box("Edit3")->isReadOnly());
    editor->CheckBox1->setChecked(true);
    editor->CheckBox1Click();
    editor->box("Edit1")->setText(QStringLiteral("555"));
    editor->Button1Click();
    EXPECT_EQ((QStringList{"数据保存完毕！ "}), dialogs.texts());
    EXPECT_EQ(QVariant("555"), scalar("select tel from customer where id='0001'"));

    dialogs.clear();
    editor->box("Edit3")->setText(QStringLiteral("乙"));
    dialogs.answer(DialogAnswer::Cancel);
    editor->Button1Click();
    EXPECT_EQ((QStringList{"该名称已存在,是否要保存这次修改?"}), dialogs.texts());
    EXPECT_EQ(QVariant("甲"), scalar("select name from customer where id='0001'"));
    dialogs.answer(DialogAnswer::Ok);
    editor->Button1Click();
    EXPECT_EQ(QVariant("乙"), scalar("select name from customer where id='0001'"));

    editor->box("Edit2")->setText(QStringLiteral("0002"));
    editor->Button1Click();
    EXPECT_EQ(QStringLiteral("该编号已存在,不能再录入！ "), dialogs.lastText());
    EXPECT_EQ(QVariant(1), scalar("select count(*) from customer where id='0002'"));

    editor->BitBtn2Click();
    EXPECT_EQ(QStringLiteral("0002"), editor->box("Edit2")->text());
    EXPECT_EQ(main->EditIntno, dm().Aqcustomer->fieldByName("intno").asString());
}

TEST_F(CustomerWindows, DeleteAsksOnceOrTwiceAndTakesThePriceRows)
{
    const QString paid = makeCustomer("0001", "甲");
    makeCustomer("0002", "乙", {{"balance", 5.0}});
    exec("insert into cproduct(intno1,intno,spintno) values('0000000001',:p1,'0000000001')", {paid});
    MasterListWindow* list = openList();
    list->dataSet().first();
    dialogs.answer(DialogAnswer::Ok);
    list->ToolButton3Click();
    EXPECT_EQ((QStringList{"确实要删除记录吗?"}), dialogs.texts());
    EXPECT_EQ(QVariant(0), scalar("select count(*) from cproduct"));
    EXPECT_EQ(QVariant(1), scalar("select count(*) from customer"));

    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok).answer(DialogAnswer::Cancel);
    list->ToolButton3Click();
    EXPECT_EQ((QStringList{"该客户的余额不为0,是否要删除?", "确实要删除记录吗?"}), dialogs.texts());
    EXPECT_EQ(QVariant(1), scalar("select count(*) from customer"));
}

TEST_F(CustomerWindows, PickWritesTheCodeIntoTheSalesFormAndClosesTheList)
{
    makeCustomer("0001", "甲");
    makeCustomer("0002", "乙");
    FakeOpener opener(db());
    opener.show();
    MasterListWindow* list = MasterListWindow::openAsPicker(QStringLiteral("TFrcustomer"), PickCode::SalesEntry, opener);
    EXPECT_EQ(PickCode::SalesEntry, main->PickMode);
    EXPECT_TRUE(opener.isEnabled());
    list->dataSet().last();
    QPointer<MasterListWindow> alive(list);
    list->ToolButton7Click();
    flush();
    EXPECT_EQ(QStringLiteral("0002"), opener.edit2->text());
    EXPECT_EQ(PickCode::None, main->PickMode);
    EXPECT_TRUE(alive.isNull());
    EXPECT_FALSE(dm().Aqcustomer->active());
}

TEST_F(CustomerWindows, MenuListIgnoresPicksAndPickersCloseWithTheirOpener)
{
    makeCustomer("0001", "甲");
    MasterListWindow* list = openList();
    list->ToolButton7Click();
    EXPECT_TRUE(list->isVisible());
    list->close();

    auto opener = std::make_unique<FakeOpener>(db());
    opener->show();
    QPointer<MasterListWindow> picker(MasterListWindow::openAsPicker(QStringLiteral("TFrcustomer"), PickCode::SalesSummary, *opener));
    EXPECT_EQ(PickCode::SalesSummary, main->PickMode);
    opener->close();
    flush();
    EXPECT_TRUE(picker.isNull());
    EXPECT_EQ(PickCode::None, main->PickMode);

    // An opener destroyed without a close event takes its pickers along too.
    opener = std::make_unique<FakeOpener>(db());
    picker = MasterListWindow::openAsPicker(QStringLiteral("TFrcustomer"), PickCode::CustomerSummary, *opener);
    opener.reset();
    flush();
    EXPECT_TRUE(picker.isNull());
    EXPECT_EQ(PickCode::None, main->PickMode);
}

TEST_F(CustomerWindows, EditorKeysFilterAndEnterMovesAlongTheBoxes)
{
    MasterListWindow* list = openList();
    list->ToolButton1Click();
    MasterEditor* editor = openEditor();
    ASSERT_NE(nullptr, editor);
    QLineEdit* code = editor->box("Edit2");
    code->clear();
    typeText(code, QStringLiteral("1a-2"));
    EXPECT_EQ(QStringLiteral("12"), code->text());
    QLineEdit* tel = editor->box("Edit1");
    typeText(tel, QStringLiteral("0571-8x"));
    EXPECT_EQ(QStringLiteral("0571-8"), tel->text());

    editor->activateWindow();
    QApplication::processEvents();
    code->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(code, &enter);
    EXPECT_TRUE(editor->box("Edit3")->hasFocus());
    editor->box("Edit8")->setFocus();
    QApplication::sendEvent(editor->box("Edit8"), &enter);
    EXPECT_TRUE(editor->Button1->hasFocus());
}
