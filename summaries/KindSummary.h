// The document-kind summaries' runs: the sums row, the flow list and the grouping by product.
#pragma once

#include "summaries/KindSummaryConfig.h"
#include "summaries/ReportPeriod.h"

#include <QString>
#include <functional>

namespace lb::db {
class Connection;
class Query;
}

namespace lb::summaries {

// The party and product a run is narrowed to; each is compared exactly with the lines' stored
// code. Empty: no condition.
struct SummaryFilter {
    QString party;
    QString product;
};

// Only posted lines that were not reversed count (a reversal flag left empty counts as not
// reversed), never the carry-over line; the period is inclusive at both ends.
class KindSummary {
public:
    static const QString CountedLines;

    // totallist is emptied and given the period's sums of the kind's lines, in one transaction.
    // A sum at or beyond lb::kMaxExactAmount (lines below the limit may add up beyond it)
    // raises lb::OverflowError with DocumentPosting::OutOfRange and leaves the table as it was;
    // so does a group's sum in group().
    static void refreshSums(lb::db::Connection& connection, const KindSummaryConfig& config, const Period& period,
                            const SummaryFilter& filter);
    // The columns of the kind's lines that its grid and its print show.
    static QStringList flowColumns(const KindSummaryConfig& config);
    // `lines` (the line dataset) is reopened as a list (Query::openList) of the period's counted
    // lines in date order, of flowColumns() only: a year of lines is not held in memory.
    static void openFlow(lb::db::Query& lines, const KindSummaryConfig& config, const Period& period,
                         const SummaryFilter& filter);
    // 分类汇总: custtotal is emptied and given one row per group, in one transaction, and
    // `lines` reopened on those rows in product order. The sums row is refreshSums' to make.
    static void group(lb::db::Connection& connection, lb::db::Query& lines, const KindSummaryConfig& config,
                      const Period& period, const SummaryFilter& filter);

    // A total box's text: fixed-point with `decimals` decimals, an empty sum as 0.
    static QString totalText(const QVariant& sum, int decimals);

private:
    static void addConditions(lb::db::Query& query, const Period& period, const SummaryFilter& filter);
    // Empties `table` and runs the one insert `insert` writes into the statement, in one
    // transaction; refuses a number of `columns` (comma-separated) beyond the limit.
    static void refill(lb::db::Connection& connection, const QString& table, const QString& columns,
                       const std::function<void(lb::db::Query&)>& insert);
};

} // namespace lb::summaries
