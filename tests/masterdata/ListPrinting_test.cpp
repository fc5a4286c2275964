// The print commands of the record lists and the stock window, driven through their windows:
// the rows each prints, the captions its layout gets, and what the list shows afterwards.
#include "masterdata/MasterWindowFixture.h"
#include "masterdata/ProductCommands.h"
#include "masterdata/StockMenu.h"

#include "platform/sys/Errors.h"
#include "support/PrintedPreview.h"

#include <QMenu>
#include <cmath>

using lb::masterdata::ListCommand;
using lb::masterdata::MasterListWindow;
using lb::masterdata::ProductCommands;
using lb::masterdata::StockMenu;

namespace {

// The text printed right after `text` (the value a caption introduces).
QString after(const QStringList& page, const QString& text)
{
    const qsizetype at = page.indexOf(text);
    return at < 0 || at + 1 >= page.size() ? QString() : page[at + 1];
}

// The positions of `texts` in a page, -1 for one that is missing.
std::vector<qsizetype> positions(const QStringList& page, const QStringList& texts)
{
    std::vector<qsizetype> at;
    for (const QString& text : texts)
        at.push_back(page.indexOf(text));
    return at;
}

class ListPrinting : public MasterWindowFixture {
protected:
    void SetUp() override
    {
        MasterWindowFixture::SetUp();
        exec(QStringLiteral("update company set name='朔栎商行'"));
        dm().applyDisplayFormats();
        dm().ATcompany->open();
    }

    MasterListWindow* open(const QString& key, const QString& sql = QString())
    {
        return MasterListWindow::openFromMenu(key, main.get(), sql);
    }
    static void print(MasterListWindow& list) { list.command(ListCommand::Print)->trigger(); }
    static void menu(MasterListWindow& list, const QString& item) { list.menuItem(item)->trigger(); }

