// Suppliers, accounts, employees and warehouses: their differences from the customer windows.
#include "masterdata/FakeOpener.h"
#include "masterdata/MasterWindowFixture.h"
#include "platform/sys/Errors.h"

#include "support/Typing.h"

using lb::core::PickCode;
using lb::masterdata::ListCommand;
using lb::masterdata::MasterEditor;
using lb::masterdata::MasterListWindow;
using lb::ui::DialogAnswer;

class PartyWindows : public MasterWindowFixture {
protected:
    MasterListWindow* open(const char* key) { return MasterListWindow::openFromMenu(QLatin1String(key), main.get()); }

    // Adds a record through the list's editor with the proposed code; returns that code.
    QString addThroughEditor(MasterListWindow& list, const QString& name)
    {
        list.ToolButton1Click();
        MasterEditor* editor = openEditor();
        const QString code = editor->box("Edit2")->text();
        editor->box("Edit3")->setText(name);
        editor->Button1Click();
        editor->close();
        return code;
    }
};

TEST_F(PartyWindows, SupplierSearchByTheSelectedColumnAndDeleteQuestions)
{
    makeSupplier("0001", "甲厂", {{"tel", "13812"}, {"balance", 3.0}});
    makeSupplier("0002", "乙厂", {{"tel", "0571"}});
    MasterListWindow* list = open("TFrbranch");
    EXPECT_EQ(QStringLiteral("供应商信息"), list->windowTitle());
    list->ComboBox1->setEditText(QString());
    selectCell(*list, 0, "tel");
    list->Edit1->setText(QStringLiteral("138"));
    list->ToolButton6Click();
    EXPECT_EQ(1, list->dataSet().recordCount());
    list->ComboBox1->setEditText(QStringLiteral("名称"));
    list->Edit1->setText(QStringLiteral("厂"));
    list->ToolButton6Click();
    EXPECT_EQ(2, list->dataSet().recordCount());

    list->dataSet().first();
    dialogs.answer(DialogAnswer::Ok).answer(DialogAnswer::Cancel);
    EXPECT_THROW(list->ToolButton3Click(), lb::Abort); // the silent end of a declined deletion
    EXPECT_EQ((QStringList{"该供应商的余额不为0,是否要删除?", "确实要删除当前记录吗?"}), dialogs.texts());
    EXPECT_EQ(QVariant(2), scalar("select count(*) from branch"));
    dialogs.clear();
    list->dataSet().last();
    dialogs.answer(DialogAnswer::Ok);
    list->ToolButton3Click();
    EXPECT_EQ((QStringList{"确实要删除当前记录吗?"}), dialogs.texts());
    EXPECT_EQ((QStringList{"0001"}), column("select id from branch"));

    EXPECT_EQ(QStringLiteral("0000000002"), addThroughEditor(*list, QStringLiteral("丙厂")));
    EXPECT_EQ(QVariant("丙厂"), scalar("select name from branch where id='0000000002'"));
}

TEST_F(PartyWindows, SupplierPickForTheStatementGoesToItsBox)
{
    makeSupplier("0007", "甲厂");
    FakeOpener opener(db());
    MasterListWindow* list = MasterListWindow::openAsPicker(QStringLiteral("TFrbranch"), PickCode::SupplierStatement, opener);
    list->ToolButton7Click();
    EXPECT_EQ(QStringLiteral("0007"), opener.edit9->text());
    EXPECT_EQ(QString(), opener.edit2->text());
}

