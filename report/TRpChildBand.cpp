// Child band: the chain to its parent, kept free of cycles.
#include "report/TRpChildBand.h"

#include "report/TCustomRpReport.h"

namespace lb::report {

bool TRpChildBand::SetParentBand(TRpCustomBand* band)
{
    for (TRpCustomBand* up = band; up; ) {
        if (up == this)
            return false;
        auto* child = dynamic_cast<TRpChildBand*>(up);
        up = child ? child->ParentBand() : nullptr;
    }
    parentBand_ = band;
    Report().SortBands();
    return true;
}

} // namespace lb::report
