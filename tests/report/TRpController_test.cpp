// The record loop of a sub-level: a master's detail with the sub-details printed before and
// after it, their header, groups, rows and footer, per-master totals, and empty sub-levels.
#include "report/ReportTestSupport.h"
#include "report/TRpSubDetail.h"

namespace lb::report {
namespace {

using test::textsOf;

// Items with their parts (item 2 has none): a part query follows the current item.
class SubDetailReport : public test::PageSketch {
protected:
    void SetUp() override
    {
        PageSketch::SetUp();
        report.Page().SetValue(TRpPage::LengthIndex, 4000);
        connection.execute(QStringLiteral("CREATE TABLE part (id INTEGER PRIMARY KEY, item INTEGER, name VARCHAR(20), kind VARCHAR(20), qty INTEGER)"));
        connection.execute(QStringLiteral(
            "INSERT INTO part (item, name, kind, qty) VALUES (1, 'a1', 'x', 2), (1, 'a2', 'X', 3), (3, 'c1', 'X', 4)"));
        parts = std::make_unique<db::Query>(connection);
        parts->setObjectName(QStringLiteral("AQpart"));
        parts->sql().setText(QStringLiteral("SELECT * FROM part WHERE item=:id ORDER BY id"));
        parts->setMasterSource(items.get());
        addRows(3);
        test::band(report, rbColumnHeader, QStringLiteral("CH"));
        // Before the item: its parts, only when it has some.
        before = report.AddSubDetail();
        before->SetDataSet(parts.get());
        before->SetPrintBefore(true);
        before->SetPrintIfEmpty(false);
        before->Size().SetHeight(100);
        test::expression(before, QStringLiteral("'<'+AQpart.name"));
        // After the item: a header, the parts grouped by kind, and a footer with their sum.
        after = report.AddSubDetail();
        after->SetDataSet(parts.get());
        after->Size().SetHeight(100);
        test::fieldText(after, parts.get(), QStringLiteral("name"));
        after->SetHasHeader(true);
        after->HeaderBand()->Size().SetHeight(100);
        test::label(after->HeaderBand(), QStringLiteral("SH"));
        after->SetHasFooter(true);
        after->FooterBand()->Size().SetHeight(100);
        sum(after->FooterBand(), "SF ")->ResetAfterPrint = true;
        TRpGroup* kinds = report.AddGroup();
        kinds->SetMaster(after);
        kinds->Expression = QStringLiteral("AQpart.kind");
        kinds->Size().SetHeight(100);
        test::expression(kinds, QStringLiteral("'K:'+AQpart.kind"));
        sum(test::band(report, rbSummary), "Total ");
    }

    // The sum of the parts' quantities counted by the after level.
    TRpExpr* sum(TRpCustomBand* band, const char* caption)
    {
        TRpExpr* added = test::expression(band, QStringLiteral("'%1'+STR(SUM(AQpart.qty))").arg(caption));
        added->Master = after;
        return added;
    }

    std::unique_ptr<db::Query> parts;
    TRpSubDetail* before = nullptr;
    TRpSubDetail* after = nullptr;
};

TEST_F(SubDetailReport, EachItemPrintsItsPartsBeforeAndAfterItInOrder)
{
    parts->open();
    run();
    ASSERT_EQ(1u, pages.size());
    // Item 2 has no parts: the level before it prints nothing, the level after it its header
    // and footer around an empty row of 100. The kind group starts afresh for each item, and tells
    // "x" from "X".
    EXPECT_EQ("PH|CH|<a1|<a2|Row 1|SH|K:x|a1|K:X|a2|SF 5|Row 2|SH|SF 0|<c1|Row 3|SH|K:X|c1|SF 4|Total 9|PF",
              textsOf(pages[0]).join('|').toStdString());
    EXPECT_EQ(spots("SH")[1].y + test::pixels(200), spots("SF 0")[0].y);
}

} // namespace
} // namespace lb::report
