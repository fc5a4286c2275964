// The values of one dataset row: packing a statement's row into one block and reading it back.
#include "platform/db/RowValues.h"

#include "platform/db/Statement.h"
#include "platform/sys/Errors.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <sqlite3.h>

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

std::shared_ptr<char> RowValues::Store::take(size_t bytes)
{
    if (bytes > capacity_ - used_) {
        capacity_ = std::max(bytes, blockSize_);
        block_ = std::make_shared_for_overwrite<char[]>(capacity_);
        used_ = 0;
    }
    std::shared_ptr<char> space(block_, block_.get() + used_);
    used_ += bytes;
    return space;
}

RowValues RowValues::read(const Statement& statement, int count, Store& store)
{
    RowValues row;
    if (count <= 0)
        return row;
    row.count_ = size_t(count);
    // Each column call takes the connection's lock; the values it hands out are then read where
    // they lie, without, as a dataset is used from one thread at a time. Each value is asked for
    // in its own storage class, so that SQLite has nothing to convert.
    thread_local std::vector<sqlite3_value*> values;
    values.resize(row.count_);
    sqlite3_stmt* stmt = statement.handle();
    qint64 bytes = 0;
    for (int c = 0; c < count; ++c) {
        sqlite3_value* value = sqlite3_column_value(stmt, c);
        values[size_t(c)] = value;
        const int kind = sqlite3_value_type(value);
        if (kind == SQLITE_TEXT) {
            sqlite3_value_text(value); // the UTF-8 form, whose length value_bytes then gives
            bytes += sqlite3_value_bytes(value);
        } else if (kind == SQLITE_BLOB) {
            bytes += sqlite3_value_bytes(value);
        }
    }
    const size_t header = payloadAt(row.count_, row.count_);
    if (bytes > qint64(std::numeric_limits<quint32>::max() - header))
        throw DatabaseError(QStringLiteral("A row of more than 4 GB cannot be held"));
    const std::shared_ptr<char> space = store.take(header + size_t(bytes));
    char* out = space.get();
    row.packed_ = space;
    quint32 offset = quint32(header);
    for (size_t c = 0; c < row.count_; ++c) {
        sqlite3_value* value = values[c];
        int kind = sqlite3_value_type(value);
        char* at = out + payloadAt(row.count_, c);
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
            const void* data = kind == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(value))
                                                   : sqlite3_value_blob(value);
            const Span span{offset, quint32(sqlite3_value_bytes(value))};
            if (span.size > 0)
                std::memcpy(out + offset, data, span.size);
            offset += span.size;
            std::memcpy(at, &span, 8);
            break;
        }
        default:
            kind = SQLITE_NULL;
            std::memset(at, 0, 8);
            break;
        }
        out[c] = char(kind);
    }
    return row;
}

RowValues::RowValues(const RowValues& other)
    : packed_(other.packed_), count_(other.count_),
      assigned_(other.assigned_ ? std::make_unique<Assigned>(*other.assigned_) : nullptr)
{
}

RowValues& RowValues::operator=(const RowValues& other)
{
    if (this != &other) {
        packed_ = other.packed_;
        count_ = other.count_;
        assigned_ = other.assigned_ ? std::make_unique<Assigned>(*other.assigned_) : nullptr;
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
    const char* packed = packed_.get();
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

int RowValues::typeAt(size_t column) const
{
    if (const QVariant* assigned = assignedAt(column))
        return assigned->typeId();
    if (!packed_)
        return QMetaType::UnknownType;
    switch (packed_.get()[column]) {
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
