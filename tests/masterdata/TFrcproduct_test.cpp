// The customer price table driven offscreen: adding through the product list, imports, the
// price pick for a sales line, sorting refusals, pending edits, the price being typed taken by
// every command and close, and closing.
#include "masterdata/FakeOpener.h"
#include "masterdata/MasterWindowFixture.h"
#include "masterdata/TFrcproduct.h"

#include "platform/ui/DataGrid.h"
#include "platform/ui/WorkWindow.h"
#include "support/ReportedErrors.h"
#include "support/Typing.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QWindow>
#include <functional>

using lb::core::PickCode;
using lb::masterdata::MasterListWindow;
using lb::masterdata::TFrcproduct;
using lb::ui::DialogAnswer;

class CustomerPrices : public MasterWindowFixture {
protected:
    void SetUp() override
    {
        MasterWindowFixture::SetUp();
        customer = makeCustomer("0001", "甲");
        apple = makeProduct("A1", "苹果", {{"dj_n", 9.0}, {"spmz", 11.0}, {"spzz", 13.0}, {"szbj", true}});
        pear = makeProduct("A2", "梨", {{"dj_n", 4.0}, {"spmz", 5.0}, {"szbj", true}});
    }
    // The menu command: the table over the main window, its datasets opened.
    TFrcproduct* openFromMenu()
    {
        main->PickMode = PickCode::None;
        auto* table = new TFrcproduct(main.get());
        dm().Aqcustomer->open();
        dm().Aqcproduct->open();
        table->showWork(true);
        return table;
    }
    void setCounter(int value) { exec("update nextno set intno=:p1 where tablename='cproduct'", {QString::number(value)}); }
    QString customer, apple, pear;
};

TEST_F(CustomerPrices, AddingThroughTheProductListNumbersFromTheCounter)
{
    setCounter(57);
    TFrcproduct* table = openFromMenu();
    table->Button4Click();
    EXPECT_EQ(PickCode::CustomerProductTable, main->PickMode);
    EXPECT_EQ(7, main->CustProductPick);
    QPointer<MasterListWindow> list(table->productList());
    ASSERT_FALSE(list.isNull());
    list->dataSet().first();
    list->ToolButton7Click();
    flush();
    EXPECT_TRUE(list.isNull());
    EXPECT_EQ(QVariant("0000000057"), scalar("select intno1 from cproduct"));
    EXPECT_EQ(QVariant("58"), scalar("select intno from nextno where tablename='cproduct'"));
    EXPECT_EQ(PickCode::None, main->PickMode);
    EXPECT_EQ(0, main->CustProductPick);
    EXPECT_EQ(1, dm().Aqcproduct->recordCount());

    table->Button4Click();
    list = table->productList();
    list->dataSet().first();
    EXPECT_THROW(list->ToolButton7Click(), lb::Abort);
    EXPECT_EQ(QStringLiteral("该商品已存在,不能再添加！ "), dialogs.lastText());
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(QVariant(1), scalar("select count(*) from cproduct"));
}

TEST_F(CustomerPrices, ImportOfTheMarkedProductsAndRefusalFromAPickerState)
{
    TFrcproduct* table = openFromMenu();
    table->Button4Click();
    MasterListWindow* list = table->productList();
    dialogs.answer(DialogAnswer::Ok);
    list->menuItem("N2")->trigger();
    EXPECT_EQ((QStringList{"商品记录不能太多，否则要等好长时间,确认导入吗?", "将选中部分的商品导入到客户商品表！"}), dialogs.texts());
    EXPECT_EQ((QStringList{"A1", "A2"}), column("select sphh from cproduct order by intno1"));
    EXPECT_EQ(2, dm().Aqcproduct->recordCount());
    table->close();
    flush();

    // A product list opened as a document's picker imports nothing.
    FakeOpener opener(db());
    dialogs.clear();
    MasterListWindow* picker = MasterListWindow::openAsPicker(QStringLiteral("TFrproduct"), PickCode::SalesEntry, opener);
    picker->menuItem("N16")->trigger();
    EXPECT_EQ((QStringList{"该状态不能将数据导入客户商品表"}), dialogs.texts());
    EXPECT_EQ(QVariant(2), scalar("select count(*) from cproduct"));
}

