// The checking parser: a written page reads back, and malformed bytes are refused, never trusted.
#include "platform/gfx/EmfMetafile.h"

#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/EmfPlayer.h"
#include "platform/gfx/EmfWriter.h"
#include "platform/sys/Errors.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace lb::gfx;
using namespace lb::gfx::emf;

namespace {

EmfMetafile samplePage()
{
    EmfWriter writer(300, 200);
    writer.setBkMode(TRANSPARENT);
    writer.selectObject(writer.createFont(EmfFont::fromPoints("宋体", 10)));
    writer.selectObject(writer.createPen(PS_SOLID, 1, Qt::black));
    writer.rectangle(QRect(QPoint(5, 5), QPoint(100, 50)));
    writer.extTextOut(QPoint(10, 10), ETO_CLIPPED, QRect(QPoint(5, 5), QPoint(100, 50)),
                      QStringLiteral("销售单 No.1"));
    return EmfMetafile::fromBytes(writer.finish());
}

void put32(QByteArray& b, qint64 at, quint32 value)
{
    qToLittleEndian<quint32>(value, b.data() + at);
}

qint64 offsetOf(const EmfMetafile& page, quint32 type)
{
    for (const EmfRecord& r : page.records()) {
        if (r.type == type)
            return r.offset;
    }
    return -1;
}

} // namespace

TEST(EmfMetafile, WrittenPageReadsBackWithItsText)
{
    const EmfMetafile page = samplePage();
    const EmfMetafile again = EmfMetafile::fromBytes(page.bytes());
    ASSERT_EQ(page.records().size(), again.records().size());
    const EmfRecord& text = again.records().at(again.records().size() - 2);
    EXPECT_EQ(quint32(EMR_EXTTEXTOUTW), text.type);
    EXPECT_EQ(QStringLiteral("销售单 No.1"), text.text);
    EXPECT_EQ(size_t(text.text.size()), text.dx.size());
    EXPECT_EQ(QStringLiteral("宋体"), again.records().at(1).font.faceName);
    EXPECT_EQ(page.bytes().size(), EmfMetafile::declaredSize(page.bytes().constData(), 56));
}

TEST(EmfMetafile, MalformedBytesAreRefused)
{
    const EmfMetafile page = samplePage();
    const qint64 text = offsetOf(page, EMR_EXTTEXTOUTW);
    const qint64 font = offsetOf(page, EMR_EXTCREATEFONTINDIRECTW);
    const qint64 select = offsetOf(page, EMR_SELECTOBJECT);
    const qint64 end = offsetOf(page, EMR_EOF);
    const qint64 total = page.bytes().size();
    const struct {
        const char* what;
        std::function<void(QByteArray&)> damage;
    } cases[] = {
        {"truncated by one word", [](QByteArray& b) { b.chop(4); }},
        {"size not a multiple of 4", [](QByteArray& b) { b.append('\0'); }},
        {"wrong signature", [](QByteArray& b) { put32(b, 40, 0x12345678); }},
        {"declared size too large", [total](QByteArray& b) { put32(b, 48, quint32(total + 4)); }},
        {"header record too small", [](QByteArray& b) { put32(b, 4, 40); }},
        {"record count too high", [](QByteArray& b) { put32(b, 52, 99); }},
        {"record count too low", [](QByteArray& b) { put32(b, 52, 3); }},
        {"empty frame", [](QByteArray& b) { put32(b, 32, 0); }},
        {"description outside the header", [](QByteArray& b) { put32(b, 60, 1000); put32(b, 64, 88); }},
        {"record of size 0", [text](QByteArray& b) { put32(b, text + 4, 0); }},
        {"record running past the end", [text](QByteArray& b) { put32(b, text + 4, 0x7FFFFFF0); }},
        {"record size not a multiple of 4", [text](QByteArray& b) { put32(b, text + 4, 90); }},
        {"text with 2^31 characters", [text](QByteArray& b) { put32(b, text + 44, 0x80000000); }},
        {"text string past its record", [text](QByteArray& b) { put32(b, text + 48, 0xFFFFFFF0); }},
        {"text string inside the fixed part", [text](QByteArray& b) { put32(b, text + 48, 8); }},
        {"advances past the record", [text](QByteArray& b) { put32(b, text + 72, 0xFFFFFFFC); }},
        {"font in handle slot 0", [font](QByteArray& b) { put32(b, font + 8, 0); }},
        {"select of a handle outside the table", [select](QByteArray& b) { put32(b, select + 8, 40); }},
        {"select of the handle equal to the table size",
         [select, handles = page.handleCount()](QByteArray& b) { put32(b, select + 8, quint32(handles)); }},
        {"reference device of one square millimetre", [](QByteArray& b) { put32(b, 100, 1000); put32(b, 104, 1000); }},
        {"reference device of ten metres", [](QByteArray& b) { put32(b, 100, 10000000); put32(b, 104, 10000000); }},
        {"reference device twenty times wider per pixel than high",
         [](QByteArray& b) { put32(b, 100, 300 * 25400 / 96 * 20); }},
        {"frame larger than the reference device", [](QByteArray& b) { put32(b, 32, 20000); }},
        {"frame spanning the whole 32-bit range",
         [](QByteArray& b) { put32(b, 24, 0x80000000); put32(b, 32, 0x7FFFFFFF); }},
        {"end record turned into another", [end](QByteArray& b) { put32(b, end, EMR_SETBKMODE); }},
        {"a record after the end", [end](QByteArray& b) {
             put32(b, end + 4, 12);
             QByteArray tail(20, '\0');
             put32(tail, 0, EMR_EOF);
             put32(tail, 4, 20);
             b = b.left(end + 12) + tail;
             put32(b, 48, quint32(b.size()));
         }},
    };
    for (const auto& c : cases) {
        QByteArray bytes = page.bytes();
        c.damage(bytes);
        EXPECT_THROW(EmfMetafile::fromBytes(bytes), lb::Error) << c.what;
    }
    EXPECT_THROW(EmfMetafile::fromBytes(QByteArray()), lb::Error);
    EXPECT_THROW(EmfMetafile::declaredSize("abc", 3), lb::Error);
}