TEST_F(PartyWindows, AccountsHaveNoSearchAndPickIntoHeaderOrLine)
{
    MasterListWindow* list = open("TFrbank");
    EXPECT_EQ(nullptr, list->ComboBox1);
    EXPECT_EQ(nullptr, list->command(ListCommand::Search));
    EXPECT_EQ(1, list->dataSet().recordCount()); // the cash account of a new installation
    EXPECT_EQ(QStringLiteral("0000000002"), addThroughEditor(*list, QStringLiteral("工行")));
    list->ToolButton7Click(); // from the menu: nothing
    EXPECT_TRUE(list->isVisible());
    list->dataSet().first();
    dialogs.answer(DialogAnswer::Ok);
    list->ToolButton3Click(); // the cash account is not protected
    EXPECT_EQ((QStringList{"数据保存完毕！ ", "确实要删除当前记录吗?"}), dialogs.texts());
    EXPECT_EQ((QStringList{"0000000002"}), column("select id from bank"));
    list->close();

    FakeOpener opener(db());
    insertRow("outlist", {{"intno", "0000000001"}});
    const QString line = makeLine();
    opener.header.open();
    opener.lines.open();
    list = MasterListWindow::openAsPicker(QStringLiteral("TFrbank"), PickCode::PurchaseEntry, opener);
    list->ToolButton7Click();
    EXPECT_EQ(QStringLiteral("0000000002"), opener.edit10->text());
    EXPECT_EQ(QVariant("0000000002"), scalar("select bankid from outlist"));
    list = MasterListWindow::openAsPicker(QStringLiteral("TFrbank"), PickCode::ReceiptEntry, opener);
    list->ToolButton7Click();
    EXPECT_EQ(QVariant("工行"), scalar("select spmc from outdetail where intno=:p1", {line}));
    QPointer<MasterListWindow> journal(MasterListWindow::openAsPicker(QStringLiteral("TFrbank"), PickCode::CashBankJournal, opener));
    journal->ToolButton7Click();
    flush();
    EXPECT_TRUE(journal.isNull());
    EXPECT_EQ(PickCode::None, main->PickMode);
}

TEST_F(PartyWindows, EmployeeSearchIsAPrefixAndTheEmptyOptionSearchesTheSelectedField)
{
    makeEmployee("001", "张三", {{"movetel", "139001"}, {"fax", "139"}});
    makeEmployee("100", "李四", {{"movetel", "186139"}});
    makeEmployee("200", "王五", {{"persondeal", "老王"}});
    MasterListWindow* list = open("TFremployee");
    EXPECT_EQ(3, list->dataSet().recordCount());
    list->Edit1->setText(QStringLiteral("00"));
    list->ToolButton6Click();
    EXPECT_EQ(1, list->dataSet().recordCount());
    list->ComboBox1->setEditText(QStringLiteral("联系人"));
    list->Edit1->setText(QStringLiteral("老"));
    list->ToolButton6Click();
    EXPECT_EQ(1, list->dataSet().recordCount());
    list->Edit1->clear();
    list->ToolButton6Click();
    EXPECT_EQ(3, list->dataSet().recordCount());
    list->ComboBox1->setEditText(QString());
    selectCell(*list, 0, "movetel");
    list->Edit1->setText(QStringLiteral("139"));
    list->ToolButton6Click();
    EXPECT_EQ(2, list->dataSet().recordCount()); // movetel contains 139, not fax
    list->close();

    FakeOpener opener(db());
    list = MasterListWindow::openAsPicker(QStringLiteral("TFremployee"), PickCode::PaymentEntry, opener);
    list->dataSet().first();
    list->ToolButton7Click();
    EXPECT_EQ(QStringLiteral("张三"), opener.edit16->text());
}

TEST_F(PartyWindows, WarehouseCodesAreThreeCharacters)
{
    MasterListWindow* list = open("TFrstore");
    EXPECT_EQ(QStringLiteral("001"), addThroughEditor(*list, QStringLiteral("一号库")));
    list->ToolButton1Click();
    MasterEditor* editor = openEditor();
    EXPECT_EQ(QStringLiteral("002"), editor->box("Edit2")->text());
    EXPECT_EQ(3, editor->box("Edit2")->maxLength());
    editor->box("Edit2")->setText(QStringLiteral("001"));
    editor->box("Edit3")->setText(QStringLiteral("二号库"));
    editor->Button1Click();
    EXPECT_EQ(QStringLiteral("该编号已存在,不能再录入！ "), dialogs.lastText());
    editor->box("Edit2")->setText(QStringLiteral("002"));
    editor->Button1Click();
    EXPECT_EQ((QStringList{"001", "002"}), column("select id from store order by id"));
    editor->close();

    list->ComboBox1->setEditText(QString());
    selectCell(*list, 0, "name");
    list->Edit1->setText(QStringLiteral("二"));
    list->ToolButton6Click();
    EXPECT_EQ(1, list->dataSet().recordCount());
    list->ToolButton7Click(); // from the menu: nothing
    EXPECT_TRUE(list->isVisible());
}

