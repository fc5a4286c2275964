// The figures a command moves: rows taken with what they hold, moved in memory, then written.
#pragma once

#include <QHash>
#include <QString>

#include <deque>
#include <utility>
#include <vector>

namespace lb::db {
class Connection;
}

namespace lb::documents {

// The rows a command moves, each with the columns it moves: taken with the values the rows hold,
// then moved in memory figure after figure, in the order the command takes them. Every figure
// the command would store is known, and checked against the limit, before anything is written;
// then each row is written once, by its rowid. Null numbers are taken as 0, as the program reads
// them.
class Moves {
public:
    // A row of a table, with the columns taken.
    class Row {
    public:
        // Takes `value` as what `column` holds, unless the column is taken already: a row read
        // again (a product on two lines, or a line read once for each account its code names)
        // keeps what was moved so far.
        void take(const QString& column, double value);
        // Moves a column taken by `amount`. lb::Error for a column not taken.
        void add(const QString& column, double amount) { columns_[place(column)].second += amount; }
        // Sets a column taken to `value`. lb::Error for a column not taken.
        void set(const QString& column, double value) { columns_[place(column)].second = value; }
        // A column taken, as moved so far. lb::Error for a column not taken.
        double value(const QString& column) const { return columns_[place(column)].second; }

    private:
        friend class Moves;
        Row(QString table, qint64 rowId) : table_(std::move(table)), rowId_(rowId) {}
        size_t place(const QString& column) const; // in columns_
        bool sameColumns(const Row& other) const;
        QString table_;
        qint64 rowId_;
        std::vector<std::pair<QString, double>> columns_; // in the order first taken
    };

    // Row `rowId` of `table`: the one taken before, or a new one without columns. The reference
    // stays valid while the Moves lives.
    Row& row(const QString& table, qint64 rowId);

    // Whether every figure taken or moved is one a double keeps to the cent: below
    // lb::kMaxExactAmount either way, neither Inf nor NaN.
    bool exact() const;

    // Writes every row with columns by its rowid, once, in the order first taken, each column as
    // moved. Rows that follow one another with the same table and columns (a document's
    // products) share one prepared statement. Throws what the statement throws (DatabaseError).
    void write(lb::db::Connection& connection) const;

private:
    std::deque<Row> rows_; // in the order first taken; a deque keeps references to rows valid
    // Each table's rowids to their place in rows_; a command moves rows of a few tables.
    std::vector<std::pair<QString, QHash<qint64, size_t>>> index_;
};

} // namespace lb::documents
