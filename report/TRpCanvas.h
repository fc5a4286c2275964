// The canvas of one page being generated: drawing calls recorded as an enhanced metafile.
#pragma once

#include "platform/gfx/EmfWriter.h"
#include "report/TRpBrush.h"
#include "report/TRpFont.h"
#include "report/TRpPen.h"

#include <QByteArray>
#include <QRect>
#include <QString>

namespace lb::report {

// Coordinates are device pixels of the page (96 per inch). Rectangles are given by their
// corners as GDI takes them: QRect(QPoint(left, top), QPoint(right, bottom)) with right and
// bottom the first pixel outside. Pens, brushes and fonts are created when they change and
// deleted when replaced, so a page holds only the objects in use.
class TRpCanvas {
public:
    // A page of `width` x `height` pixels recorded into the memory of `buffer` (see EmfWriter).
    TRpCanvas(int width, int height, QByteArray buffer = {});

    const TRpFont& Font() const { return font_; }
    void SetFont(const TRpFont& font);
    // The current font as the page records it, which measures the texts written in it.
    const gfx::EmfFont& Emf() const { return emf_; }
    const TRpPen& Pen() const { return pen_; }
    void SetPen(const TRpPen& pen) { pen_ = pen; }
    const TRpBrush& Brush() const { return brush_; }
    void SetBrush(const TRpBrush& brush) { brush_ = brush; }

    // Height of a line of the current font in pixels (ascent plus descent).
    int TextHeight() const { return lineHeight_; }
    int TextWidth(const QString& text) const { return emf_.textWidth(text); }

    // Fills the area with a solid colour, without outline.
    void FillRect(const QRect& area, const QColor& color);
    // Shapes outlined with the pen and filled with the brush.
    void Rectangle(const QRect& box);
    void Ellipse(const QRect& box);
    void RoundRect(const QRect& box, const QSize& corner);
    void Line(const QPoint& from, const QPoint& to);
    // Writes `text` in the current font and colour at (x, y), the top of the line, aligned by
    // `align` (emf::TA_LEFT, TA_RIGHT or TA_CENTER about x) and clipped to `clip`.
    void TextOut(int x, int y, const QRect& clip, const QString& text, quint32 align);

    // What the page has drawn so far, in its pixels (the bounds its header will keep).
    QRect Drawn() const { return writer_.bounds(); }
    // The recorded page's bytes; the canvas cannot be used afterwards.
    QByteArray Finish();

private:
    void SelectPenAndBrush();
    void Replace(quint32& selected, quint32 created);

    gfx::EmfWriter writer_;
    TRpFont font_;
    gfx::EmfFont emf_;          // font_ as the page records it
    int lineHeight_;
    TRpPen pen_;
    TRpBrush brush_;
    // What the page has selected, and the objects this canvas created for it (0 for a stock one).
    bool fontSelected_ = false;
    TRpFont selectedFont_;
    quint32 fontHandle_ = 0;
    bool penSelected_ = false;
    TRpPen selectedPen_;
    quint32 penHandle_ = 0;
    bool brushSelected_ = false;
    TRpBrush selectedBrush_;
    quint32 brushHandle_ = 0;
    QColor textColor_ = Qt::black;
    // Whether the page's selected font and text colour are font_'s: a list writes thousands of
    // texts in a font set once, and comparing fonts for each costs a share of the run.
    bool fontWritten_ = false;
    quint32 align_ = 0;
};

} // namespace lb::report
