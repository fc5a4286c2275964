// Enhanced metafile writer: lays out each record field by field in little-endian order.
#include "platform/gfx/EmfWriter.h"

#include "platform/gfx/EmfFormat.h"
#include "platform/sys/Errors.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lb::gfx {

using namespace emf;

EmfWriter::EmfWriter(int width, int height) : width_(std::max(1, width)), height_(std::max(1, height))
{
    used_.assign(1, true);
    fonts_.resize(1);
    selectedFont_ = systemFont();
    // The header is laid out now and completed by finish().
    beginRecord(EMR_HEADER);
    bytes_.append(kHeaderSize - 8, '\0');
    endRecord();
}

void EmfWriter::beginRecord(quint32 type)
{
    recordStart_ = bytes_.size();
    putU32(type);
    putU32(0);
}

void EmfWriter::endRecord()
{
    while (bytes_.size() % 4 != 0)
        bytes_.append('\0');
    qToLittleEndian<quint32>(quint32(bytes_.size() - recordStart_), bytes_.data() + recordStart_ + 4);
    ++records_;
}

void EmfWriter::putU32(quint32 value)
{
    char raw[4];
    qToLittleEndian<quint32>(value, raw);
    bytes_.append(raw, 4);
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
    for (size_t i = 1; i < used_.size(); ++i) {
        if (!used_[i]) {
            used_[i] = true;
            fonts_[i].reset();
            return quint32(i);
        }
    }
    if (used_.size() >= 0xFFFF)
        throw Error(QStringLiteral("Too many objects on one metafile page"));
    used_.push_back(true);
    fonts_.resize(used_.size());
    return quint32(used_.size() - 1);
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
    bytes_.append(flags, 8);
    const QString face = font.faceName.left(kFaceNameChars - 1);
    for (int i = 0; i < kFaceNameChars; ++i) {
        char raw[2];
        qToLittleEndian<quint16>(i < face.size() ? face[i].unicode() : 0, raw);
        bytes_.append(raw, 2);
    }
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
        if (handle == 0 || handle >= used_.size() || !used_[handle])
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
    if (handle == 0 || handle >= used_.size() || !used_[handle])
        throw Error(QStringLiteral("Metafile object %1 does not exist").arg(handle));
    used_[handle] = false;
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
    for (QChar c : text) {
        char raw[2];
        qToLittleEndian<quint16>(c.unicode(), raw);
        bytes_.append(raw, 2);
    }
    while (bytes_.size() - recordStart_ < dxOffset)
        bytes_.append('\0');
    for (qint32 advance : dx)
        putI32(advance);
    endRecord();
    if (!drawn.isEmpty())
        include(drawn);
}

EmfMetafile EmfWriter::finish()
{
    beginRecord(EMR_EOF);
    putU32(0);  // no palette entries
    putU32(16); // where they would start
    putU32(20); // size of this record, repeated at its end
    endRecord();

    // Frame in hundredths of a millimetre, inclusive like the bounds.
    const auto hundredths = [](int pixels) { return int(std::lround(pixels * 2540.0 / EmfFont::kPixelsPerInch)); };
    const QRect bounds = bounds_.isNull() ? QRect(QPoint(0, 0), QPoint(-1, -1)) : bounds_;
    const QRect frame(QPoint(0, 0), QPoint(hundredths(width_) - 1, hundredths(height_) - 1));
    QByteArray header;
    const auto put = [&header](qint32 value) {
        char raw[4];
        qToLittleEndian<qint32>(value, raw);
        header.append(raw, 4);
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
    put(qint32(bytes_.size()));
    put(qint32(records_));
    put(qint32(used_.size())); // handle count in the low word; the reserved high word stays 0
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
    bytes_.replace(0, kHeaderSize, header);
    QByteArray bytes;
    bytes.swap(bytes_);
    return EmfMetafile::fromBytes(bytes);
}

} // namespace lb::gfx
