// The values of one dataset row: packing a statement's row into one block and reading it back.
#include "platform/db/RowValues.h"

#include "platform/db/Statement.h"
#include "platform/sys/Errors.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <sqlite3.h>
#include <utility>

namespace lb::db {

namespace {

// A packed row: one byte per column with its SQLite storage class, then eight bytes per column
// (the integer, the double, or where the text or blob bytes lie and how many), then those bytes.
struct Span {
    quint32 offset;
    quint32 size;
};

size_t payloadAt(size_t count, size_t column)
{
    return count + column * 8;
}

template <typename T>
T payload(const char* packed, size_t count, size_t column)
{
    static_assert(sizeof(T) == 8);
    T value;
    std::memcpy(&value, packed + payloadAt(count, column), sizeof(T));
    return value;
}

} // namespace

char* RowValues::Store::take(size_t bytes)
{
    if (bytes > capacity_ - used_) {
        capacity_ = std::max(bytes, blockSize);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(capacity_));
        used_ = 0;
    }
    char* space = blocks_.back().get() + used_;
    used_ += bytes;
    return space;
}

RowValues RowValues::read(const Statement& statement, int count, Store& store)
{
    return read(statement, count, &store);
}

RowValues RowValues::read(const Statement& statement, int count)
{
    return read(statement, count, nullptr);
}

RowValues RowValues::read(const Statement& statement, int count, Store* store)
{
    RowValues row;
    if (count <= 0)
        return row;
    row.count_ = quint32(count);
    // One pass asks SQLite for each value once, in its own storage class so that nothing is
    // converted, and notes it; the second packs what was noted without calling SQLite again.
    // Text and blob pointers stay valid until the statement steps: nothing else touches it here.
    struct Cell {
        int kind;
        quint32 size;
        union {
            qint64 integer;
            double real;
            const void* data;
        };
    };
    thread_local std::vector<Cell> cells;
    cells.resize(row.count_);
    sqlite3_stmt* stmt = statement.handle();
    qint64 bytes = 0;
    for (int c = 0; c < count; ++c) {
        sqlite3_value* value = sqlite3_column_value(stmt, c);
        Cell& cell = cells[size_t(c)];
        cell.kind = sqlite3_value_type(value);
        switch (cell.kind) {
        case SQLITE_INTEGER:
            cell.integer = sqlite3_value_int64(value);
            break;
        case SQLITE_FLOAT:
            cell.real = sqlite3_value_double(value);
            break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            // The pointer first, then the length of what it points to, as SQLite asks.
            cell.data = cell.kind == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(value))
                                                 : sqlite3_value_blob(value);
            const int size = sqlite3_value_bytes(value);
            cell.size = quint32(size);
            bytes += size;
            break;
        }
        default:
            cell.kind = SQLITE_NULL;
            cell.integer = 0;
            break;
        }
    }
    const size_t header = payloadAt(row.count_, row.count_);
    if (bytes > qint64(std::numeric_limits<quint32>::max() - header))
        throw DatabaseError(QStringLiteral("A row of more than 4 GB cannot be held"));
    const size_t total = header + size_t(bytes);
    char* out = store ? store->take(total) : new char[total];
    row.packed_ = out;
    row.owned_ = !store;
    quint32 offset = quint32(header);
    for (size_t c = 0; c < row.count_; ++c) {
        const Cell& cell = cells[c];
        char* at = out + payloadAt(row.count_, c);
        if (cell.kind == SQLITE_TEXT || cell.kind == SQLITE_BLOB) {
            const Span span{offset, cell.size};
            if (span.size > 0)
                std::memcpy(out + offset, cell.data, span.size);
            offset += span.size;
            std::memcpy(at, &span, 8);
        } else {
            std::memcpy(at, &cell.integer, 8); // the integer, the double, or zeros for NULL
        }
        out[c] = char(cell.kind);
    }
    return row;
}

const char* RowValues::ownCopy() const
{
    size_t size = payloadAt(count_, count_);
    for (size_t c = 0; c < count_; ++c) {
        if (packed_[c] == SQLITE_TEXT || packed_[c] == SQLITE_BLOB) {
            const Span span = payload<Span>(packed_, count_, c);
            size = std::max(size, size_t(span.offset) + span.size);
        }
    }
    char* copy = new char[size];
    std::memcpy(copy, packed_, size);
    return copy;
}

