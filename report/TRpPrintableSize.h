// The position and size of a printable control on its band.
#pragma once

#include "report/TRpUnitBase.h"

namespace lb::report {

// Stored "Values" are (Height, Left, Top, Width), native; a new control has all four at 20.
// Left and Top are from the band's top left corner.
class TRpPrintableSize : public TRpUnitBase {
public:
    enum Index { HeightIndex, LeftIndex, TopIndex, WidthIndex };

    explicit TRpPrintableSize(double pixelsPerInch = 96) : TRpUnitBase(pixelsPerInch, {20, 20, 20, 20}) {}

    double Height() const { return Get(HeightIndex, false); }
    void SetHeight(double v) { Set(HeightIndex, false, v); }
    double Left() const { return Get(LeftIndex, true); }
    void SetLeft(double v) { Set(LeftIndex, true, v); }
    double Top() const { return Get(TopIndex, false); }
    void SetTop(double v) { Set(TopIndex, false, v); }
    double Width() const { return Get(WidthIndex, true); }
    void SetWidth(double v) { Set(WidthIndex, true, v); }
    // All four at once, in Units: left, top, width, height.
    void SetBounds(double left, double top, double width, double height)
    {
        SetLeft(left);
        SetTop(top);
        SetWidth(width);
        SetHeight(height);
    }
};

} // namespace lb::report
