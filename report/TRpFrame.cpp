// Frame line thickness and the areas a frame fills.
#include "report/TRpFrame.h"

#include "report/RpRound.h"

#include <algorithm>

namespace lb::report {

int TRpFrame::Thickness(double factor) const
{
    if (Width == -1)
        return 1;
    int thickness = int(Round(factor / 72 * 254 * Width));
    if (thickness < 1 && Width >= 1)
        thickness = 1;
    // Other negative widths (a damaged layout) draw nothing rather than reach outside the area.
    return std::max(thickness, 0);
}

std::vector<QRect> TRpFrame::LineRects(const QRect& rect, double factorX, double factorY) const
{
    // Asked after every band printed, most of which have no frame.
    if (!HasLines())
        return {};
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.right();
    const int bottom = rect.bottom();
    const int h = HorizontalThickness(factorY);
    const int v = VerticalThickness(factorX);
    const auto corners = [](int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r, b)); };
    std::vector<QRect> rects;
    if (DrawTop)
        rects.push_back(corners(left, top, right, top + h));
    if (DrawBottom)
        rects.push_back(corners(left, bottom - h, right, bottom));
    if (DrawLeft)
        rects.push_back(corners(left, top, left + v, bottom));
    if (DrawRight)
        rects.push_back(corners(right - v, top, right, bottom));
    return rects;
}

} // namespace lb::report
