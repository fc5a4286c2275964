// The six document-kind summary windows as configurations, by class name.
#pragma once

#include "summaries/KindSummaryConfig.h"

#include <QStringList>

namespace lb::summaries {

class KindSummaryCatalog {
public:
    // "Tfrouttotal", "Tfroutbacktotal", "Tfrintotal", "Tfrinbacktotal", "Tfrgettotal", "Tfrputtotal".
    static const QStringList& keys();
    // lb::Error for a key that is none of them.
    static KindSummaryConfig byKey(const QString& key);
};

} // namespace lb::summaries
