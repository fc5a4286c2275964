// The document-kind summaries' runs: the sums row, the flow list and the grouping by product.
#include "summaries/KindSummary.h"

#include "core/Schema.h"
#include "documents/DocumentPosting.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/sys/Errors.h"
#include "platform/sys/ExactAmount.h"
#include "platform/sys/TextFormat.h"

namespace lb::summaries {

using lb::documents::DocumentKinds;

const QString KindSummary::CountedLines =
    QStringLiteral("spmc<>'上期结转' and pass=true and (cancel is null or cancel=false) and");

void KindSummary::addConditions(lb::db::Query& query, const Period& period, const SummaryFilter& filter)
{
    query.sql().add(QStringLiteral("billdate>=:p1 and billdate <=:p2 "));
    if (!filter.party.isEmpty())
        query.sql().add(QStringLiteral("and customerid=:p3 "));
    if (!filter.product.isEmpty())
        query.sql().add(QStringLiteral("and sphh=:p4 "));
    query.paramByName(QStringLiteral("p1")).setAsDate(period.from);
    query.paramByName(QStringLiteral("p2")).setAsDate(period.to);
    if (!filter.party.isEmpty())
        query.paramByName(QStringLiteral("p3")).setAsString(filter.party);
    if (!filter.product.isEmpty())
        query.paramByName(QStringLiteral("p4")).setAsString(filter.product);
}

void KindSummary::refill(lb::db::Connection& connection, const QString& table, const QString& columns,
                         const std::function<void(lb::db::Query&)>& insert)
{
    lb::db::Transaction transaction(connection);
    lb::db::Query statement(connection);
    statement.sql().add(QStringLiteral("delete from %1").arg(table));
    statement.execSQL();
    statement.sql().clear();
    insert(statement);
    statement.execSQL();
    // Lines each below the limit may add up beyond it: such a sum is no figure to show.
    QStringList beyond;
    const lb::core::TableDef& def = lb::core::Schema::table(table);
    for (const QString& column : columns.split(QLatin1Char(','))) {
        const lb::core::Column* found = def.find(column);
        if (found && found->type == lb::core::ColumnType::Double)
            beyond << QStringLiteral("abs(%1)>=:limit").arg(column);
    }
    statement.sql().setText(QStringLiteral("select count(*) from %1 where %2").arg(table, beyond.join(QStringLiteral(" or "))));
    statement.paramByName(QStringLiteral("limit")).setAsFloat(lb::kMaxExactAmount);
    statement.open();
    if (statement.field(0).asInteger() != 0)
        throw lb::OverflowError(lb::documents::DocumentPosting::OutOfRange);
    statement.close();
    transaction.commit();
}

void KindSummary::refreshSums(lb::db::Connection& connection, const KindSummaryConfig& config, const Period& period,
                              const SummaryFilter& filter)
{
    refill(connection, QStringLiteral("totallist"), config.sumsColumns, [&](lb::db::Query& statement) {
        statement.sql().add(QStringLiteral("insert into totallist(%1)").arg(config.sumsColumns));
        statement.sql().add(QStringLiteral("select %1 from %2 where").arg(config.sumsSelect, DocumentKinds::of(config.kind).lineTable));
        statement.sql().add(CountedLines);
        addConditions(statement, period, filter);
    });
}

QStringList KindSummary::flowColumns(const KindSummaryConfig& config)
{
    QStringList columns;
    for (const lb::ui::GridColumn& column : config.columns)
        columns << column.fieldName;
    for (const QString& column : config.printedColumns)
        if (!columns.contains(column))
            columns << column;
    return columns;
}

void KindSummary::openFlow(lb::db::Query& lines, const KindSummaryConfig& config, const Period& period,
                           const SummaryFilter& filter)
{
    lines.close();
    lines.sql().clear();
    lines.sql().add(QStringLiteral("select %1 from %2  where")
                        .arg(flowColumns(config).join(QLatin1Char(',')), DocumentKinds::of(config.kind).lineTable));
    lines.sql().add(CountedLines);
    addConditions(lines, period, filter);
    // Lines of one day in the order they were entered.
    lines.sql().add(QStringLiteral("order by billdate, intno"));
    lines.openList();
}

void KindSummary::group(lb::db::Connection& connection, lb::db::Query& lines, const KindSummaryConfig& config,
                        const Period& period, const SummaryFilter& filter)
{
    lines.close();
    refill(connection, QStringLiteral("custtotal"), config.groupColumns, [&](lb::db::Query& statement) {
        statement.sql().add(QStringLiteral("insert into custtotal(%1)").arg(config.groupColumns));
        statement.sql().add(QStringLiteral("select %1 from %2 where").arg(config.groupSelect, DocumentKinds::of(config.kind).lineTable));
        statement.sql().add(CountedLines);
        addConditions(statement, period, filter);
        statement.sql().add(QStringLiteral("group by %1").arg(config.groupBy));
    });
    lines.sql().setText(QStringLiteral("select * from custtotal order by spintno, rowid"));
    lines.open();
}

QString KindSummary::totalText(const QVariant& sum, int decimals)
{
    const double value = sum.isValid() && !sum.isNull() ? sum.toDouble() : 0.0;
    return lb::fmt::floatToStrFixed(value, 10, decimals);
}

} // namespace lb::summaries
