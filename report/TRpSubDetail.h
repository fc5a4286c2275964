// A detail level under a master record: its dataset's records print once for every record
// of the master, with their own header and footer bands.
#pragma once

#include "report/TRpControllerBand.h"

namespace lb::db {
class DataSet;
}

namespace lb::report {

class TRpBand;

class TRpSubDetail : public TRpControllerBand {
public:
    explicit TRpSubDetail(TCustomRpReport& report);

    TRpBandType BandType() const override { return rbSubDetail; }

    db::DataSet* DataSet() const;
    void SetDataSet(db::DataSet* dataSet);
    bool PrintBefore() const;
    // Printed before the master's detail band instead of after it.
    void SetPrintBefore(bool before);
    bool PrintIfEmpty() const;
    void SetPrintIfEmpty(bool print);
    TRpBand* HeaderBand() const;
    TRpBand* FooterBand() const;
    // The band becomes a group header (footer) of this level.
    void SetHeaderBand(TRpBand* band);
    void SetFooterBand(TRpBand* band);
    // True creates a header (footer) band on the report; false removes it.
    void SetHasHeader(bool has);
    void SetHasFooter(bool has);
};

} // namespace lb::report
