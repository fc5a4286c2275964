// Checking parser of enhanced metafiles: nothing read from the bytes is trusted before it is
// compared with the bounds it must lie in.
#include "platform/gfx/EmfMetafile.h"

#include "platform/gfx/EmfFormat.h"
#include "platform/sys/Errors.h"

#include <QtEndian>

#include <algorithm>

namespace lb::gfx {

using namespace emf;

namespace {

// Little-endian fields of a record whose size has already been checked against the buffer.
class Fields {
public:
    Fields(const QByteArray& bytes, qint64 offset)
        : data_(reinterpret_cast<const uchar*>(bytes.constData()) + offset) {}
    quint32 u32(int at) const { return qFromLittleEndian<quint32>(data_ + at); }
    qint32 i32(int at) const { return qFromLittleEndian<qint32>(data_ + at); }
    quint16 u16(int at) const { return qFromLittleEndian<quint16>(data_ + at); }
    quint8 u8(int at) const { return data_[at]; }
    QPoint point(int at) const { return {i32(at), i32(at + 4)}; }
    // A RECTL (left, top, right, bottom) kept as corners, so right and bottom are not shifted.
    QRect rect(int at) const { return QRect(QPoint(i32(at), i32(at + 4)), QPoint(i32(at + 8), i32(at + 12))); }
    QString utf16(qint64 at, qint64 count) const
    {
        QString text(count, Qt::Uninitialized);
        for (qint64 i = 0; i < count; ++i)
            text[i] = QChar(u16(int(at + 2 * i)));
        return text;
    }

private:
    const uchar* data_;
};

[[noreturn]] void fail(const QString& what, qint64 offset = -1)
{
    if (offset < 0)
        throw Error(QStringLiteral("Invalid metafile: %1").arg(what));
    throw Error(QStringLiteral("Invalid metafile: %1 (record at byte %2)").arg(what).arg(offset));
}

// The fixed minimum size of each record type the program draws with.
quint32 minimumSize(quint32 type)
{
    switch (type) {
    case EMR_EOF: return 20;
    case EMR_SETBKMODE:
    case EMR_SETTEXTALIGN:
    case EMR_SETTEXTCOLOR:
    case EMR_SELECTOBJECT:
    case EMR_DELETEOBJECT: return 12;
    case EMR_MOVETOEX:
    case EMR_LINETO: return 16;
    case EMR_CREATEPEN: return 28;
    case EMR_CREATEBRUSHINDIRECT: return 24;
    case EMR_RECTANGLE:
    case EMR_ELLIPSE: return 24;
    case EMR_ROUNDRECT: return 32;
    case EMR_EXTCREATEFONTINDIRECTW: return 12 + kLogFontSize;
    case EMR_EXTTEXTOUTW: return 60; // without the rectangle; checked again once options are known
    case EMR_HEADER: return kHeaderBaseSize;
    default: return 8;
    }
}

EmfFont readLogFont(const Fields& f, int at)
{
    EmfFont font;
    font.height = f.i32(at);
    font.width = f.i32(at + 4);
    font.escapement = f.i32(at + 8);
    font.orientation = f.i32(at + 12);
    font.weight = f.i32(at + 16);
    font.italic = f.u8(at + 20) != 0;
    font.underline = f.u8(at + 21) != 0;
    font.strikeOut = f.u8(at + 22) != 0;
    font.charSet = f.u8(at + 23);
    font.outPrecision = f.u8(at + 24);
    font.clipPrecision = f.u8(at + 25);
    font.quality = f.u8(at + 26);
    font.pitchAndFamily = f.u8(at + 27);
    int length = 0;
    while (length < kFaceNameChars && f.u16(at + 28 + 2 * length) != 0)
        ++length;
    font.faceName = f.utf16(at + 28, length);
    return font;
}

// The object handle at offset 8 of a record, checked against the handle table (stock objects
// only where `stockAllowed`).
quint32 checkedHandle(const Fields& f, int handles, bool stockAllowed, qint64 offset)
{
    const quint32 handle = f.u32(8);
    if (stockAllowed && (handle & kStockObject))
        return handle;
    if (handle == 0 || handle >= quint32(handles))
        fail(QStringLiteral("object handle %1 outside the handle table of %2").arg(handle).arg(handles),
             offset);
    return handle;
}

void decodeText(const Fields& f, EmfRecord& r)
{
    r.point = f.point(36);
    const quint32 chars = f.u32(44);
    const quint32 stringOffset = f.u32(48);
    r.options = f.u32(52);
    const bool hasRect = !(r.options & ETO_NO_RECT);
    const quint32 fixed = hasRect ? kTextRecordFixedSize : kTextRecordFixedSize - 16;
    if (r.size < fixed)
        fail(QStringLiteral("text record of %1 bytes").arg(r.size), r.offset);
    if (hasRect)
        r.box = f.rect(56);
    const quint32 dxOffset = f.u32(hasRect ? 72 : 56);
    // 64-bit sums: a count near 2^32 must not wrap round into the record.
    if (chars > r.size / 2)
        fail(QStringLiteral("text record claims %1 characters").arg(chars), r.offset);
    if (chars > 0 && (stringOffset < fixed || quint64(stringOffset) + 2ull * chars > r.size))
        fail(QStringLiteral("text outside its record"), r.offset);
    r.text = f.utf16(stringOffset, chars);
    if (dxOffset != 0 && chars > 0) {
        const quint64 values = (r.options & ETO_PDY) ? 2ull * chars : chars;
        if (dxOffset < fixed || quint64(dxOffset) + 4ull * values > r.size)
            fail(QStringLiteral("character advances outside their record"), r.offset);
        const int step = (r.options & ETO_PDY) ? 8 : 4;
        r.dx.resize(chars);
        for (quint32 i = 0; i < chars; ++i)
            r.dx[i] = f.i32(int(dxOffset + i * step));
    }
}

} // namespace

qint64 EmfMetafile::declaredSize(const char* prefix, qint64 length)
{
    if (length < kSizePrefix)
        fail(QStringLiteral("header of %1 bytes").arg(length));
    const auto* p = reinterpret_cast<const uchar*>(prefix);
    if (qFromLittleEndian<quint32>(p) != EMR_HEADER || qFromLittleEndian<quint32>(p + 40) != kSignature)
        fail(QStringLiteral("no metafile header"));
    const qint64 total = qFromLittleEndian<quint32>(p + 48);
    if (total < kHeaderBaseSize + 20 || total > kMaxBytes)
        fail(QStringLiteral("declared size of %1 bytes").arg(total));
    return total;
}

EmfMetafile EmfMetafile::fromBytes(const QByteArray& bytes)
{
    const qint64 total = bytes.size();
    if (total < kHeaderBaseSize + 20)
        fail(QStringLiteral("only %1 bytes").arg(total));
    if (total > kMaxBytes)
        fail(QStringLiteral("%1 bytes exceed the limit").arg(total));
    if (total % 4 != 0)
        fail(QStringLiteral("size %1 is not a multiple of 4").arg(total));
    if (declaredSize(bytes.constData(), total) != total)
        fail(QStringLiteral("declared size differs from the %1 bytes present").arg(total));

    const Fields h(bytes, 0);
    const quint32 headerSize = h.u32(4);
    if (headerSize < kHeaderBaseSize || headerSize % 4 != 0 || headerSize > total - 20)
        fail(QStringLiteral("header record of %1 bytes").arg(headerSize));
    EmfMetafile m;
    m.bounds_ = h.rect(8);
    m.frame_ = h.rect(24);
    if (m.frame_.right() <= m.frame_.left() || m.frame_.bottom() <= m.frame_.top())
        fail(QStringLiteral("empty page frame"));
    const quint32 recordCount = h.u32(52);
    m.handles_ = std::max<int>(1, h.u16(56));
    const quint32 descriptionChars = h.u32(60);
    const quint32 descriptionOffset = h.u32(64);
    if (descriptionChars > 0
        && (descriptionOffset < quint32(kHeaderBaseSize)
            || quint64(descriptionOffset) + 2ull * descriptionChars > headerSize))
        fail(QStringLiteral("description outside the header"));
    m.device_ = QSize(h.i32(72), h.i32(76));
    m.deviceMm_ = QSizeF(h.i32(80), h.i32(84));
    if (headerSize >= 100) {
        const quint32 formatSize = h.u32(88);
        const quint32 formatOffset = h.u32(92);
        if (formatSize > 0
            && (formatOffset < quint32(kHeaderBaseSize) || quint64(formatOffset) + formatSize > headerSize))
            fail(QStringLiteral("pixel format outside the header"));
    }
    if (headerSize >= 108 && h.i32(100) > 0 && h.i32(104) > 0)
        m.deviceMm_ = QSizeF(h.i32(100) / 1000.0, h.i32(104) / 1000.0);
    if (m.device_.width() <= 0 || m.device_.height() <= 0 || m.deviceMm_.width() <= 0
        || m.deviceMm_.height() <= 0)
        fail(QStringLiteral("reference device without a size"));
    // The player scales by the frame measured in the reference device's pixels: a header whose
    // sizes disagree with its frame would ask for absurd scales (and glyph sizes) when played.
    const double pixelsPerMmX = m.device_.width() / m.deviceMm_.width();
    const double pixelsPerMmY = m.device_.height() / m.deviceMm_.height();
    if (pixelsPerMmX < kMinPixelsPerMm || pixelsPerMmX > kMaxPixelsPerMm || pixelsPerMmY < kMinPixelsPerMm
        || pixelsPerMmY > kMaxPixelsPerMm
        || std::max(pixelsPerMmX, pixelsPerMmY) > kMaxAspect * std::min(pixelsPerMmX, pixelsPerMmY))
        fail(QStringLiteral("reference device of %1 x %2 pixels on %3 x %4 mm")
                 .arg(m.device_.width()).arg(m.device_.height()).arg(m.deviceMm_.width()).arg(m.deviceMm_.height()));
    const QSizeF logical = m.sizeLogical();
    if (!(logical.width() >= 1 && logical.height() >= 1)
        || logical.width() > m.device_.width() * 1.01 + 1 || logical.height() > m.device_.height() * 1.01 + 1)
        fail(QStringLiteral("page frame of %1 x %2 mm does not lie on its reference device")
                 .arg(m.sizeMm().width()).arg(m.sizeMm().height()));
    if (recordCount < 2 || recordCount > quint64(total) / 8)
        fail(QStringLiteral("record count %1").arg(recordCount));

    m.records_.reserve(recordCount);
    qint64 offset = headerSize;
    bool ended = false;
    while (offset < total) {
        if (ended)
            fail(QStringLiteral("data after the end record"), offset);
        if (total - offset < 8)
            fail(QStringLiteral("truncated record"), offset);
        const Fields f(bytes, offset);
        EmfRecord r;
        r.type = f.u32(0);
        r.size = f.u32(4);
        r.offset = offset;
        if (r.size < 8 || r.size % 4 != 0 || r.size > quint64(total - offset))
            fail(QStringLiteral("record size %1").arg(r.size), offset);
        if (r.size < minimumSize(r.type))
            fail(QStringLiteral("record of type %1 with %2 bytes").arg(r.type).arg(r.size), offset);
        if (m.records_.size() + 1 >= recordCount)
            fail(QStringLiteral("more records than the %1 declared").arg(recordCount), offset);
        switch (r.type) {
        case EMR_HEADER:
            fail(QStringLiteral("second header record"), offset);
        case EMR_EOF: {
            const quint32 entries = f.u32(8);
            const quint32 entriesOffset = f.u32(12);
            if (entries > 0 && (entriesOffset < 16 || quint64(entriesOffset) + 4ull * entries > r.size - 4))
                fail(QStringLiteral("palette outside the end record"), offset);
            ended = true;
            break;
        }
        case EMR_SETBKMODE:
        case EMR_SETTEXTALIGN:
        case EMR_SETTEXTCOLOR:
            r.value = f.u32(8);
            break;
        case EMR_SELECTOBJECT:
        case EMR_DELETEOBJECT:
            r.value = checkedHandle(f, m.handles_, r.type == EMR_SELECTOBJECT, offset);
            break;
        case EMR_MOVETOEX:
        case EMR_LINETO:
            r.point = f.point(8);
            break;
        case EMR_CREATEPEN:
            r.value = checkedHandle(f, m.handles_, false, offset);
            r.style = f.u32(12);
            r.penWidth = f.i32(16);
            r.color = f.u32(24);
            break;
        case EMR_CREATEBRUSHINDIRECT:
            r.value = checkedHandle(f, m.handles_, false, offset);
            r.style = f.u32(12);
            r.color = f.u32(16);
            r.hatch = f.u32(20);
            break;
        case EMR_RECTANGLE:
        case EMR_ELLIPSE:
            r.box = f.rect(8);
            break;
        case EMR_ROUNDRECT:
            r.box = f.rect(8);
            r.corner = QSize(f.i32(24), f.i32(28));
            break;
        case EMR_EXTCREATEFONTINDIRECTW:
            r.value = checkedHandle(f, m.handles_, false, offset);
            r.font = readLogFont(f, 12);
            break;
        case EMR_EXTTEXTOUTW:
            decodeText(f, r);
            break;
        default:
            break; // other records are kept by type and size; the player passes over them
        }
        m.records_.push_back(std::move(r));
        offset += m.records_.back().size;
    }
    if (!ended)
        fail(QStringLiteral("no end record"));
    if (m.records_.size() + 1 != recordCount)
        fail(QStringLiteral("%1 records present, %2 declared").arg(m.records_.size() + 1).arg(recordCount));
    m.bytes_ = bytes;
    return m;
}

QSizeF EmfMetafile::sizeMm() const
{
    // The frame is inclusive: a page of 210 mm runs from 0 to 20999. In 64 bits, as a damaged
    // frame may span the whole 32-bit range.
    return {(qint64(frame_.right()) - frame_.left() + 1) / 100.0, (qint64(frame_.bottom()) - frame_.top() + 1) / 100.0};
}

QSizeF EmfMetafile::sizeLogical() const
{
    const QSizeF mm = sizeMm();
    return {mm.width() * device_.width() / deviceMm_.width(),
            mm.height() * device_.height() / deviceMm_.height()};
}

} // namespace lb::gfx
