// Band of a chosen kind.
#include "report/TRpBand.h"

#include "report/TCustomRpReport.h"

namespace lb::report {

void TRpBand::SetBandType(TRpBandType type)
{
    type_ = type;
    Report().SortBands();
}

} // namespace lb::report
