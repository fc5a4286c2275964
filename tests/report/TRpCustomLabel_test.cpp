// Text controls narrower than what they print: a number prints whole, other text keeps to its box;
// each record's text broken by its own width, line breaks and font; a field found again by name.
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

class ControlTexts : public test::ReportDatabase {
protected:
    void SetUp() override
    {
        ReportDatabase::SetUp();
        report.SetUnits(TRpUnit::Native);
        report.SetDataSet(items.get());
        detail = report.AddBand(rbDetail);
        detail->Size().SetHeight(100);
    }

    // The texts printed at `left` (tenths of a millimetre from the margin), page by page.
    QStringList printedAt(double left)
    {
        report.Prepare();
        QStringList texts;
        for (const auto& page : test::printedPages(*report.RpPrinter())) {
            for (const test::PrintedText& text : page) {
                if (text.x == test::pixels(report.Page().LeftMargin() + left))
                    texts.append(text.text);
            }
        }
        return texts;
    }

    TRpReport report;
    TRpBand* detail = nullptr;
};

// One control prints short and long texts in turn: each is broken by its own width and breaks.
TEST_F(ControlTexts, EachRecordIsBrokenByItsOwnWidthAndLineBreaks)
{
    const QString wide = QStringLiteral("货品名称很长需要换行货品名称很长需要换行");
    for (const QString& code : {QStringLiteral("short"), wide, QStringLiteral("a\rb"), QStringLiteral("end")})
        connection.execute(QStringLiteral("INSERT INTO item (code) VALUES ('%1')").arg(code));
    items->open();
    TRpDBText* code = test::fieldText(detail, items.get(), QStringLiteral("code"));
    code->AutoSize = false;
    code->AutoStretch = true;
    code->Size().SetBounds(300, 0, 300, 60); // about eight CJK characters

    const QStringList texts = printedAt(300);
    ASSERT_GE(texts.size(), 6);
    EXPECT_EQ(QStringLiteral("short"), texts.first());
    const QStringList wideLines = texts.mid(1, texts.size() - 4);
    EXPECT_GE(wideLines.size(), 2);
    EXPECT_EQ(wide, wideLines.join(QString()));
    EXPECT_EQ((QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("end")}), texts.mid(texts.size() - 3));
}

// The canvas still holds the font of the control before; each control measures in its own.
TEST_F(ControlTexts, EachControlMeasuresInItsOwnFontAfterALargerOne)
{
    addRows(1);
    items->open();
    TRpLabel* large = test::label(detail, QStringLiteral("LARGE"), 0);
    TRpFont font;
    font.Size = 40;
    large->SetFont(font);
    TRpLabel* fits = test::label(detail, QStringLiteral("fits in ten points"), 500);
    fits->AutoSize = false;
    fits->Size().SetWidth(500);
    test::label(detail, QStringLiteral("sized"), 1200); // takes its text's width

    EXPECT_EQ(QStringList{QStringLiteral("fits in ten points")}, printedAt(500));
    const DrawnText sized = drawnTexts(*report.RpPrinter()).at(QStringLiteral("sized"));
    EXPECT_NEAR(sized.advance, sized.clip.right() - sized.clip.left(), 1);
}

// A dataset opened again during the run with its columns in another order: the field is found
// again by its name.
TEST_F(ControlTexts, AFieldIsFoundAgainWhenItsDatasetIsOpenedWithOtherColumns)
{
    addRows(4);
    items->open();
    db::Query first(connection);
    first.sql().setText(QStringLiteral("SELECT code, amount FROM item WHERE id = 1"));
    first.open();
    test::fieldText(detail, &first, QStringLiteral("CODE"))->Size().SetLeft(300);
    bool swapped = false;
    detail->BeforePrint = [&](TRpCustomBand&, bool&) {
        swapped = !swapped;
        first.reopen(swapped ? QStringLiteral("SELECT amount, id, code FROM item WHERE id = 1")
                             : QStringLiteral("SELECT code, amount FROM item WHERE id = 1"));
    };
    EXPECT_EQ(QStringList(4, QStringLiteral("Row 1")), printedAt(300));
}

} // namespace
} // namespace lb::report
