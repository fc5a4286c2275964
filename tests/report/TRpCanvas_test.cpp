// The page canvas: which font and colour each text is written in.
#include "report/TRpCanvas.h"

#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/EmfMetafile.h"

#include <gtest/gtest.h>

#include <map>

using namespace lb::report;
using namespace lb::gfx;

namespace {

struct Written {
    QString text;
    QString face;
    bool bold = false;
    quint32 color = 0;
};

// Each text of `page` with the font selected and the text colour set when it was written.
std::vector<Written> textsOf(const EmfMetafile& page)
{
    std::map<quint32, EmfFont> fonts;
    EmfFont selected;
    quint32 color = 0;
    std::vector<Written> texts;
    for (const EmfRecord& r : page.records()) {
        if (r.type == emf::EMR_EXTCREATEFONTINDIRECTW)
            fonts[r.value] = r.font;
        else if (r.type == emf::EMR_SELECTOBJECT && fonts.count(r.value))
            selected = fonts[r.value];
        else if (r.type == emf::EMR_SETTEXTCOLOR)
            color = r.value;
        else if (r.type == emf::EMR_EXTTEXTOUTW)
            texts.push_back({r.text, selected.faceName, selected.weight >= 700, color});
    }
    return texts;
}

} // namespace

// The canvas writes a font and a colour only when they change; a font set back to the one
// before must be written again all the same.
TEST(TRpCanvas, EachTextIsWrittenInTheFontAndColourSetBeforeIt)
{
    TRpFont plain;
    plain.Name = QStringLiteral("宋体");
    TRpFont heading = plain;
    heading.Bold = true;
    heading.Color = QColor(200, 0, 0);
    TRpCanvas canvas(400, 300);
    const QRect clip(QPoint(0, 0), QPoint(400, 300));
    canvas.SetFont(plain);
    canvas.TextOut(10, 10, clip, QStringLiteral("甲"), emf::TA_LEFT);
    canvas.SetFont(plain);
    canvas.TextOut(10, 30, clip, QStringLiteral("乙"), emf::TA_LEFT);
    canvas.SetFont(heading);
    canvas.TextOut(10, 50, clip, QStringLiteral("丙"), emf::TA_LEFT);
    canvas.SetFont(plain);
    canvas.TextOut(10, 70, clip, QStringLiteral("丁"), emf::TA_LEFT);
    canvas.SetFont(heading);
    canvas.SetFont(plain);
    canvas.TextOut(10, 90, clip, QStringLiteral("戊"), emf::TA_LEFT);

    const std::vector<Written> texts = textsOf(EmfMetafile::fromBytes(canvas.Finish()));
    ASSERT_EQ(5u, texts.size());
    const quint32 black = 0;
    const quint32 red = 200; // COLORREF: red in the low byte
    for (size_t i : {0u, 1u, 3u, 4u}) {
        EXPECT_FALSE(texts[i].bold) << texts[i].text.toStdString();
        EXPECT_EQ(black, texts[i].color) << texts[i].text.toStdString();
    }
    EXPECT_TRUE(texts[2].bold);
    EXPECT_EQ(red, texts[2].color);
    EXPECT_EQ(QStringLiteral("宋体"), texts[4].face);
}
