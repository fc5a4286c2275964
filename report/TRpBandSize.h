// The height and width of a band.
#pragma once

#include "report/TRpUnitBase.h"

namespace lb::report {

// Stored "Values" are (Height, Width), native; a new band is 20 high and 40 wide.
class TRpBandSize : public TRpUnitBase {
public:
    explicit TRpBandSize(double pixelsPerInch = 96) : TRpUnitBase(pixelsPerInch, {20, 40}) {}

    double Height() const { return Get(0, false); }
    void SetHeight(double v) { Set(0, false, v); }
    double Width() const { return Get(1, true); }
    void SetWidth(double v) { Set(1, true, v); }
};

} // namespace lb::report
