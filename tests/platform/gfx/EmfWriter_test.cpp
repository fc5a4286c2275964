// Byte layout of the records EmfWriter produces, checked field by field.
#include "platform/gfx/EmfWriter.h"

#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/EmfMetafile.h"
#include "platform/sys/Errors.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace lb::gfx;
using namespace lb::gfx::emf;

namespace {

quint32 u32(const QByteArray& b, qint64 at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

} // namespace

TEST(EmfWriter, EmptyPageHasHeaderAndEndRecord)
{
    EmfWriter writer(794, 1123); // A4 at 96 pixels per inch
    const EmfMetafile page = EmfMetafile::fromBytes(writer.finish());
    const QByteArray& b = page.bytes();
    ASSERT_EQ(108 + 20, b.size());
    EXPECT_EQ(1u, u32(b, 0));
    EXPECT_EQ(108u, u32(b, 4));
    EXPECT_EQ(kSignature, u32(b, 40));
    EXPECT_EQ(quint32(b.size()), u32(b, 48));
    EXPECT_EQ(2u, u32(b, 52));                  // header and end record
    EXPECT_EQ(1u, u32(b, 56) & 0xFFFF);         // the reserved slot 0 only
    EXPECT_EQ(794u, u32(b, 72));
    EXPECT_EQ(1123u, u32(b, 76));
    EXPECT_EQ(14u, u32(b, 108));                // EMR_EOF
    EXPECT_EQ(20u, u32(b, 108 + 4));
    EXPECT_EQ(20u, u32(b, 108 + 16));           // its size again at its end
    EXPECT_NEAR(210.08, page.sizeMm().width(), 0.01); // 794 pixels
    EXPECT_NEAR(297.13, page.sizeMm().height(), 0.01); // 1123 pixels
    EXPECT_NEAR(794.0, page.sizeLogical().width(), 0.01);
}

TEST(EmfWriter, TextRecordCarriesStringAdvancesAndClip)
{
    EmfWriter writer(400, 300);
    const EmfFont font = EmfFont::fromPoints("宋体", 12);
    writer.selectObject(writer.createFont(font));
    writer.extTextOut(QPoint(10, 20), ETO_CLIPPED, QRect(QPoint(10, 20), QPoint(60, 40)),
                      QStringLiteral("合计"));
    const EmfMetafile page = EmfMetafile::fromBytes(writer.finish());
    const QByteArray& b = page.bytes();
    const EmfRecord& text = page.records().at(2);
    ASSERT_EQ(quint32(EMR_EXTTEXTOUTW), text.type);
    const qint64 at = text.offset;
    EXPECT_EQ(10u, u32(b, at + 36));            // reference point
    EXPECT_EQ(20u, u32(b, at + 40));
    EXPECT_EQ(2u, u32(b, at + 44));             // characters
    EXPECT_EQ(76u, u32(b, at + 48));            // string right after the fixed part
    EXPECT_EQ(quint32(ETO_CLIPPED), u32(b, at + 52));
    EXPECT_EQ(60u, u32(b, at + 64));            // clip right
    EXPECT_EQ(80u, u32(b, at + 72));            // advances after the 4-byte string
    EXPECT_EQ(0x5408u, qFromLittleEndian<quint16>(b.constData() + at + 76)); // 合
    EXPECT_EQ(16u, u32(b, at + 80));
    EXPECT_EQ(16u, u32(b, at + 84));
    EXPECT_EQ(88u, text.size);
    EXPECT_EQ(QStringLiteral("合计"), text.text);
    EXPECT_EQ((std::vector<qint32>{16, 16}), text.dx);
    EXPECT_EQ(QRect(QPoint(10, 20), QPoint(60, 40)), text.box);
    EXPECT_EQ(font, page.records().at(0).font);
}

TEST(EmfWriter, HandlesReuseTheLowestFreeSlot)
{
    EmfWriter writer(100, 100);
    const quint32 pen = writer.createPen(PS_SOLID, 1, Qt::black);
    const quint32 brush = writer.createBrush(BS_SOLID, Qt::red);
    EXPECT_EQ(1u, pen);
    EXPECT_EQ(2u, brush);
    writer.deleteObject(pen);
    EXPECT_EQ(1u, writer.createFont(EmfFont::fromPoints("Arial", 9)));
    EXPECT_EQ(3u, writer.createPen(PS_DOT, 0, Qt::blue));
    EXPECT_THROW(writer.selectObject(7), lb::Error);
    EXPECT_THROW(writer.deleteObject(0), lb::Error);
    writer.selectObject(kStockObject | NULL_BRUSH);
    const EmfMetafile page = EmfMetafile::fromBytes(writer.finish());
    EXPECT_EQ(4, page.handleCount());
    const EmfRecord& red = page.records().at(1);
    EXPECT_EQ(quint32(EMR_CREATEBRUSHINDIRECT), red.type);
    EXPECT_EQ(0x0000FFu, red.color);            // COLORREF keeps red in the low byte
}

TEST(EmfWriter, ShapesAndLinesKeepTheirCoordinates)
{
    EmfWriter writer(200, 200);
    writer.rectangle(QRect(QPoint(5, 6), QPoint(50, 60)));
    writer.ellipse(QRect(QPoint(1, 2), QPoint(3, 4)));
    writer.roundRect(QRect(QPoint(10, 10), QPoint(90, 40)), QSize(8, 6));
    writer.moveTo(QPoint(0, 100));
    writer.lineTo(QPoint(150, 100));
    writer.setTextColor(QColor(1, 2, 3));
    writer.setTextAlign(TA_RIGHT | TA_BASELINE);
    writer.setBkMode(TRANSPARENT);
    const EmfMetafile page = EmfMetafile::fromBytes(writer.finish());
    const auto& r = page.records();
    ASSERT_EQ(9u, r.size());
    EXPECT_EQ(QRect(QPoint(5, 6), QPoint(50, 60)), r[0].box);
    EXPECT_EQ(quint32(EMR_ELLIPSE), r[1].type);
    EXPECT_EQ(QSize(8, 6), r[2].corner);
    EXPECT_EQ(QPoint(0, 100), r[3].point);
    EXPECT_EQ(QPoint(150, 100), r[4].point);
    EXPECT_EQ(0x030201u, r[5].value);
    EXPECT_EQ(quint32(TA_RIGHT | TA_BASELINE), r[6].value);
    EXPECT_EQ(quint32(TRANSPARENT), r[7].value);
    EXPECT_EQ(quint32(EMR_EOF), r[8].type);
    // The header's bounds cover everything drawn.
    EXPECT_EQ(QRect(QPoint(0, 2), QPoint(150, 100)), page.bounds());
}

TEST(EmfWriter, AdvancesMustMatchTheText)
{
    EmfWriter writer(100, 100);
    EXPECT_THROW(writer.extTextOut(QPoint(0, 0), 0, QRect(), "abc", {1, 2}), lb::Error);
}

// A device writes each page into the memory of the page before: whatever that page left there
// must not reach the next one. Texts of odd lengths leave padding in every record, and the
// memory is filled with a pattern of set bits first, so that a byte left unwritten shows.
TEST(EmfWriter, APageWrittenIntoAnotherPagesMemoryIsTheSameAsOneWrittenFresh)
{
    const auto write = [](EmfWriter& writer, int lines) {
        writer.selectObject(writer.createFont(EmfFont::fromPoints("宋体", 10)));
        for (int line = 0; line < lines; ++line)
            writer.extTextOut(QPoint(10, 10 + 20 * line), ETO_CLIPPED, QRect(QPoint(10, 10), QPoint(300, 40)),
                              QStringLiteral("销售单 %1").arg(line * 7));
        writer.rectangle(QRect(QPoint(5, 5), QPoint(50, 60)));
    };
    // A first page of other texts, past the first block so that its buffer grows.
    EmfWriter first(794, 1123);
    first.selectObject(first.createFont(EmfFont::fromPoints("Arial", 9)));
    for (int line = 0; line < 2000; ++line)
        first.extTextOut(QPoint(10, line), 0, QRect(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ").left(1 + line % 26));
    QByteArray used = first.finish();
    ASSERT_GT(used.size(), 64 * 1024);
    const char* memory = used.constData();
    used.resize(used.capacity());
    used.fill('\xA5');
    ASSERT_EQ(memory, used.constData());

    EmfWriter again(400, 300, std::move(used));
    write(again, 2);
    const QByteArray reused = again.finish();
    EmfWriter fresh(400, 300);
    write(fresh, 2);
    const QByteArray written = fresh.finish();

    EXPECT_EQ(written, reused);
    EXPECT_EQ(memory, reused.constData()) << "the second page went into the first one's memory";
    const EmfMetafile page = EmfMetafile::fromBytes(reused);
    EXPECT_EQ(6u, page.records().size()); // font, select, two texts, rectangle, end
    EXPECT_EQ(QSize(400, 300), page.sizeLogical().toSize());
}