TEST_F(CustomerPrices, PricePickForTheSalesFormClosesTheTable)
{
    exec("insert into cproduct(intno1,intno,spintno,sphh,spmc,spbzxh,dj_n,spmz,spzz) "
         "values('0000000001',:p1,:p2,'A1','苹果','斤',9,11,13)", {customer, apple});
    FakeOpener form(db());
    form.show();
    form.edit2->setText(QStringLiteral("0001"));
    const QString line = makeLine();
    form.lines.open();
    QPointer<TFrcproduct> table(TFrcproduct::openAsPicker(form));
    EXPECT_EQ(PickCode::SalesEntryPriceTable, main->PickMode);
    EXPECT_FALSE(form.isEnabled());
    table->DBGrid2->setCurrentIndex(table->DBGrid2->model()->index(0, 7)); // 零售价
    table->DBGrid2DblClick();
    flush();
    EXPECT_TRUE(table.isNull());
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(PickCode::None, main->PickMode);
    EXPECT_EQ(QVariant(13.0), scalar("select dj_n from outdetail where intno=:p1", {line}));
    EXPECT_EQ(QVariant("斤"), scalar("select unit from outdetail where intno=:p1", {line}));
}

TEST_F(CustomerPrices, FromTheMenuAPricePickStaysAndClosingClosesTheProductListFirst)
{
    exec("insert into cproduct(intno1,intno,spintno,sphh,dj_n) values('0000000001',:p1,:p2,'A1',9)", {customer, apple});
    TFrcproduct* table = openFromMenu();
    table->Button4Click();
    QPointer<MasterListWindow> list(table->productList());
    EXPECT_EQ(PickCode::CustomerProductTable, main->PickMode);
    table->DBGrid2DblClick(); // code 20 is the product list's, not a price pick
    EXPECT_TRUE(table->isVisible());
    EXPECT_FALSE(main->isEnabled());
    table->close();
    flush();
    EXPECT_TRUE(list.isNull());
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(PickCode::None, main->PickMode);
    EXPECT_EQ(0, main->CustProductPick);
}

TEST_F(CustomerPrices, PendingPriceIsPostedAndSortingBlocksAddAndDelete)
{
    exec("insert into cproduct(intno1,intno,spintno,sphh,dj_n) values('0000000001',:p1,:p2,'A1',9)", {customer, apple});
    TFrcproduct* table = openFromMenu();
    lb::db::Query& prices = *dm().Aqcproduct;
    prices.edit();
    prices.fieldByName("dj_n").setText(QStringLiteral("8.5"));
    table->ComboBox1->setEditText(QStringLiteral("货品名称")); // not the first column: posted all the same
    table->findChild<QPushButton*>(QStringLiteral("Button6"))->click(); // the command takes the edit first
    EXPECT_EQ(QVariant(8.5), scalar("select dj_n from cproduct"));

    table->Button5Click();
    EXPECT_EQ(3, main->SortMode);
    table->Button4Click();
    table->Button3Click();
    EXPECT_EQ((QStringList{"排序状态不能选取商品资料，请先取消类型排序!", "排序状态不能删除资料，请先取消类型排序!"}), dialogs.texts());
    table->Button2Click();
    EXPECT_EQ(2, main->SortMode);

    prices.edit();
    prices.fieldByName("spzz").setText(QString());
    prices.fieldByName("bz").setText(QStringLiteral("特价"));
    table->close();
    EXPECT_EQ(QVariant("特价"), scalar("select bz from cproduct"));
    EXPECT_EQ(0, main->SortMode);
}

TEST_F(CustomerPrices, CustomerSearchPadsTheCode)
{
    makeCustomer("0000000012", "乙");
    makeCustomer("0000000120", "丙");
    TFrcproduct* table = openFromMenu();
    table->Edit2->setText(QStringLiteral("12"));
    table->Button7Click();
    EXPECT_EQ(QStringLiteral("0000000012"), table->Edit2->text());
    EXPECT_EQ(1, dm().Aqcustomer->recordCount());
}

