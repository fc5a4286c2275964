// The sales-return and purchase-return entry forms driven as a user drives them, offscreen.
#include "documents/DocumentWindowFixture.h"

#include <QToolBar>

using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::ui::DialogAnswer;

namespace {

// Columns of the sales-return grid; the purchase return has no specification column.
enum SalesColumn { Code, Name, Spec, Unit, Quantity, Price, Amount, Balance, Remark };

class ReturnEntryFormsTest : public DocumentWindowFixture {
protected:
    void SetUp() override
    {
        DocumentWindowFixture::SetUp();
        makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"), {{"balance", 500.0}, {"amount", 900.0}});
        makeSupplier(QStringLiteral("S1"), QStringLiteral("粮油公司"), {{"balance", 1000.0}, {"amount", 2000.0}});
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"),
                            {{"sl", 10.0}, {"sl_s", 4.0}, {"dj_n", 30.0}, {"dj_w", 50.0}, {"barcode", QStringLiteral("6901")}});
        rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"sl", 2.0}, {"dj_n", 40.0}, {"dj_w", 25.0}});
    }

    // A new sales return of C1: 2 flour entered by barcode and 1 rice by code.
    DocumentEntryForm* salesReturnWithTwoLines()
    {
        DocumentEntryForm* form = openEntryForm(DocumentCatalog::salesReturnEntryForm());
        form->box("Edit2")->setText(QStringLiteral("C1"));
        enterCode(*form, QStringLiteral("6901"));
        typeCell(*form, 1, Quantity, QStringLiteral("2"));
        form->ToolButton1Click();
        enterCode(*form, QStringLiteral("B01"));
        return form;
    }

    static QStringList toolCaptions(DocumentEntryForm& form)
    {
        QStringList captions;
        for (const QAction* action : form.findChild<QToolBar*>()->actions())
            if (action->isVisible())
                captions << action->text();
        return captions;
    }

    QString flour;
    QString rice;
};

} // namespace

TEST_F(ReturnEntryFormsTest, ASalesReturnIsNumberedCountedDownFromTheCustomersBalanceAndPostedInFull)
{
    QPointer<DocumentEntryForm> form = openEntryForm(DocumentCatalog::salesReturnEntryForm());
    EXPECT_EQ(QStringLiteral("销售退货明细单"), form->windowTitle());
    EXPECT_EQ(QStringLiteral("0000000001"), form->box("Edit1")->text());
    EXPECT_EQ(QStringLiteral("1"), form->box("Edit2")->text());
    EXPECT_EQ((QStringList{QStringLiteral("0000000001|上期结转"), QStringLiteral("0000000002|")}),
              rows(QStringLiteral("select intno, spmc from outbackdetail order by intno")));
    EXPECT_EQ(QStringLiteral("|"), row(QStringLiteral("select bankid, bankname from outbacklist")));
    EXPECT_EQ((QStringList{"新增行&A", "删除行&D", "刷新&R", "过帐&O", "作废&C", "打印&P", "退回&Q"}), toolCaptions(*form));
    form->close();
    flush();

    form = salesReturnWithTwoLines();
    EXPECT_EQ(QStringLiteral("1"), cell(*form, 2, Quantity));
    EXPECT_EQ(QStringLiteral("400.00"), cell(*form, 2, Balance));
    EXPECT_EQ(QStringLiteral("440.00"), cell(*form, 1, Balance));
    EXPECT_EQ(Quantity, form->DBGrid1->currentIndex().column());
    EXPECT_EQ(QStringLiteral("500.00"), form->box("Edit7")->text());
    EXPECT_EQ(QStringLiteral("100.00"), form->box("Edit5")->text());
    EXPECT_EQ(QStringLiteral("400.00"), form->box("Edit8")->text());
    EXPECT_EQ(QStringLiteral("3"), form->box("Edit14")->text());
    EXPECT_EQ(QStringLiteral("退货商品:面粉、大米"), form->box("Edit9")->text());

    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(QStringLiteral("400|800"), row(QStringLiteral("select balance, amount from customer")));
    EXPECT_EQ((QStringList{QStringLiteral("12"), QStringLiteral("3")}), rows(QStringLiteral("select sl from product order by sphh")));
    EXPECT_EQ(QStringList{QStringLiteral("True|销售退货单|05|C1")}, rows(QStringLiteral("select distinct pass, billname, billtype, customerid from outbackdetail where mainintno='0000000002'")));
    EXPECT_EQ(QStringLiteral("SELECT * from outbacklist"), dm().AQoutlist->sql().text());
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(ReturnEntryFormsTest, ALineWithoutAProductRefusesTheSalesReturnsPostingAndTheVoidDeletesIt)
{
    QPointer<DocumentEntryForm> form = salesReturnWithTwoLines();
    form->ToolButton1Click();
    form->ToolButton3Click();
    const QStringList before = everyTable();
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("没有商品名,不能过帐！"),
                           QStringLiteral("该功能暂时不能执行，请重新操作！")}),
              dialogs.texts());
    EXPECT_EQ(before, everyTable());

    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton6Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from outbacklist")));
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from outbackdetail")));
}

