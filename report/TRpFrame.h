// The lines drawn around a report, band or control.
#pragma once

#include <QColor>
#include <QRect>

#include <vector>

namespace lb::report {

class TRpFrame {
public:
    // Pen styles as the platform numbers them: solid, dash, dot, dash-dot, dash-dot-dot, clear.
    enum PenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

    QColor Color = Qt::black;
    bool DrawTop = false;
    bool DrawBottom = false;
    bool DrawLeft = false;
    bool DrawRight = false;
    int Style = psSolid;
    int Width = 1; // points of 1/72 inch; -1 draws one-pixel lines

    // Whether any side is drawn; a frame without sides draws nothing.
    bool HasLines() const { return DrawTop || DrawBottom || DrawLeft || DrawRight; }

    // Thickness in device pixels of the horizontal lines (from the vertical factor) and of the
    // vertical lines (from the horizontal factor); factors are device pixels per tenth of a
    // millimetre. A width of at least 1 never gives less than one pixel; 0 gives 0, and so does
    // any negative width but -1: a thickness is never negative.
    int HorizontalThickness(double factorY) const { return Thickness(factorY); }
    int VerticalThickness(double factorX) const { return Thickness(factorX); }

    // The areas to fill, in the order top, bottom, left, right, for the sides that are set,
    // around `rect` in device pixels. Rectangles are given by their corners as GDI takes them:
    // QRect(QPoint(left, top), QPoint(right, bottom)) with right and bottom outside the area.
    std::vector<QRect> LineRects(const QRect& rect, double factorX, double factorY) const;

private:
    int Thickness(double factor) const;
};

} // namespace lb::report
