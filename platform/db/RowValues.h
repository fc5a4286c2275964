// The values of one dataset row, kept packed as SQLite returned them, and those assigned since.
#pragma once

#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

namespace lb::db {

class Statement;

// A snapshot holds many rows that are mostly only read. A row read from the database is one
// stretch of memory with its numbers and its text as UTF-8; a value becomes a QVariant only when
// it is asked for. An assigned value (an edit, a new row) is kept beside as the QVariant given,
// exactly as assigned, until the row is read from the database again.
class RowValues {
public:
    // Where rows read one after another are put: with a block size, large blocks that many rows
    // share (a block is freed with the last row in it); without, an allocation of its own per row.
    class Store {
    public:
        explicit Store(size_t blockSize = 0) : blockSize_(blockSize) {}
        std::shared_ptr<char> take(size_t bytes);

    private:
        size_t blockSize_;
        std::shared_ptr<char[]> block_;
        size_t used_ = 0;
        size_t capacity_ = 0;
    };

    RowValues() = default;
    explicit RowValues(size_t count) : count_(count) {} // `count` nulls
    RowValues(const RowValues& other);
    RowValues& operator=(const RowValues& other);
    RowValues(RowValues&&) noexcept = default;
    RowValues& operator=(RowValues&&) noexcept = default;
    ~RowValues() = default;

    // The first `count` columns of the statement's current row.
    static RowValues read(const Statement& statement, int count, Store& store);
    static RowValues read(const Statement& statement, int count)
    {
        Store own;
        return read(statement, count, own);
    }

    size_t size() const { return count_; }
    // As Statement::value gives it: qint64, double, QString, QByteArray, or invalid for NULL.
    QVariant at(size_t column) const;
    // The type id of at(column) without making the value; QMetaType::UnknownType for NULL.
    int typeAt(size_t column) const;
    void set(size_t column, const QVariant& value);

private:
    using Assigned = std::vector<std::optional<QVariant>>;
    const QVariant* assignedAt(size_t column) const
    {
        return assigned_ && (*assigned_)[column] ? &*(*assigned_)[column] : nullptr;
    }
    QVariant unpack(size_t column) const;
    // Rows are many: the row itself stays small, what only edited rows need lives behind a pointer.
    std::shared_ptr<const char> packed_; // the row as read (laid out in RowValues.cpp); none: nulls
    size_t count_ = 0;
    std::unique_ptr<Assigned> assigned_; // per column, once a value was assigned
};

} // namespace lb::db
