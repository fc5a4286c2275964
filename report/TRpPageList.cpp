// Page records: adding and fetching pages, walking the chain, the file header, saving and
// loading report files with every stored offset and count checked before it is used.
#include "report/TRpPageList.h"

#include "platform/sys/Clock.h"
#include "platform/sys/Errors.h"
#include "platform/sys/FileWrite.h"
#include "report/TRpCompress.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>
#include <limits>
#include <utility>

namespace lb::report {

using gfx::EmfMetafile;
using Origin = TRpStream::Origin;

namespace {

// Holds the stream's lock for a sequence of operations.
class StreamLock {
public:
    explicit StreamLock(TRpStream& stream) : stream_(stream) { stream_.LockStream(); }
    ~StreamLock() { stream_.UnlockStream(); }
    StreamLock(const StreamLock&) = delete;
    StreamLock& operator=(const StreamLock&) = delete;

private:
    TRpStream& stream_;
};

[[noreturn]] void damaged(const QString& fileName, const QString& what)
{
    if (fileName.isEmpty())
        throw Error(QStringLiteral("The report pages are damaged: %1").arg(what));
    throw Error(QStringLiteral("\"%1\" is not a valid report file: %2")
                    .arg(QDir::toNativeSeparators(fileName), what));
}

double daysSince1899(const QDateTime& moment)
{
    return double(QDate(1899, 12, 30).daysTo(moment.date()))
           + moment.time().msecsSinceStartOfDay() / 86400000.0;
}

qint32 readInt32At(TRpStream& stream, qint64 offset)
{
    stream.Seek(offset, Origin::Begin);
    return stream.ReadInt32();
}

// Whether a record for page 1 that links back to itself starts right after a header of
// `headerSize` bytes; a file of just that header holds no page.
bool firstRecordFits(TRpStream& stream, qint64 headerSize, qint64 size)
{
    if (size == headerSize)
        return true;
    if (size < headerSize + 12 || readInt32At(stream, headerSize) != 1)
        return false;
    const qint64 next = stream.ReadInt32();
    return next >= headerSize + 12 && next <= size && readInt32At(stream, next - 4) == headerSize;
}

struct FileHeader {
    int size = TRpPageList::kHeaderSize;
    int pageCount = 0;
    bool compressed = false;
};

// Reads the header of a stream opened on a file; `fileName` names it in messages.
FileHeader readHeader(TRpStream& stream, const QString& fileName)
{
    StreamLock lock(stream);
    const qint64 size = stream.Size();
    const qint64 position = stream.Position();
    const bool fits128 = firstRecordFits(stream, TRpPageList::kHeaderSize, size);
    const bool fits124 = firstRecordFits(stream, TRpPageList::kOldHeaderSize, size);
    FileHeader header;
    if (fits128 && fits124) {
        // Both layouts fit (a contrived file): an uncompressed first page of the older layout
        // has the metafile signature " EMF" at offset 172.
        char text[4] = {};
        stream.Seek(173, Origin::Begin);
        stream.Read(text, 3);
        header.size = std::strcmp(text, "EMF") == 0 ? TRpPageList::kOldHeaderSize : TRpPageList::kHeaderSize;
    } else if (fits124) {
        header.size = TRpPageList::kOldHeaderSize;
    } else if (!fits128) {
        stream.Seek(position, Origin::Begin);
        damaged(fileName, QStringLiteral("no page record follows the header"));
    }
    char raw[TRpPageList::kHeaderSize] = {};
    stream.Seek(0, Origin::Begin);
    stream.ReadBuffer(raw, header.size);
    stream.Seek(position, Origin::Begin);
    const auto* bytes = reinterpret_cast<const uchar*>(raw);
    header.pageCount = qFromLittleEndian<qint32>(bytes + 8);
    // The older layout packs its fields without alignment: the flag is at 21, not 25.
    const quint8 flag = bytes[header.size == TRpPageList::kOldHeaderSize ? 21 : 25];
    if (flag > 1)
        damaged(fileName, QStringLiteral("compression flag %1").arg(flag));
    header.compressed = flag == 1;
    if (header.pageCount < 0 || header.pageCount > (size - header.size) / 12)
        damaged(fileName, QStringLiteral("page count %1").arg(header.pageCount));
    return header;
}

// Walks every record of a file: page numbers 1, 2, ... in order, each record's next offset
// inside the file and its start field pointing back at it, data of a size a page can have,
// and the last record ending the file.
void checkChain(TRpStream& stream, const FileHeader& header, const QString& fileName)
{
    StreamLock lock(stream);
    const qint64 size = stream.Size();
    qint64 start = header.size;
    for (int page = 1; page <= header.pageCount; ++page) {
        if (size - start < 12)
            damaged(fileName, QStringLiteral("page %1 is missing").arg(page));
        const qint32 number = readInt32At(stream, start);
        if (number != page)
            damaged(fileName, QStringLiteral("page %1 found where page %2 belongs").arg(number).arg(page));
        const qint64 next = stream.ReadInt32();
        if (next < start + 12 || next > size)
            damaged(fileName, QStringLiteral("page %1 points outside the file").arg(page));
        const qint64 length = next - 4 - (start + 8);
        if (header.compressed) {
            const qint64 count = length >= 4 ? stream.ReadInt32() : -1;
            if (count < EmfMetafile::kSizePrefix || count > EmfMetafile::kMaxBytes || count > (length - 4) * 8)
                damaged(fileName, QStringLiteral("page %1 has a size of %2 bytes").arg(page).arg(count));
        } else {
            if (length < EmfMetafile::kSizePrefix)
                damaged(fileName, QStringLiteral("page %1 is too short").arg(page));
            char prefix[EmfMetafile::kSizePrefix];
            stream.ReadBuffer(prefix, sizeof prefix);
            qint64 declared = 0;
            try {
                declared = EmfMetafile::declaredSize(prefix, sizeof prefix);
            } catch (const Error& e) {
                damaged(fileName, QStringLiteral("page %1: %2").arg(page).arg(e.message()));
            }
            if (declared != length)
                damaged(fileName, QStringLiteral("page %1 has a size of %2 bytes in a record of %3")
                                      .arg(page).arg(declared).arg(length));
        }
        if (readInt32At(stream, next - 4) != start)
            damaged(fileName, QStringLiteral("page %1 does not link back to its start").arg(page));
        start = next;
    }
    if (start != size)
        damaged(fileName, QStringLiteral("%1 bytes follow the last page").arg(size - start));
}

} // namespace

TRpPageList::TRpPageList() = default;

TRpPageList::~TRpPageList() = default;

void TRpPageList::SetStream(std::unique_ptr<TRpStream> stream)
{
    std::lock_guard lock(mutex_);
    stream_ = std::move(stream);
    headerSize_ = kHeaderSize;
    pageCount_ = 0; // a new stream holds no pages yet
}

void TRpPageList::FreeStream()
{
    std::lock_guard lock(mutex_);
    stream_.reset();
    pageCount_ = 0;
}

TRpStream& TRpPageList::RequireStream()
{
    if (!stream_)
        throw Error(QStringLiteral("The report has no page stream"));
    return *stream_;
}

void TRpPageList::WriteHeaderOn(TRpStream& stream, int pageCount)
{
    char header[kHeaderSize] = {};
    qToLittleEndian<quint16>(3, header);
    qToLittleEndian<quint16>(40, header + 2);
    qToLittleEndian<qint32>(pageCount, header + 8);
    const double written = daysSince1899(Clock::now());
    quint64 bits;
    std::memcpy(&bits, &written, sizeof bits);
    qToLittleEndian<quint64>(bits, header + 16);
    header[25] = compression_ ? 1 : 0;
    StreamLock lock(stream);
    const qint64 position = stream.Position();
    stream.Seek(0, Origin::Begin);
    stream.Write(header, kHeaderSize);
    stream.Seek(position, Origin::Begin);
}

void TRpPageList::WriteFileHeader()
{
    std::lock_guard lock(mutex_);
    WriteHeaderOn(RequireStream(), pageCount_);
}

void TRpPageList::ReadFileHeader()
{
    std::lock_guard lock(mutex_);
    const FileHeader header = readHeader(RequireStream(), QString());
    headerSize_ = header.size;
    compression_ = header.compressed;
    pageCount_ = header.pageCount;
}

void TRpPageList::AddPage(const QByteArray& bytes)
{
    // What the file's chain check asks of every page, so that a page stored can be read back.
    if (EmfMetafile::declaredSize(bytes.constData(), bytes.size()) != bytes.size())
        throw Error(QStringLiteral("A page of %1 bytes declares another size").arg(bytes.size()));
    std::lock_guard lock(mutex_);
    TRpStream& stream = RequireStream();
    StreamLock streamLock(stream);
    const int number = pageCount_ + 1;
    QByteArray code;
    if (compression_) {
        code.reserve(bytes.size() / 2);
        TRpCompress coder(&code);
        for (char c : bytes)
            coder.Compress(std::uint8_t(c));
    }
    // A record that cannot be written whole (the temporary folder is full) goes, with the header
    // written for it: half a record would refuse the saved file and hide the page before it.
    const qint64 before = stream.Size();
    try {
        if (number == 1)
            WriteHeaderOn(stream, number);
        const qint64 start = stream.Seek(0, Origin::End);
        // Offsets are stored in 32 bits: a record reaching past them would corrupt the chain.
        const qint64 data = compression_ ? 4 + code.size() : bytes.size();
        const qint64 end = start + 8 + data + 4;
        if (end > std::numeric_limits<qint32>::max())
            throw Error(QStringLiteral("The report is too large: its pages pass 2 GB"));
        // The record is written in one pass from its start, as the stream's writes go out.
        stream.WriteInt32(number);
        stream.WriteInt32(qint32(end));
        if (compression_) {
            stream.WriteInt32(qint32(bytes.size()));
            stream.Write(code.constData(), code.size());
        } else {
            stream.Write(bytes.constData(), bytes.size());
        }
        stream.WriteInt32(qint32(start));
    } catch (...) {
        stream.Truncate(before);
        throw;
    }
    pageCount_ = number;
}

std::optional<EmfMetafile> TRpPageList::GetPage(int number)
{
    if (number < 1 || number > pageCount_)
        return std::nullopt;
    std::lock_guard lock(mutex_);
    TRpStream& stream = RequireStream();
    StreamLock streamLock(stream);
    try {
        return ReadPage(stream, number);
    } catch (...) {
        // A page that failed to read must not leave the stream inside a record, where the next
        // seek would start from.
        stream.Seek(0, Origin::End);
        throw;
    }
}

EmfMetafile TRpPageList::ReadPage(TRpStream& stream, int number)
{
    SeekToPage(number);
    const qint64 start = stream.Position();
    if (stream.ReadInt32() != number)
        damaged(QString(), QStringLiteral("page %1 not found").arg(number));
    const qint64 next = stream.ReadInt32();
    const qint64 length = next - 4 - (start + 8);
    if (length < 4 || next > stream.Size())
        damaged(QString(), QStringLiteral("page %1 points outside the stream").arg(number));
    QByteArray bytes;
    if (compression_) {
        const qint64 count = stream.ReadInt32();
        if (count < EmfMetafile::kSizePrefix || count > EmfMetafile::kMaxBytes || count > (length - 4) * 8)
            damaged(QString(), QStringLiteral("page %1 has a size of %2 bytes").arg(number).arg(count));
        QByteArray code(length - 4, Qt::Uninitialized);
        stream.ReadBuffer(code.data(), code.size());
        bytes.resize(count);
        TRpCompress coder{QByteArrayView(code)};
        for (qint64 i = 0; i < count; ++i)
            bytes[i] = char(coder.Expand());
    } else {
        bytes.resize(length);
        stream.ReadBuffer(bytes.data(), length);
    }
    stream.ReadInt32(); // the start field: the stream now stands at the next record
    return EmfMetafile::fromBytes(bytes);
}

void TRpPageList::SeekToFirst()
{
    std::lock_guard lock(mutex_);
    RequireStream().Seek(headerSize_, Origin::Begin);
}

void TRpPageList::SeekToLast()
{
    std::lock_guard lock(mutex_);
    TRpStream& stream = RequireStream();
    StreamLock streamLock(stream);
    stream.Seek(-4, Origin::End);
    stream.Seek(stream.ReadInt32(), Origin::Begin);
}

void TRpPageList::SeekToPage(int number)
{
    std::lock_guard lock(mutex_);
    TRpStream& stream = RequireStream();
    StreamLock streamLock(stream);
    if (number == 1) {
        SeekToFirst();
        return;
    }
    const qint64 size = stream.Size();
    if (stream.Position() == size)
        SeekToLast();
    const int current = stream.ReadInt32();
    stream.Seek(-4, Origin::Current);
    if (current == number)
        return;
    // Each step must land on another record inside the stream; a chain that does not reach the
    // page within as many steps as there are pages is damaged rather than walked for ever.
    for (int steps = 0; steps <= pageCount_; ++steps) {
        const qint64 start = stream.Position();
        const int found = stream.ReadInt32();
        if (found == number) {
            stream.Seek(-4, Origin::Current);
            return;
        }
        qint64 target;
        if (number > current) {
            target = stream.ReadInt32();
            if (target <= start || target >= size)
                break;
        } else {
            stream.Seek(-8, Origin::Current);
            target = stream.ReadInt32();
            if (target < headerSize_ || target >= start)
                break;
        }
        stream.Seek(target, Origin::Begin);
    }
    damaged(QString(), QStringLiteral("page %1 cannot be reached").arg(number));
}

void TRpPageList::SaveToFile(const QString& fileName)
{
    std::lock_guard lock(mutex_);
    TRpStream& stream = RequireStream();
    if (!stream.ReadOnly()) {
        // The stored count is brought up to date (a run that stopped early never rewrote it),
        // and a report without pages still gets its header.
        StreamLock streamLock(stream);
        if (stream.Size() < kHeaderSize) {
            WriteHeaderOn(stream, pageCount_);
        } else {
            const qint64 position = stream.Position();
            stream.Seek(8, Origin::Begin);
            stream.WriteInt32(pageCount_);
            stream.Seek(position, Origin::Begin);
        }
    }
    // The saved file is made and renamed in its folder, which the user is told of when it may
    // not be written.
    const QString folder = QFileInfo(fileName).absolutePath();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw FileWriteError(FileFailure::ofFolder(
            folder, QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(fileName), file.errorString())));
    stream.SaveToStream(file);
    if (!file.commit())
        throw FileWriteError(FileFailure::ofFolder(
            folder, QStringLiteral("Cannot write file \"%1\". %2").arg(QDir::toNativeSeparators(fileName), file.errorString())));
}

void TRpPageList::LoadFromFile(const QString& fileName)
{
    std::lock_guard lock(mutex_);
    std::unique_ptr<TRpStream> loaded = TRpStream::CreateFromFile(fileName);
    const FileHeader header = readHeader(*loaded, fileName);
    checkChain(*loaded, header, fileName);
    std::swap(stream_, loaded);
    const int headerSize = std::exchange(headerSize_, header.size);
    const bool compression = std::exchange(compression_, header.compressed);
    const int pageCount = pageCount_.exchange(header.pageCount);
    // Every page is read once: a page whose metafile is damaged refuses the file now, while the
    // pages shown before are still there, instead of failing later in a paint or a print.
    int number = 1;
    try {
        for (; number <= header.pageCount; ++number)
            ReadPage(*stream_, number);
    } catch (const Error& e) {
        std::swap(stream_, loaded);
        headerSize_ = headerSize;
        compression_ = compression;
        pageCount_ = pageCount;
        damaged(fileName, QStringLiteral("page %1: %2").arg(number).arg(e.message()));
    }
    stream_->Seek(0, Origin::End);
}

} // namespace lb::report
