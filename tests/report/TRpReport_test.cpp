// Generation runs over a real table: page breaking with every band kind and both page options,
// per-page subtotals, nested groups, empty data, forced breaks, stretching text, failing runs.
#include "platform/gfx/EmfPlayer.h"
#include "platform/sys/Errors.h"
#include "report/ReportTestSupport.h"
#include "report/TRpChildBand.h"
#include "report/TRpDBText.h"
#include "report/TRpExpr.h"
#include "report/TRpGroup.h"
#include "report/TRpLabel.h"
#include "report/TRpReport.h"
#include "report/TRpSysData.h"

#include <QDir>
#include <QImage>
#include <QPainter>

namespace lb::report {
namespace {

using test::pixels;
using test::printedPages;
using test::textsOf;

// The list of test::buildListReport: page header 200, column header 100, detail 100, summary
// 300, page footer 150 on 2770 of usable height.
class ListReport : public test::ReportDatabase {
protected:
    void SetUp() override
    {
        ReportDatabase::SetUp();
        test::buildListReport(report, items.get());
    }

    std::vector<std::vector<test::PrintedText>> run(int rows)
    {
        addRows(rows);
        items->open();
        report.Prepare();
        return printedPages(*report.RpPrinter());
    }

    static int yOf(const std::vector<test::PrintedText>& page, const QString& text)
    {
        for (const test::PrintedText& printed : page) {
            if (printed.text == text)
                return printed.y;
        }
        return -1;
    }

