// The payment and purchase-order entry forms driven as a user drives them, offscreen, and every
// document entry form opened by its class name.
#include "core/WindowRegistry.h"
#include "documents/DocumentWindowFixture.h"
#include "documents/DocumentWindows.h"
#include "masterdata/MasterListWindow.h"

using lb::core::PickCode;
using lb::core::WindowRegistry;
using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::documents::registerDocumentWindows;
using lb::masterdata::MasterListWindow;
using lb::ui::DialogAnswer;

namespace {

enum PaymentColumn { Document, Account, AccountName, Amount, WriteOff, Balance };
enum OrderColumn { Code, Name, Unit, Packs, PerPack, Quantity, Remark };

class PaymentOrderEntryFormsTest : public DocumentWindowFixture {
protected:
    void SetUp() override
    {
        DocumentWindowFixture::SetUp();
        makeSupplier(QStringLiteral("S1"), QStringLiteral("粮油公司"), {{"balance", 1000.0}, {"persondeal", QStringLiteral("老王")}});
        exec(QStringLiteral("update bank set balance=2000"));
        makeAccount(QStringLiteral("0000000002"), QStringLiteral("工商银行"), {{"balance", 400.0}});
        makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"),
                    {{"sl", 10.0}, {"sl_j", 12.0}, {"sl_s", 5.0}, {"dj_w", 2.5}, {"spgg", QStringLiteral("25kg")}});
    }
};

} // namespace

TEST_F(PaymentOrderEntryFormsTest, APaymentIsPaidOutOfItsAccountLinesAndPostedInFull)
{
    QPointer<DocumentEntryForm> form = openEntryForm(DocumentCatalog::paymentEntryForm());
    EXPECT_EQ(QStringLiteral("付款明细单"), form->windowTitle());
    EXPECT_EQ(QStringLiteral("0000000001"), form->box("Edit1")->text());
    EXPECT_EQ(QStringLiteral("现金"), cell(*form, 1, AccountName));
    form->box("Edit2")->setText(QStringLiteral("S1"));
    typeCell(*form, 1, Amount, QStringLiteral("300"));
    typeCell(*form, 1, WriteOff, QStringLiteral("20"));
    form->ToolButton1Click();
    form->DBGrid1DblClick();
    MasterListWindow* accounts = MasterListWindow::instance(QStringLiteral("TFrbank"));
    ASSERT_NE(nullptr, accounts);
    EXPECT_EQ(PickCode::PaymentEntry, main->PickMode);
    ASSERT_TRUE(accounts->dataSet().locate(QStringLiteral("id"), QStringLiteral("0000000002")));
    accounts->ToolButton7Click();
    flush();
    typeCell(*form, 2, Amount, QStringLiteral("100"));
    form->ToolButton3Click();
    EXPECT_EQ(QStringLiteral("680.00"), cell(*form, 1, Balance));
    EXPECT_EQ(QStringLiteral("580.00"), cell(*form, 2, Balance));
    EXPECT_EQ(QStringLiteral("粮油公司"), form->box("Edit3")->text());
    EXPECT_EQ(QStringLiteral("400.00"), form->box("Edit5")->text());
    EXPECT_EQ(QStringLiteral("20.00"), form->box("Edit15")->text());
    EXPECT_EQ(QStringLiteral("付款的现金银行帐:现金、工商银行"), form->box("Edit9")->text());

    // A third line is deleted without a question.
    form->ToolButton1Click();
    dialogs.clear();
    form->ToolButton2Click();
    EXPECT_EQ(QStringList(), dialogs.texts());
    EXPECT_EQ(3, number(QStringLiteral("select count(*) from putdetail")));

    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(QStringLiteral("580|400|20"), row(QStringLiteral("select balance, pay, deduck from branch")));
    EXPECT_EQ((QStringList{QStringLiteral("1700|300"), QStringLiteral("300|100")}), rows(QStringLiteral("select balance, pay from bank order by id")));
    EXPECT_EQ(QStringLiteral("True|付款单|14"), row(QStringLiteral("select pass, billname, billtype from putlist")));
}

TEST_F(PaymentOrderEntryFormsTest, APaymentToAnUnknownSupplierIsRefusedWithItsOwnText)
{
    QPointer<DocumentEntryForm> form = openEntryForm(DocumentCatalog::paymentEntryForm());
    form->box("Edit2")->setText(QStringLiteral("S9"));
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("查无此供应商号！"), QStringLiteral("查无此供应商号,不能过帐！"),
                           QStringLiteral("该功能暂时不能执行，请重新操作！")}),
              dialogs.texts());
    EXPECT_TRUE(form);
    EXPECT_EQ(QStringLiteral("False"), row(QStringLiteral("select pass from putlist")));
}