TEST_F(CustomerPrices, PriceTableClosesWithTheSalesFormThatOpenedIt)
{
    auto form = std::make_unique<FakeOpener>(db());
    form->show();
    QPointer<TFrcproduct> table(TFrcproduct::openAsPicker(*form));
    form->close();
    flush();
    EXPECT_TRUE(table.isNull());
    EXPECT_EQ(PickCode::None, main->PickMode);

    // A form destroyed without a close event takes its price table along too.
    table = TFrcproduct::openAsPicker(*form);
    EXPECT_EQ(PickCode::SalesEntryPriceTable, main->PickMode);
    form.reset();
    flush();
    EXPECT_TRUE(table.isNull());
    EXPECT_EQ(PickCode::None, main->PickMode);
}

namespace {

// A command of the price table or a way of closing it, done while a price is being typed.
struct PriceTaking {
    const char* name;
    std::function<void(TFrcproduct& table, lb::ui::ScriptedDialogs& dialogs)> act;
    bool closes = false;       // the table closes once the price is stored
    bool endsAnyway = false;   // ... and also when it cannot be (the program's end)
};

void PrintTo(const PriceTaking& taking, std::ostream* out) { *out << taking.name; }

void click(TFrcproduct& table, const char* button) { table.findChild<QPushButton*>(QLatin1String(button))->click(); }

void pressEnter(QWidget* box)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
}

class TypedPrice : public CustomerPrices, public ::testing::WithParamInterface<PriceTaking> {
protected:
    static constexpr int retail = 7; // 零售价

    void SetUp() override
    {
        CustomerPrices::SetUp();
        exec("insert into cproduct(intno1,intno,spintno,sphh,spmc,dj_n,spmz,spzz) "
             "values('0000000001',:p1,:p2,'A1','苹果',9,11,7)", {customer, apple});
        exec("insert into cproduct(intno1,intno,spintno,sphh,spmc,dj_n,spmz,spzz) "
             "values('0000000002',:p1,:p2,'A2','梨',4,5,6)", {customer, pear});
    }

    static void settle()
    {
        QApplication::processEvents();
        flush();
    }

    // The table from the menu, 77 typed over apple's 零售价 of 7, the cell editor left open.
    QPointer<TFrcproduct> typeSeventySeven()
    {
        QPointer<TFrcproduct> table(openFromMenu());
        QApplication::setActiveWindow(table);
        table->DBGrid2->setFocus();
        settle();
        table->DBGrid2->setCurrentIndex(table->DBGrid2->model()->index(0, retail));
        typeText(table->DBGrid2, QStringLiteral("7"));
        typeText(QApplication::focusWidget(), QStringLiteral("7"));
        QWidget* editor = QApplication::focusWidget();
        EXPECT_TRUE(editor && editor != table->DBGrid2 && table->DBGrid2->isAncestorOf(editor)) << "no cell editor open";
        return table;
    }

    double shownPrice(TFrcproduct& table) const
    {
        return lb::db::Field::parseNumber(table.DBGrid2->model()->index(0, retail).data().toString());
    }

    QVariant storedPrice() { return scalar("select spzz from cproduct where spintno=:p1", {apple}); }
    // Everything of the price rows but apple's 零售价.
    QStringList theRest()
    {
        return column("select intno1||'|'||intno||'|'||spintno||'|'||sphh||'|'||spmc||'|'||dj_n||'|'||spmz||'|'||"
                      "ifnull(bz,'')||'|'||case when spintno=(select intno from product where sphh='A1') then '' "
                      "else spzz end from cproduct order by intno1");
    }
};

} // namespace