    TRpReport report;
};

TEST_F(ListReport, TheFirstRowThatDoesNotFitStartsPageTwoUnderItsHeaders)
{
    const auto pages = run(30);
    ASSERT_EQ(2u, pages.size());
    // Page 1: header at 100, column header at 300, rows from 400; row 23 ends at 2700, where
    // only 2970 - 100 - 150 - 2700 = 20 are left.
    EXPECT_EQ(QStringList({"PH", "第1", "Item", "货品名称"}), textsOf(pages[0]).mid(0, 4));
    EXPECT_EQ(pixels(400), yOf(pages[0], "Row 1"));
    EXPECT_EQ(pixels(2600), yOf(pages[0], "Row 23"));
    EXPECT_EQ(-1, yOf(pages[0], "Row 24"));
    EXPECT_EQ(pixels(2720), yOf(pages[0], "PF"));
    // Page 2 starts with the page header and the column header again, then row 24.
    EXPECT_EQ(QStringList({"PH", "第2", "Item", "货品名称", "Row 24"}), textsOf(pages[1]).mid(0, 5));
    EXPECT_EQ(pixels(400), yOf(pages[1], "Row 24"));
    EXPECT_EQ(pixels(1100), yOf(pages[1], "Total"));
    EXPECT_EQ(pixels(2720), yOf(pages[1], "PF"));
    EXPECT_EQ(2, report.RpPrinter()->PageCount());
}

TEST_F(ListReport, PageFooterSubtotalStartsAgainOnEveryPage)
{
    const auto pages = run(30);
    ASSERT_EQ(2u, pages.size());
    // 1 + ... + 23 = 276 on page 1; 24 + ... + 30 = 189 on page 2.
    EXPECT_TRUE(textsOf(pages[0]).contains("276.00")) << textsOf(pages[0]).join('|').toStdString();
    EXPECT_TRUE(textsOf(pages[1]).contains("189.00")) << textsOf(pages[1]).join('|').toStdString();
}

TEST_F(ListReport, PageOptionsDecideTheFirstHeaderAndTheLastFooter)
{
    report.Options.FirstPageHeader = false;
    report.Options.LastPageFooter = false;
    const auto pages = run(30);
    ASSERT_EQ(2u, pages.size());
    // Without the first page header the column header starts page 1 and two more rows fit.
    EXPECT_FALSE(textsOf(pages[0]).contains("PH"));
    EXPECT_EQ(pixels(100), yOf(pages[0], "Item"));
    EXPECT_EQ(pixels(2600), yOf(pages[0], "Row 25"));
    EXPECT_EQ(-1, yOf(pages[0], "Row 26"));
    EXPECT_TRUE(textsOf(pages[1]).contains("PH"));
    // The footer prints on every page but the last.
    EXPECT_TRUE(textsOf(pages[0]).contains("PF"));
    EXPECT_FALSE(textsOf(pages[1]).contains("PF"));
}

TEST_F(ListReport, SummaryThatDoesNotFitBelowTheLastRowMovesToANewPage)
{
    // 23 rows fill page 1 exactly to 2700; the summary needs 300 more.
    const auto pages = run(23);
    ASSERT_EQ(2u, pages.size());
    EXPECT_EQ(-1, yOf(pages[0], "Total"));
    EXPECT_EQ(pixels(400), yOf(pages[1], "Total"));
}

TEST_F(ListReport, EmptyDataPrintsOnePageOnlyWithPrintIfEmpty)
{
    auto pages = run(0);
    ASSERT_EQ(1u, pages.size());
    EXPECT_TRUE(textsOf(pages[0]).contains("PH"));
    // The empty list keeps its column headings over the totals.
    EXPECT_LT(yOf(pages[0], "Item"), yOf(pages[0], "Total"));
    EXPECT_EQ(1, textsOf(pages[0]).count("Item"));
    EXPECT_TRUE(textsOf(pages[0]).contains("Total"));
    report.FreeRpPrinter();
    report.SetPrintIfEmpty(false);
    report.Prepare();
    EXPECT_EQ(0, report.RpPrinter()->PageCount());
}

TEST_F(ListReport, UnitsAreNativeDuringTheRunAndRestoredAfter)
{
    report.SetUnits(TRpUnit::MM);
    TRpUnit during = TRpUnit::MM;
    report.OnStartPage = [&during](TCustomRpReport& r) { during = r.Units(); };
    run(3);
    EXPECT_EQ(TRpUnit::Native, during);
    EXPECT_EQ(TRpUnit::MM, report.Units());
    EXPECT_DOUBLE_EQ(10, report.Page().LeftMargin());
}

TEST_F(ListReport, NoSpaceIsLeftBeforeTheFirstPageOfALaterRun)
{
    run(3);
    report.FreeRpPrinter();
    double before = -1;
    report.BeforePrint = [&before](TCustomRpReport& r, bool&) { before = r.AvailableSpace(); };
    report.Prepare();
    EXPECT_EQ(0, before);
}

TEST_F(ListReport, TitleSetAfterPrepareReachesTheNextRun)
{
    auto* title = report.FirstBand(rbPageHeader)->Add<TRpSysData>();
    title->SetData(TRpSysDataType::rpsReportTitle);
    title->Size().SetBounds(0, 100, 1000, 60);
    auto* expression = report.FirstBand(rbPageHeader)->Add<TRpExpr>();
    expression->SetExpression(QStringLiteral("REPORTTITLE+' / '+STR(PAGENUMBER)"));
    expression->Size().SetBounds(1000, 100, 1000, 60);
    run(1);
    report.FreeRpPrinter();
    report.ReportTitle = QStringLiteral("朔栎打印预览");
    report.Prepare();
    const QStringList texts = textsOf(printedPages(*report.RpPrinter())[0]);
    EXPECT_TRUE(texts.contains(QStringLiteral("朔栎打印预览"))) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("朔栎打印预览 / 1"))) << texts.join('|').toStdString();
}

TEST_F(ListReport, AFailingRunEndsCleanlyAndPassesTheErrorOn)
{
    addRows(10);
    items->open();
    int printed = 0;
    report.FirstBand(rbDetail)->BeforePrint = [&printed](TRpCustomBand&, bool&) {
        if (++printed == 5)
            throw Error(QStringLiteral("field gone"));
    };
    report.SetUnits(TRpUnit::MM);
    try {
        report.Prepare();
        FAIL() << "the error was swallowed";
    } catch (const Error& e) {
        EXPECT_EQ(QStringLiteral("field gone"), e.message());
    }
    EXPECT_TRUE(report.Available());
    EXPECT_EQ(TRpUnit::MM, report.Units());
    EXPECT_FALSE(report.Find<TRpDBText>(QStringLiteral("code"))->IsPrinting());
    EXPECT_EQ(TRpPrinter::TRpPrinterState::Finished, report.RpPrinter()->State());
    // The report runs again once the fault is gone.
    report.FirstBand(rbDetail)->BeforePrint = nullptr;
    report.FreeRpPrinter();
    report.Prepare();
    EXPECT_EQ(1, report.RpPrinter()->PageCount());
}

