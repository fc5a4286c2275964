// The five running-balance windows as configurations, by class name.
#pragma once

#include "summaries/BalanceConfig.h"

#include <QStringList>

namespace lb::summaries {

class BalanceCatalog {
public:
    // "Tfrcusttotal", "Tfrbrantotal", "Tfrcusttotalist", "Tfrbrantotalist", "Tfrbanktotal".
    static const QStringList& keys();
    // lb::Error for a key that is none of them.
    static BalanceConfig byKey(const QString& key);
};

} // namespace lb::summaries
