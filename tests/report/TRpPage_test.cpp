// Page measures: defaults by measurement system, paper table, orientation, units, arrangement.
#include "report/TRpPage.h"

#include "report/TRpBandSize.h"

#include <gtest/gtest.h>

using namespace lb::report;

namespace {

class TRpPageTest : public ::testing::Test {
protected:
    void SetUp() override { TRpUnitBase::SetInchSystem(false); }
    void TearDown() override { TRpUnitBase::SetInchSystem(false); }
};

} // namespace

TEST_F(TRpPageTest, NewPageFollowsTheMeasurementSystem)
{
    const TRpPage metric;
    EXPECT_EQ(TRpUnit::MM, metric.Units());
    EXPECT_EQ(TRpPaperSize::A4, metric.PaperSize());
    EXPECT_EQ((std::vector<double>{100, 2970, 100, 2100, 100, 100, 0}), metric.Values());
    EXPECT_EQ(1, metric.Columns());
    EXPECT_TRUE(metric.Ruler());

    TRpUnitBase::SetInchSystem(true);
    const TRpPage inches;
    EXPECT_EQ(TRpUnit::Inches, inches.Units());
    EXPECT_EQ(TRpPaperSize::Letter, inches.PaperSize());
    EXPECT_DOUBLE_EQ(0.5, inches.LeftMargin());
    EXPECT_DOUBLE_EQ(8.5, inches.Width());
    EXPECT_DOUBLE_EQ(11.0, inches.Length());
    EXPECT_EQ(TRpUnit::Inches, TRpBandSize().Units());
}

TEST_F(TRpPageTest, PaperSizesSetWidthAndLength)
{
    const struct {
        TRpPaperSize size;
        double width;
        double length;
    } cases[] = {
        {TRpPaperSize::Letter, 2159, 2794}, {TRpPaperSize::A3, 2970, 4200},
        {TRpPaperSize::A4Small, 2100, 2970}, {TRpPaperSize::A5, 1480, 2100},
        {TRpPaperSize::Ledger, 4318, 2794}, {TRpPaperSize::Note, 2159, 2790},
        {TRpPaperSize::Env9, 984.3, 2254}, {TRpPaperSize::ESheet, 1000, 1000},
        {TRpPaperSize::Quarto, 2150, 2750},
    };
    for (const auto& c : cases) {
        TRpPage page;
        page.SetPaperSize(c.size);
        EXPECT_NEAR(c.width, page.Values()[TRpPage::WidthIndex], 1e-9) << int(c.size);
        EXPECT_NEAR(c.length, page.Values()[TRpPage::LengthIndex], 1e-9) << int(c.size);
    }
    // Default and Custom keep the current measures.
    TRpPage page;
    page.SetValue(TRpPage::WidthIndex, 123.4);
    page.SetPaperSize(TRpPaperSize::Custom);
    EXPECT_DOUBLE_EQ(123.4, page.Width());
    page.SetPaperSize(TRpPaperSize::Default);
    EXPECT_DOUBLE_EQ(123.4, page.Width());
}

TEST_F(TRpPageTest, LandscapeSwapsThePaper)
{
    TRpPage page;
    page.SetOrientation(TPrinterOrientation::Landscape);
    EXPECT_DOUBLE_EQ(297, page.Width());
    EXPECT_DOUBLE_EQ(210, page.Length());
    page.SetPaperSize(TRpPaperSize::A4);
    EXPECT_DOUBLE_EQ(297, page.Width());
    page.SetOrientation(TPrinterOrientation::Portrait);
    EXPECT_DOUBLE_EQ(210, page.Width());
}

TEST_F(TRpPageTest, ColumnsAboveZeroOnly)
{
    TRpPage page;
    page.SetColumns(3);
    page.SetColumns(0);
    page.SetColumns(-2);
    EXPECT_EQ(3, page.Columns());
}