TEST_F(ListReport, CancellingStopsWithoutFurtherBandsOrSummary)
{
    addRows(100);
    items->open();
    report.FirstBand(rbDetail)->AfterPrint = [this](TRpCustomBand&, bool) {
        if (report.Find<TRpDBText>(QStringLiteral("code"))->PrintCaption() == QStringLiteral("Row 30"))
            report.Cancel();
    };
    report.Prepare();
    const auto pages = printedPages(*report.RpPrinter());
    ASSERT_EQ(2u, pages.size());
    EXPECT_TRUE(textsOf(pages[1]).contains("Row 30"));
    EXPECT_FALSE(textsOf(pages[1]).contains("Row 31"));
    EXPECT_FALSE(textsOf(pages[1]).contains("Total"));
    EXPECT_FALSE(textsOf(pages[1]).contains("PF"));
}

TEST_F(ListReport, NeedDataWithoutDatasetPrintsOneDetailPerCall)
{
    report.SetDataSet(nullptr);
    auto* code = report.Find<TRpDBText>(QStringLiteral("code"));
    code->SetDataSet(nullptr);
    auto* counter = report.FirstBand(rbDetail)->Add<TRpSysData>();
    counter->SetData(TRpSysDataType::rpsDetailNo);
    counter->SetText(QStringLiteral("#"));
    counter->Size().SetBounds(600, 0, 300, 60);
    int calls = 0;
    report.OnNeedData = [&calls](TRpComponent*, bool& more) { more = ++calls <= 3; };
    report.Prepare();
    const QStringList texts = textsOf(printedPages(*report.RpPrinter())[0]);
    EXPECT_EQ(3, texts.filter(QRegularExpression("^#\\d$")).size());
    EXPECT_TRUE(texts.contains("#3"));
    // A handler that answers false at once prints nothing at all.
    report.FreeRpPrinter();
    report.OnNeedData = [](TRpComponent*, bool& more) { more = false; };
    report.Prepare();
    EXPECT_EQ(0, report.RpPrinter()->PageCount());
}

TEST_F(ListReport, DisabledOrSuppressedBandsStillPrintTheirChildren)
{
    TRpCustomBand* detail = report.FirstBand(rbDetail);
    TRpChildBand* child = report.AddChildBand(detail);
    child->Size().SetHeight(100);
    auto* note = child->Add<TRpLabel>();
    note->SetCaption(QStringLiteral("note"));
    note->Size().SetBounds(0, 0, 400, 60);
    int printed = 0;
    int suppressed = 0;
    detail->BeforePrint = [this](TRpCustomBand&, bool& print) {
        print = items->fieldByName(QStringLiteral("code")).asString() != QStringLiteral("Row 2");
    };
    detail->AfterPrint = [&](TRpCustomBand&, bool done) { (done ? printed : suppressed) += 1; };
    const auto pages = run(3);
    ASSERT_EQ(1u, pages.size());
    // Row 2 is suppressed: its child still prints, right under row 1's child.
    EXPECT_EQ(QStringList({"Row 1", "note", "note", "Row 3", "note"}), textsOf(pages[0]).mid(4, 5));
    std::vector<int> notes;
    for (const test::PrintedText& text : pages[0]) {
        if (text.text == QStringLiteral("note"))
            notes.push_back(text.y);
    }
    EXPECT_EQ(std::vector<int>({pixels(500), pixels(600), pixels(800)}), notes);
    EXPECT_EQ(2, printed);
    EXPECT_EQ(1, suppressed);
    // The page subtotal counts the rows printed: 1 + 3.
    EXPECT_TRUE(textsOf(pages[0]).contains("4.00"));
    // A disabled band prints nothing and moves nothing; its child prints where it stood.
    report.FreeRpPrinter();
    detail->BeforePrint = nullptr;
    detail->Enabled = false;
    report.Prepare();
    const QStringList texts = textsOf(printedPages(*report.RpPrinter())[0]);
    EXPECT_FALSE(texts.contains("Row 1"));
    EXPECT_EQ(3, texts.count("note"));
    // Disabled, the rows still count: 1 + 2 + 3.
    EXPECT_TRUE(texts.contains("6.00"));
}

