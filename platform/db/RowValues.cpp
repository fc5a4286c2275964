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

// Copies the few bytes of a code or a name. The library's memcpy, called for each of them, costs
// more than the copy itself (a row's texts are mostly under 32 bytes): fixed-size copies, which
// the compiler makes into plain moves, overlap to cover any length without reading past the end.
void copyBytes(char* to, const char* from, size_t size)
{
    if (size >= 16 && size <= 32) {
        std::memcpy(to, from, 16);
        std::memcpy(to + size - 16, from + size - 16, 16);
    } else if (size >= 8 && size < 16) {
        std::memcpy(to, from, 8);
        std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size >= 4 && size < 8) {
        std::memcpy(to, from, 4);
        std::memcpy(to + size - 4, from + size - 4, 4);
    } else if (size < 4) {
        for (size_t i = 0; i < size; ++i)
            to[i] = from[i];
    } else {
        std::memcpy(to, from, size);
    }
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
    // The row is packed in one pass into a buffer that stays in the cache from row to row, each
    // value asked of SQLite once in its own storage class so that nothing is converted, then
    // copied where it stays in one piece: a load of many rows writes its fresh memory once and in
    // order. Text and blob pointers stay valid until the statement steps: nothing else touches it.
    thread_local std::vector<char> scratch;
    const size_t header = payloadAt(row.count_, row.count_);
    if (scratch.size() < header + 256)
        scratch.resize(header + 256);
    sqlite3_stmt* stmt = statement.handle();
    size_t end = header;
    for (int c = 0; c < count; ++c) {
        sqlite3_value* value = sqlite3_column_value(stmt, c);
        int kind = sqlite3_value_type(value);
        char* at = scratch.data() + payloadAt(row.count_, size_t(c));
        switch (kind) {
        case SQLITE_INTEGER: {
            const qint64 integer = sqlite3_value_int64(value);
            std::memcpy(at, &integer, 8);
            break;
        }
        case SQLITE_FLOAT: {
            const double real = sqlite3_value_double(value);
            std::memcpy(at, &real, 8);
            break;
        }
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            // The pointer first, then the length of what it points to, as SQLite asks.
            const void* data = kind == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(value))
                                                   : sqlite3_value_blob(value);
            const size_t size = size_t(sqlite3_value_bytes(value));
            if (size > std::numeric_limits<quint32>::max() - end)
                throw DatabaseError(QStringLiteral("A row of more than 4 GB cannot be held"));
            if (end + size > scratch.size()) {
                scratch.resize(std::max(end + size, scratch.size() * 2));
                at = scratch.data() + payloadAt(row.count_, size_t(c));
            }
            copyBytes(scratch.data() + end, static_cast<const char*>(data), size);
            const Span span{quint32(end), quint32(size)};
            std::memcpy(at, &span, 8);
            end += size;
            break;
        }
        default:
            kind = SQLITE_NULL;
            std::memset(at, 0, 8);
            break;
        }
        scratch[size_t(c)] = char(kind);
    }
    char* out = store ? store->take(end) : new char[end];
    std::memcpy(out, scratch.data(), end);
    row.packed_ = out;
    row.owned_ = !store;
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