// The price is stored before the command runs or the window closes, and nothing else changes.
// With the books refusing it the command does not run (the window stays open, but at the
// program's end), 77 stays on screen, the error is said once under the table's name, and the
// same command stores it once the books take it again.
TEST_P(TypedPrice, EveryCommandAndEveryCloseTakesThePriceBeingTyped)
{
    const PriceTaking& taking = GetParam();
    const QStringList rest = theRest();
    ReportedErrors errors;

    QPointer<TFrcproduct> table = typeSeventySeven();
    taking.act(*table, dialogs);
    settle();
    EXPECT_EQ(QVariant(77.0), storedPrice());
    EXPECT_EQ(rest, theRest());
    EXPECT_EQ(taking.closes, table.isNull());
    EXPECT_EQ(0, errors.count()) << errors.lastMessage().toStdString();
    if (table)
        table->close();
    settle();
    ASSERT_TRUE(table.isNull());
    exec("update cproduct set spzz=7 where spintno=:p1", {apple});

    table = typeSeventySeven();
    refuseWritesTo(QStringLiteral("cproduct"), true);
    taking.act(*table, dialogs);
    // Named before a window the program ended is deleted.
    const QPointer<QObject> sender = errors.count() ? errors.reports().front().sender : nullptr;
    EXPECT_EQ(QStringLiteral("TFrcproduct"), sender ? sender->objectName() : QString());
    settle();
    refuseWritesTo(QStringLiteral("cproduct"), false);
    EXPECT_EQ(QVariant(7.0), storedPrice());
    EXPECT_EQ(rest, theRest());
    EXPECT_EQ(1, errors.count());
    if (taking.endsAnyway) {
        EXPECT_TRUE(table.isNull());
        EXPECT_FALSE(dm().Aqcproduct->active());
        EXPECT_FALSE(dm().Aqcustomer->active());
        return;
    }
    ASSERT_FALSE(table.isNull());
    EXPECT_TRUE(table->isVisible());
    EXPECT_EQ(77.0, shownPrice(*table));
    EXPECT_EQ(nullptr, table->productList()); // 选取商品 did not run

    taking.act(*table, dialogs);
    settle();
    EXPECT_EQ(QVariant(77.0), storedPrice());
    EXPECT_EQ(rest, theRest());
    EXPECT_EQ(taking.closes, table.isNull());
    EXPECT_EQ(1, errors.count());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, TypedPrice,
    ::testing::Values(
        PriceTaking{"Return", [](TFrcproduct& table, auto&) { click(table, "Button1"); }, true},
        // The window manager's close, as its close box and Alt+F4 ask for it.
        PriceTaking{"CloseBox", [](TFrcproduct& table, auto&) { table.windowHandle()->close(); }, true},
        PriceTaking{"CloseFromCode", [](TFrcproduct& table, auto&) { table.close(); }, true},
        PriceTaking{"ProgramEnd", [](TFrcproduct&, auto&) { lb::ui::WorkWindow::endAll(frmain); }, true, true},
        PriceTaking{"PickProducts", [](TFrcproduct& table, auto&) { click(table, "Button4"); }},
        PriceTaking{"Delete",
                    [](TFrcproduct& table, lb::ui::ScriptedDialogs& dialogs) {
                        dialogs.answer(DialogAnswer::Cancel);
                        click(table, "Button3");
                    }},
        PriceTaking{"DeleteAllOfTheCustomer",
                    [](TFrcproduct& table, lb::ui::ScriptedDialogs& dialogs) {
                        dialogs.answer(DialogAnswer::Cancel);
                        table.popupMenu->findChild<QAction*>(QStringLiteral("N1"))->trigger();
                    }},
        PriceTaking{"SortByType", [](TFrcproduct& table, auto&) { click(table, "Button5"); }},
        PriceTaking{"CancelSort", [](TFrcproduct& table, auto&) { click(table, "Button2"); }},
        PriceTaking{"ProductSearch", [](TFrcproduct& table, auto&) { click(table, "Button6"); }},
        PriceTaking{"CustomerSearch", [](TFrcproduct& table, auto&) { click(table, "Button7"); }},
        PriceTaking{"EnterInTheProductSearch", [](TFrcproduct& table, auto&) { pressEnter(table.Edit1); }},
        PriceTaking{"EnterInTheCustomerSearch", [](TFrcproduct& table, auto&) { pressEnter(table.Edit2); }},
        PriceTaking{"CustomerClicked",
                    [](TFrcproduct& table, auto&) { emit table.DBGrid1->clicked(table.DBGrid1->currentIndex()); }},
        PriceTaking{"PriceDoubleClicked",
                    [](TFrcproduct& table, auto&) { emit table.DBGrid2->doubleClicked(table.DBGrid2->currentIndex()); }}),
    [](const auto& info) { return std::string(info.param.name); });
