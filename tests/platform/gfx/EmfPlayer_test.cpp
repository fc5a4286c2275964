// Playing pages onto images offscreen: Chinese text shows, shapes land where recorded, clipping
// holds, and the page scales.
#include "platform/gfx/EmfPlayer.h"

#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/EmfWriter.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace lb::gfx;
using namespace lb::gfx::emf;

namespace {

QImage play(const EmfMetafile& page, double scale)
{
    const QSizeF size = page.sizeLogical() * scale;
    QImage image(qRound(size.width()), qRound(size.height()), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    EmfPlayer::play(page, painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return image;
}

// Pixels in `area` that are not white.
int inked(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                ++count;
        }
    }
    return count;
}

EmfMetafile invoicePage()
{
    EmfWriter writer(400, 200);
    writer.setBkMode(TRANSPARENT);
    writer.setTextColor(Qt::black);
    writer.setTextAlign(TA_LEFT | TA_TOP);
    const quint32 font = writer.createFont(EmfFont::fromPoints("宋体", 18));
    writer.selectObject(font);
    writer.extTextOut(QPoint(20, 20), 0, QRect(), QStringLiteral("销售出库单"));
    // Clipped to a box that ends after two characters.
    writer.extTextOut(QPoint(20, 80), ETO_CLIPPED, QRect(QPoint(20, 80), QPoint(68, 110)),
                      QStringLiteral("合计金额"));
    const quint32 brush = writer.createBrush(BS_SOLID, QColor(255, 0, 0));
    writer.selectObject(brush);
    writer.selectObject(kStockObject | NULL_PEN);
    writer.rectangle(QRect(QPoint(300, 20), QPoint(340, 60)));
    writer.selectObject(writer.createPen(PS_SOLID, 2, QColor(0, 0, 255)));
    writer.moveTo(QPoint(20, 150));
    writer.lineTo(QPoint(380, 150));
    writer.deleteObject(font);
    return EmfMetafile::fromBytes(writer.finish());
}

} // namespace

TEST(EmfPlayer, ChineseTextShapesAndLinesAppear)
{
    const QImage image = play(invoicePage(), 1.0);
    const QString file = QDir::temp().filePath("ledgerbox-emf-page.png");
    EXPECT_TRUE(image.save(file));
    // The title: five characters of 24 pixels from (20, 20).
    EXPECT_GT(inked(image, QRect(20, 20, 120, 24)), 300);
    EXPECT_EQ(0, inked(image, QRect(150, 20, 100, 24)));
    // The clipped text stops at the clip box's right edge.
    EXPECT_GT(inked(image, QRect(20, 80, 48, 24)), 100);
    EXPECT_EQ(0, inked(image, QRect(70, 80, 60, 30)));
    // The red box without outline fills exactly its area.
    EXPECT_EQ(qRgb(255, 0, 0), image.pixel(300, 20));
    EXPECT_EQ(qRgb(255, 0, 0), image.pixel(339, 59));
    EXPECT_EQ(qRgb(255, 255, 255), image.pixel(340, 60));
    // The blue line two pixels wide.
    EXPECT_EQ(255, qBlue(image.pixel(200, 150)));
    EXPECT_EQ(0, qRed(image.pixel(200, 150)));
}

TEST(EmfPlayer, ChineseCharactersDrawAsTheirOwnGlyphs)
{
    const auto glyph = [](const QString& character) {
        EmfWriter writer(40, 40);
        writer.setBkMode(TRANSPARENT);
        writer.selectObject(writer.createFont(EmfFont::fromPoints("宋体", 18)));
        writer.extTextOut(QPoint(4, 4), 0, QRect(), character);
        return play(EmfMetafile::fromBytes(writer.finish()), 1.0);
    };
    const QImage sell = glyph(QStringLiteral("销"));
    const QImage goods = glyph(QStringLiteral("货"));
    EXPECT_GT(inked(sell, sell.rect()), 40);
    // Without a Chinese font every character would come out as the same empty box.
    EXPECT_TRUE(sell != goods);
}

TEST(EmfPlayer, PageScalesToTheTarget)
{
    const EmfMetafile page = invoicePage();
    const QImage half = play(page, 0.5);
    const QImage doubled = play(page, 2.0);
    EXPECT_EQ(QSize(200, 100), half.size());
    EXPECT_EQ(QSize(800, 400), doubled.size());
    EXPECT_EQ(qRgb(255, 0, 0), doubled.pixel(610, 50));
    EXPECT_EQ(qRgb(255, 255, 255), doubled.pixel(590, 50));
    EXPECT_GT(inked(doubled, QRect(40, 40, 240, 48)), 1200);
    EXPECT_GT(inked(half, QRect(10, 10, 60, 12)), 50);
}