    lb::test::PrintedPreview preview;
};

TEST_F(ListPrinting, ProductListPrintsEveryProductWithoutTotals)
{
    makeProduct(QStringLiteral("A1"), QStringLiteral("苹果"), {{"spgg", "690001"}, {"sl", 4}});
    makeProduct(QStringLiteral("B2"), QStringLiteral("梨"));
    makeProduct(QStringLiteral("C3"), QStringLiteral("桃"));
    MasterListWindow* list = open(QStringLiteral("TFrproduct"), QStringLiteral("SELECT * from product "));
    list->Edit1->setText(QStringLiteral("A1"));
    list->ToolButton6Click();
    ASSERT_EQ(1, list->dataSet().recordCount());

    print(*list);
    const QStringList page = preview.page(1);
    EXPECT_EQ(QStringLiteral("朔栎打印预览"), preview.last().title);
    EXPECT_TRUE(page.contains(QStringLiteral("库存商品")));
    EXPECT_TRUE(page.contains(QStringLiteral("规格型号")));
    EXPECT_FALSE(page.contains(QStringLiteral("条形码")));
    EXPECT_EQ((std::vector<qsizetype>{-1, -1}), positions(page, {"库存数量合计:", "库存金额合计:"}));
    for (const qsizetype at : positions(page, {"A1", "B2", "C3", "690001"}))
        EXPECT_GE(at, 0);
    // The search in force is dropped: the list shows what was printed.
    EXPECT_EQ(3, list->dataSet().recordCount());
    EXPECT_EQ(QStringLiteral("记录数:3"), list->statusText(2));

    main->SpecIsBarcode = true;
    print(*list);
    EXPECT_TRUE(preview.page(1).contains(QStringLiteral("条形码")));
}

TEST_F(ListPrinting, ProductListWithoutProductsPrintsItsHeadingsOnOnePage)
{
    MasterListWindow* list = open(QStringLiteral("TFrproduct"), QStringLiteral("SELECT * from product "));
    print(*list);
    ASSERT_EQ(1u, preview.last().pages.size());
    for (const char* text : {"库存商品", "货品代码", "零售价"})
        EXPECT_TRUE(preview.page(1).contains(QString::fromUtf8(text))) << text;
}

// A page holds 30 product rows. The plain list has no totals, so a full last page ends it; the
// stock value's totals go onto a page of their own.
TEST_F(ListPrinting, AFullLastPageEndsTheListButNotTheStockValueWithItsTotals)
{
    for (int i = 1; i <= 30; ++i)
        makeProduct(QStringLiteral("P%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("品%1").arg(i), {{"sl", 1}});
    MasterListWindow* list = open(QStringLiteral("TFrproduct"), QStringLiteral("SELECT * from product "));
    print(*list);
    ASSERT_EQ(1u, preview.last().pages.size());
    EXPECT_TRUE(preview.page(1).contains(QStringLiteral("P30")));

    menu(*list, QStringLiteral("N23"));
    ASSERT_EQ(2u, preview.last().pages.size());
    EXPECT_TRUE(preview.page(2).contains(QStringLiteral("库存数量合计:")));
}

TEST_F(ListPrinting, ThreeAcrossPutsSevenProductsIntoBandsOfThreeThreeAndOne)
{
    for (int i = 1; i <= 7; ++i)
        makeProduct(QStringLiteral("P%1").arg(i), QStringLiteral("品%1").arg(i), {{"spmz", 1.5 * i}, {"bz", "注"}});
    MasterListWindow* list = open(QStringLiteral("TFrproduct"), QStringLiteral("SELECT * from product "));
    std::vector<int> told;
    QObject listening; // the shared dataset outlives the test: so must not the lambda
    QObject::connect(frdm->Aqproduct, &lb::db::DataSet::currentChanged, &listening, [&](int row) { told.push_back(row); });
    menu(*list, QStringLiteral("N21"));
    ASSERT_EQ(1u, preview.last().pages.size());
    // The list's grid is told of the last product once the print is done, not of every
    // product the bands take (the command starts from the first).
    ASSERT_FALSE(told.empty());
    EXPECT_LE(told.size(), 2u);
    EXPECT_EQ(6, told.back());
    EXPECT_EQ(3, preview.page(1).count(QStringLiteral("价格")));
    EXPECT_TRUE(preview.page(1).contains(QStringLiteral("商品资料")));
    // Slots left to right, bands top to bottom: P1 P2 P3 / P4 P5 P6 / P7.
    const auto at = [this](int i) { return *preview.find(1, QStringLiteral("P%1").arg(i)); };
    for (int i = 1; i <= 7; ++i)
        ASSERT_TRUE(preview.find(1, QStringLiteral("P%1").arg(i))) << i;
    EXPECT_EQ(at(1).x, at(4).x);
    EXPECT_EQ(at(1).x, at(7).x);
    EXPECT_EQ(at(2).x, at(5).x);
    EXPECT_LT(at(1).x, at(2).x);
    EXPECT_LT(at(2).x, at(3).x);
    EXPECT_EQ(at(1).y, at(3).y);
    EXPECT_LT(at(1).y, at(4).y);
    EXPECT_LT(at(4).y, at(7).y);
    // The price column shows the supermarket price.
    EXPECT_EQ(QStringLiteral("10.50"), after(preview.page(1), QStringLiteral("品7")));
}

TEST_F(ListPrinting, ThreeAcrossWithoutProductsPrintsNoBand)
{
    MasterListWindow* list = open(QStringLiteral("TFrproduct"), QStringLiteral("SELECT * from product "));
    menu(*list, QStringLiteral("N21"));
    ASSERT_EQ(1u, preview.previews.size());
    EXPECT_TRUE(preview.last().pages.empty());
}

TEST_F(ListPrinting, StockValueListsProductsByValueWithTheirTotals)
{
    makeProduct(QStringLiteral("A"), QStringLiteral("甲"), {{"dj_w", 2.5}, {"sl", 4}});
    makeProduct(QStringLiteral("B"), QStringLiteral("乙"), {{"dj_w", 1}, {"sl", 100}});
    makeProduct(QStringLiteral("C"), QStringLiteral("丙"), {{"dj_w", 3}, {"sl", 1}});
    MasterListWindow* list = open(QStringLiteral("TFrproduct"), QStringLiteral("SELECT * from product "));
    menu(*list, QStringLiteral("N23"));
    const QStringList page = preview.page(1);
    EXPECT_TRUE(page.contains(QStringLiteral("商品资产表")));
    EXPECT_EQ(QStringLiteral("商品资产表"), preview.last().documentTitle); // the name of a PDF of it
    EXPECT_TRUE(page.contains(QStringLiteral("金额")));
    EXPECT_FALSE(page.contains(QStringLiteral("零售价")));
    const std::vector<qsizetype> order = positions(page, {"C", "A", "B"});
    EXPECT_TRUE(order[0] >= 0 && order[0] < order[1] && order[1] < order[2]);
    EXPECT_EQ(QStringLiteral("105.00"), after(page, QStringLiteral("库存数量合计:")));
    EXPECT_EQ(QStringLiteral("113.00"), after(page, QStringLiteral("库存金额合计:")));
    EXPECT_DOUBLE_EQ(10.0, scalar(QStringLiteral("select sptj from product where sphh='A'")).toDouble());
}

TEST_F(ListPrinting, StockWindowPrintsByItsMode)
{
    makeProduct(QStringLiteral("A"), QStringLiteral("甲"), {{"dj_w", 2.5}, {"sl", 10}, {"ysl", 8}});
    // The product list's stock value leaves its totals row open behind it.
    MasterListWindow* list = open(QStringLiteral("TFrproduct"), QStringLiteral("SELECT * from product "));
    menu(*list, QStringLiteral("N23"));
    EXPECT_TRUE(preview.page(1).contains(QStringLiteral("25.00")));
    list->close();

    // Gain and loss: the count and the difference in place of the two last prices, and no
    // totals, not even those left from the stock value.
    list = StockMenu::gainAndLoss();
    print(*list);
    QStringList page = preview.page(1);
    for (const char* text : {"库存损益表", "实库存量", "库存损益"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(QStringLiteral("库存损益表"), preview.last().documentTitle);
    EXPECT_EQ((QStringList{"8", "-2.00"}), page.mid(page.size() - 2));
    EXPECT_EQ((std::vector<qsizetype>{-1, -1, -1, -1}), positions(page, {"超市价", "零售价", "库存数量合计:", "25.00"}));
    EXPECT_EQ(QStringLiteral("SELECT * from product"), list->dataSet().sql().text().trimmed());
    list->close();

    // Stock value: the value in place of the retail price, with the totals.
    list = StockMenu::stockValue();
    print(*list);
    page = preview.page(1);
    for (const char* text : {"库存资产表", "库存金额", "超市价", "库存数量合计:", "库存金额合计:"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(QStringLiteral("库存资产表"), preview.last().documentTitle);
    EXPECT_EQ(QStringLiteral("25.00"), after(page, QStringLiteral("库存金额合计:")));
    list->close();

    // The stock-take prints the list as laid out, without totals.
    list = StockMenu::stockTake();
    print(*list);
    page = preview.page(1);
    for (const char* text : {"库存商品", "超市价", "零售价"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ((std::vector<qsizetype>{-1, -1}), positions(page, {"库存数量合计:", "库存金额合计:"}));
}

// The stock window titles the prices as the product list does, on screen and on paper: with
// four different prices each heading stands over its own value.
TEST_F(ListPrinting, StockTakeHeadsEachPriceOverItsOwnValue)
{
    makeProduct(QStringLiteral("A"), QStringLiteral("甲"), {{"dj_w", 2}, {"dj_n", 3}, {"spmz", 4}, {"spzz", 5}});
    MasterListWindow* list = StockMenu::stockTake();
    const QAbstractItemModel& grid = *list->DBGrid1->model();
    const std::vector<std::pair<QString, QString>> shown = {
        {"自定进价", "2.00"}, {"批发价", "3.00"}, {"超市价", "4.00"}, {"零售价", "5.00"}};
    for (const auto& [heading, value] : shown) {
        int column = 0;
        while (column < grid.columnCount() && grid.headerData(column, Qt::Horizontal).toString() != heading)
            ++column;
        ASSERT_LT(column, grid.columnCount()) << heading.toStdString();
        EXPECT_EQ(value, grid.index(0, column).data().toString()) << heading.toStdString();
    }

    print(*list);
    const std::vector<std::pair<QString, QString>> printed = {
        {"进货价", "2.00"}, {"批发价", "3.00"}, {"超市价", "4.00"}, {"零售价", "5.00"}};
    for (const auto& [heading, value] : printed) {
        const auto title = preview.find(1, heading);
        const auto figure = preview.find(1, value);
        ASSERT_TRUE(title && figure) << heading.toStdString();
        const int middle = (figure->left + figure->right) / 2;
        EXPECT_TRUE(title->clip.left() <= middle && middle <= title->clip.right()) << heading.toStdString();
    }
}

TEST_F(ListPrinting, PartyListsPrintEveryRowWhateverTheSearch)
{
    makeCustomer(QStringLiteral("1"), QStringLiteral("东方超市"), {{"tel", "555"}, {"rest", 100}, {"balance", 150}});
    makeCustomer(QStringLiteral("2"), QStringLiteral("西湖商店"));
    MasterListWindow* list = open(QStringLiteral("TFrcustomer"));
    list->Edit1->setText(QStringLiteral("1"));
    list->ToolButton6Click();
    ASSERT_EQ(1, list->dataSet().recordCount());
    print(*list);
    QStringList page = preview.page(1);
    for (const char* text : {"朔栎商行", "客户资料", "编号", "客户名称", "电话", "期初应收", "应收累计", "东方超市", "西湖商店", "100.00", "150.00"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(2, list->dataSet().recordCount());
    EXPECT_EQ(QStringLiteral("记录数:2"), list->statusText(1));
    list->close();

    makeSupplier(QStringLiteral("7"), QStringLiteral("北方批发"));
    list = open(QStringLiteral("TFrbranch"));
    print(*list);
    page = preview.page(1);
    for (const char* text : {"供应商资料", "供应商名称", "期初应付", "应付累计", "北方批发"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(text))) << text;
}

TEST_F(ListPrinting, OpeningBalanceListsPrintAndKeepOnlyPartiesWithABalance)
{
    makeCustomer(QStringLiteral("1"), QStringLiteral("无余额"));
    makeCustomer(QStringLiteral("2"), QStringLiteral("有期初"), {{"rest", 100}});
    makeCustomer(QStringLiteral("3"), QStringLiteral("有余额"), {{"balance", -5}});
    MasterListWindow* list = open(QStringLiteral("TFrcustomer_b"), QStringLiteral("SELECT * from customer"));
    print(*list);
    const QStringList page = preview.page(1);
    EXPECT_TRUE(page.contains(QStringLiteral("有期初")));
    EXPECT_TRUE(page.contains(QStringLiteral("有余额")));
    EXPECT_FALSE(page.contains(QStringLiteral("无余额")));
    EXPECT_EQ(2, list->dataSet().recordCount());
    list->close();

    makeSupplier(QStringLiteral("1"), QStringLiteral("欠款商"), {{"balance", 9}});
    list = open(QStringLiteral("TFrbranch_b"), QStringLiteral("SELECT * from branch"));
    print(*list);
    EXPECT_TRUE(preview.page(1).contains(QStringLiteral("供应商资料")));
    EXPECT_TRUE(preview.page(1).contains(QStringLiteral("欠款商")));
}

TEST_F(ListPrinting, HiddenOpeningStockPrintWorksOutCartonVolumes)
{
    makeProduct(QStringLiteral("A"), QStringLiteral("纸箱"), {{"rest", 5}, {"spgg", "40*30*20"}});
    makeProduct(QStringLiteral("B"), QStringLiteral("两段"), {{"rest", 5}, {"spgg", "40*30"}, {"sptj", 7}});
    makeProduct(QStringLiteral("C"), QStringLiteral("无期初"), {{"spgg", "1*1*1"}, {"sptj", 3}});
    MasterListWindow* list = open(QStringLiteral("TFrproduct_b"), QStringLiteral("SELECT * from product "));
    ASSERT_FALSE(list->command(ListCommand::Print)->isVisible());
    list->ToolButton5Click();
    EXPECT_DOUBLE_EQ(24000.0 / 28317, scalar(QStringLiteral("select sptj from product where sphh='A'")).toDouble());
    EXPECT_EQ(QVariant(7.0), scalar(QStringLiteral("select sptj from product where sphh='B'")));
    EXPECT_EQ(QVariant(3.0), scalar(QStringLiteral("select sptj from product where sphh='C'")));
    const QStringList page = preview.page(1);
    for (const char* text : {"货号", "品名", "包装", "单价", "打数", "数量/箱", "内盒", "规格", "材尺", "毛重", "期初数", "纸箱", "两段"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(text))) << text;
    EXPECT_FALSE(page.contains(QStringLiteral("无期初")));
    EXPECT_EQ(3, list->dataSet().recordCount());
}

TEST_F(ListPrinting, OpeningStockPrintWithABadSpecificationChangesNothing)
{
    makeProduct(QStringLiteral("A"), QStringLiteral("纸箱"), {{"rest", 5}, {"spgg", "40*30*20"}, {"sptj", 1}});
    makeProduct(QStringLiteral("B"), QStringLiteral("坏规格"), {{"rest", 5}, {"spgg", "40*3x*20"}, {"sptj", 2}});
    MasterListWindow* list = open(QStringLiteral("TFrproduct_b"), QStringLiteral("SELECT * from product "));
    EXPECT_THROW(list->ToolButton5Click(), lb::ConvertError);
    EXPECT_EQ(QVariant(1.0), scalar(QStringLiteral("select sptj from product where sphh='A'")));
    EXPECT_EQ(QVariant(2.0), scalar(QStringLiteral("select sptj from product where sphh='B'")));
    EXPECT_TRUE(preview.previews.empty());
}

TEST(CartonVolume, ThreeNumbersOrNone)
{
    EXPECT_DOUBLE_EQ(24000.0 / 28317, *ProductCommands::cartonVolume(QStringLiteral(" 40*30*20 ")));
    EXPECT_DOUBLE_EQ(9.0 / 28317, *ProductCommands::cartonVolume(QStringLiteral("4.5*2*1")));
    EXPECT_FALSE(ProductCommands::cartonVolume(QStringLiteral("40*30")));
    EXPECT_FALSE(ProductCommands::cartonVolume(QStringLiteral("规格")));
    EXPECT_THROW(ProductCommands::cartonVolume(QStringLiteral("40*30*")), lb::ConvertError);
    EXPECT_THROW(ProductCommands::cartonVolume(QStringLiteral("*30*20")), lb::ConvertError);
}

TEST_F(ListPrinting, PrintCommandsAreEnabledWhereTheListsPrint)
{
    const std::vector<std::pair<QString, bool>> lists = {
        {"TFrcustomer", true},  {"TFrbranch", true},    {"TFrproduct", true},   {"TFrproductp", true},
        {"TFrcustomer_b", true}, {"TFrbranch_b", true}, {"TFremployee", false}, {"TFrstore", false},
        {"TFrbank_b", false},
    };
    for (const auto& [key, prints] : lists) {
        MasterListWindow* list = open(key);
        EXPECT_EQ(prints, list->command(ListCommand::Print)->isEnabled()) << key.toStdString();
        list->close();
        flush();
    }
    MasterListWindow* products = open(QStringLiteral("TFrproduct"));
    EXPECT_TRUE(products->menuItem(QStringLiteral("N21"))->isEnabled());
    EXPECT_TRUE(products->menuItem(QStringLiteral("N23"))->isEnabled());
}

} // namespace
