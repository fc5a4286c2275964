// The sales entry form driven as a user drives it, offscreen: a new document, the customer
// look-up, lines by code, barcode and pickers, the recalculation, and the grid's keys.
#include "documents/DocumentWindowFixture.h"
#include "masterdata/MasterListWindow.h"
#include "masterdata/TFrcproduct.h"

#include <QPlainTextEdit>

using lb::core::PickCode;
using lb::core::Tfrpickdate;
using lb::documents::DocumentEntryForm;
using lb::masterdata::MasterListWindow;
using lb::masterdata::TFrcproduct;
using lb::ui::DialogAnswer;

namespace {

enum Column { Code, Name, Spec, Unit, Quantity, Price, Amount, Deduction, Payment, Balance, Remark };

class SalesEntryFormTest : public DocumentWindowFixture {
protected:
    void SetUp() override
    {
        DocumentWindowFixture::SetUp();
        makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"), {{"balance", 100.0}, {"persondeal", QStringLiteral("老张")}});
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"),
                            {{"barcode", "6901"}, {"dj_n", 10.0}, {"dj_w", 7.0}, {"sl", 50.0}, {"spbs", QStringLiteral("袋")}});
        rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"dj_n", 4.0}, {"dj_w", 3.0}, {"sl", 50.0}});
    }

    QString flour;
    QString rice;
};

} // namespace

TEST_F(SalesEntryFormTest, ANewDocumentOnEmptyTablesIsNumberOneWithItsCarryOverLine)
{
    QPointer<DocumentEntryForm> form = openSalesForm();
    ASSERT_TRUE(form);
    EXPECT_EQ(QStringLiteral("销售明细单(打印纸张大小设置,请参考说明书或与提供商联系)"), form->windowTitle());
    EXPECT_EQ(QStringLiteral("0000000001"), form->box("Edit1")->text());
    EXPECT_EQ(QStringLiteral("0000000001"), main->CurrentBillNo);
    EXPECT_EQ(QStringLiteral("1"), form->box("Edit2")->text());
    EXPECT_EQ(QStringLiteral("2026-06-15"), form->box("Edit6")->text());
    EXPECT_EQ(QStringLiteral("0000000001"), form->box("Edit10")->text());
    EXPECT_EQ(QStringLiteral("0"), form->box("Edit8")->text());
    EXPECT_EQ(2, form->DBGrid1->model()->rowCount());
    EXPECT_EQ(QStringLiteral("上期结转"), cell(*form, 0, Name));
    EXPECT_EQ(QString(), cell(*form, 1, Name));
    EXPECT_EQ(1, form->DBGrid1->currentIndex().row()); // the blank line
    EXPECT_EQ(form->box("Edit2"), form->focusWidget());
    // Full posting is the option of a fresh file: 过帐 shows, 记帐 does not.
    EXPECT_TRUE(form->action("ToolButton4")->isVisible());
    EXPECT_FALSE(form->action("ToolButton8")->isVisible());
    EXPECT_TRUE(form->action("ToolButton5")->isEnabled());
    EXPECT_FALSE(main->isEnabled());
    EXPECT_EQ(QStringLiteral("商品明细表中的第一行为上期结转行,不能删除或输入商品,否则该单应作废。"), form->statusText(0));
}

TEST_F(SalesEntryFormTest, LeavingTheCustomerBoxLooksTheCustomerUpExactlyAsTyped)
{
    QPointer<DocumentEntryForm> form = openSalesForm();
    // Leaving "1" untouched: there is no such customer.
    form->Edit12->setFocus();
    flush();
    EXPECT_EQ(QStringList({QStringLiteral("查无此客户号！")}), dialogs.texts());

    form->box("Edit2")->setFocus();
    form->box("Edit2")->setText(QStringLiteral("C1"));
    pressEnter(form->box("Edit2")); // Enter leaves for the code box
    EXPECT_EQ(form->Edit12, form->focusWidget());
    EXPECT_EQ(QStringLiteral("张三"), form->box("Edit3")->text());
    EXPECT_EQ(QStringLiteral("老张"), form->box("Edit4")->text());
    EXPECT_EQ(QStringLiteral("100.00"), form->box("Edit7")->text());
    EXPECT_EQ(QStringLiteral("C1|张三|100"), row(QStringLiteral("select customerid, customername, balance from outlist")));
    EXPECT_EQ(QStringLiteral("100"), cell(*form, 0, Amount).left(3));
    EXPECT_EQ(QStringLiteral("100|100"), row(QStringLiteral("select amount, rest from outdetail where spmc='上期结转'")));
    EXPECT_EQ(1, dialogs.texts().size());
}