TEST_F(ReturnEntryFormsTest, InStockOnlyModeTheReturnsAreBookedAndTheirPopupBooksToo)
{
    exec(QStringLiteral("update config set tallybj='F'"));
    QPointer<DocumentEntryForm> form = salesReturnWithTwoLines();
    EXPECT_EQ((QStringList{"新增行&A", "删除行&D", "刷新&R", "记帐", "作废&C", "打印&P", "退回&Q"}), toolCaptions(*form));
    dialogs.answer(DialogAnswer::Ok);
    form->action("N4")->trigger();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(QStringLiteral("500|900"), row(QStringLiteral("select balance, amount from customer")));
    EXPECT_EQ((QStringList{QStringLiteral("12"), QStringLiteral("3")}), rows(QStringLiteral("select sl from product order by sphh")));

    // Booking a purchase return checks no stock: the rice goes below nothing.
    form = openEntryForm(DocumentCatalog::purchaseReturnEntryForm());
    form->box("Edit2")->setText(QStringLiteral("S1"));
    enterCode(*form, QStringLiteral("B01"));
    typeCell(*form, 1, 3, QStringLiteral("4"));
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton8Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(-1, number(QStringLiteral("select sl from product where sphh='B01'")));
    EXPECT_EQ(1000, number(QStringLiteral("select balance from branch")));
}

TEST_F(ReturnEntryFormsTest, APurchaseReturnTakesThePurchasePriceAndIsRefusedBeyondTheStock)
{
    QPointer<DocumentEntryForm> form = openEntryForm(DocumentCatalog::purchaseReturnEntryForm());
    EXPECT_EQ(QStringLiteral("进货退货明细单"), form->windowTitle());
    EXPECT_EQ((QStringList{"新增行&A", "删除&D", "刷新&R", "过帐&O", "作废&C", "打印&P", "退回&Q"}), toolCaptions(*form));
    form->box("Edit2")->setText(QStringLiteral("S1"));
    enterCode(*form, QStringLiteral("A01"));
    EXPECT_EQ(3, form->DBGrid1->currentIndex().column());
    EXPECT_EQ(QStringLiteral("1|50|4|950"), row(QStringLiteral("select sl, dj_w, sl_s, rest from inbackdetail where spmc='面粉'")));
    typeCell(*form, 1, 3, QStringLiteral("11"));
    form->ToolButton3Click();
    EXPECT_EQ(QStringLiteral("450.00"), form->box("Edit8")->text());
    EXPECT_EQ(QStringLiteral("粮油公司"), form->box("Edit3")->text());

    const QStringList before = everyTable();
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("面粉的库存数量不足！"),
                           QStringLiteral("该功能暂时不能执行，请重新操作！")}),
              dialogs.texts());
    EXPECT_EQ(before, everyTable());

    typeCell(*form, 1, 3, QStringLiteral("10"));
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(QStringLiteral("500|1500"), row(QStringLiteral("select balance, amount from branch")));
    EXPECT_EQ(0, number(QStringLiteral("select sl from product where sphh='A01'")));
}

// Down in the code box goes to the sales return's specification column on the current line;
// in the purchase return it does nothing.
TEST_F(ReturnEntryFormsTest, DownInTheCodeBoxGoesToTheSalesReturnsSpecColumnOnly)
{
    auto pressDown = [](QWidget* widget) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(widget, &down);
        flush();
    };
    QPointer<DocumentEntryForm> form = salesReturnWithTwoLines();
    form->Edit12->setFocus();
    flush();
    pressDown(form->Edit12);
    EXPECT_EQ(form->DBGrid1, QApplication::focusWidget());
    EXPECT_EQ(2, form->DBGrid1->currentIndex().row());
    EXPECT_EQ(Spec, form->DBGrid1->currentIndex().column());
    form->close();
    flush();

    form = openEntryForm(DocumentCatalog::purchaseReturnEntryForm());
    form->Edit12->setFocus();
    flush();
    pressDown(form->Edit12);
    EXPECT_EQ(form->Edit12, QApplication::focusWidget());
}
