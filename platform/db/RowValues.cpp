// The values of one dataset row: packing a statement's row into one block and reading it back.
#include "platform/db/RowValues.h"

#include "platform/db/Statement.h"
#include "platform/sys/Errors.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <sqlite3.h>
#include <utility>
#ifdef __linux__
#include <sys/mman.h>
#endif

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
// the compiler makes into plain moves, overlap to cover any length without reading past the end
// (bench/README.md gives the load and the walk with and without them).
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

// A copy of `size` bytes in memory of a row's own, left as it is before: it is written over at
// once.
std::unique_ptr<char[]> bytesOfItsOwn(const char* from, size_t size)
{
    std::unique_ptr<char[]> bytes = std::make_unique_for_overwrite<char[]>(size);
    std::memcpy(bytes.get(), from, size);
    return bytes;
}

} // namespace

void RowValues::Store::FreeBlock::operator()(char* block) const noexcept
{
    std::free(block);
}

char* RowValues::Store::grow(size_t packed, size_t needed)
{
    // A small load takes a few small blocks, the first of a few kilobytes: most loads are a
    // document's header or a few rows, and a block the heap has no room for grows the heap, which
    // gives it back to the system when it is freed (a syscall and fresh pages at every load). A
    // large one goes on in blocks of the size of the system's large pages, aligned to it and
    // offered to be backed by them: its rows are written once into fresh memory, a page fault
    // for every 4 KB of it otherwise; without them the walk of 100,000 rows took about 6 %
    // longer (bench/README.md).
    const bool large = smallBytes_ >= largeBlockSize && needed <= largeBlockSize;
    const size_t next = blocks_.empty() ? firstBlockSize : std::min(blockSize, 2 * capacity_);
    const size_t capacity = large ? largeBlockSize : std::max(needed, next);
    char* block = static_cast<char*>(large ? std::aligned_alloc(largeBlockSize, largeBlockSize) : std::malloc(capacity));
    if (!block)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    if (large)
        madvise(block, largeBlockSize, MADV_HUGEPAGE); // only advice: without it, small pages
#endif
    if (packed > 0)
        std::memcpy(block, blocks_.back().get() + used_, packed);
    blocks_.emplace_back(block);
#ifndef NDEBUG
    if (!alive_)
        alive_ = std::make_shared<const int>(0);
#endif
    if (!large)
        smallBytes_ += capacity;
    capacity_ = capacity;
    used_ = 0;
    return block;
}

char* RowValues::Store::take(size_t bytes)
{
    char* space = room(0, bytes);
    used_ += bytes;
    return space;
}

template <typename Room>
size_t RowValues::pack(const Statement& statement, quint32 count, const Room& room)
{
    // One pass asks SQLite for each value once, in its own storage class so that nothing is
    // converted, and writes it where the row stays: room(packed, needed) gives that place with
    // room for `needed` bytes, the first `packed` as written so far. Text and blob pointers stay
    // valid until the statement steps: nothing else touches it here.
    const size_t header = payloadAt(count, count);
    char* out = room(0, header);
    sqlite3_stmt* stmt = statement.handle();
    size_t end = header;
    for (quint32 c = 0; c < count; ++c) {
        sqlite3_value* value = sqlite3_column_value(stmt, int(c));
        int kind = sqlite3_value_type(value);
        switch (kind) {
        case SQLITE_INTEGER: {
            const qint64 integer = sqlite3_value_int64(value);
            std::memcpy(out + payloadAt(count, c), &integer, 8);
            break;
        }
        case SQLITE_FLOAT: {
            const double real = sqlite3_value_double(value);
            std::memcpy(out + payloadAt(count, c), &real, 8);
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
            out = room(end, end + size);
            copyBytes(out + end, static_cast<const char*>(data), size);
            const Span span{quint32(end), quint32(size)};
            std::memcpy(out + payloadAt(count, c), &span, 8);
            end += size;
            break;
        }
        default:
            kind = SQLITE_NULL;
            std::memset(out + payloadAt(count, c), 0, 8);
            break;
        }
        out[c] = char(kind);
    }
    return end;
}

