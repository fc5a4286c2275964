// Every layout of the catalog printed into a PDF file over rows of its kind: the pages pdfinfo
// counts, the texts pdftotext reads on each page, and every fixed text of the layout as printed.
#include "report/layouts/LayoutFixture.h"
#include "report/layouts/LayoutCatalog.h"
#include "report/layouts/PrintSequence.h"
#include "report/TRpReport.h"
#include "report/ui/TRpStandardPreview.h"
#include "report/ui/TRpStandardPreviewInterface.h"

#include <QPointer>
#include <QPrinter>
#include <QToolButton>

#include <QDate>

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>

using lb::layouts::PageTotal;
using lb::layouts::PrintJob;

namespace {

struct LayoutCase {
    const char* name;
    std::function<void(LayoutFixture&)> rows; // puts the layout's datasets on its rows
    PrintJob job;
    int pages;
    QStringList texts;     // printed somewhere, character for character
    QStringList firstPage; // read back by pdftotext from the PDF's first page
    QStringList lastPage;  // and from its last page
};

void PrintTo(const LayoutCase& layout, std::ostream* out)
{
    *out << layout.name;
}

class Layouts : public LayoutFixture {
public:
    using LayoutFixture::dm;
    using LayoutFixture::exec;
    using LayoutFixture::insertRow;
    using LayoutFixture::makeDocument;
    using LayoutFixture::showDocument;

