// Face name mapping and the fixed-resolution text measures of EmfFont.
#include "platform/gfx/EmfFont.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>

#include <cmath>

using lb::gfx::EmfFont;

TEST(EmfFont, WindowsFacesMapToInstalledFamilies)
{
    const struct {
        const char* face;
        const char* family;
    } cases[] = {
        {"宋体", "AR PL UMing CN"},        {"黑体", "AR PL UMing CN"},
        {"SimSun", "AR PL UMing CN"},     {"Arial", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"}, {"", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"}, {"Courier New", "Liberation Mono"},
    };
    for (const auto& c : cases) {
        const QStringList families = EmfFont::families(QString::fromUtf8(c.face));
        ASSERT_EQ(2, families.size()) << c.face;
        EXPECT_EQ(QString::fromUtf8(c.family), families.first()) << c.face;
    }
    // Latin faces still fall back to the Chinese face for Chinese text, and the other way round.
    EXPECT_EQ(QStringLiteral("AR PL UMing CN"), EmfFont::families("Arial").last());
    EXPECT_EQ(QStringLiteral("Liberation Sans"), EmfFont::families("宋体").last());
}

TEST(EmfFont, PointSizesBecomeNegativePixelHeightsAt96Dpi)
{
    EXPECT_EQ(-13, EmfFont::fromPoints("Arial", 10).height);
    EXPECT_EQ(-16, EmfFont::fromPoints("Arial", 12).height);
    EXPECT_EQ(-12, EmfFont::fromPoints("宋体", 9).height);
    EXPECT_EQ(700, EmfFont::fromPoints("Arial", 9, true).weight);
    EXPECT_EQ(134, EmfFont::fromPoints("宋体", 9).charSet);
    EXPECT_EQ(16, EmfFont::fromPoints("宋体", 12).qFont().pixelSize());
}

TEST(EmfFont, AdvancesAddUpToTheTextWidth)
{
    const EmfFont font = EmfFont::fromPoints("Arial", 10);
    const QString text = QStringLiteral("Total 合计 123.45");
    const std::vector<qint32> advances = font.advances(text);
    ASSERT_EQ(size_t(text.size()), advances.size());
    int sum = 0;
    for (qint32 a : advances)
        sum += a;
    EXPECT_EQ(font.textWidth(text), sum);
    // A Chinese character is one em wide in UMing; Latin digits are narrower.
    const EmfFont song = EmfFont::fromPoints("宋体", 12);
    EXPECT_EQ(16, song.advances(QStringLiteral("合"))[0]);
    EXPECT_LT(font.advances("1")[0], 13);
    EXPECT_GT(font.textHeight(), 13);
    // The same text measures the same each time: nothing depends on a screen.
    EXPECT_EQ(font.textWidth(text), EmfFont::fromPoints("Arial", 10).textWidth(text));
}

TEST(EmfFont, SurrogatePairTakesOneAdvance)
{
    const EmfFont font = EmfFont::fromPoints("Arial", 10);
    const QString text = QString::fromUcs4(U"a\U0001F600b");
    const std::vector<qint32> advances = font.advances(text);
    ASSERT_EQ(4u, advances.size());
    EXPECT_EQ(0, advances[2]);
}

// Measures are kept per font and the last text's advances are remembered: each text must still
// get its own, and each font its own.
TEST(EmfFont, EachTextGetsItsOwnAdvancesWhateverWasMeasuredBefore)
{
    const EmfFont font = EmfFont::fromPoints("Arial", 10);
    const std::vector<qint32> narrow = font.advances(QStringLiteral("iiii"));
    const std::vector<qint32> wide = font.advances(QStringLiteral("WWWW"));
    EXPECT_NE(narrow, wide);
    EXPECT_EQ(narrow, font.advances(QStringLiteral("iiii")));
    EXPECT_EQ(wide[0] + wide[1] + wide[2] + wide[3], font.textWidth(QStringLiteral("WWWW")));
    // The same string changed after it was measured.
    QString text = QStringLiteral("iiii");
    font.textWidth(text);
    text[0] = QLatin1Char('W');
    EXPECT_EQ(wide[0], font.advances(text)[0]);
    // A letter's advance is the font's own, and another size has another.
    EXPECT_EQ(std::llround(QFontMetricsF(font.qFont()).horizontalAdvance(QLatin1Char('W'))), wide[0]);
    EXPECT_GT(EmfFont::fromPoints("Arial", 20).advances(QStringLiteral("W"))[0], wide[0]);
}