// The editor block on every party-like table: a duplicate code on add is refused and stores
// nothing, renaming to another record's name asks first, and the dataset's delete asks once.
TEST_F(PartyWindows, EveryPartyEditorRefusesTwinCodesAndAsksBeforeTakingAName)
{
    const std::pair<const char*, const char*> lists[] = {
        {"TFrbranch", "branch"}, {"TFrbank", "bank"}, {"TFremployee", "employee"}, {"TFrstore", "store"}};
    for (const auto& [key, table] : lists) {
        SCOPED_TRACE(key);
        exec(QStringLiteral("delete from %1").arg(QLatin1String(table)));
        dialogs.clear();
        MasterListWindow* list = open(key);
        const QString first = addThroughEditor(*list, QStringLiteral("甲"));
        addThroughEditor(*list, QStringLiteral("乙"));

        list->ToolButton1Click();
        MasterEditor* editor = openEditor();
        editor->box("Edit2")->setText(first);
        editor->box("Edit3")->setText(QStringLiteral("丙"));
        editor->Button1Click();
        EXPECT_EQ(QStringLiteral("该编号已存在,不能再录入！ "), dialogs.lastText());
        EXPECT_EQ(QVariant(2), scalar(QStringLiteral("select count(*) from %1").arg(QLatin1String(table))));
        editor->close();

        list->dataSet().last();
        list->ToolButton2Click();
        editor = openEditor();
        editor->CheckBox1->setChecked(true);
        editor->CheckBox1Click();
        editor->box("Edit3")->setText(QStringLiteral("甲"));
        dialogs.clear();
        dialogs.answer(DialogAnswer::Cancel);
        editor->Button1Click();
        EXPECT_EQ((QStringList{"该名称已存在,是否要保存这次修改?"}), dialogs.texts());
        EXPECT_EQ(QVariant(1), scalar(QStringLiteral("select count(*) from %1 where name='乙'").arg(QLatin1String(table))));
        editor->close();

        if (QLatin1String(key) != QLatin1String("TFrbranch")) {
            dialogs.clear();
            dialogs.answer(DialogAnswer::Ok);
            list->ToolButton3Click();
            EXPECT_EQ((QStringList{"确实要删除当前记录吗?"}), dialogs.texts());
            EXPECT_EQ(QVariant(1), scalar(QStringLiteral("select count(*) from %1").arg(QLatin1String(table))));
        }
        list->close();
        flush();
    }
}

// The description is free text, without the digit filter of the telephone box; like every box
// it takes only what its column keeps.
TEST_F(PartyWindows, AccountDescriptionTakesAnyTextUpToItsColumn)
{
    MasterListWindow* list = open("TFrbank");
    list->ToolButton1Click();
    MasterEditor* editor = openEditor();
    ASSERT_NE(nullptr, editor);
    editor->box("Edit3")->setText(QStringLiteral("工行"));
    typeText(editor->box("Edit5"), QStringLiteral("基本户 No.1-"));
    EXPECT_EQ(QStringLiteral("基本户 No.1-"), editor->box("Edit5")->text());
    typeText(editor->box("Edit5"), QString(20, QLatin1Char('x')));
    EXPECT_EQ(20, editor->box("Edit5")->text().size());
    typeText(editor->box("Edit4"), QString(40, QLatin1Char('6')));
    editor->Button1Click();
    EXPECT_EQ(QVariant(editor->box("Edit5")->text()), scalar("select remark from bank where name='工行'"));
    EXPECT_EQ(QVariant(editor->box("Edit4")->text()), scalar("select accno from bank where name='工行'"));
}

