// A band printed right after its parent band.
#pragma once

#include "report/TRpCustomBand.h"

namespace lb::report {

class TRpChildBand : public TRpCustomBand {
public:
    explicit TRpChildBand(TCustomRpReport& report) : TRpCustomBand(report) {}

    TRpBandType BandType() const override { return rbChild; }
    TRpCustomBand* ParentBand() const { return parentBand_; }
    // Refuses (false) a parent that would make a cycle through the chain of child bands.
    bool SetParentBand(TRpCustomBand* band);

private:
    TRpCustomBand* parentBand_ = nullptr;
};

} // namespace lb::report
