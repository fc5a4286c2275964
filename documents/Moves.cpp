// The figures a command moves: taking, moving, checking and writing them.
#include "documents/Moves.h"

#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "platform/sys/Errors.h"
#include "platform/sys/ExactAmount.h"

#include <QStringList>

#include <algorithm>

namespace lb::documents {

void Moves::Row::take(const QString& column, double value)
{
    const bool taken = std::any_of(columns_.begin(), columns_.end(), [&](const auto& c) { return c.first == column; });
    if (!taken)
        columns_.emplace_back(column, value);
}

size_t Moves::Row::place(const QString& column) const
{
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].first == column)
            return i;
    }
    throw lb::Error(QStringLiteral("Column '%1' of %2 is not taken").arg(column, table_));
}

bool Moves::Row::sameColumns(const Row& other) const
{
    return table_ == other.table_
        && std::equal(columns_.begin(), columns_.end(), other.columns_.begin(), other.columns_.end(),
                      [](const auto& a, const auto& b) { return a.first == b.first; });
}

Moves::Row& Moves::row(const QString& table, qint64 rowId)
{
    auto tableEntry = std::find_if(index_.begin(), index_.end(), [&](const auto& entry) { return entry.first == table; });
    if (tableEntry == index_.end())
        tableEntry = index_.insert(index_.end(), {table, {}});
    QHash<qint64, size_t>& places = tableEntry->second;
    auto place = places.constFind(rowId);
    if (place == places.constEnd()) {
        place = places.insert(rowId, rows_.size());
        rows_.push_back(Row(table, rowId));
    }
    return rows_[*place];
}

bool Moves::exact() const
{
    for (const Row& row : rows_) {
        for (const auto& [column, value] : row.columns_) {
            if (!lb::isExactAmount(value))
                return false;
        }
    }
    return true;
}

void Moves::write(lb::db::Connection& connection) const
{
    lb::db::Query statement(connection);
    const Row* shape = nullptr; // the row the statement was made for
    // Each column's value goes to the parameter named after the column, the rowid to lb_row.
    std::vector<lb::db::NamedValue> values;
    for (const Row& row : rows_) {
        if (row.columns_.empty())
            continue; // a row found only to know that it is there
        if (!shape || !row.sameColumns(*shape)) {
            QStringList sets;
            values.clear();
            for (const auto& [column, value] : row.columns_) {
                values.emplace_back(QStringLiteral("c_") + column, QVariant());
                sets << lb::db::SqlText::quoteIdentifier(column) + QStringLiteral("=:") + values.back().name;
            }
            values.emplace_back(QStringLiteral("lb_row"), QVariant());
            statement.sql().setText(QStringLiteral("update %1 set %2 where _rowid_=:lb_row")
                                        .arg(lb::db::SqlText::quoteIdentifier(row.table_), sets.join(QLatin1Char(','))));
            shape = &row;
        }
        for (size_t i = 0; i < row.columns_.size(); ++i)
            values[i].value = row.columns_[i].second;
        values.back().value = row.rowId_;
        statement.execSQL(values);
    }
}

} // namespace lb::documents