TEST_F(SalesEntryFormTest, LinesComeByCodeByBarcodeAndByThePickersAndTheRecalculationRunsThem)
{
    insertRow(QStringLiteral("cproduct"), {{"intno1", "0000000001"}, {"spintno", rice}, {"intno", "0000000001"}, {"sphh", "B01"},
                                           {"spmc", QStringLiteral("大米")}, {"dj_n", 4.5}});
    QPointer<DocumentEntryForm> form = openSalesForm();
    form->box("Edit2")->setText(QStringLiteral("C1"));

    // By code: the blank last line takes the product, the quantity column gets the cursor.
    enterCode(*form, QStringLiteral("A01"));
    EXPECT_EQ(QStringLiteral("A01|面粉|袋|1|10|7"), row(QStringLiteral("select sphh, spmc, unit, sl, dj_n, dj_w from outdetail where intno='0000000002'")));
    EXPECT_EQ(Quantity, form->DBGrid1->currentIndex().column());
    EXPECT_EQ(QStringLiteral("110.00"), form->box("Edit8")->text());

    // By barcode, into a new line; a code nobody has is refused.
    form->ToolButton1Click();
    EXPECT_EQ(form->Edit12, form->focusWidget());
    enterCode(*form, QStringLiteral("6901"));
    EXPECT_EQ(QStringLiteral("面粉"), cell(*form, 2, Name));
    form->ToolButton1Click();
    enterCode(*form, QStringLiteral("zz"));
    EXPECT_EQ(QStringLiteral("查无该货品代码或条形码！"), dialogs.lastText());
    EXPECT_EQ(QStringLiteral("zz"), form->Edit12->selectedText());

    // By the product list: a double-click on the blank line, then the list's pick.
    form->DBGrid1DblClick();
    MasterListWindow* products = MasterListWindow::instance(QStringLiteral("TFrproduct"));
    ASSERT_NE(nullptr, products);
    EXPECT_EQ(PickCode::SalesEntry, main->PickMode);
    ASSERT_TRUE(products->dataSet().locate(QStringLiteral("sphh"), QStringLiteral("B01")));
    products->ToolButton7Click();
    flush();
    EXPECT_EQ(QStringLiteral("大米"), cell(*form, 3, Name));

    // By the customer's price list, into another new line.
    form->ToolButton1Click();
    form->N8Click();
    TFrcproduct* prices = qobject_cast<TFrcproduct*>(QApplication::activeWindow());
    if (!prices) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* table = qobject_cast<TFrcproduct*>(window); table && table->isVisible())
                prices = table;
    }
    ASSERT_NE(nullptr, prices);
    EXPECT_FALSE(form->isEnabled());
    prices->DBGrid2DblClick();
    flush();
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(QStringLiteral("大米|4.5|3"), row(QStringLiteral("select spmc, dj_n, dj_w from outdetail where intno='0000000005'")));

    // Nothing is written into the carry-over line, nor is it deleted.
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(0, Quantity));
    dialogs.clear();
    form->DBGrid1DblClick();
    form->ToolButton2Click();
    form->N8Click();
    // The code box fills the last line: refused once the carry-over line is the only one.
    for (int line = 4; line >= 1; --line) {
        form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(line, Quantity));
        dialogs.answer(DialogAnswer::Ok);
        form->ToolButton2Click();
    }
    enterCode(*form, QStringLiteral("A01"));
    QStringList expected(3, QStringLiteral("明细表中的第一行为上期结转行,不能删除或修改"));
    expected << QStringList(4, QStringLiteral("确实要删除当前记录吗?")) << QStringLiteral("明细表中的第一行为上期结转行,不能删除或修改");
    EXPECT_EQ(expected, dialogs.texts());
    EXPECT_EQ(QStringList({QStringLiteral("上期结转||0")}), rows(QStringLiteral("select spmc, spintno, sl from outdetail")));
}

TEST_F(SalesEntryFormTest, RecalculationGivesRunningBalancesTotalsAndTheSummary)
{
    QPointer<DocumentEntryForm> form = openSalesForm();
    form->box("Edit2")->setText(QStringLiteral("C1"));
    enterCode(*form, QStringLiteral("A01"));
    typeCell(*form, 1, Quantity, QStringLiteral("2"));
    typeCell(*form, 1, Deduction, QStringLiteral("1"));
    typeCell(*form, 1, Payment, QStringLiteral("5"));
    form->ToolButton1Click();
    enterCode(*form, QStringLiteral("B01"));
    typeCell(*form, 2, Quantity, QStringLiteral("3"));
    form->ToolButton3Click();

    EXPECT_EQ(QStringLiteral("114.00"), cell(*form, 1, Balance));
    EXPECT_EQ(QStringLiteral("126.00"), cell(*form, 2, Balance));
    EXPECT_EQ(QStringLiteral("32.00"), form->box("Edit5")->text());
    EXPECT_EQ(QStringLiteral("1.00"), form->box("Edit15")->text());
    EXPECT_EQ(QStringLiteral("5.00"), form->box("Edit13")->text());
    EXPECT_EQ(QStringLiteral("126.00"), form->box("Edit8")->text());
    EXPECT_EQ(QStringLiteral("5"), form->box("Edit14")->text());
    EXPECT_EQ(QStringLiteral("销售商品:面粉、大米"), form->box("Edit9")->text());
    EXPECT_EQ(QStringLiteral("100|32|1|5|126|5|销售商品:面粉、大米"),
              row(QStringLiteral("select balance, amount, deduck, pay, rest, hjsl, remark from outlist")));
}

