// The page and column rules of a run on a small page, case by case: where every band lands at
// the edges of the space left, in columns, with forced breaks, reprinted group headers, aligned
// bands, page footer chains and the paper's orientation.
#include "report/ReportTestSupport.h"
#include "report/TRpChildBand.h"

#include <functional>
#include <ostream>

namespace lb::report {
namespace {

using test::at;
using test::Spot;

// The second column of the sketch in two columns 50 apart: 2100 wide less both margins is
// 718 design pixels, less 19 for the column space halves to 349 pixels (923 tenths of a
// millimetre), so the column starts at 100 + 923 + 50.
constexpr double kColumn2 = 1073;

// `count` rows in a region and a city.
struct Rows {
    int count;
    const char* region = "";
    const char* city = "";
};

struct PageCase {
    const char* name;
    std::function<void(TRpReport&)> layout;
    std::vector<Rows> rows;
    int pages;
    // Every place each text printed, in order; an empty list: printed nowhere.
    std::vector<std::pair<const char*, std::vector<Spot>>> spots;
};

void PrintTo(const PageCase& c, std::ostream* out)
{
    *out << c.name;
}

class PageRules : public test::PageSketch, public ::testing::WithParamInterface<PageCase> {};

// A group on the region with a header of 100 printing "G:" and the region.
TRpGroup* regions(TRpReport& report)
{
    return test::itemGroup(report, "AQitem.region", "G:", 100, false);
}

void twoColumns(TRpReport& report)
{
    report.Page().SetColumns(2);
    report.Page().SetValue(TRpPage::ColumnSpaceIndex, 50);
    report.SortBands();
}

const PageCase pageCases[] = {
    {"ABandExactlyFillingTheSpaceLeftStays", nullptr, {{7}}, 2,
     {{"Row 6", {at(1, 700)}}, {"Row 7", {at(2, 200)}}, {"PF", {at(1, 800), at(2, 800)}}}},
    {"ABottomAlignedSummaryKeptOnOnePageExactlyFillingTheSpaceLeftStays",
     [](TRpReport& r) {
         TRpBand* summary = test::band(r, rbSummary, "S");
         summary->AlignToBottom = true;
         summary->KeepOnOnePage = true;
     },
     {{5}}, 1, {{"S", {at(1, 700)}}}},
    {"ABottomAlignedSummaryTakesThePlaceOfAFooterLeftOffTheLastPage",
     [](TRpReport& r) {
         test::band(r, rbSummary, "S", 200)->AlignToBottom = true;
         r.Options.LastPageFooter = false;
     },
     {{2}}, 1, {{"S", {at(1, 700)}}, {"PF", {}}}},
    {"ADisabledSummaryTallerThanTheSpaceLeftAddsNoPage",
     [](TRpReport& r) { test::band(r, rbSummary, "S", 300)->Enabled = false; },
     {{6}}, 1, {{"S", {}}}},
    {"LandscapePaperBreaksAtItsShortSide",
     [](TRpReport& r) {
         r.Page().SetPaperSize(TRpPaperSize::A4);
         r.Page().SetOrientation(TPrinterOrientation::Landscape);
     },
     {{18}}, 2, {{"Row 17", {at(1, 1800)}}, {"Row 18", {at(2, 200)}}}},
    {"CustomPaperInLandscapeKeepsItsLength",
     [](TRpReport& r) { r.Page().SetOrientation(TPrinterOrientation::Landscape); }, {{7}}, 2,
     {{"Row 7", {at(2, 200)}}}},
    {"EnabledChildrenOfThePageFooterAreReservedAtTheBottom",
     [](TRpReport& r) {
         TRpChildBand* second = r.AddChildBand(r.FirstBand(rbPageFooter));
         second->Size().SetHeight(100);
         test::label(second, QStringLiteral("PF2"));
         TRpChildBand* third = r.AddChildBand(second);
         third->Size().SetHeight(100);
         third->Enabled = false;
         test::label(third, QStringLiteral("PF3"));
     },
     {{6}}, 2,
     {{"Row 5", {at(1, 600)}}, {"Row 6", {at(2, 200)}}, {"PF", {at(1, 700), at(2, 700)}}, {"PF2", {at(1, 800), at(2, 800)}},
      {"PF3", {}}}},
    {"AForcedGroupReprintedAfterAnOverflowBreakMakesNoEmptyPage",
     [](TRpReport& r) {
         test::band(r, rbTitle, "T");
         TRpGroup* group = regions(r);
         group->ForceNewPage = true;
         group->ReprintOnNewPage = true;
     },
     {{8, "East"}, {1, "West"}}, 3,
     {{"T", {at(1, 200)}}, {"G:East", {at(1, 300), at(2, 200)}}, {"Row 5", {at(2, 300)}}, {"G:West", {at(3, 200)}}}},
    {"AGroupValueThatFailsToEvaluateIsNoBreak",
     [](TRpReport& r) { test::itemGroup(r, "if(AQitem.city='',AQitem.region,str(AQitem.city))", "G:", 100, false); },
     {{2, "East"}, {1, "East", "x"}, {1, "East"}}, 1, {{"G:East", {at(1, 200)}}, {"Row 4", {at(1, 600)}}}},
    {"AnInnerGroupHeaderThatBreaksThePageIsNotReprintedTwice",
     [](TRpReport& r) {
         regions(r)->ReprintOnNewPage = true;
         test::itemGroup(r, "AQitem.city", "C:", 100, false);
     },
     {{4, "East", "Hangzhou"}, {2, "East", "Ningbo"}}, 2, {{"C:Ningbo", {at(2, 200)}}, {"Row 5", {at(2, 300)}}}},
    {"AForcedPageInTwoColumnsSkipsTheSecondColumn",
     [](TRpReport& r) {
         regions(r)->ForceNewPage = true;
         twoColumns(r);
     },
     {{2, "East"}, {2, "West"}}, 2, {{"G:West", {at(2, 200)}}}},
    {"TheFirstForcedColumnInColumnOneOnlyArmsTheNext",
     [](TRpReport& r) {
         regions(r)->ForceNewColumn = true;
         twoColumns(r);
     },
     {{1, "A"}, {1, "B"}, {1, "C"}}, 1, {{"G:A", {at(1, 200)}}, {"G:B", {at(1, 400)}}, {"G:C", {at(1, 200, kColumn2)}}}},
    {"ColumnsStartBelowTheTitleOnlyOnPageOne",
     [](TRpReport& r) {
         test::band(r, rbTitle, "T");
         test::expression(test::band(r, rbColumnHeader), QStringLiteral("'CH'+STR(COLUMNNUMBER)"));
         twoColumns(r);
     },
     {{14}}, 2,
     {{"T", {at(1, 200)}},
      {"CH1", {at(1, 300), at(2, 200)}},
      {"CH2", {at(1, 300, kColumn2), at(2, 200, kColumn2)}},
      {"Row 5", {at(1, 400, kColumn2)}},
      {"Row 9", {at(2, 300)}},
      {"Row 14", {at(2, 300, kColumn2)}}}},
    {"GroupHeadersReprintOncePerPageInTwoColumns",
     [](TRpReport& r) {
         regions(r)->ReprintOnNewPage = true;
         twoColumns(r);
     },
     {{9, "East"}, {1, "West"}, {12, "North"}}, 3,
     {{"G:East", {at(1, 200)}},
      {"G:West", {at(1, 600, kColumn2)}},
      {"G:North", {at(2, 200), at(3, 200)}},
      {"Row 16", {at(2, 200, kColumn2)}}}},
    {"AHeaderAsTallAsThePrintableHeightStartsAPageOfItsOwn",
     [](TRpReport& r) {
         r.FirstBand(rbPageHeader)->Enabled = false;
         r.FirstBand(rbPageFooter)->Enabled = false;
         test::itemGroup(r, "AQitem.region", "G:", 800, false);
     },
     {{1, "East"}, {1, "West"}}, 4, {{"G:East", {at(1, 100)}}, {"Row 1", {at(2, 100)}}, {"G:West", {at(3, 100)}}}},
};

TEST_P(PageRules, EveryBandLandsWhereTheRulesPutIt)
{
    const PageCase& c = GetParam();
    if (c.layout)
        c.layout(report);
    for (const Rows& rows : c.rows)
        addRows(rows.count, QString::fromUtf8(rows.region), QString::fromUtf8(rows.city));
    run();
    EXPECT_EQ(c.pages, int(pages.size()));
    for (const auto& [text, expected] : c.spots)
        EXPECT_EQ(expected, spots(QString::fromUtf8(text))) << text;
}

INSTANTIATE_TEST_SUITE_P(Cases, PageRules, ::testing::ValuesIn(pageCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace lb::report
