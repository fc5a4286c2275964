// The print sequence over the document layouts: page count and page total, operator, heading,
// title, per-page subtotals, empty documents, and the faults it refuses.
#include "report/layouts/LayoutFixture.h"
#include "report/layouts/PrintSequence.h"

#include "platform/db/DataSet.h"
#include "platform/sys/Errors.h"

#include <QRegularExpression>

using lb::layouts::PageTotal;
using lb::layouts::PrintJob;

namespace {

// The text printed right after `text` on a page (the value a caption introduces); empty when
// `text` is not there.
QString after(const QStringList& page, const QString& text, int distance = 1)
{
    const qsizetype at = page.indexOf(text);
    return at < 0 || at + distance >= page.size() ? QString() : page[at + distance];
}

class PrintSequenceTest : public LayoutFixture {};

TEST_F(PrintSequenceTest, TwoPageSalesDocumentCountsItsPagesAndSubtotalsEachPage)
{
    makeDocument(QStringLiteral("out"), QStringLiteral("0000000001"), 60);
    showDocument(QStringLiteral("out"), QStringLiteral("0000000001"), true);
    preview.pdfFolder = folder.path();
    lb::layouts::printLayout({QStringLiteral("Tfrroutdetail"), QStringLiteral("销售单"), PageTotal::Digits, {}, {}});

    EXPECT_EQ(2, frmain->ReportPageCount);
    ASSERT_EQ(1u, preview.previews.size());
    const QStringList pdf = lb::test::PrintedPreview::pdfPages(preview.last().pdf);
    ASSERT_EQ(2, pdf.size());
    EXPECT_EQ(QStringLiteral("朔栎打印预览"), preview.last().title);
    ASSERT_EQ(2u, preview.last().pages.size());
    for (int number = 1; number <= 2; ++number) {
        const QStringList page = preview.page(number);
        EXPECT_EQ(QStringLiteral("朔栎商行销售单"), page.first()) << number;
        EXPECT_EQ(QString::number(number), after(page, QStringLiteral("第"))) << number;
        EXPECT_EQ(QStringLiteral("2"), after(page, QStringLiteral("共"))) << number;
        // The page's subtotal is the sum of the amounts of the lines on that page.
        double amounts = 0;
        for (int line = 1; line <= 60; ++line)
            if (page.contains(QStringLiteral("商品%1").arg(line)))
                amounts += 10.0 * line;
        EXPECT_GT(amounts, 0) << number;
        EXPECT_EQ(QString::number(amounts, 'f', 2), after(page, QStringLiteral("本页小计:"))) << number;
        EXPECT_FALSE(page.contains(QStringLiteral("上期结转"))) << number;
        // The same as printed: the page's own subtotal on its subtotal line, no carry-over.
        const QString& printed = pdf[number - 1];
        const QRegularExpressionMatch subtotal = QRegularExpression(QStringLiteral("本页小计:\\s+(\\S+)")).match(printed);
        EXPECT_EQ(QString::number(amounts, 'f', 2), subtotal.captured(1)) << number << printed.toStdString();
        EXPECT_FALSE(printed.contains(QStringLiteral("上期结转"))) << number;
    }
    // Line numbers count the product lines from 1.
    const QStringList first = preview.page(1);
    EXPECT_EQ(QStringLiteral("1"), first.value(first.indexOf(QStringLiteral("P001")) - 1));
    const QStringList last = preview.page(2);
    EXPECT_EQ(QStringLiteral("王会计"), after(last, QStringLiteral("制表人:")));
    EXPECT_EQ(QStringLiteral("500.00"), after(last, QStringLiteral("上期余额:")));
    EXPECT_EQ(QStringLiteral("600.00"), after(last, QStringLiteral("结余:")));
    EXPECT_TRUE(last.contains(QStringLiteral("货到付款")));
    EXPECT_FALSE(preview.page(1).contains(QStringLiteral("制表人:")));
}

// The window's grid on the printed rows is not dragged along every row of the runs (it would
// repaint once per row): it is told once, afterwards, of the row the walk ended on.
TEST_F(PrintSequenceTest, ControlsOnThePrintedRowsAreToldOnceAfterThePrint)
{
    makeDocument(QStringLiteral("out"), QStringLiteral("0000000001"), 60);
    showDocument(QStringLiteral("out"), QStringLiteral("0000000001"), true);
    lb::db::DataSet& lines = *dm().AQoutdetail;
    std::vector<int> told;
    int resets = 0;
    QObject listening; // the shared dataset outlives the test: so must not the lambdas
    QObject::connect(&lines, &lb::db::DataSet::currentChanged, &listening, [&](int row) { told.push_back(row); });
    QObject::connect(&lines, &lb::db::DataSet::reset, &listening, [&] { ++resets; });
    lb::layouts::printLayout({QStringLiteral("Tfrroutdetail"), QStringLiteral("销售单"), PageTotal::Digits, {}, {}});

    ASSERT_EQ(2u, preview.last().pages.size());
    EXPECT_EQ(std::vector<int>{lines.recNo() - 1}, told);
    EXPECT_EQ(0, resets);
    EXPECT_FALSE(lines.controlsDisabled());
}

// A master that details follow keeps telling them while the print walks it: at each customer
// the list prints, that customer's own products are loaded for the page to read.
TEST_F(PrintSequenceTest, PrintingAMasterLoadsEachRowsFollowingDetails)
{
    QStringList owners;
    for (const char* name : {"甲店", "乙店", "丙店"})
        owners << insertRow(QStringLiteral("customer"), {{QStringLiteral("name"), QString::fromUtf8(name)}});
    for (const auto& [owner, product] : {std::pair(0, "毛巾"), std::pair(0, "牙刷"), std::pair(2, "香皂")})
        insertRow(QStringLiteral("cproduct"), {{QStringLiteral("intno"), owners[owner]}, {QStringLiteral("spmc"), QString::fromUtf8(product)}});
    lb::db::Query& customers = *dm().Aqcustomer;
    lb::db::DataSet& products = *dm().Aqcproduct;
    customers.reopen(QStringLiteral("select * from customer order by intno"));
    products.open();
    customers.last();
    QStringList loaded; // "customer:products" each time the products follow a customer
    QObject listening;
    QObject::connect(&products, &lb::db::DataSet::reset, &listening, [&] {
        if (!products.active())
            return; // closed on the way to the next customer's rows
        QStringList names;
        for (products.first(); !products.eof(); products.next())
            names << products.fieldByName(QStringLiteral("spmc")).asString();
        loaded << customers.fieldByName(QStringLiteral("name")).asString() + ':' + names.join(',');
    });
    lb::layouts::printLayout({QStringLiteral("Tfrrcustomer"), {}, PageTotal::None, {}, {}});

    EXPECT_TRUE(preview.page(1).contains(QStringLiteral("丙店")));
    EXPECT_EQ("甲店:毛巾,牙刷|乙店:|丙店:香皂", loaded.join('|').toStdString());
}

TEST_F(PrintSequenceTest, OtherKindsWriteThePageTotalInWordsAndPrintTheCarryOverLine)
{
    makeDocument(QStringLiteral("in"), QStringLiteral("0000000007"), 2, 250);
    showDocument(QStringLiteral("in"), QStringLiteral("0000000007"), false);
    lb::layouts::printLayout({QStringLiteral("Tfrrindetail"), QStringLiteral("进货单"), PageTotal::Words, {}, {}});

    EXPECT_EQ(1, frmain->ReportPageCount);
    const QStringList page = preview.page(1);
    // The layout's own caption "销售单" gives way to the company and the kind.
    EXPECT_EQ(QStringLiteral("朔栎商行进货单"), page.first());
    EXPECT_TRUE(page.contains(QStringLiteral("共  1 页")));
    const qsizetype carryOver = page.indexOf(QStringLiteral("上期结转"));
    ASSERT_GE(carryOver, 0);
    EXPECT_LT(carryOver, page.indexOf(QStringLiteral("商品1")));
    EXPECT_EQ(QStringLiteral("0000000007"), after(page, QStringLiteral("单号:")));
    EXPECT_EQ(QStringLiteral("王会计"), after(page, QStringLiteral("制表人:")));
}

TEST_F(PrintSequenceTest, DocumentWithoutLinesStillPrintsHeaderAndSummary)
{
    makeDocument(QStringLiteral("get"), QStringLiteral("0000000003"), 0, -1);
    showDocument(QStringLiteral("get"), QStringLiteral("0000000003"), false);
    lb::layouts::printLayout({QStringLiteral("Tfrrgetdetail"), QStringLiteral("收款单"), PageTotal::Words, {}, {}});

    ASSERT_EQ(1u, preview.last().pages.size());
    const QStringList page = preview.page(1);
    EXPECT_EQ(QStringLiteral("朔栎商行收款单"), page.first());
    EXPECT_TRUE(page.contains(QStringLiteral("共  1 页")));
    EXPECT_EQ(QStringLiteral("王会计"), after(page, QStringLiteral("制表人:")));
    EXPECT_TRUE(page.contains(QStringLiteral("收款人：")));
}

TEST_F(PrintSequenceTest, ClosedCompanyRowIsOpenedForTheHeading)
{
    dm().ATcompany->close();
    makeDocument(QStringLiteral("put"), QStringLiteral("0000000002"), 1);
    showDocument(QStringLiteral("put"), QStringLiteral("0000000002"), false);
    lb::layouts::printLayout({QStringLiteral("Tfrrputdetail"), QStringLiteral("付款单"), PageTotal::Words, {}, {}});
    EXPECT_EQ(QStringLiteral("朔栎商行付款单"), preview.page(1).first());
    EXPECT_TRUE(preview.page(1).contains(QStringLiteral("杭州市文一路8号")));
}

TEST_F(PrintSequenceTest, UnknownLayoutOrControlIsRefusedBeforeAnythingIsShown)
{
    showDocument(QStringLiteral("out"), QStringLiteral("0000000001"), true);
    EXPECT_THROW(lb::layouts::printLayout({QStringLiteral("Tfrrnothing"), {}, PageTotal::None, {}, {}}), lb::Error);
    PrintJob job{QStringLiteral("Tfrroutdetail"), QStringLiteral("销售单"), PageTotal::Digits, {}, {}};
    job.captions = {{QStringLiteral("RpLabel99"), QStringLiteral("x")}};
    EXPECT_THROW(lb::layouts::printLayout(job), lb::Error);
    job.captions.clear();
    job.fields = {{QStringLiteral("RpLabel15"), QStringLiteral("sl")}}; // a label, not a field
    EXPECT_THROW(lb::layouts::printLayout(job), lb::Error);
    EXPECT_TRUE(preview.previews.empty());
}

} // namespace
