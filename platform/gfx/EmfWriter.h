// Records a page as an enhanced metafile: the drawing calls the report engine makes.
#pragma once

#include "platform/gfx/EmfFont.h"

#include <QByteArray>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace lb::gfx {

// Each call appends one record. Coordinates are logical units, which are pixels of a reference
// device of 96 pixels per inch. Object handles follow the metafile's handle table: a created
// object takes the lowest free slot from 1 up; deleting frees the slot; stock objects are
// emf::kStockObject | index. The selected font is remembered so that text gets its advances.
class EmfWriter {
public:
    // A page of `width` x `height` pixels at 96 pixels per inch, written into the memory of
    // `buffer` (its contents are dropped), so that a device writing page after page can hand
    // each finished page's bytes back for the next and allocate once.
    EmfWriter(int width, int height, QByteArray buffer = {});

    void setTextColor(const QColor& color);
    void setTextAlign(quint32 flags);      // emf::TA_ flags
    void setBkMode(quint32 mode);          // emf::TRANSPARENT or emf::OPAQUE

    // Create an object and return its handle; the object is not selected yet.
    quint32 createFont(const EmfFont& font);
    quint32 createPen(quint32 style, qint32 width, const QColor& color);
    quint32 createBrush(quint32 style, const QColor& color, quint32 hatch = 0);
    void selectObject(quint32 handle);
    void deleteObject(quint32 handle);

    // Boxes as GDI takes them: right and bottom are the first pixel outside.
    void rectangle(const QRect& box);
    void ellipse(const QRect& box);
    void roundRect(const QRect& box, const QSize& corner);
    void moveTo(const QPoint& point);
    void lineTo(const QPoint& point);

    // Writes `text` at `reference` with the current text alignment. `options` takes
    // emf::ETO_CLIPPED (clip to `rect`) and emf::ETO_OPAQUE. With `dx` empty the advances come
    // from the selected font; otherwise `dx` holds one advance per UTF-16 unit.
    void extTextOut(const QPoint& reference, quint32 options, const QRect& rect, const QString& text,
                    std::vector<qint32> dx = {});

    // Appends the end record, completes the header and hands over the page's bytes as they
    // were written, without reading them again (EmfMetafile::fromBytes decodes them). The
    // writer is empty afterwards and cannot be used again.
    QByteArray finish();

    // The union of what was drawn so far in logical units, inclusive as the header keeps it;
    // empty while nothing is drawn.
    QRect bounds() const { return bounds_; }

    // The font a page starts with and the stock SYSTEM_FONT: bold "System" of 16 pixels.
    static EmfFont systemFont();

private:
    void beginRecord(quint32 type);
    void endRecord();
    // Room for `count` more bytes at the end of what is written; returns where they go.
    char* extend(qsizetype count)
    {
        if (used_ + count > bytes_.size())
            grow(count);
        char* at = data_ + used_;
        used_ += count;
        return at;
    }
    void grow(qsizetype count);
    void putU32(quint32 value);
    void putI32(qint32 value) { putU32(quint32(value)); }
    void putU16(quint16 value);
    void putZeros(qsizetype count);
    void putRect(const QRect& rect);
    void putPoint(const QPoint& point);
    void include(const QRect& drawn);
    quint32 takeHandle();
    static quint32 colorRef(const QColor& color);

    // Grown ahead in doubling steps; only the first used_ bytes are the page. data_ is the
    // buffer's memory, which this writer alone holds.
    QByteArray bytes_;
    char* data_ = nullptr;
    qsizetype used_ = 0;
    qsizetype recordStart_ = 0;
    quint32 records_ = 0;
    int width_;
    int height_;
    QRect bounds_;               // union of what was drawn, for the header
    std::vector<bool> handlesUsed_; // handle slots in use; slot 0 is reserved
    std::vector<std::optional<EmfFont>> fonts_; // the font in each handle slot, if it holds one
    EmfFont selectedFont_;
    quint32 align_ = 0;
    QPoint current_;
};

} // namespace lb::gfx
