// Text search over the text records of a page.
#include "report/RpPageText.h"

#include "platform/gfx/EmfFormat.h"

namespace lb::report {

bool RpPageContains(const gfx::EmfMetafile& page, const QString& search, bool matchCase)
{
    if (search.isEmpty())
        return false;
    const Qt::CaseSensitivity sensitivity = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (const gfx::EmfRecord& record : page.records()) {
        if (record.type == gfx::emf::EMR_EXTTEXTOUTW && record.text.contains(search, sensitivity))
            return true;
    }
    return false;
}

} // namespace lb::report