RowValues RowValues::read(const Statement& statement, int count, Store& store)
{
    RowValues row;
    if (count <= 0)
        return row;
    row.count_ = quint32(count);
    const size_t size = pack(statement, row.count_, [&store](size_t packed, size_t needed) { return store.room(packed, needed); });
    row.packed_ = store.take(size);
#ifndef NDEBUG
    row.store_ = store.alive_;
#endif
    return row;
}

RowValues RowValues::read(const Statement& statement, int count)
{
    RowValues row;
    if (count <= 0)
        return row;
    row.count_ = quint32(count);
    // Packed where it stays in the cache from row to row, then copied into memory of its own.
    thread_local std::vector<char> scratch;
    const size_t size = pack(statement, row.count_, [](size_t, size_t needed) {
        if (needed > scratch.size())
            scratch.resize(std::max(needed, scratch.size() * 2));
        return scratch.data();
    });
    row.own_ = std::make_unique<Own>();
    row.own_->bytes = bytesOfItsOwn(scratch.data(), size);
    row.packed_ = row.own_->bytes.get();
    return row;
}

RowValues::RowValues(const RowValues& other) : count_(other.count_)
{
    if (other.own_ && !other.own_->assigned.empty())
        own_ = std::make_unique<Own>(Own{nullptr, other.own_->assigned});
    const char* from = other.packed();
    if (!from)
        return;
    size_t size = payloadAt(count_, count_);
    for (size_t c = 0; c < count_; ++c) {
        if (from[c] == SQLITE_TEXT || from[c] == SQLITE_BLOB) {
            const Span span = payload<Span>(from, count_, c);
            size = std::max(size, size_t(span.offset) + span.size);
        }
    }
    if (!own_)
        own_ = std::make_unique<Own>();
    own_->bytes = bytesOfItsOwn(from, size);
    packed_ = own_->bytes.get();
}

RowValues& RowValues::operator=(const RowValues& other)
{
    if (this != &other)
        *this = RowValues(other);
    return *this;
}

RowValues& RowValues::operator=(RowValues&& other) noexcept
{
    if (this != &other) {
        packed_ = std::exchange(other.packed_, nullptr);
        own_ = std::move(other.own_);
        count_ = other.count_;
#ifndef NDEBUG
        store_ = std::move(other.store_);
#endif
    }
    return *this;
}

const char* RowValues::packed() const
{
#ifndef NDEBUG
    // Only a fault of the dataset lets a row moved from a load outlive it: reading it then would
    // read freed memory, found late or not at all.
    if (packed_ && !(own_ && own_->bytes) && store_.expired())
        qFatal("A row was read after the rows of its load were freed");
#endif
    return packed_;
}

QVariant RowValues::at(size_t column) const
{
    if (const QVariant* assigned = assignedAt(column))
        return *assigned;
    return unpack(column);
}

QVariant RowValues::unpack(size_t column) const
{
    const char* packed = this->packed();
    if (!packed)
        return QVariant();
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
    const char* packed = this->packed();
    if (!packed) {
        cell.kind = Stored::Null;
        return cell;
    }
    switch (packed[column]) {
    case SQLITE_INTEGER:
        cell.kind = Stored::Integer;
        cell.integer = payload<qint64>(packed, count_, column);
        break;
    case SQLITE_FLOAT:
        cell.kind = Stored::Real;
        cell.real = payload<double>(packed, count_, column);
        break;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const Span span = payload<Span>(packed, count_, column);
        cell.kind = packed[column] == SQLITE_TEXT ? Stored::Text : Stored::Blob;
        cell.utf8 = packed + span.offset;
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
    const char* packed = this->packed();
    if (!packed)
        return QMetaType::UnknownType;
    switch (packed[column]) {
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
    if (!own_)
        own_ = std::make_unique<Own>();
    if (own_->assigned.empty())
        own_->assigned.resize(count_);
    own_->assigned[column] = value;
}

} // namespace lb::db
