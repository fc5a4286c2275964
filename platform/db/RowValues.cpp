// The values of one dataset row: packing a statement's row into one block and reading it back.
#include "platform/db/RowValues.h"

#include "platform/db/Statement.h"

#include <algorithm>
#include <cstring>
#include <sqlite3.h>

namespace lb::db {

namespace {

// One column in the block: the SQLite storage class and, for text and blobs, where the bytes are.
struct Cell {
    int kind = SQLITE_NULL;
    int size = 0;
    union {
        qint64 integer;
        double real;
        qint64 offset;
    };
};

Cell cellAt(const char* packed, size_t column)
{
    Cell cell;
    std::memcpy(&cell, packed + column * sizeof(Cell), sizeof(Cell));
    return cell;
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
    // Each column call on the statement takes the connection's lock; the values it hands out can
    // be read without, as the connection is only used from one thread.
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
    const std::shared_ptr<char> space = store.take(row.count_ * sizeof(Cell) + size_t(bytes));
    char* out = space.get();
    row.packed_ = space;
    qint64 offset = qint64(row.count_ * sizeof(Cell));
    for (size_t c = 0; c < row.count_; ++c) {
        sqlite3_value* value = values[c];
        Cell cell;
        cell.kind = sqlite3_value_type(value);
        cell.integer = 0;
        switch (cell.kind) {
        case SQLITE_INTEGER:
            cell.integer = sqlite3_value_int64(value);
            break;
        case SQLITE_FLOAT:
            cell.real = sqlite3_value_double(value);
            break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const void* data = cell.kind == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(value))
                                                        : sqlite3_value_blob(value);
            cell.size = sqlite3_value_bytes(value);
            cell.offset = offset;
            if (cell.size > 0)
                std::memcpy(out + offset, data, size_t(cell.size));
            offset += cell.size;
            break;
        }
        default:
            cell.kind = SQLITE_NULL;
            break;
        }
        std::memcpy(out + c * sizeof(Cell), &cell, sizeof(Cell));
    }
    return row;
}

QVariant RowValues::at(size_t column) const
{
    return isPlain(column) ? plain_[column] : unpack(column);
}

QVariant RowValues::unpack(size_t column) const
{
    const Cell cell = cellAt(packed_.get(), column);
    switch (cell.kind) {
    case SQLITE_INTEGER:
        return QVariant(cell.integer);
    case SQLITE_FLOAT:
        return QVariant(cell.real);
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(packed_.get() + cell.offset, cell.size));
    case SQLITE_BLOB:
        return QVariant(QByteArray(packed_.get() + cell.offset, cell.size));
    default:
        return QVariant();
    }
}

int RowValues::typeAt(size_t column) const
{
    if (isPlain(column))
        return plain_[column].typeId();
    switch (cellAt(packed_.get(), column).kind) {
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
    if (packed_ && assigned_.empty()) {
        assigned_.assign(count_, false);
        plain_.resize(count_);
    }
    if (packed_)
        assigned_[column] = true;
    plain_[column] = value;
}

} // namespace lb::db