TEST(EmfPlayer, CentredAndRightAlignedTextUseTheRecordedAdvances)
{
    EmfWriter writer(300, 100);
    writer.setBkMode(TRANSPARENT);
    writer.selectObject(writer.createFont(EmfFont::fromPoints("Arial", 12)));
    writer.setTextAlign(TA_RIGHT | TA_TOP);
    writer.extTextOut(QPoint(290, 10), 0, QRect(), "8", {40});
    writer.setTextAlign(TA_CENTER | TA_TOP);
    writer.extTextOut(QPoint(150, 50), 0, QRect(), "1", {10});
    const QImage image = play(EmfMetafile::fromBytes(writer.finish()), 1.0);
    // Right-aligned: the glyph starts 40 pixels before the reference point.
    EXPECT_GT(inked(image, QRect(250, 10, 40, 20)), 10);
    EXPECT_EQ(0, inked(image, QRect(0, 0, 240, 40)));
    // Centred: around x = 150.
    EXPECT_GT(inked(image, QRect(140, 50, 20, 20)), 5);
    EXPECT_EQ(0, inked(image, QRect(0, 45, 130, 40)));
}

TEST(EmfPlayer, TargetsOfAbsurdScaleOrAspectStayBlank)
{
    const EmfMetafile page = invoicePage(); // 400 x 200 logical
    const auto draw = [&page](const QSize& image, const QRectF& target) {
        QImage canvas(image, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        EmfPlayer::play(page, painter, target);
        painter.end();
        return inked(canvas, canvas.rect());
    };
    // Stretched 40 times wider than high, and scaled 1000 times up (the glyphs alone would
    // be tens of thousands of pixels): nothing drawn.
    EXPECT_EQ(0, draw(QSize(400, 20), QRectF(0, 0, 400 * 4, 200 / 10.0)));
    EXPECT_EQ(0, draw(QSize(200, 200), QRectF(-200000, -100000, 400000, 200000)));
    // Within the bounds the page draws.
    EXPECT_GT(draw(QSize(400, 200), QRectF(0, 0, 400, 200)), 100);
    EXPECT_GT(draw(QSize(400, 200), QRectF(0, 0, 400, 50)), 100);
}

TEST(EmfPlayer, CurrentPositionTextAdvancesBeyondTheIntegerRange)
{
    // Three texts that move the current position by 1431655772 each: the position passes the
    // integer range, and wrapped round it would come back to 30, where the last text would show.
    EmfWriter writer(100, 100);
    writer.setBkMode(TRANSPARENT);
    writer.setTextAlign(TA_UPDATECP);
    writer.moveTo(QPoint(10, 10));
    for (const char* text : {"a", "b", "c"})
        writer.extTextOut(QPoint(0, 0), 0, QRect(), text, {1431655772});
    writer.extTextOut(QPoint(0, 0), 0, QRect(), "X", {10});
    const QImage image = play(EmfMetafile::fromBytes(writer.finish()), 1.0);
    EXPECT_GT(inked(image, QRect(10, 10, 15, 20)), 5);
    EXPECT_EQ(0, inked(image, QRect(26, 0, 74, 100)));
}

TEST(EmfPlayer, WhatComesFromFarOutsideThePageShowsWhereItCrossesIt)
{
    const int far = 16000000;
    EmfWriter writer(300, 200);
    writer.setBkMode(TRANSPARENT);
    writer.selectObject(writer.createPen(PS_SOLID, 1, Qt::black));
    writer.moveTo(QPoint(-far, 30));
    writer.lineTo(QPoint(far, 30));
    // A circle so large that its top is flat across the page at y = 100, filled red below.
    writer.selectObject(kStockObject | NULL_PEN);
    writer.selectObject(writer.createBrush(BS_SOLID, QColor(255, 0, 0)));
    writer.ellipse(QRect(QPoint(150 - far, 100), QPoint(150 + far, 100 + 2 * far)));
    // The first character far to the left, the second at x = 20.
    writer.selectObject(writer.createFont(EmfFont::fromPoints("Arial", 12)));
    writer.extTextOut(QPoint(-far, 40), 0, QRect(), "AX", {far + 20, 10});
    const QImage image = play(EmfMetafile::fromBytes(writer.finish()), 1.0);
    EXPECT_EQ(280, inked(image, QRect(10, 30, 280, 1)));
    EXPECT_EQ(0, inked(image, QRect(10, 32, 280, 6)));
    EXPECT_EQ(qRgb(255, 0, 0), image.pixel(150, 110));
    EXPECT_EQ(qRgb(255, 0, 0), image.pixel(20, 110));
    EXPECT_EQ(0, inked(image, QRect(0, 60, 300, 38)));
    EXPECT_GT(inked(image, QRect(20, 40, 12, 20)), 10);
}