TEST(EmfMetafile, RefusalNamesTheFault)
{
    QByteArray bytes = samplePage().bytes();
    put32(bytes, 40, 0);
    try {
        EmfMetafile::fromBytes(bytes);
        FAIL() << "accepted a metafile without signature";
    } catch (const lb::Error& e) {
        EXPECT_EQ(QStringLiteral("Invalid metafile: no metafile header"), e.message());
    }
}

// Ten lines that cross the page from far outside it: drawn whole, they took the renderer
// seconds; cut to the page they take a moment.
QByteArray farOffLines()
{
    EmfWriter writer(300, 200);
    writer.selectObject(writer.createPen(PS_SOLID, 1, Qt::black));
    for (int i = 0; i < 10; ++i) {
        writer.moveTo(QPoint(-16000000, -16000000 + 20 * i));
        writer.lineTo(QPoint(16000000, 16000000));
    }
    return writer.finish();
}

TEST(EmfMetafile, RandomDamageIsRefusedOrReadSafely)
{
    QImage image(60, 40, QImage::Format_RGB32);
    int refused = 0;
    // What the parser lets through must also play without harm (a damaged font height or
    // handle included) and within a second, whatever it draws and wherever.
    const auto readAndPlay = [&](const QByteArray& bytes, int round) {
        QElapsedTimer timer;
        timer.start();
        try {
            const EmfMetafile page = EmfMetafile::fromBytes(bytes);
            for (const EmfRecord& r : page.records())
                EXPECT_LE(r.offset + r.size, page.bytes().size());
            QPainter painter(&image);
            EmfPlayer::play(page, painter, QRectF(0, 0, 60, 40));
        } catch (const lb::Error&) {
            ++refused;
        }
        EXPECT_LT(timer.elapsed(), 1000) << "round " << round;
    };
    readAndPlay(farOffLines(), -1);

    const QByteArray good = samplePage().bytes();
    std::mt19937 random(20261206);
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes = good;
        const int changes = 1 + int(random() % 4);
        for (int i = 0; i < changes; ++i) {
            const qint64 at = random() % bytes.size();
            if (random() % 2)
                bytes[at] = char(random());
            else
                put32(bytes, at & ~3, quint32(random()));
        }
        readAndPlay(bytes, round);
    }
    EXPECT_GT(refused, 1000);
}
