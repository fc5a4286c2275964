// The text a stored page prints, for the preview's text search.
#pragma once

#include "platform/gfx/EmfMetafile.h"

#include <QString>

namespace lb::report {

// Whether a text record of `page` holds `search`, comparing whole characters (Chinese text
// included); without `matchCase` both sides are case-folded first. An empty search matches
// nothing.
bool RpPageContains(const gfx::EmfMetafile& page, const QString& search, bool matchCase);

} // namespace lb::report