TEST_F(ListReport, TwoColumnsFillTheLeftColumnThenTheRightOne)
{
    report.Page().SetColumns(2);
    report.SortBands();
    const auto pages = run(30);
    ASSERT_EQ(1u, pages.size());
    // 23 rows fill the left column; row 24 starts the right one at the same height as row 1,
    // half the width (less the column space) to the right.
    const auto at = [&pages](const QString& text) {
        for (const test::PrintedText& printed : pages[0]) {
            if (printed.text == text)
                return QPoint(printed.x, printed.y);
        }
        return QPoint(-1, -1);
    };
    EXPECT_EQ(at("Row 1").y(), at("Row 24").y());
    EXPECT_GT(at("Row 24").x(), at("Row 1").x() + pixels(800));
    EXPECT_EQ(at("Row 1").x(), at("Row 23").x());
    // The column header is printed again at the top of the second column.
    EXPECT_EQ(2, textsOf(pages[0]).count("Item"));
}

// ---- Groups ----

class GroupReport : public test::ReportDatabase {
protected:
    void SetUp() override
    {
        ReportDatabase::SetUp();
        connection.execute(QStringLiteral(
            "INSERT INTO item (code, region, city, amount) VALUES "
            "('d1', 'East', 'Hangzhou', 10), ('d2', 'East', 'Hangzhou', 20), ('d3', 'East', 'Ningbo', 5), "
            "('d4', 'West', 'Ningbo', 7), ('d5', 'West', 'Ningbo', 1), ('d6', 'West', 'Xian', 100)"));
        items->open();
        report.SetUnits(TRpUnit::Native);
        report.SetDataSet(items.get());
        outer = test::itemGroup(report, "AQitem.region", "R:", 80, true);
        inner = test::itemGroup(report, "AQitem.city", "C:", 80, true);
        TRpBand* detail = report.AddBand(rbDetail);
        detail->Size().SetHeight(80);
        test::fieldText(detail, items.get(), QStringLiteral("code"));
    }

    TRpReport report;
    TRpGroup* outer = nullptr;
    TRpGroup* inner = nullptr;
};

TEST_F(GroupReport, NestedGroupsPrintHeadersAndFootersInOrderWithTheirSubtotals)
{
    report.Prepare();
    const auto pages = printedPages(*report.RpPrinter());
    ASSERT_EQ(1u, pages.size());
    // Ningbo ends with East and starts again with West: the outer break breaks the inner group.
    EXPECT_EQ(QStringList({"R:East", "C:Hangzhou", "d1", "d2", "end C:Hangzhou 30", "C:Ningbo", "d3",
                           "end C:Ningbo 5", "end R:East 35", "R:West", "C:Ningbo", "d4", "d5",
                           "end C:Ningbo 8", "C:Xian", "d6", "end C:Xian 100", "end R:West 108"}),
              textsOf(pages[0]));
}

TEST_F(GroupReport, AGroupForcingNewPagesStartsEachLaterGroupOnItsOwnPage)
{
    // Only the first forced break, right after the column header, is skipped.
    TRpBand* columns = report.AddBand(rbColumnHeader);
    columns->Size().SetHeight(80);
    outer->ForceNewPage = true;
    report.Prepare();
    const auto pages = printedPages(*report.RpPrinter());
    ASSERT_EQ(2u, pages.size());
    EXPECT_EQ(QStringLiteral("R:East"), textsOf(pages[0]).first());
    EXPECT_EQ(QStringLiteral("R:West"), textsOf(pages[1]).first());
}

