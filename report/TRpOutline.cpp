// Look-up of outline entries.
#include "report/TRpOutline.h"

namespace lb::report {

TRpOutline::Entry TRpOutline::Find(const QString& id) const
{
    for (const Entry& entry : entries_) {
        if (entry.id == id)
            return entry;
    }
    return {};
}

} // namespace lb::report
