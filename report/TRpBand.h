// A band of a chosen kind: title, page header, detail, page footer, summary, column header...
#pragma once

#include "report/TRpCustomBand.h"

namespace lb::report {

class TRpBand : public TRpCustomBand {
public:
    TRpBand(TCustomRpReport& report, TRpBandType type) : TRpCustomBand(report), type_(type) {}

    TRpBandType BandType() const override { return type_; }
    // Re-sorts the report's bands.
    void SetBandType(TRpBandType type);

private:
    TRpBandType type_;
};

} // namespace lb::report
