// The values of one dataset row, kept packed as SQLite returned them until one is assigned.
#pragma once

#include <QByteArray>
#include <QVariant>
#include <vector>

namespace lb::db {

class Statement;

// A snapshot holds many rows that are mostly only read. A row read from the database is one
// block with its numbers and its text as UTF-8; a value becomes a QVariant only when it is asked
// for. Assigning a value (an edit, a new row) turns the row into plain QVariants, which then keep
// exactly what was assigned until the row is read from the database again.
class RowValues {
public:
    RowValues() = default;
    explicit RowValues(size_t count) : plain_(count) {} // `count` nulls

    // The first `count` columns of the statement's current row.
    static RowValues read(const Statement& statement, int count);

    size_t size() const { return plain_.empty() ? count_ : plain_.size(); }
    // As Statement::value gives it: qint64, double, QString, QByteArray, or invalid for NULL.
    QVariant at(size_t column) const;
    // The type id of at(column) without making the value; QMetaType::UnknownType for NULL.
    int typeAt(size_t column) const;
    void set(size_t column, const QVariant& value);

private:
    QVariant unpack(size_t column) const;
    QByteArray packed_;           // a Cell per column, then the text and blob bytes
    size_t count_ = 0;            // columns in packed_
    std::vector<QVariant> plain_; // once a value was assigned
};

} // namespace lb::db
