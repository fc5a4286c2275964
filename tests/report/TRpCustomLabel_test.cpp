// Text controls narrower than what they print: a number prints whole, other text keeps to its box.
#include "report/ReportTestSupport.h"

#include <numeric>

namespace lb::report {
namespace {

struct DrawnText {
    QRect clip;
    int x = 0;       // the reference point, in page pixels
    int advance = 0; // the width of the characters
};

// The text records of page 1 by their text.
std::map<QString, DrawnText> drawnTexts(TRpPrinter& device)
{
    std::map<QString, DrawnText> drawn;
    const std::optional<gfx::EmfMetafile> page = device.GetPage(1);
    for (const gfx::EmfRecord& record : page->records()) {
        if (record.type == gfx::emf::EMR_EXTTEXTOUTW)
            drawn[record.text] = {record.box, record.point.x(), std::accumulate(record.dx.begin(), record.dx.end(), 0)};
    }
    return drawn;
}

class NarrowControls : public test::ReportDatabase, public ::testing::WithParamInterface<bool> {};

// A clipped leading digit would print another figure: 1234567.50 as 4567.50.
TEST_P(NarrowControls, ANumberPrintsWholeOnOneLineWhateverItsAlignment)
{
    addRows(1);
    connection.execute(QStringLiteral("UPDATE item SET amount = 1234567.5"));
    items->open();
    TRpReport report;
    report.SetUnits(TRpUnit::Native);
    report.SetDataSet(items.get());
    TRpBand* detail = report.AddBand(rbDetail);
    detail->Size().SetHeight(300);
    const auto narrow = [](TRpCustomLabel* control, double left, TRpAlignment alignment) {
        control->AutoSize = false;
        control->WordWrap = GetParam();
        control->SetAlignment(alignment);
        control->Size().SetBounds(left, 0, 60, 60); // room for about four characters
    };
    TRpDBText* amount = test::fieldText(detail, items.get(), QStringLiteral("amount"));
    amount->Mask = QStringLiteral("0.00");
    narrow(amount, 400, TRpAlignment::Right);
    narrow(test::expression(detail, QStringLiteral("AQitem.amount*2")), 800, TRpAlignment::Left);
    narrow(test::expression(detail, QStringLiteral("AQitem.amount*4")), 1200, TRpAlignment::Center);
    narrow(test::fieldText(detail, items.get(), QStringLiteral("code")), 1600, TRpAlignment::Left);
    // Without a mask, as every layout prints its prices and amounts.
    narrow(test::fieldText(detail, items.get(), QStringLiteral("amount")), 1750, TRpAlignment::Right);
    report.Prepare();

    const std::map<QString, DrawnText> drawn = drawnTexts(*report.RpPrinter());
    // Where the characters start, as a share of their width left of the reference point.
    for (const auto& [number, leftShare] :
         {std::pair{"1234567.50", 1.0}, {"2469135", 0.0}, {"4938270", 0.5}, {"1234567.5", 1.0}}) {
        SCOPED_TRACE(number);
        ASSERT_EQ(1u, drawn.count(QString::fromLatin1(number)));
        const DrawnText& text = drawn.at(QString::fromLatin1(number));
        const int left = text.x - int(text.advance * leftShare);
        EXPECT_LE(text.clip.left(), left);
        EXPECT_GE(text.clip.right(), left + text.advance);
    }
    // Text that is not a number keeps to its control.
    const auto code = std::find_if(drawn.begin(), drawn.end(), [](const auto& entry) {
        return entry.first.startsWith(QLatin1Char('R'));
    });
    ASSERT_NE(drawn.end(), code);
    EXPECT_NEAR(test::pixels(60), code->second.clip.width(), 1);
}

INSTANTIATE_TEST_SUITE_P(WrappedOrNot, NarrowControls, ::testing::Bool());

} // namespace
} // namespace lb::report