TEST_F(SalesEntryFormTest, GridKeysRecalculateAddLinesAndWalkTheEntryColumns)
{
    QPointer<DocumentEntryForm> form = openSalesForm();
    form->box("Edit2")->setText(QStringLiteral("C1"));
    enterCode(*form, QStringLiteral("A01"));
    form->DBGrid1->setFocus();
    // Leaving the price column recalculates.
    typeCell(*form, 1, Price, QStringLiteral("12"));
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(1, Remark));
    flush();
    EXPECT_EQ(QStringLiteral("112.00"), form->box("Edit8")->text());

    // Enter: price to deduction to payment, then to the next line's quantity.
    for (const auto& [from, to] : std::vector<std::pair<int, int>>{{Price, Deduction}, {Deduction, Payment}, {Payment, Quantity}}) {
        form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(1, from));
        pressEnter(form->DBGrid1);
        EXPECT_EQ(to, form->DBGrid1->currentIndex().column()) << from;
    }
    // Enter in the quantity column recalculates and adds a blank line for the code box.
    typeCell(*form, 1, Quantity, QStringLiteral("3"));
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(1, Quantity));
    pressEnter(form->DBGrid1);
    EXPECT_EQ(3, form->DBGrid1->model()->rowCount());
    EXPECT_EQ(form->Edit12, form->focusWidget());
    EXPECT_EQ(QStringLiteral("136.00"), form->box("Edit8")->text());
    // An emptied number cell holds 0; a text that is no number is refused.
    typeCell(*form, 1, Payment, QString());
    EXPECT_EQ(0, number(QStringLiteral("select pay from outdetail where intno='0000000002'")));
    typeCell(*form, 1, Quantity, QStringLiteral("x"));
    EXPECT_EQ(1, errors.count());
    EXPECT_EQ(3, number(QStringLiteral("select sl from outdetail where intno='0000000002'")));
}

TEST_F(SalesEntryFormTest, AnExistingDocumentShowsItsStoredTotalsAndTheDateComesFromThePicker)
{
    const QString sale = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 2, 10, 1, 5}});
    exec(QStringLiteral("update outlist set remark1='谢谢', employeename='王五'"));
    QPointer<DocumentEntryForm> form = openSalesForm(false, sale);
    EXPECT_EQ(sale, form->box("Edit1")->text());
    EXPECT_EQ(QStringLiteral("114.00"), form->box("Edit8")->text());
    EXPECT_EQ(QStringLiteral("100.00"), form->box("Edit7")->text());
    EXPECT_EQ(QStringLiteral("王五"), form->box("Edit16")->text());
    EXPECT_EQ(QStringLiteral("谢谢"), form->Memo1->toPlainText());
    EXPECT_EQ(2, form->DBGrid1->model()->rowCount());

    modals.then([](QDialog& picker) {
        static_cast<Tfrpickdate&>(picker).SetDate(QDate(2026, 5, 31));
        picker.accept();
    });
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->box("Edit6"), &doubleClick);
    EXPECT_EQ(QStringLiteral("2026-05-31"), form->box("Edit6")->text());
    form->ToolButton3Click();
    EXPECT_EQ(QStringLiteral("2026-05-31"), row(QStringLiteral("select billdate from outlist")));

    // The account picked goes into the header at once, the handler's name at the next recalculation.
    makeAccount(QStringLiteral("0000000002"), QStringLiteral("工行"));
    makeEmployee(QStringLiteral("E1"), QStringLiteral(" 王五 "));
    form->pickAccount();
    MasterListWindow* accounts = MasterListWindow::instance(QStringLiteral("TFrbank"));
    ASSERT_NE(nullptr, accounts);
    ASSERT_TRUE(accounts->dataSet().locate(QStringLiteral("id"), QStringLiteral("0000000002")));
    accounts->ToolButton7Click();
    EXPECT_EQ(QStringLiteral("0000000002"), form->box("Edit10")->text());
    EXPECT_EQ(QStringLiteral("0000000002"), row(QStringLiteral("select bankid from outlist")));
    form->pickEmployee();
    MasterListWindow* employees = MasterListWindow::instance(QStringLiteral("TFremployee"));
    ASSERT_NE(nullptr, employees);
    employees->ToolButton7Click();
    EXPECT_EQ(QStringLiteral("王五"), form->box("Edit16")->text());
    form->ToolButton3Click();
    EXPECT_EQ(QStringLiteral("王五"), row(QStringLiteral("select employeename from outlist")));
}