TEST_F(TRpPageTest, ValuesReadInTheReportUnits)
{
    TRpPage page;
    page.SetValues({100.0, 2970.0, 100.0, 2100.0, 2540.0, 100.0, 0.0});
    page.SetUnits(TRpUnit::Inches);
    EXPECT_DOUBLE_EQ(10, page.LeftMargin());
    page.SetUnits(TRpUnit::Native);
    EXPECT_DOUBLE_EQ(2540, page.LeftMargin());
    page.SetUnits(TRpUnit::MM);
    page.SetValue(TRpPage::LeftMarginIndex, 13);
    EXPECT_EQ((std::vector<double>{100, 2970, 100, 2100, 130, 100, 0}), page.Values());
    // A shorter stored list leaves the other values.
    page.SetValues({50.0});
    EXPECT_DOUBLE_EQ(5, page.BottomMargin());
    EXPECT_DOUBLE_EQ(297, page.Length());
}

TEST_F(TRpPageTest, UnitConversionTable)
{
    TRpBandSize size(96);
    size.SetFontSize(10);
    const struct {
        TRpUnit unit;
        bool horizontal;
        double native;
        double value;
    } cases[] = {
        {TRpUnit::MM, true, 254, 25.4},
        {TRpUnit::Inches, false, 254, 1},
        {TRpUnit::Pixels, true, 254, 96},
        {TRpUnit::Native, true, 37.5, 37.5},
        {TRpUnit::Characters, true, 80 / 10.0 / 2.54 * 10, 1},       // one character wide
        {TRpUnit::Characters, false, 145.3 / 10.0 / 2.54 * 10 * 2, 2}, // two lines high
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(c.value, size.FromNative(c.unit, c.horizontal, c.native), 1e-9) << int(c.unit);
        EXPECT_NEAR(c.native, size.ToNative(c.unit, c.horizontal, c.value), 1e-9) << int(c.unit);
    }
    size.SetZoom(200);
    EXPECT_DOUBLE_EQ(192, size.FromNative(TRpUnit::Pixels, true, 254));
    EXPECT_DOUBLE_EQ(254, size.ToNative(TRpUnit::Pixels, true, 192));
    // Zooms outside 1 to 300 keep the old one, so a pixel conversion never divides by 0.
    for (int refused : {0, -5, 301, 100000}) {
        size.SetZoom(refused);
        EXPECT_EQ(200, size.Zoom()) << refused;
    }
    EXPECT_DOUBLE_EQ(254, size.ToNative(TRpUnit::Pixels, true, 192));
    size.SetZoom(1);
    EXPECT_EQ(1, size.Zoom());
    size.SetZoom(300);
    EXPECT_EQ(300, size.Zoom());
}

TEST_F(TRpPageTest, BandSizeStartsAt20By40Native)
{
    TRpBandSize size;
    EXPECT_EQ((std::vector<double>{20, 40}), size.Values());
    EXPECT_DOUBLE_EQ(2, size.Height());
    size.SetUnits(TRpUnit::Native);
    size.SetHeight(150);
    size.SetWidth(1900);
    EXPECT_EQ((std::vector<double>{150, 1900}), size.Values());
}

TEST_F(TRpPageTest, BandArrangementInPixels)
{
    // A4 at 96 pixels per inch: 2100 native = 793.7 pixels, margins 10 mm = 37.8 pixels.
    TRpPage page;
    TRpPage::BandArea area = page.Arrange(100);
    EXPECT_EQ(38, area.left);
    EXPECT_EQ(38, area.top);
    EXPECT_EQ(794 - 76, area.fullWidth);
    EXPECT_EQ(718, area.columnWidth);
    // Three columns 5 mm apart (18.9 -> 19 pixels): (718 - 2 x 19) div 3.
    page.SetColumns(3);
    page.SetValue(TRpPage::ColumnSpaceIndex, 5);
    area = page.Arrange(100);
    EXPECT_EQ(226, area.columnWidth);
    // At zoom 50 everything halves before rounding.
    page.SetColumns(1);
    area = page.Arrange(50);
    EXPECT_EQ(19, area.left);
    EXPECT_EQ(397 - 38, area.fullWidth);
}
