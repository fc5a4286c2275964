// The receipt entry form driven as a user drives it, offscreen: a new receipt with its cash
// line, the customer look-up, amounts typed on account lines, the account picker, posting.
#include "core/WindowRegistry.h"
#include "documents/DocumentWindowFixture.h"
#include "documents/DocumentWindows.h"
#include "masterdata/MasterListWindow.h"

#include <QToolBar>

using lb::core::PickCode;
using lb::core::WindowRegistry;
using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::documents::registerDocumentWindows;
using lb::masterdata::MasterListWindow;
using lb::ui::DialogAnswer;

namespace {

enum Column { Document, Account, AccountName, Amount, WriteOff, Balance, Remark };

class ReceiptEntryFormTest : public DocumentWindowFixture {
protected:
    void SetUp() override
    {
        DocumentWindowFixture::SetUp();
        makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"), {{"balance", 500.0}, {"persondeal", QStringLiteral("老张")}});
        makeAccount(QStringLiteral("0000000002"), QStringLiteral("工商银行"));
    }

    DocumentEntryForm* openReceiptForm() { return openEntryForm(DocumentCatalog::receiptEntryForm()); }

    // A new receipt of C1: 200 in cash, and 100 into the bank with 20 written off.
    DocumentEntryForm* formWithTwoLines()
    {
        DocumentEntryForm* form = openReceiptForm();
        form->box("Edit2")->setText(QStringLiteral("C1"));
        typeCell(*form, 1, Amount, QStringLiteral("200"));
        form->ToolButton1Click();
        form->DBGrid1DblClick();
        MasterListWindow* accounts = MasterListWindow::instance(QStringLiteral("TFrbank"));
        EXPECT_NE(nullptr, accounts);
        if (accounts) {
            EXPECT_EQ(PickCode::ReceiptEntry, main->PickMode);
            EXPECT_TRUE(accounts->dataSet().locate(QStringLiteral("id"), QStringLiteral("0000000002")));
            accounts->ToolButton7Click();
            flush();
        }
        typeCell(*form, 2, Amount, QStringLiteral("100"));
        typeCell(*form, 2, WriteOff, QStringLiteral("20"));
        form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(2, Remark));
        flush();
        return form;
    }
};

} // namespace

TEST_F(ReceiptEntryFormTest, ANewReceiptHasItsCarryOverLineAndOneCashLineAndNoCodeBox)
{
    QPointer<DocumentEntryForm> form = openReceiptForm();
    EXPECT_EQ(QStringLiteral("收款明细单"), form->windowTitle());
    EXPECT_EQ(QStringLiteral("0000000001"), form->box("Edit1")->text());
    EXPECT_EQ(QStringLiteral("1"), form->box("Edit2")->text());
    EXPECT_EQ(QString(), form->box("Edit10")->text()); // the hidden paper number
    EXPECT_EQ(QStringLiteral("0000000001|False||"), row(QStringLiteral("select intno, pass, bankid, bankname from getlist")));
    EXPECT_EQ((QStringList{QStringLiteral("0000000001||上期结转"), QStringLiteral("0000000002|0000000001|现金")}),
              rows(QStringLiteral("select intno, sphh, spmc from getdetail order by intno")));
    EXPECT_EQ(QStringLiteral("现金"), cell(*form, 1, AccountName));
    EXPECT_FALSE(form->Edit12->isVisible());
    EXPECT_EQ(nullptr, form->Button1);
    auto* bar = form->findChild<QToolBar*>();
    QStringList captions;
    for (const QAction* action : bar->actions())
        captions << action->text();
    EXPECT_EQ((QStringList{"  新增&A  ", "删除&D", "刷新&R", "过帐&O", "作废&C", "打印&P", "退回&Q"}), captions);
    // Receipts post in full whatever the option says.
    exec(QStringLiteral("update config set tallybj='F'"));
    form->close();
    flush();
    form = openReceiptForm();
    EXPECT_TRUE(form->action("ToolButton4")->isVisible());
    EXPECT_EQ(QStringLiteral("收款明细表中的第一行为上期结转行,不能删除或输入现金银行名,否则该单应作废。"), form->statusText(0));
}