TEST_F(PaymentOrderEntryFormsTest, AnOrderIsFilledInPacksPostedWithoutAQuestionAndCopied)
{
    QPointer<DocumentEntryForm> form = openEntryForm(DocumentCatalog::orderEntryForm());
    // The order is recalculated as it opens: there is no supplier "1".
    EXPECT_EQ(QStringList{QStringLiteral("查无此供应商号！")}, dialogs.texts());
    EXPECT_EQ(QStringLiteral("订货明细单"), form->windowTitle());
    EXPECT_EQ(QStringLiteral("0000000001|0000000001|现金|1"), row(QStringLiteral("select intno, bankid, bankname, customerid from dhlist")));
    EXPECT_EQ(QStringList{QStringLiteral("0000000001|")}, rows(QStringLiteral("select intno, spmc from dhdetail")));

    form->box("Edit2")->setText(QStringLiteral("S1"));
    enterCode(*form, QStringLiteral("25kg"));
    EXPECT_EQ(Packs, form->DBGrid1->currentIndex().column());
    EXPECT_EQ(QStringLiteral("1|12|12|0|30|1030"), row(QStringLiteral("select js, sl_j, sl, ss, amount, rest from dhdetail")));
    typeCell(*form, 0, Packs, QStringLiteral("2"));
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(0, Packs));
    pressEnter(form->DBGrid1); // recalculates and adds a line
    EXPECT_EQ(2, number(QStringLiteral("select count(*) from dhdetail")));
    EXPECT_EQ(QStringLiteral("24|60|1060"), row(QStringLiteral("select sl, amount, rest from dhdetail where spmc='面粉'")));
    EXPECT_EQ(QStringLiteral("2"), form->box("Edit11")->text());
    EXPECT_EQ(QStringLiteral("24"), form->box("Edit14")->text());
    EXPECT_EQ(QStringLiteral("订货商品:面粉"), form->box("Edit9")->text());

    // The new line takes codes, but a posting with it is refused.
    dialogs.clear();
    form->ToolButton4Click();
    EXPECT_EQ((QStringList{QStringLiteral("没有商品名,不能过帐！"), QStringLiteral("该功能暂时不能执行，请重新操作！")}), dialogs.texts());
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton2Click();

    // 转抄 shows a new order of the same lines.
    EXPECT_TRUE(form->action("ToolButton8")->isVisible());
    form->action("ToolButton8")->trigger();
    flush();
    EXPECT_EQ(QStringLiteral("0000000002"), form->box("Edit1")->text());
    EXPECT_EQ(QStringLiteral("0000000002|2|24"), row(QStringLiteral("select mainintno, js, sl from dhdetail where mainintno='0000000002'")));
    EXPECT_EQ(QStringLiteral("2|24"), row(QStringLiteral("select hjjs, hjsl from dhlist where intno='0000000002'")));

    dialogs.clear();
    form->ToolButton4Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(QStringList(), dialogs.texts());
    EXPECT_EQ((QStringList{QStringLiteral("0000000001|False"), QStringLiteral("0000000002|True")}),
              rows(QStringLiteral("select intno, pass from dhlist order by intno")));
    EXPECT_EQ(QStringLiteral("1000|10"), row(QStringLiteral("select balance, (select sl from product) from branch")));
}

TEST_F(PaymentOrderEntryFormsTest, AnOrderWithoutLinesAsksForANewLineAndItsVoidDeletesIt)
{
    QPointer<DocumentEntryForm> form = openEntryForm(DocumentCatalog::orderEntryForm());
    form->box("Edit2")->setText(QStringLiteral("S1"));
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton2Click();
    dialogs.clear();
    enterCode(*form, QStringLiteral("A01"));
    form->DBGrid1DblClick();
    EXPECT_EQ(QStringList(2, QStringLiteral("明细表中没有记录,请按新增按钮!")), dialogs.texts());
    EXPECT_EQ(nullptr, MasterListWindow::instance(QStringLiteral("TFrproduct")));

    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton6Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from dhlist")));
}

TEST_F(PaymentOrderEntryFormsTest, TheRegistryOpensEveryEntryFormByItsClassName)
{
    registerDocumentWindows();
    for (const char* key : {"Tfroutbackdetail", "Tfrinbackdetail", "Tfrputdetail", "Tfrdhdetail"}) {
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
    for (const char* table : {"outbacklist", "inbacklist", "putlist", "dhlist"})
        EXPECT_EQ(1, number(QStringLiteral("select count(*) from %1").arg(QLatin1String(table)))) << table;
}
