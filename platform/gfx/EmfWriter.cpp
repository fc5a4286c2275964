// Enhanced metafile writer: lays out each record field by field in little-endian order.
#include "platform/gfx/EmfWriter.h"

#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/EmfMetafile.h"
#include "platform/sys/Errors.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace lb::gfx {

using namespace emf;

namespace {

// What a page's bytes start with before they first grow: several hundred text records, in a
// block the heap keeps (the process takes blocks of 128 KB and more from the system each time).
constexpr qsizetype kFirstBytes = 64 * 1024 - 64;

} // namespace

EmfWriter::EmfWriter(int width, int height, QByteArray buffer)
    : bytes_(std::move(buffer)), width_(std::max(1, width)), height_(std::max(1, height))
{
    // The buffer's whole allocation is used; whatever it held is written over or cut off.
    if (bytes_.capacity() < kFirstBytes)
        bytes_.reserve(kFirstBytes);
    bytes_.resize(bytes_.capacity());
    data_ = bytes_.data();
    handlesUsed_.assign(1, true);
    fonts_.resize(1);
    selectedFont_ = systemFont();
    // The header is laid out now and completed by finish().
    beginRecord(EMR_HEADER);
    putZeros(kHeaderSize - 8);
    endRecord();
}

void EmfWriter::grow(qsizetype count)
{
    // Reserved to the byte: resizing past the capacity would round the block up to the next
    // power of two.
    bytes_.reserve(std::max(used_ + count, 2 * bytes_.size()));
    bytes_.resize(bytes_.capacity());
    data_ = bytes_.data();
}

void EmfWriter::beginRecord(quint32 type)
{
    recordStart_ = used_;
    putU32(type);
    putU32(0);
}

void EmfWriter::endRecord()
{
    putZeros((4 - used_ % 4) % 4);
    qToLittleEndian<quint32>(quint32(used_ - recordStart_), data_ + recordStart_ + 4);
    ++records_;
}

void EmfWriter::putU32(quint32 value)
{
    qToLittleEndian<quint32>(value, extend(4));
}

void EmfWriter::putU16(quint16 value)
{
    qToLittleEndian<quint16>(value, extend(2));
}

void EmfWriter::putZeros(qsizetype count)
{
    if (count > 0)
        std::memset(extend(count), 0, size_t(count));
}

void EmfWriter::putRect(const QRect& rect)
{
    putI32(rect.left());
    putI32(rect.top());
    putI32(rect.right());
    putI32(rect.bottom());
}

void EmfWriter::putPoint(const QPoint& point)
{
    putI32(point.x());
    putI32(point.y());
}

EmfFont EmfWriter::systemFont()
{
    EmfFont font;
    font.faceName = QStringLiteral("System");
    font.height = -16;
    font.weight = FW_BOLD;
    return font;
}

quint32 EmfWriter::colorRef(const QColor& color)
{
    const QRgb rgb = color.rgb();
    return quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16;
}

void EmfWriter::include(const QRect& drawn)
{
    const QRect normal = drawn.normalized();
    bounds_ = bounds_.isNull() ? normal : bounds_.united(normal);
}

quint32 EmfWriter::takeHandle()
{
    for (size_t i = 1; i < handlesUsed_.size(); ++i) {
        if (!handlesUsed_[i]) {
            handlesUsed_[i] = true;
            fonts_[i].reset();
            return quint32(i);
        }
    }
    if (handlesUsed_.size() >= 0xFFFF)
        throw Error(QStringLiteral("Too many objects on one metafile page"));
    handlesUsed_.push_back(true);
    fonts_.resize(handlesUsed_.size());
    return quint32(handlesUsed_.size() - 1);
}

void EmfWriter::setTextColor(const QColor& color)
{
    beginRecord(EMR_SETTEXTCOLOR);
    putU32(colorRef(color));
    endRecord();
}

void EmfWriter::setTextAlign(quint32 flags)
{
    align_ = flags;
    beginRecord(EMR_SETTEXTALIGN);
    putU32(flags);
    endRecord();
}

void EmfWriter::setBkMode(quint32 mode)
{
    beginRecord(EMR_SETBKMODE);
    putU32(mode);
    endRecord();
}