TEST_F(ReceiptEntryFormTest, AmountsOnTheAccountLinesLowerTheRunningBalanceAndPostingClearsTheCustomer)
{
    QPointer<DocumentEntryForm> form = formWithTwoLines();
    EXPECT_EQ(QStringLiteral("工商银行"), cell(*form, 2, AccountName));
    EXPECT_EQ(QStringLiteral("300.00"), cell(*form, 1, Balance));
    EXPECT_EQ(QStringLiteral("180.00"), cell(*form, 2, Balance));
    EXPECT_EQ(QStringLiteral("500.00"), form->box("Edit7")->text());
    EXPECT_EQ(QStringLiteral("300.00"), form->box("Edit5")->text());
    EXPECT_EQ(QStringLiteral("20.00"), form->box("Edit15")->text());
    EXPECT_EQ(QStringLiteral("180.00"), form->box("Edit8")->text());
    EXPECT_EQ(QStringLiteral("收款的现金银行帐:现金、工商银行"), form->box("Edit9")->text());

    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(QStringLiteral("180|300|20|300|20"), row(QStringLiteral("select balance, pay, deduck, pay_y, deduck_y from customer")));
    EXPECT_EQ((QStringList{QStringLiteral("0000000001|200|200"), QStringLiteral("0000000002|100|100")}),
              rows(QStringLiteral("select id, balance, amount from bank order by id")));
    EXPECT_EQ(QStringLiteral("True|收款单|13"), row(QStringLiteral("select pass, billname, billtype from getlist")));
    EXPECT_EQ(QStringLiteral("SELECT * from getlist"), dm().AQoutlist->sql().text());
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(ReceiptEntryFormTest, ALineOnAnAccountThatDoesNotExistStopsThePostingBeforeAnyWrite)
{
    QPointer<DocumentEntryForm> form = formWithTwoLines();
    exec(QStringLiteral("delete from bank where id='0000000002'"));
    const QStringList before = everyTable();
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("查无此银行编号！"),
                           QStringLiteral("该功能暂时不能执行，请重新操作！")}),
              dialogs.texts());
    EXPECT_TRUE(form);
    EXPECT_EQ(before, everyTable());
}

TEST_F(ReceiptEntryFormTest, EnterInTheCustomerBoxGoesToTheLinesAndTheirKeysWalkAmountAndWriteOff)
{
    QPointer<DocumentEntryForm> form = openReceiptForm();
    form->ToolButton1Click();
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(0, Document));
    form->box("Edit2")->setFocus();
    form->box("Edit2")->setText(QStringLiteral("C1"));
    pressEnter(form->box("Edit2"));
    EXPECT_EQ(form->DBGrid1, form->focusWidget());
    EXPECT_EQ(1, form->DBGrid1->currentIndex().row());
    EXPECT_EQ(Amount, form->DBGrid1->currentIndex().column());
    EXPECT_EQ(QStringLiteral("张三"), form->box("Edit3")->text());

    pressEnter(form->DBGrid1);
    EXPECT_EQ(WriteOff, form->DBGrid1->currentIndex().column());
    pressEnter(form->DBGrid1);
    EXPECT_EQ(2, form->DBGrid1->currentIndex().row());
    EXPECT_EQ(Amount, form->DBGrid1->currentIndex().column());

    // The carry-over line takes no account and is not deleted.
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(0, Amount));
    dialogs.clear();
    form->DBGrid1DblClick();
    form->ToolButton2Click();
    EXPECT_EQ(QStringList(2, QStringLiteral("明细表中的第一行为上期结转行,不能删除或修改")), dialogs.texts());
    EXPECT_EQ(nullptr, MasterListWindow::instance(QStringLiteral("TFrbank")));
}

TEST_F(ReceiptEntryFormTest, TheRegistryOpensBothEntryFormsByTheirClassNames)
{
    registerDocumentWindows();
    for (const char* key : {"Tfrindetail", "Tfrgetdetail"}) {
        main->NewBillFlag = true;
        QPointer<lb::ui::WorkWindow> window = WindowRegistry::instance().create(QString::fromLatin1(key), main.get());
        ASSERT_TRUE(window) << key;
        EXPECT_EQ(QString::fromLatin1(key), window->objectName());
        window->showWork(true);
        flush();
        EXPECT_FALSE(main->isEnabled()) << key;
        window->close();
        flush();
        EXPECT_TRUE(main->isEnabled()) << key;
    }
    EXPECT_EQ(1, number(QStringLiteral("select count(*) from inlist")));
    EXPECT_EQ(1, number(QStringLiteral("select count(*) from getlist")));
}