void RowValues::release() noexcept
{
    if (owned_)
        delete[] packed_;
    packed_ = nullptr;
    owned_ = false;
}

void RowValues::detach()
{
    if (!packed_ || owned_)
        return;
    packed_ = ownCopy();
    owned_ = true;
}

RowValues::RowValues(const RowValues& other)
    : packed_(other.owned_ ? other.ownCopy() : other.packed_),
      assigned_(other.assigned_ ? std::make_unique<Assigned>(*other.assigned_) : nullptr),
      count_(other.count_), owned_(other.owned_)
{
}

RowValues& RowValues::operator=(const RowValues& other)
{
    if (this != &other)
        *this = RowValues(other);
    return *this;
}

RowValues::RowValues(RowValues&& other) noexcept
    : packed_(std::exchange(other.packed_, nullptr)), assigned_(std::move(other.assigned_)),
      count_(other.count_), owned_(std::exchange(other.owned_, false))
{
}

RowValues& RowValues::operator=(RowValues&& other) noexcept
{
    if (this != &other) {
        release();
        packed_ = std::exchange(other.packed_, nullptr);
        assigned_ = std::move(other.assigned_);
        count_ = other.count_;
        owned_ = std::exchange(other.owned_, false);
    }
    return *this;
}

QVariant RowValues::at(size_t column) const
{
    if (const QVariant* assigned = assignedAt(column))
        return *assigned;
    return unpack(column);
}

QVariant RowValues::unpack(size_t column) const
{
    if (!packed_)
        return QVariant();
    const char* packed = packed_;
    switch (packed[column]) {
    case SQLITE_INTEGER:
        return QVariant(payload<qint64>(packed, count_, column));
    case SQLITE_FLOAT:
        return QVariant(payload<double>(packed, count_, column));
    case SQLITE_TEXT: {
        const Span span = payload<Span>(packed, count_, column);
        return QVariant(QString::fromUtf8(packed + span.offset, qsizetype(span.size)));
    }
    case SQLITE_BLOB: {
        const Span span = payload<Span>(packed, count_, column);
        return QVariant(QByteArray(packed + span.offset, qsizetype(span.size)));
    }
    default:
        return QVariant();
    }
}

RowValues::Stored RowValues::stored(size_t column) const
{
    Stored cell;
    if (assignedAt(column))
        return cell;
    if (!packed_) {
        cell.kind = Stored::Null;
        return cell;
    }
    switch (packed_[column]) {
    case SQLITE_INTEGER:
        cell.kind = Stored::Integer;
        cell.integer = payload<qint64>(packed_, count_, column);
        break;
    case SQLITE_FLOAT:
        cell.kind = Stored::Real;
        cell.real = payload<double>(packed_, count_, column);
        break;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const Span span = payload<Span>(packed_, count_, column);
        cell.kind = packed_[column] == SQLITE_TEXT ? Stored::Text : Stored::Blob;
        cell.utf8 = packed_ + span.offset;
        cell.bytes = qsizetype(span.size);
        break;
    }
    case SQLITE_NULL:
        cell.kind = Stored::Null;
        break;
    default:
        break;
    }
    return cell;
}

int RowValues::typeAt(size_t column) const
{
    if (const QVariant* assigned = assignedAt(column))
        return assigned->typeId();
    if (!packed_)
        return QMetaType::UnknownType;
    switch (packed_[column]) {
    case SQLITE_INTEGER:
        return QMetaType::LongLong;
    case SQLITE_FLOAT:
        return QMetaType::Double;
    case SQLITE_TEXT:
        return QMetaType::QString;
    case SQLITE_BLOB:
        return QMetaType::QByteArray;
    default:
        return QMetaType::UnknownType;
    }
}

void RowValues::set(size_t column, const QVariant& value)
{
    if (!assigned_)
        assigned_ = std::make_unique<Assigned>(count_);
    (*assigned_)[column] = value;
}

} // namespace lb::db