quint32 EmfWriter::createFont(const EmfFont& font)
{
    const quint32 handle = takeHandle();
    fonts_[handle] = font;
    beginRecord(EMR_EXTCREATEFONTINDIRECTW);
    putU32(handle);
    putI32(font.height);
    putI32(font.width);
    putI32(font.escapement);
    putI32(font.orientation);
    putI32(font.weight);
    const char flags[8] = {char(font.italic), char(font.underline), char(font.strikeOut),
                           char(font.charSet), char(font.outPrecision), char(font.clipPrecision),
                           char(font.quality), char(font.pitchAndFamily)};
    std::memcpy(extend(8), flags, 8);
    const QString face = font.faceName.left(kFaceNameChars - 1);
    for (int i = 0; i < kFaceNameChars; ++i)
        putU16(i < face.size() ? face[i].unicode() : 0);
    endRecord();
    return handle;
}

quint32 EmfWriter::createPen(quint32 style, qint32 width, const QColor& color)
{
    const quint32 handle = takeHandle();
    beginRecord(EMR_CREATEPEN);
    putU32(handle);
    putU32(style);
    putI32(width);
    putI32(0); // the y part of the width is not used
    putU32(colorRef(color));
    endRecord();
    return handle;
}

quint32 EmfWriter::createBrush(quint32 style, const QColor& color, quint32 hatch)
{
    const quint32 handle = takeHandle();
    beginRecord(EMR_CREATEBRUSHINDIRECT);
    putU32(handle);
    putU32(style);
    putU32(colorRef(color));
    putU32(hatch);
    endRecord();
    return handle;
}

void EmfWriter::selectObject(quint32 handle)
{
    if (handle & kStockObject) {
        if (handle == (kStockObject | SYSTEM_FONT) || handle == (kStockObject | DEFAULT_GUI_FONT))
            selectedFont_ = systemFont();
    } else {
        if (handle == 0 || handle >= handlesUsed_.size() || !handlesUsed_[handle])
            throw Error(QStringLiteral("Metafile object %1 does not exist").arg(handle));
        if (fonts_[handle])
            selectedFont_ = *fonts_[handle];
    }
    beginRecord(EMR_SELECTOBJECT);
    putU32(handle);
    endRecord();
}

void EmfWriter::deleteObject(quint32 handle)
{
    if (handle == 0 || handle >= handlesUsed_.size() || !handlesUsed_[handle])
        throw Error(QStringLiteral("Metafile object %1 does not exist").arg(handle));
    handlesUsed_[handle] = false;
    fonts_[handle].reset();
    beginRecord(EMR_DELETEOBJECT);
    putU32(handle);
    endRecord();
}

void EmfWriter::rectangle(const QRect& box)
{
    beginRecord(EMR_RECTANGLE);
    putRect(box);
    endRecord();
    include(box);
}

void EmfWriter::ellipse(const QRect& box)
{
    beginRecord(EMR_ELLIPSE);
    putRect(box);
    endRecord();
    include(box);
}

void EmfWriter::roundRect(const QRect& box, const QSize& corner)
{
    beginRecord(EMR_ROUNDRECT);
    putRect(box);
    putI32(corner.width());
    putI32(corner.height());
    endRecord();
    include(box);
}

void EmfWriter::moveTo(const QPoint& point)
{
    beginRecord(EMR_MOVETOEX);
    putPoint(point);
    endRecord();
    current_ = point;
}

void EmfWriter::lineTo(const QPoint& point)
{
    beginRecord(EMR_LINETO);
    putPoint(point);
    endRecord();
    include(QRect(current_, point));
    current_ = point;
}