TEST_F(GroupReport, HeaderReprintsOnEveryPageTheGroupGoesOnOver)
{
    report.Page().SetValue(TRpPage::LengthIndex, 500); // room for 3 bands of 80 a page
    report.Page().SetPaperSize(TRpPaperSize::Custom);
    report.Page().SetValue(TRpPage::LengthIndex, 500);
    outer->ReprintOnNewPage = true;
    report.Prepare();
    const auto pages = printedPages(*report.RpPrinter());
    ASSERT_GE(pages.size(), 3u);
    // Page 2 goes on with East and starts with its header again; the inner header does not
    // come back on its own, the outer one brings it with it.
    EXPECT_EQ(QStringLiteral("R:East"), textsOf(pages[1]).first());
    EXPECT_EQ(QStringLiteral("C:Hangzhou"), textsOf(pages[1]).at(1));
}

// ---- Stretching text ----

TEST_F(ListReport, StretchingTextKeepsAllItsLinesOverThePageBreak)
{
    connection.execute(QStringLiteral("INSERT INTO item (code, remark) VALUES ('long', '%1')")
                           .arg(QString(QStringLiteral("货品名称很长需要换行")).repeated(60)));
    items->open();
    auto* remark = test::fieldText(report.FirstBand(rbDetail), items.get(), QStringLiteral("remark"));
    remark->AutoSize = false;
    remark->AutoStretch = true;
    remark->Size().SetBounds(600, 0, 400, 60);
    report.Prepare();
    const auto pages = printedPages(*report.RpPrinter());
    ASSERT_EQ(2u, pages.size());
    QString printed;
    for (const auto& page : pages) {
        for (const test::PrintedText& text : page) {
            if (text.x == pixels(report.Page().LeftMargin() + 600))
                printed += text.text;
        }
    }
    EXPECT_EQ(QString(QStringLiteral("货品名称很长需要换行")).repeated(60), printed);
}

TEST_F(ListReport, StretchingLineThatNeverFitsEndsAfterAnEmptyPage)
{
    connection.execute(QStringLiteral("INSERT INTO item (code, remark) VALUES ('huge', 'A B')"));
    items->open();
    auto* remark = test::fieldText(report.FirstBand(rbDetail), items.get(), QStringLiteral("remark"));
    remark->AutoSize = false;
    remark->AutoStretch = true;
    TRpFont huge;
    huge.Size = 900; // one line is taller than a page
    remark->SetFont(huge);
    remark->Size().SetBounds(600, 0, 400, 60);
    report.Prepare();
    EXPECT_LE(report.RpPrinter()->PageCount(), 3);
}

// ---- Frames ----

TEST_F(ListReport, EveryRowKeepsItsBottomRuleWhenTheNextRowPaintsItsBackground)
{
    // Rows of 7.9 mm: a row's end falls at every position inside a device pixel in turn.
    TRpCustomBand* detail = report.FirstBand(rbDetail);
    detail->Size().SetHeight(79);
    detail->Frame.DrawBottom = true;
    report.Find<TRpShape>(QStringLiteral("rule"))->Enabled = false;
    addRows(20);
    items->open();
    report.Prepare();
    const std::optional<gfx::EmfMetafile> page = report.RpPrinter()->GetPage(1);
    ASSERT_TRUE(page);
    QImage picture(page->sizeLogical().toSize(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        gfx::EmfPlayer::play(*page, painter, QRectF(QPointF(0, 0), page->sizeLogical()));
    }
    // Rows start at 400 under the headers; the rule of row k lies at its lower edge.
    const int x = pixels(report.Page().LeftMargin() + 1500);
    for (int row = 1; row <= 20; ++row) {
        const int edge = pixels(400 + 79 * row);
        bool ruled = false;
        for (int y = edge - 2; y <= edge + 1; ++y)
            ruled = ruled || qGray(picture.pixel(x, y)) < 128;
        EXPECT_TRUE(ruled) << "row " << row;
    }
}

} // namespace
} // namespace lb::report