    // Lines of a document kind's line table, posted on June 2026 days, for the summaries.
    void postedLines(const QString& table, int count)
    {
        lb::db::Transaction transaction(db());
        for (int i = 1; i <= count; ++i)
            insertRow(table, {{QStringLiteral("mainintno"), QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'))},
                              {QStringLiteral("billdate"), QDate(2026, 6, 1 + i % 28)}, {QStringLiteral("billname"), QStringLiteral("销售单")},
                              {QStringLiteral("sphh"), QStringLiteral("H%1").arg(i)}, {QStringLiteral("spmc"), QStringLiteral("货%1").arg(i)},
                              {QStringLiteral("unit"), QStringLiteral("箱")}, {QStringLiteral("sl"), 2.0}, {QStringLiteral("dj_n"), 5.0},
                              {QStringLiteral("amount"), 10.0}, {QStringLiteral("rest"), 10.0 * i}, {QStringLiteral("pass"), true}});
        transaction.commit();
    }
    void openLines(const QString& table)
    {
        dm().AQoutdetail->reopen(QStringLiteral("select * from %1 order by intno").arg(table));
    }
    void sumsRow()
    {
        exec(QStringLiteral("delete from totallist"));
        exec(QStringLiteral("insert into totallist(hjsl,hjjs,amount,deduck,pay,rest) values (88,9,440,4,40,77)"));
        dm().AQtotallist->reopen(QStringLiteral("select * from totallist"));
    }
    void headerRows(const QString& table, int count)
    {
        lb::db::Transaction transaction(db());
        for (int i = 1; i <= count; ++i)
            insertRow(table, {{QStringLiteral("intno"), QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'))},
                              {QStringLiteral("billdate"), QDate(2026, 6, 1 + i % 28)}, {QStringLiteral("billname"), QStringLiteral("销售单")},
                              {QStringLiteral("remark"), QStringLiteral("摘%1").arg(i)}, {QStringLiteral("balance"), 10.0 * i},
                              {QStringLiteral("amount"), 10.0}, {QStringLiteral("rest"), 10.0 * i + 10}});
        transaction.commit();
        dm().AQoutlist->reopen(QStringLiteral("select * from %1 order by intid").arg(table));
    }
};

void products(LayoutFixture& f, int count)
{
    auto& t = static_cast<Layouts&>(f);
    lb::db::Transaction transaction(t.dm().ADOCon);
    for (int i = 1; i <= count; ++i)
        t.insertRow(QStringLiteral("product"), {{QStringLiteral("sphh"), QStringLiteral("S%1").arg(i, 3, 10, QLatin1Char('0'))},
                                                {QStringLiteral("spmc"), QStringLiteral("产品%1").arg(i)}, {QStringLiteral("spmz"), 3.5},
                                                {QStringLiteral("rest"), 2.0}, {QStringLiteral("spgg"), QStringLiteral("10*20*30")}});
    transaction.commit();
    t.dm().Aqproduct->reopen(QStringLiteral("select * from product order by sphh"));
}

void parties(LayoutFixture& f, const QString& table)
{
    auto& t = static_cast<Layouts&>(f);
    lb::db::Transaction transaction(t.dm().ADOCon);
    for (int i = 1; i <= 50; ++i)
        t.insertRow(table, {{QStringLiteral("id"), QString::number(i)}, {QStringLiteral("name"), QStringLiteral("单位%1").arg(i)},
                            {QStringLiteral("rest"), 100.0}, {QStringLiteral("balance"), 1.5 * i}});
    transaction.commit();
    (table == QLatin1String("customer") ? t.dm().Aqcustomer : t.dm().AQbranch)->reopen(QStringLiteral("select * from %1").arg(table));
}

std::function<void(LayoutFixture&)> document(const char* kind, int lines, bool hideCarryOver)
{
    return [=](LayoutFixture& f) {
        auto& t = static_cast<Layouts&>(f);
        t.makeDocument(QLatin1String(kind), QStringLiteral("0000000009"), lines);
        t.showDocument(QLatin1String(kind), QStringLiteral("0000000009"), hideCarryOver);
    };
}

std::function<void(LayoutFixture&)> summary(const char* table, int lines)
{
    return [=](LayoutFixture& f) {
        auto& t = static_cast<Layouts&>(f);
        t.postedLines(QLatin1String(table), lines);
        t.openLines(QLatin1String(table));
        t.sumsRow();
    };
}

PrintJob job(const char* layout, const char* heading = "", PageTotal total = PageTotal::None)
{
    return PrintJob{QLatin1String(layout), QString::fromUtf8(heading), total, {}, {}};
}

PrintJob summaryJob(const char* layout, const char* heading)
{
    PrintJob printed = job(layout, heading);
    printed.captions = {{QStringLiteral("RpLabel7"), QStringLiteral("汇总日期从2026-06-01到2026-06-30")}};
    return printed;
}

PrintJob partnerJob(const char* layout)
{
    PrintJob printed = job(layout);
    printed.captions = {{QStringLiteral("PartyId"), QStringLiteral("0000000001")},
                        {QStringLiteral("PartyName"), QStringLiteral("东方超市")},
                        {QStringLiteral("PartyTel"), QStringLiteral("13800001111")},
                        {QStringLiteral("PartyRemark"), QStringLiteral("月结")}};
    return printed;
}

QStringList words(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

const QStringList documentHeader = words({"顾客名称:", "联系电话:", "单号:", "第", "页", "联系地址:", "日期:", "上期余额:", "制表人:", "王会计"});
const QStringList supplierHeader = words({"供应商名:", "联系电话:", "单号:", "第", "页", "联系地址:", "日期:", "制表人:", "王会计"});

std::vector<LayoutCase> cases()
{
    return {
        {"Tfrrproduct", [](LayoutFixture& f) { products(f, 80); }, job("Tfrrproduct"), 3,
         words({"朔栎商行", "库存商品", "货品代码", "货品名称", "条形码", "进货量", "出货量", "库存量", "进货价", "批发价", "超市价",
                "零售价", "库存数量合计:", "库存金额合计:", "S001", "S080"}),
         words({"库存商品", "S001"}), words({"S080", "库存数量合计:"})},
        {"Tfrrproducts", [](LayoutFixture& f) { products(f, 150); }, job("Tfrrproducts"), 2,
         words({"朔栎商行", "商品资料", "货品代码", "货品名称", "价格", "备注", "S001", "S150", "3.50"}), words({"商品资料", "S001"}),
         words({"S150"})},
        {"Tfrrproduct_b", [](LayoutFixture& f) { products(f, 3); }, job("Tfrrproduct_b"), 1,
         words({"朔栎商行", "杭州市文一路8号", "货号", "品名", "包装", "单价", "打数", "数量/箱", "内盒", "规格", "材尺", "毛重", "期初数",
                "10*20*30"}),
         words({"期初数", "S003"}), words({"S001"})},
        {"Tfrrcustomer", [](LayoutFixture& f) { parties(f, QStringLiteral("customer")); }, job("Tfrrcustomer"), 2,
         words({"朔栎商行", "客户资料", "编号", "客户名称", "电话", "期初应收", "应收累计", "单位1", "单位50", "75.00"}),
         words({"客户资料", "单位1"}), words({"单位50"})},
        {"Tfrrbranch", [](LayoutFixture& f) { parties(f, QStringLiteral("branch")); }, job("Tfrrbranch"), 2,
         words({"供应商资料", "供应商名称", "期初应付", "应付累计", "单位50"}), words({"供应商资料"}), words({"单位50"})},

        {"Tfrroutdetail", document("out", 60, true), job("Tfrroutdetail", "销售单", PageTotal::Digits), 2,
         documentHeader
             + words({"朔栎商行销售单", "杭州市文一路8号", "东方超市", "共", "行号", "货品代码", "货品名称", "单位", "数量", "单价", "金额",
                      "备注", "合计数量:", "本次金额:", "扣除金额:", "本次收款:", "结余:", "开单员：", "配货人：", "电话0571-88886666",
                      "货到付款", "本页小计:", "商品60"}),
         words({"朔栎商行销售单", "商品1"}), words({"商品60", "制表人:"})},
        {"Tfrrindetail", document("in", 3, false), job("Tfrrindetail", "进货单", PageTotal::Words), 1,
         supplierHeader
             + words({"朔栎商行进货单", "共  1 页", "货品代码", "货品名称", "单位", "件数", "数量/件", "单价", "金额", "上期余额:", "合计件数:",
                      "合计数量:", "本次金额:", "本次付款:", "结余:", "收货人：", "上期结转"}),
         words({"朔栎商行进货单"}), words({"收货人："})},
        {"Tfrrgetdetail", document("get", 3, false), job("Tfrrgetdetail", "收款单", PageTotal::Words), 1,
         documentHeader
             + words({"朔栎商行收款单", "共  1 页", "银行编号", "银行名称", "金额", "扣除金额", "累计结余", "本次金额:", "扣除金额:", "结余:",
                      "收款人：", "上期结转"}),
         words({"朔栎商行收款单"}), words({"收款人："})},
        {"Tfrrputdetail", document("put", 3, false), job("Tfrrputdetail", "付款单", PageTotal::Words), 1,
         supplierHeader
             + words({"朔栎商行付款单", "共  1 页", "银行编号", "银行名称", "金额", "扣除金额", "累计结余", "上期余额:", "本次金额:",
                      "扣除金额:", "结余:", "付款人："}),
         words({"朔栎商行付款单"}), words({"付款人："})},
        {"Tfrroutbackdetail", document("outback", 3, false), job("Tfrroutbackdetail", "销售退货单", PageTotal::Words), 1,
         documentHeader
             + words({"朔栎商行销售退货单", "共  1 页", "货品代码", "货品名称", "规格型号", "单位", "数量", "单价", "金额", "合计数量:",
                      "本次金额:", "扣除金额:", "结余:", "收货人：", "送货人：", "规3"}),
         words({"朔栎商行销售退货单"}), words({"送货人："})},
        {"Tfrrinbackdetail", document("inback", 3, false), job("Tfrrinbackdetail", "进货退货单", PageTotal::Words), 1,
         supplierHeader
             + words({"朔栎商行进货退货单", "共  1 页", "货品代码", "货品名称", "单位", "数量", "单价", "金额", "上期余额:", "合计数量:",
                      "本次金额:", "结余:", "退货人："}),
         words({"朔栎商行进货退货单"}), words({"退货人："})},
        {"Tfrrdhdetail", document("dh", 40, false), job("Tfrrdhdetail", "订货单", PageTotal::Words), 1,
         supplierHeader
             + words({"朔栎商行订货单", "共  1 页", "货品代码", "货品名称", "单位", "件数", "数量/件", "备   注", "合计数量:", "合计件数:",
                      "经手人：", "备40"}),
         words({"朔栎商行订货单"}), words({"经手人："})},

        {"Tfrrouttotal", summary("outdetail", 70), summaryJob("Tfrrouttotal", "销售汇总表"), 2,
         words({"朔栎商行销售汇总表", "汇总日期从2026-06-01到2026-06-30", "打印日期:", "2026-06-15", "日期", "单据名", "货品代码", "货品名称",
                "单位", "数量", "单价", "金额", "扣除金额", "收款金额", "合计：", "毛利润：", "77.00", "88.00", "440.00", "第", "页"}),
         words({"朔栎商行销售汇总表", "货1"}), words({"合计："})},
        {"Tfrroutbacktotal", summary("outbackdetail", 3), summaryJob("Tfrroutbacktotal", "销售退货汇总"), 1,
         words({"朔栎商行销售退货汇总", "规格型号", "单位", "数量", "单价", "金额", "合计：", "77.00", "440.00"}), words({"销售退货汇总"}),
         words({"合计："})},
        {"Tfrrintotal", summary("indetail", 3), summaryJob("Tfrrintotal", "进货汇总表"), 1,
         words({"朔栎商行进货汇总表", "日期", "单据名", "货号", "品名", "件数", "数量", "单价", "金额", "合计：", "9.00", "88.00"}),
         words({"进货汇总表"}), words({"合计："})},
        {"Tfrrinbacktotal", summary("inbackdetail", 3), summaryJob("Tfrrinbacktotal", "进货退货汇总"), 1,
         words({"朔栎商行进货退货汇总", "货号", "品名", "数量", "单价", "金额", "合计：", "77.00"}), words({"进货退货汇总"}), words({"合计："})},
        {"Tfrrgettotal", summary("getdetail", 3), summaryJob("Tfrrgettotal", "收款汇总表"), 1,
         words({"朔栎商行收款汇总表", "日期", "单据号", "银行编号", "银行名称", "金额", "扣除金额", "合计：", "0000000003", "4.00"}),
         words({"收款汇总表"}), words({"合计："})},
        {"Tfrrputtotal", summary("putdetail", 3), summaryJob("Tfrrputtotal", "付款汇总表"), 1,
         words({"朔栎商行付款汇总表", "单据号", "银行编号", "银行名称", "合计：", "0000000001"}), words({"付款汇总表"}), words({"合计："})},

        {"Tfrrcusttotal", summary("custtotal1", 90), partnerJob("Tfrrcusttotal"), 4,
         words({"朔栎商行", "客户号:", "0000000001", "客户名称:", "东方超市", "电话:", "13800001111", "客户汇总表", "打印日期:", "日期",
                "单据名", "货品代码", "货品名称", "规格型号", "单位", "单价", "数量", "金额", "扣除金额", "累计结余", "总计：", "备注：",
                "月结", "第", "页"}),
         words({"客户汇总表"}), words({"总计：", "900.00"})},
        {"Tfrrbrantotal", summary("custtotal1", 3), partnerJob("Tfrrbrantotal"), 1,
         words({"供应商号:", "供应商名称:", "电话:", "供应商汇总表", "日期", "单据名", "货品代码", "货品名称", "单位", "件数", "数量/件",
                "数量", "进货价", "金额", "扣除金额", "付款金额", "累计结余", "总计：", "备注：", "30.00"}),
         words({"供应商汇总表"}), words({"总计："})},
        {"Tfrrcusttotalist", [](LayoutFixture& f) { static_cast<Layouts&>(f).headerRows(QStringLiteral("totallist1"), 3); },
         partnerJob("Tfrrcusttotalist"), 1,
         words({"客户号:", "客户名称:", "电话:", "客户对帐表", "打印日期:", "日期", "单据号", "单据名称", "摘     要", "上期结转", "数量",
                "金额", "扣除金额", "收款金额", "累计结余", "总计：", "备注：", "0000000002", "摘3", "40.00"}),
         words({"客户对帐表"}), words({"总计："})},
        {"Tfrrbrantotalist", [](LayoutFixture& f) { static_cast<Layouts&>(f).headerRows(QStringLiteral("totallist1"), 3); },
         partnerJob("Tfrrbrantotalist"), 1,
         words({"供应商号:", "供应商名:", "电话:", "供应商对帐表", "单据号", "单据名称", "摘     要", "上期结转", "件数", "数量", "金额",
                "付款金额", "累计结余", "总计：", "备注："}),
         words({"供应商对帐表"}), words({"总计："})},
        {"Tfrrbanktotal", summary("custtotal1", 3), job("Tfrrbanktotal"), 1,
         words({"朔栎商行", "杭州市文一路8号", "电话0571-88886666", "现金流水帐", "打印日期:", "第", "页", "日期", "单据名", "银行编号",
                "银行名称", "收款金额", "付款金额", "累计余额", "30.00"}),
         words({"现金流水帐"}), words({"30.00"})},
    };
}

class EveryLayout : public Layouts, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(EveryLayout, PrintsItsPagesAndTexts)
{
    const LayoutCase& layout = GetParam();
    preview.pdfFolder = folder.path();
    layout.rows(*this);
    lb::layouts::printLayout(layout.job);

    const lb::test::PrintedPreview::Preview& shown = preview.last();
    ASSERT_EQ(std::size_t(layout.pages), shown.pages.size());
    QStringList printed;
    for (const QStringList& page : shown.pages)
        for (const QString& text : page)
            printed << text.trimmed();
    for (const QString& text : layout.texts)
        EXPECT_TRUE(printed.contains(text)) << text.toStdString();

    ASSERT_EQ(layout.pages, lb::test::PrintedPreview::pdfPageCount(shown.pdf));
    const QStringList pdf = lb::test::PrintedPreview::pdfPages(shown.pdf);
    ASSERT_EQ(layout.pages, pdf.size());
    for (const QString& text : layout.firstPage)
        EXPECT_TRUE(pdf.first().contains(text)) << text.toStdString() << "\n" << pdf.first().toStdString();
    for (const QString& text : layout.lastPage)
        EXPECT_TRUE(pdf.last().contains(text)) << text.toStdString() << "\n" << pdf.last().toStdString();
    // A PDF of it is proposed under the title its first page prints (the opening stock list
    // prints none of its own).
    EXPECT_FALSE(shown.documentTitle.isEmpty());
    const bool untitled = QLatin1String(layout.name) == QLatin1String("Tfrrproduct_b");
    EXPECT_TRUE(untitled || pdf.first().contains(shown.documentTitle)) << shown.documentTitle.toStdString();
    // Only the sales, purchase and receipt documents are previewed without thumbnails and search.
    const bool bare = QStringList({"Tfrroutdetail", "Tfrrindetail", "Tfrrgetdetail"}).contains(QLatin1String(layout.name));
    EXPECT_EQ(!bare, shown.thumbnails);
    EXPECT_EQ(!bare, shown.search);
}

INSTANTIATE_TEST_SUITE_P(Catalog, EveryLayout, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(LayoutCatalog, EveryLayoutIsPrintedAbove)
{
    QStringList tested;
    for (const LayoutCase& layout : cases())
        tested << QLatin1String(layout.name);
    QStringList all = lb::layouts::LayoutCatalog::names();
    all.sort();
    tested.sort();
    EXPECT_EQ(all, tested);
}

} // namespace

namespace {

// Where a printed figure comes from: every row the layout walks, the last of them, the
// document's header, or the sums row (totallist).
enum class From { Rows, Last, Head, Sums };

// A figure and the heading it stands under (or, for a caption ending in a colon, right after).
struct Figure {
    const char* heading;
    From from;
    const char* field;
};

struct Binding {
    const char* layout;
    const char* rows; // the table whose rows the layout walks
    const char* head; // the document's header table, or ""
    std::vector<Figure> figures;
};

void PrintTo(const Binding& binding, std::ostream* out)
{
    *out << binding.layout;
}

// The party, number, address, telephone and date a document's page header prints.
std::vector<Figure> headerFigures(const char* party, std::vector<Figure> more)
{
    std::vector<Figure> figures = {{party, From::Head, "customername"}, {"联系电话:", From::Head, "tel"},
                                   {"单号:", From::Head, "intno"}, {"联系地址:", From::Head, "addr"},
                                   {"日期:", From::Head, "billdate"}};
    figures.insert(figures.end(), more.begin(), more.end());
    return figures;
}

const std::vector<Binding> bindings = {
    {"Tfrrproduct", "product", "",
     {{"货品代码", From::Rows, "sphh"}, {"货品名称", From::Rows, "spmc"}, {"条形码", From::Rows, "spgg"},
      {"进货量", From::Rows, "sl_in_y"}, {"出货量", From::Rows, "sl_out_y"}, {"库存量", From::Rows, "sl"},
      {"进货价", From::Rows, "dj_w"}, {"批发价", From::Rows, "dj_n"}, {"超市价", From::Rows, "spmz"},
      {"零售价", From::Rows, "spzz"}, {"库存数量合计:", From::Sums, "hjsl"}, {"库存金额合计:", From::Sums, "rest"}}},
    {"Tfrrproducts", "product", "",
     {{"货品代码", From::Rows, "sphh"}, {"货品名称", From::Rows, "spmc"}, {"价格", From::Rows, "spmz"}, {"备注", From::Rows, "bz"}}},
    {"Tfrrproduct_b", "product", "",
     {{"货号", From::Rows, "sphh"}, {"品名", From::Rows, "spmc"}, {"包装", From::Rows, "spbzxh"}, {"单价", From::Rows, "dj_w"},
      {"打数", From::Rows, "spds"}, {"数量/箱", From::Rows, "sl_sw"}, {"内盒", From::Rows, "spnh"}, {"规格", From::Rows, "spgg"},
      {"材尺", From::Rows, "sptj"}, {"毛重", From::Rows, "spmz"}, {"期初数", From::Rows, "rest"}}},
    {"Tfrrcustomer", "customer", "",
     {{"编号", From::Rows, "id"}, {"客户名称", From::Rows, "name"}, {"电话", From::Rows, "tel"},
      {"期初应收", From::Rows, "rest"}, {"应收累计", From::Rows, "balance"}}},
    {"Tfrrbranch", "branch", "",
     {{"编号", From::Rows, "id"}, {"供应商名称", From::Rows, "name"}, {"电话", From::Rows, "tel"},
      {"期初应付", From::Rows, "rest"}, {"应付累计", From::Rows, "balance"}}},

    {"Tfrroutdetail", "outdetail", "outlist",
     headerFigures("顾客名称:", {{"货品代码", From::Rows, "sphh"}, {"货品名称", From::Rows, "spmc"}, {"单位", From::Rows, "unit"},
                                {"数量", From::Rows, "sl"}, {"单价", From::Rows, "dj_n"}, {"金额", From::Rows, "amount"},
                                {"备注", From::Rows, "remark"}, {"上期余额:", From::Head, "balance"}, {"合计数量:", From::Head, "hjsl"},
                                {"本次金额:", From::Head, "amount"}, {"扣除金额:", From::Head, "deduck"},
                                {"本次收款:", From::Head, "pay"}, {"结余:", From::Head, "rest"}})},
    {"Tfrrindetail", "indetail", "inlist",
     headerFigures("供应商名:", {{"货品代码", From::Rows, "sphh"}, {"货品名称", From::Rows, "spmc"}, {"单位", From::Rows, "unit"},
                                {"件数", From::Rows, "js"}, {"数量/件", From::Rows, "sl_j"}, {"单价", From::Rows, "dj_w"},
                                {"金额", From::Rows, "amount"}, {"上期余额:", From::Head, "balance"}, {"合计件数:", From::Head, "hjjs"},
                                {"合计数量:", From::Head, "hjsl"}, {"本次金额:", From::Head, "amount"},
                                {"本次付款:", From::Head, "pay"}, {"结余:", From::Head, "rest"}})},
    {"Tfrrgetdetail", "getdetail", "getlist",
     headerFigures("顾客名称:", {{"银行编号", From::Rows, "sphh"}, {"银行名称", From::Rows, "spmc"}, {"金额", From::Rows, "amount"},
                                {"扣除金额", From::Rows, "deduck"}, {"累计结余", From::Rows, "rest"},
                                {"上期余额:", From::Head, "balance"}, {"本次金额:", From::Head, "amount"},
                                {"扣除金额:", From::Head, "deduck"}, {"结余:", From::Head, "rest"}})},
    {"Tfrrputdetail", "putdetail", "putlist",
     headerFigures("供应商名:", {{"银行编号", From::Rows, "sphh"}, {"银行名称", From::Rows, "spmc"}, {"金额", From::Rows, "amount"},
                                {"扣除金额", From::Rows, "deduck"}, {"累计结余", From::Rows, "rest"},
                                {"上期余额:", From::Head, "balance"}, {"本次金额:", From::Head, "amount"},
                                {"扣除金额:", From::Head, "deduck"}, {"结余:", From::Head, "rest"}})},
    {"Tfrroutbackdetail", "outbackdetail", "outbacklist",
     headerFigures("顾客名称:", {{"货品代码", From::Rows, "sphh"}, {"货品名称", From::Rows, "spmc"}, {"规格型号", From::Rows, "spgg"},
                                {"单位", From::Rows, "unit"}, {"数量", From::Rows, "sl"}, {"单价", From::Rows, "dj_n"},
                                {"金额", From::Rows, "amount"}, {"上期余额:", From::Head, "balance"}, {"合计数量:", From::Head, "hjsl"},
                                {"本次金额:", From::Head, "amount"}, {"扣除金额:", From::Head, "deduck"}, {"结余:", From::Head, "rest"}})},
    {"Tfrrinbackdetail", "inbackdetail", "inbacklist",
     headerFigures("供应商名:", {{"货品代码", From::Rows, "sphh"}, {"货品名称", From::Rows, "spmc"}, {"单位", From::Rows, "unit"},
                                {"数量", From::Rows, "sl"}, {"单价", From::Rows, "dj_w"}, {"金额", From::Rows, "amount"},
                                {"上期余额:", From::Head, "balance"}, {"合计数量:", From::Head, "hjsl"},
                                {"本次金额:", From::Head, "amount"}, {"结余:", From::Head, "rest"}})},
    {"Tfrrdhdetail", "dhdetail", "dhlist",
     headerFigures("供应商名:", {{"货品代码", From::Rows, "sphh"}, {"货品名称", From::Rows, "spmc"}, {"单位", From::Rows, "unit"},
                                {"件数", From::Rows, "js"}, {"数量/件", From::Rows, "sl_j"}, {"备   注", From::Rows, "remark"},
                                {"合计数量:", From::Head, "hjsl"}, {"合计件数:", From::Head, "hjjs"}})},

    {"Tfrrouttotal", "outdetail", "",
     {{"日期", From::Rows, "billdate"}, {"单据名", From::Rows, "billname"}, {"货品代码", From::Rows, "sphh"},
      {"货品名称", From::Rows, "spmc"}, {"单位", From::Rows, "unit"}, {"数量", From::Rows, "sl"}, {"单价", From::Rows, "dj_n"},
      {"金额", From::Rows, "amount"}, {"扣除金额", From::Rows, "deduck"}, {"收款金额", From::Rows, "pay"}, {"数量", From::Sums, "hjsl"},
      {"金额", From::Sums, "amount"}, {"扣除金额", From::Sums, "deduck"}, {"收款金额", From::Sums, "pay"}, {"毛利润：", From::Sums, "rest"}}},
    {"Tfrroutbacktotal", "outbackdetail", "",
     {{"日期", From::Rows, "billdate"}, {"单据名", From::Rows, "billname"}, {"货品代码", From::Rows, "sphh"},
      {"货品名称", From::Rows, "spmc"}, {"规格型号", From::Rows, "spgg"}, {"单位", From::Rows, "unit"}, {"数量", From::Rows, "sl"},
      {"单价", From::Rows, "dj_n"}, {"金额", From::Rows, "amount"}, {"数量", From::Sums, "rest"}, {"金额", From::Sums, "amount"}}},
    {"Tfrrintotal", "indetail", "",
     {{"日期", From::Rows, "billdate"}, {"单据名", From::Rows, "billname"}, {"货号", From::Rows, "sphh"}, {"品名", From::Rows, "spmc"},
      {"件数", From::Rows, "js"}, {"数量", From::Rows, "sl"}, {"单价", From::Rows, "dj_w"}, {"金额", From::Rows, "amount"},
      {"件数", From::Sums, "hjjs"}, {"数量", From::Sums, "hjsl"}, {"金额", From::Sums, "amount"}}},
    {"Tfrrinbacktotal", "inbackdetail", "",
     {{"日期", From::Rows, "billdate"}, {"单据名", From::Rows, "billname"}, {"货号", From::Rows, "sphh"}, {"品名", From::Rows, "spmc"},
      {"数量", From::Rows, "sl"}, {"单价", From::Rows, "dj_w"}, {"金额", From::Rows, "amount"}, {"数量", From::Sums, "rest"},
      {"金额", From::Sums, "amount"}}},
    {"Tfrrgettotal", "getdetail", "",
     {{"日期", From::Rows, "billdate"}, {"单据号", From::Rows, "mainintno"}, {"银行编号", From::Rows, "sphh"},
      {"银行名称", From::Rows, "spmc"}, {"金额", From::Rows, "amount"}, {"扣除金额", From::Rows, "deduck"},
      {"金额", From::Sums, "amount"}, {"扣除金额", From::Sums, "deduck"}}},
    {"Tfrrputtotal", "putdetail", "",
     {{"日期", From::Rows, "billdate"}, {"单据号", From::Rows, "mainintno"}, {"银行编号", From::Rows, "sphh"},
      {"银行名称", From::Rows, "spmc"}, {"金额", From::Rows, "amount"}, {"扣除金额", From::Rows, "deduck"},
      {"金额", From::Sums, "amount"}, {"扣除金额", From::Sums, "deduck"}}},

    {"Tfrrcusttotal", "custtotal1", "",
     {{"日期", From::Rows, "billdate"}, {"单据名", From::Rows, "billname"}, {"货品代码", From::Rows, "sphh"},
      {"货品名称", From::Rows, "spmc"}, {"规格型号", From::Rows, "spgg"}, {"单位", From::Rows, "unit"}, {"单价", From::Rows, "dj_n"},
      {"数量", From::Rows, "sl"}, {"金额", From::Rows, "amount"}, {"扣除金额", From::Rows, "deduck"},
      {"累计结余", From::Rows, "rest"}, {"总计：", From::Last, "rest"}}},
    {"Tfrrbrantotal", "custtotal1", "",
     {{"日期", From::Rows, "billdate"}, {"单据名", From::Rows, "billname"}, {"货品代码", From::Rows, "sphh"},
      {"货品名称", From::Rows, "spmc"}, {"单位", From::Rows, "unit"}, {"件数", From::Rows, "js"}, {"数量/件", From::Rows, "sl_j"},
      {"数量", From::Rows, "sl"}, {"进货价", From::Rows, "dj_w"}, {"金额", From::Rows, "amount"}, {"扣除金额", From::Rows, "deduck"},
      {"付款金额", From::Rows, "pay"}, {"累计结余", From::Rows, "rest"}, {"总计：", From::Last, "rest"}}},
    // The statements print the document's number under 单据号.
    {"Tfrrcusttotalist", "totallist1", "",
     {{"日期", From::Rows, "billdate"}, {"单据号", From::Rows, "intno"}, {"单据名称", From::Rows, "billname"},
      {"摘     要", From::Rows, "remark"}, {"上期结转", From::Rows, "balance"}, {"数量", From::Rows, "hjsl"},
      {"金额", From::Rows, "amount"}, {"扣除金额", From::Rows, "deduck"}, {"收款金额", From::Rows, "pay"},
      {"累计结余", From::Rows, "rest"}, {"总计：", From::Last, "rest"}}},
    {"Tfrrbrantotalist", "totallist1", "",
     {{"日期", From::Rows, "billdate"}, {"单据号", From::Rows, "intno"}, {"单据名称", From::Rows, "billname"},
      {"摘     要", From::Rows, "remark"}, {"上期结转", From::Rows, "balance"}, {"件数", From::Rows, "hjjs"},
      {"数量", From::Rows, "hjsl"}, {"金额", From::Rows, "amount"}, {"付款金额", From::Rows, "pay"},
      {"累计结余", From::Rows, "rest"}, {"总计：", From::Last, "rest"}}},
    {"Tfrrbanktotal", "custtotal1", "",
     {{"日期", From::Rows, "billdate"}, {"单据名", From::Rows, "billname"}, {"银行编号", From::Rows, "sphh"},
      {"银行名称", From::Rows, "spmc"}, {"收款金额", From::Rows, "amount"}, {"付款金额", From::Rows, "pay"},
      {"累计余额", From::Rows, "rest"}}},
};

using Placed = lb::test::PrintedPreview::Placed;

// Whether a printed text shows `value`: a number in any display format, a date as the layouts
// print dates, a text as it is.
bool shows(const QString& printed, const QVariant& value)
{
    if (value.typeId() == QMetaType::Double) {
        bool number = false;
        const double read = QString(printed).remove(QLatin1Char(',')).toDouble(&number);
        return number && std::abs(read - value.toDouble()) < 0.005;
    }
    if (value.typeId() == QMetaType::QDate)
        return printed == value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    return printed == value.toString();
}

// How far a heading stands from the column of a figure: from the middle of its characters to
// the box the figure is printed in (none when it lies over it).
int across(const Placed& heading, const Placed& figure)
{
    const int middle = (heading.left + heading.right) / 2;
    return std::max({0, figure.clip.left() - middle, middle - figure.clip.right()});
}

// Whether `figure` stands where `heading` names it on `page`: right after a caption ending in a
// colon, on its line; under any other heading, nearer to it than to the other headings of its line.
bool standsAt(const std::vector<Placed>& page, const Placed& figure, const QString& heading)
{
    const auto sameLine = [](const Placed& a, const Placed& b) { return std::abs(a.y - b.y) <= 2; };
    if (heading.endsWith(u':') || heading.endsWith(u'：')) {
        const Placed* before = nullptr;
        for (const Placed& text : page) {
            if (sameLine(text, figure) && text.right <= figure.left + 2 && (!before || text.right > before->right))
                before = &text;
        }
        return before && before->text.trimmed() == heading;
    }
    for (const Placed& title : page) {
        if (title.text.trimmed() != heading || title.y >= figure.y)
            continue;
        const Placed* nearest = &title;
        for (const Placed& text : page) {
            if (sameLine(text, title) && across(text, figure) < across(*nearest, figure))
                nearest = &text;
        }
        if (nearest->text.trimmed() == heading)
            return true;
    }
    return false;
}

class LayoutBindings : public Layouts, public ::testing::WithParamInterface<Binding> {
protected:
    using Row = std::map<QString, QVariant>;

    // The dataset of the data module through which the layouts read `table`.
    lb::db::Query& dataSetOf(const QString& table)
    {
        const std::map<QString, lb::db::Query*> named = {
            {QStringLiteral("product"), dm().Aqproduct}, {QStringLiteral("customer"), dm().Aqcustomer},
            {QStringLiteral("branch"), dm().AQbranch}, {QStringLiteral("totallist"), dm().AQtotallist},
            {QStringLiteral("totallist1"), dm().AQoutlist}};
        const auto found = named.find(table);
        return found != named.end() ? *found->second : *(table.endsWith(QLatin1String("list")) ? dm().AQoutlist : dm().AQoutdetail);
    }

    // `count` rows of `table`, each column holding a value that no other column of any row made
    // here holds, with the dataset of the table on them; the values of each row by column.
    std::vector<Row> distinctRows(const QString& table, int count)
    {
        std::vector<Row> rows(static_cast<std::size_t>(count));
        lb::db::Transaction transaction(db());
        for (Row& row : rows) {
            Values values;
            for (const lb::core::Column& column : lb::core::Schema::table(table).columns) {
                ++made_;
                switch (column.type) {
                case lb::core::ColumnType::Text:
                case lb::core::ColumnType::Memo: row[column.name] = column.name + QString::number(made_); break;
                case lb::core::ColumnType::Double: row[column.name] = 100.25 + made_; break;
                case lb::core::ColumnType::Date: row[column.name] = QDate(2026, 1, 1).addDays(made_); break;
                default: continue; // flags, counters and times print nowhere
                }
                values.emplace_back(column.name, row[column.name]);
            }
            insertRow(table, values);
        }
        transaction.commit();
        dataSetOf(table).reopen(QStringLiteral("select * from %1 order by rowid").arg(table));
        return rows;
    }

    int made_ = 0;
};

// Every layout printed over rows in which each column holds its own value: each figure prints
// its own field, under its own heading. A control bound to the wrong field prints another
// column's value; a total placed under the wrong column stands nearer another heading.
TEST_P(LayoutBindings, EveryFigurePrintsItsFieldUnderItsHeading)
{
    const Binding& binding = GetParam();
    const std::vector<Row> rows = distinctRows(QLatin1String(binding.rows), 2);
    const std::vector<Row> head = *binding.head ? distinctRows(QLatin1String(binding.head), 1) : std::vector<Row>{};
    const std::vector<Row> sums = distinctRows(QStringLiteral("totallist"), 1);
    lb::layouts::printLayout(job(binding.layout));
    const std::vector<std::vector<Placed>>& pages = preview.last().placed;
    for (const Figure& figure : binding.figures) {
        const std::vector<Row>& from = figure.from == From::Head ? head : figure.from == From::Sums ? sums : rows;
        for (std::size_t row = figure.from == From::Last ? from.size() - 1 : 0; row < from.size(); ++row) {
            const QVariant value = from[row].at(QLatin1String(figure.field));
            bool found = false;
            for (const std::vector<Placed>& page : pages) {
                for (const Placed& text : page)
                    found = found || (shows(text.text.trimmed(), value) && standsAt(page, text, QString::fromUtf8(figure.heading)));
            }
            EXPECT_TRUE(found) << figure.heading << " " << figure.field << " of row " << row << ": " << value.toString().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Catalog, LayoutBindings, ::testing::ValuesIn(bindings),
                         [](const ::testing::TestParamInfo<Binding>& info) { return std::string(info.param.layout); });

TEST(LayoutCatalog, EveryLayoutsBindingsAreCheckedAbove)
{
    QStringList checked;
    for (const Binding& binding : bindings)
        checked << QLatin1String(binding.layout);
    EXPECT_EQ(lb::layouts::LayoutCatalog::names(), checked);
}

// A customer's statement is laid out on landscape paper. Turned to portrait in the print dialog
// it is laid out again on the portrait sheet with its controls where they stood, so that its
// right-hand columns and its total lie beyond the sheet: the print asks first, 否 the default.
TEST_F(Layouts, StatementTurnedToPortraitPrintsOnlyWhenTheUserAcceptsWhatDoesNotFit)
{
    headerRows(QStringLiteral("totallist1"), 3);
    lb::report::ui::TRpStandardPreviewInterface windows;
    lb::report::TRpPreviewInterface::Install(&windows);
    const QString pdf = folder.filePath(QStringLiteral("statement.pdf"));
    windows.Printer().setOutputFormat(QPrinter::PdfFormat);
    windows.Printer().setOutputFileName(pdf);
    const std::unique_ptr<lb::report::TRpReport> layout = lb::layouts::LayoutCatalog::make(QStringLiteral("Tfrrcusttotalist"));
    layout->ReportTitle = QStringLiteral("朔栎打印预览");
    layout->Prepare();
    QPointer<lb::report::ui::TRpStandardPreview> window = new lb::report::ui::TRpStandardPreview(*layout->RpPrinter());
    window->show();
    // As the print dialog leaves it when portrait is chosen there.
    layout->Page().SetOrientation(lb::report::TPrinterOrientation::Portrait);

    dialogs.answer(lb::ui::DialogAnswer::No);
    window->Print->click();
    ASSERT_EQ(1u, dialogs.shown().size());
    EXPECT_EQ(QStringLiteral("报表内容超出纸张宽度,部分内容将不能打印,是否继续?"), dialogs.shown()[0].text);
    EXPECT_EQ(lb::ui::DialogButtons::YesNo, dialogs.shown()[0].buttons);
    EXPECT_TRUE(dialogs.shown()[0].negativeDefault);
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*.pdf*")}, QDir::Files | QDir::Hidden).isEmpty());

    dialogs.answer(lb::ui::DialogAnswer::Yes);
    window->Print->click();
    EXPECT_EQ(2u, dialogs.shown().size());
    const QString info = lb::test::PrintedPreview::pdfInfo(pdf);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+595 x 842 pts")))) << info.toStdString();
    // The file is titled as the document it holds, not as the preview window.
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+客户对帐表\\n")))) << info.toStdString();
    const QStringList pages = lb::test::PrintedPreview::pdfPages(pdf);
    ASSERT_EQ(1, pages.size());
    EXPECT_TRUE(pages[0].contains(QStringLiteral("客户对帐表")) && pages[0].contains(QStringLiteral("摘3"))) << pages[0].toStdString();
    // The preview keeps its landscape pages.
    EXPECT_EQ(lb::report::TPrinterOrientation::Landscape, layout->RpPrinter()->PrinterSettings().Orientation);
    window->close();
}

} // namespace
