// Page canvas: keeps the metafile's selected objects in step with what is drawn.
#include "report/TRpCanvas.h"

#include "platform/gfx/EmfFormat.h"

#include <utility>

namespace lb::report {

using namespace gfx::emf;

namespace {

quint32 penStyle(int style)
{
    switch (style) {
    case TRpFrame::psDash: return PS_DASH;
    case TRpFrame::psDot: return PS_DOT;
    case TRpFrame::psDashDot: return PS_DASHDOT;
    case TRpFrame::psDashDotDot: return PS_DASHDOTDOT;
    case TRpFrame::psClear: return PS_NULL;
    default: return PS_SOLID;
    }
}

} // namespace

TRpCanvas::TRpCanvas(int width, int height, QByteArray buffer)
    : writer_(width, height, std::move(buffer)), emf_(font_.Emf()), lineHeight_(emf_.textHeight())
{
    writer_.setBkMode(TRANSPARENT);
    writer_.setTextAlign(TA_LEFT | TA_TOP);
}

void TRpCanvas::SetFont(const TRpFont& font)
{
    if (font == font_)
        return;
    font_ = font;
    emf_ = font.Emf();
    lineHeight_ = emf_.textHeight();
    fontWritten_ = false;
}

void TRpCanvas::Replace(quint32& selected, quint32 created)
{
    writer_.selectObject(created);
    if (selected != 0)
        writer_.deleteObject(selected);
    selected = created;
}

void TRpCanvas::SelectPenAndBrush()
{
    if (!penSelected_ || !(selectedPen_ == pen_)) {
        Replace(penHandle_, writer_.createPen(penStyle(pen_.Style), pen_.Width, pen_.Color));
        selectedPen_ = pen_;
        penSelected_ = true;
    }
    if (!brushSelected_ || !(selectedBrush_ == brush_)) {
        if (brush_.Style == TRpBrush::bsClear) {
            writer_.selectObject(kStockObject | NULL_BRUSH);
            if (brushHandle_ != 0)
                writer_.deleteObject(brushHandle_);
            brushHandle_ = 0;
        } else if (brush_.Style == TRpBrush::bsSolid) {
            Replace(brushHandle_, writer_.createBrush(BS_SOLID, brush_.Color));
        } else {
            Replace(brushHandle_, writer_.createBrush(BS_HATCHED, brush_.Color, quint32(brush_.Style - TRpBrush::bsHorizontal)));
        }
        selectedBrush_ = brush_;
        brushSelected_ = true;
    }
}

void TRpCanvas::FillRect(const QRect& area, const QColor& color)
{
    // A rectangle without outline fills exactly its area; the pen and brush are put back
    // the next time a shape needs them.
    const TRpPen pen = pen_;
    const TRpBrush brush = brush_;
    pen_ = TRpPen{TRpFrame::psClear, 0, Qt::black};
    brush_ = TRpBrush{TRpBrush::bsSolid, color};
    SelectPenAndBrush();
    writer_.rectangle(area);
    pen_ = pen;
    brush_ = brush;
}

void TRpCanvas::Rectangle(const QRect& box)
{
    SelectPenAndBrush();
    writer_.rectangle(box);
}

void TRpCanvas::Ellipse(const QRect& box)
{
    SelectPenAndBrush();
    writer_.ellipse(box);
}

void TRpCanvas::RoundRect(const QRect& box, const QSize& corner)
{
    SelectPenAndBrush();
    writer_.roundRect(box, corner);
}

void TRpCanvas::Line(const QPoint& from, const QPoint& to)
{
    SelectPenAndBrush();
    writer_.moveTo(from);
    writer_.lineTo(to);
}

void TRpCanvas::TextOut(int x, int y, const QRect& clip, const QString& text, quint32 align)
{
    if (text.isEmpty())
        return;
    if (!fontWritten_) {
        if (!fontSelected_ || !(selectedFont_ == font_)) {
            Replace(fontHandle_, writer_.createFont(emf_));
            selectedFont_ = font_;
            fontSelected_ = true;
        }
        if (textColor_ != font_.Color) {
            writer_.setTextColor(font_.Color);
            textColor_ = font_.Color;
        }
        fontWritten_ = true;
    }
    if (align_ != align) {
        writer_.setTextAlign(align);
        align_ = align;
    }
    writer_.extTextOut(QPoint(x, y), ETO_CLIPPED, clip, text);
}

QByteArray TRpCanvas::Finish()
{
    return writer_.finish();
}

} // namespace lb::report
