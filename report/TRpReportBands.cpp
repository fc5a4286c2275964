// Band flags over the report's band list.
#include "report/TRpReportBands.h"

#include "report/TCustomRpReport.h"

namespace lb::report {

bool TRpReportBands::Has(TRpBandType type) const
{
    return report_.FirstBand(type) != nullptr;
}

void TRpReportBands::Set(TRpBandType type, bool has)
{
    TRpCustomBand* band = report_.FirstBand(type);
    if (has && !band)
        report_.AddBand(type);
    else if (!has && band)
        report_.RemoveBand(band);
}

} // namespace lb::report
