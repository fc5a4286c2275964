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
    // Where the rows of one load are packed: large blocks that all those rows share. A row packed
    // here holds a plain pointer into a block (no count of owners to keep per row), so the store
    // must outlive the rows packed into it and the rows moved from them; a copy of such a row
    // owns its bytes. In debug and sanitizer builds a row read after its store went fails at once
    // (qFatal) rather than reading freed memory.
    class Store {
    public:
        char* take(size_t bytes);
        // For a row being packed at the end of the store: the place with room for `needed`
        // bytes from the row's start, where its first `packed` bytes lie (moved to a new block
        // when the last one has no room left). Taken by take() once the row is whole.
        char* room(size_t packed, size_t needed)
        {
            return needed <= capacity_ - used_ ? blocks_.back().get() + used_ : grow(packed, needed);
        }

    private:
        friend class RowValues;
        char* grow(size_t packed, size_t needed); // room() in a new block
        struct FreeBlock {
            void operator()(char* block) const noexcept;
        };
        static constexpr size_t firstBlockSize = 4 * 1024; // each next one twice as large
        static constexpr size_t blockSize = 64 * 1024;     // up to this size
        static constexpr size_t largeBlockSize = 2 * 1024 * 1024; // past as many bytes of smaller blocks
        std::vector<std::unique_ptr<char[], FreeBlock>> blocks_;
        size_t used_ = 0;
        size_t capacity_ = 0;
        size_t smallBytes_ = 0; // in the blocks smaller than largeBlockSize
#ifndef NDEBUG
        std::shared_ptr<const int> alive_; // while the blocks are; the rows packed here watch it
#endif
    };

    RowValues() = default;
    explicit RowValues(size_t count) : count_(quint32(count)) {} // `count` nulls
    // A copy owns its bytes, wherever the row's lie (copies are few: the row saved for Cancel, a
    // row kept through a rollback).
    RowValues(const RowValues& other);
    RowValues& operator=(const RowValues& other);
    // A row moved shares its store's bytes as the row moved from did.
    RowValues(RowValues&& other) noexcept { *this = std::move(other); }
    RowValues& operator=(RowValues&& other) noexcept;
    ~RowValues() = default;

    // The first `count` columns of the statement's current row, packed into `store`, or without
    // one into memory of the row's own.
    static RowValues read(const Statement& statement, int count, Store& store);
    static RowValues read(const Statement& statement, int count);

    // A column as read from the database, looked at where it lies: what the typed reads of a
    // field need most often (a number, a text, a null) without making a QVariant first.
    struct Stored {
        enum Kind { Null, Integer, Real, Text, Blob, Other }; // Other: a value assigned since
        Kind kind = Other;
        qint64 integer = 0;
        double real = 0;
        const char* utf8 = nullptr; // Text: the UTF-8 bytes and their count; Blob: the bytes
        qsizetype bytes = 0;
    };
    Stored stored(size_t column) const;

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
        return own_ && !own_->assigned.empty() && own_->assigned[column] ? &*own_->assigned[column] : nullptr;
    }
    QVariant unpack(size_t column) const;
    template <typename Room>
    static size_t pack(const Statement& statement, quint32 count, const Room& room); // bytes packed
    const char* packed() const; // packed_, checked in debug builds to lie in a store still alive
    // What few rows have: bytes of their own (a row read alone, or a copy) and values assigned.
    struct Own {
        std::unique_ptr<char[]> bytes; // where packed_ points, where the row owns its bytes
        Assigned assigned;             // per column, once a value was assigned; empty before
    };
    // Rows are many (a snapshot's vector holds 100,000 of them as easily as 10, a list's far
    // more): the row itself stays small, what only a few rows need lives behind one pointer, and
    // no shared ownership is kept per row.
    const char* packed_ = nullptr; // the row as read (laid out in RowValues.cpp); none: nulls
    std::unique_ptr<Own> own_;
    quint32 count_ = 0;
#ifndef NDEBUG
    std::weak_ptr<const int> store_;     // the store packed_ lies in (Store::alive_), if any
#endif
};

} // namespace lb::db
