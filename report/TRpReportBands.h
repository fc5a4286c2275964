// The report's six band flags: whether it has a title, page header, column header, detail,
// page footer and summary band.
#pragma once

#include "report/TRpBandType.h"

namespace lb::report {

class TCustomRpReport;

class TRpReportBands {
public:
    explicit TRpReportBands(TCustomRpReport& report) : report_(report) {}

    bool HasTitle() const { return Has(rbTitle); }
    bool HasPageHeader() const { return Has(rbPageHeader); }
    bool HasColumnHeader() const { return Has(rbColumnHeader); }
    bool HasDetail() const { return Has(rbDetail); }
    bool HasPageFooter() const { return Has(rbPageFooter); }
    bool HasSummary() const { return Has(rbSummary); }
    // True creates a band of the kind when there is none; false removes the first one.
    void SetHasTitle(bool has) { Set(rbTitle, has); }
    void SetHasPageHeader(bool has) { Set(rbPageHeader, has); }
    void SetHasColumnHeader(bool has) { Set(rbColumnHeader, has); }
    void SetHasDetail(bool has) { Set(rbDetail, has); }
    void SetHasPageFooter(bool has) { Set(rbPageFooter, has); }
    void SetHasSummary(bool has) { Set(rbSummary, has); }

private:
    bool Has(TRpBandType type) const;
    void Set(TRpBandType type, bool has);

    TCustomRpReport& report_;
};

} // namespace lb::report