void EmfWriter::extTextOut(const QPoint& reference, quint32 options, const QRect& rect,
                           const QString& text, std::vector<qint32> dx)
{
    if (dx.empty())
        dx = selectedFont_.advances(text);
    if (dx.size() != size_t(text.size()))
        throw Error(QStringLiteral("Text of %1 characters with %2 advances").arg(text.size()).arg(dx.size()));
    options &= ~quint32(ETO_NO_RECT | ETO_PDY);

    qint64 width = 0;
    for (qint32 advance : dx)
        width += advance;
    const int height = selectedFont_.textHeight();
    int left = reference.x();
    if ((align_ & kHorizontalAlignMask) == TA_CENTER)
        left -= int(width / 2);
    else if ((align_ & kHorizontalAlignMask) == TA_RIGHT)
        left -= int(width);
    int top = reference.y();
    if ((align_ & kVerticalAlignMask) == TA_BASELINE)
        top -= int(std::lround(selectedFont_.ascent()));
    else if ((align_ & kVerticalAlignMask) == TA_BOTTOM)
        top -= height;
    QRect drawn(left, top, int(width), height);
    if (options & ETO_CLIPPED)
        drawn = drawn.intersected(rect);
    if (options & ETO_OPAQUE)
        drawn = drawn.united(rect);

    const quint32 stringOffset = kTextRecordFixedSize;
    const quint32 stringBytes = quint32(text.size()) * 2;
    const quint32 dxOffset = stringOffset + ((stringBytes + 3) & ~3u);
    beginRecord(EMR_EXTTEXTOUTW);
    putRect(drawn.isEmpty() ? QRect(QPoint(0, 0), QPoint(-1, -1)) : drawn);
    putU32(1); // GM_COMPATIBLE
    // Scale from logical units to hundredths of a millimetre, as single-precision floats.
    const float scale = 2540.0f / EmfFont::kPixelsPerInch;
    quint32 scaleBits;
    std::memcpy(&scaleBits, &scale, sizeof scaleBits);
    putU32(scaleBits);
    putU32(scaleBits);
    putPoint(reference);
    putU32(quint32(text.size()));
    putU32(stringOffset);
    putU32(options);
    putRect(rect);
    putU32(text.isEmpty() ? 0 : dxOffset);
    for (QChar c : text)
        putU16(c.unicode());
    putZeros(recordStart_ + dxOffset - used_);
    for (qint32 advance : dx)
        putI32(advance);
    endRecord();
    if (!drawn.isEmpty())
        include(drawn);
}

QByteArray EmfWriter::finish()
{
    beginRecord(EMR_EOF);
    putU32(0);  // no palette entries
    putU32(16); // where they would start
    putU32(20); // size of this record, repeated at its end
    endRecord();
    // The reader refuses larger pages; better refused here than stored and unreadable.
    if (used_ > EmfMetafile::kMaxBytes)
        throw Error(QStringLiteral("A metafile page of %1 bytes exceeds the limit").arg(used_));

    // Frame in hundredths of a millimetre, inclusive like the bounds.
    const auto hundredths = [](int pixels) { return int(std::lround(pixels * 2540.0 / EmfFont::kPixelsPerInch)); };
    const QRect bounds = bounds_.isNull() ? QRect(QPoint(0, 0), QPoint(-1, -1)) : bounds_;
    const QRect frame(QPoint(0, 0), QPoint(hundredths(width_) - 1, hundredths(height_) - 1));
    char* header = data_;
    const auto put = [&header](qint32 value) {
        qToLittleEndian<qint32>(value, header);
        header += 4;
    };
    put(EMR_HEADER);
    put(kHeaderSize);
    for (const QRect& r : {bounds, frame}) {
        put(r.left());
        put(r.top());
        put(r.right());
        put(r.bottom());
    }
    put(qint32(kSignature));
    put(qint32(kVersion));
    put(qint32(used_));
    put(qint32(records_));
    put(qint32(handlesUsed_.size())); // handle count in the low word; the reserved high word stays 0
    put(0);                    // no description
    put(0);
    put(0);                    // no palette
    put(width_);               // the reference device is the page at 96 pixels per inch
    put(height_);
    put(int(std::lround(width_ * 25.4 / EmfFont::kPixelsPerInch)));
    put(int(std::lround(height_ * 25.4 / EmfFont::kPixelsPerInch)));
    put(0);                    // no pixel format
    put(0);
    put(0);                    // not OpenGL
    put(int(std::lround(width_ * 25400.0 / EmfFont::kPixelsPerInch)));
    put(int(std::lround(height_ * 25400.0 / EmfFont::kPixelsPerInch)));
    bytes_.resize(used_);
    used_ = 0;
    data_ = nullptr;
    return std::exchange(bytes_, QByteArray());
}

} // namespace lb::gfx
