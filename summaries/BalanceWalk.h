// The running-balance refill of the customer and supplier summaries, statements and journal.
#pragma once

#include "summaries/BalanceConfig.h"
#include "summaries/ReportPeriod.h"

#include <QDate>
#include <QString>
#include <QVariant>

namespace lb::db {
class Connection;
class Query;
}

namespace lb::summaries {

// The partner a run is for.
struct BalanceRun {
    QString code;       // its code, trimmed
    QString name;       // its name
    double opening = 0; // its opening balance of the year (rest)
    QDate from;         // the first day of the period
};

// The balance runs from the partner's opening balance of the year through every posted, not
// reversed row of the partner, in the configured order: rows before the period make up the
// balance brought forward that the seed row ("上期结余", dated on the first day of the period
// with no kind, so it sorts after them and before the period's rows) carries.
class BalanceWalk {
public:
    // Empties the work and walk tables, writes the seed row, gathers the partner's rows, and
    // appends them in order to the walk table with their balances computed in memory; all in
    // one transaction, so a failure leaves the tables as they were. A balance or moved figure
    // at or beyond lb::kMaxExactAmount raises lb::OverflowError with DocumentPosting::OutOfRange.
    // Returns the rows written.
    static int refill(lb::db::Connection& connection, const BalanceWalkConfig& config, const BalanceRun& run);
    // `rows` reopened on the walk table's rows of the period that are shown, in walk order.
    static void show(lb::db::Query& rows, const BalanceWalkConfig& config, const Period& period);

    // The columns of the walk table the rule reads or writes, in the order a row holds them,
    // and those of them it may change.
    static QStringList ruledColumns(const BalanceWalkConfig& config);
    static QStringList writtenColumns(const BalanceWalkConfig& config);

    // A walk starting from the partner's opening balance. Both arguments must outlive it.
    BalanceWalk(const BalanceWalkConfig& config, const BalanceRun& run);
    // One row, the values of ruledColumns() in order (more may follow): reshaped and given its
    // balance by the rule. Returns the balance after it.
    double step(QVariantList& row);
    double balance() const { return balance_; }

private:
    const BalanceRule& rule_;
    const BalanceRun& run_;
    double balance_;
    // Where the columns the rule reads and writes lie in a row; -1 when absent.
    int billtype_, spmc_, sphh_, amount_, deduck_, pay_, rest_, before_;
};

} // namespace lb::summaries
