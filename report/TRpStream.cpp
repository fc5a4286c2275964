// Page store stream: memory buffer, switch to a temporary file, and block copy for saving.
#include "report/TRpStream.h"

#include "platform/sys/Errors.h"
#include "platform/sys/FileWrite.h"
#include "platform/sys/LockedTemporary.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QScopeGuard>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace lb::report {

namespace {

constexpr qint64 kCopyBlock = 10240;

[[noreturn]] void streamError(const QString& what)
{
    throw Error(QStringLiteral("Stream error: %1").arg(what));
}

// A write into the file `path` that failed with the system's error `code`.
[[noreturn]] void writeError(int code, const QString& path, FileWrite::Place place)
{
    throw FileWriteError(
        FileFailure::ofWrite(code, path, QStringLiteral("Stream error: write failed: %1").arg(FileWrite::systemError(code)), place));
}

} // namespace

TRpStream::TRpStream(qint32 memoryLimit) : memoryLimit_(memoryLimit) {}

std::unique_ptr<TRpStream> TRpStream::CreateFromFile(const QString& fileName)
{
    std::unique_ptr<TRpStream> stream(new TRpStream());
    stream->inMemory_ = false;
    stream->readOnly_ = true;
    stream->file_ = std::make_unique<QFile>(fileName);
    if (!stream->file_->open(QIODevice::ReadOnly))
        throw FileOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(fileName),
                                                                             stream->file_->errorString()));
    stream->fileSize_ = stream->file_->size();
    return stream;
}

TRpStream::~TRpStream()
{
    std::lock_guard lock(mutex_);
    // A temporary file goes; a loaded file is only closed.
    spill_.reset();
    file_.reset();
}

int TRpStream::Handle() const
{
    return spill_ ? spill_->handle() : file_->handle();
}

qint64 TRpStream::Read(char* data, qint64 count)
{
    std::lock_guard lock(mutex_);
    if (count <= 0)
        return 0;
    if (inMemory_) {
        const qint64 n = std::clamp<qint64>(memory_.size() - memoryPosition_, 0, count);
        if (n > 0)
            std::memcpy(data, memory_.constData() + memoryPosition_, size_t(n));
        memoryPosition_ += n;
        return n;
    }
    qint64 n = 0;
    while (n < count) {
        const ssize_t got = ::pread(Handle(), data + n, size_t(count - n), off_t(filePosition_ + n));
        if (got > 0)
            n += got;
        else if (got == 0)
            break;
        else if (errno != EINTR)
            streamError(QStringLiteral("read failed: %1").arg(FileWrite::systemError(errno)));
    }
    filePosition_ += n;
    return n;
}

void TRpStream::ReadBuffer(char* data, qint64 count)
{
    std::lock_guard lock(mutex_);
    if (Read(data, count) != count)
        streamError(QStringLiteral("read beyond the end of the stream"));
}

qint32 TRpStream::ReadInt32()
{
    char raw[4];
    ReadBuffer(raw, 4);
    return qFromLittleEndian<qint32>(raw);
}

void TRpStream::Write(const char* data, qint64 count)
{
    std::lock_guard lock(mutex_);
    if (readOnly_)
        streamError(QStringLiteral("the stream is read-only"));
    if (count <= 0)
        return;
    if (inMemory_) {
        const qint64 end = memoryPosition_ + count;
        if (memoryPosition_ > memory_.size()) // a gap left by a seek past the end reads as zeros
            memory_.append(QByteArray(memoryPosition_ - memory_.size(), '\0'));
        if (end > memory_.size())
            memory_.resize(end);
        std::memcpy(memory_.data() + memoryPosition_, data, size_t(count));
        memoryPosition_ = end;
        // A stream of exactly the limit stays in memory.
        if (memory_.size() > memoryLimit_)
            MoveToFile();
        return;
    }
    qint64 written = 0;
    const int code = FileWrite::writeAt(Handle(), filePosition_, data, count, &written);
    filePosition_ += written;
    fileSize_ = std::max(fileSize_, filePosition_);
    if (code != 0)
        writeError(code, tempFileName_, FileWrite::Place::TemporaryFolder);
}

void TRpStream::WriteInt32(qint32 value)
{
    char raw[4];
    qToLittleEndian<qint32>(value, raw);
    Write(raw, 4);
}

void TRpStream::MoveToFile()
{
    auto temp = std::make_unique<LockedTemporary>(kReportPages);
    if (!temp->isValid())
        throw FileWriteError(FileFailure::ofFolder(QDir::tempPath(),
                                                   QStringLiteral("Cannot create a temporary file in \"%1\". %2")
                                                       .arg(QDir::toNativeSeparators(QDir::tempPath()), temp->errorString()),
                                                   FileWrite::Place::TemporaryFolder));
    // Should the file not take the bytes, it goes and the stream stays in memory.
    if (const int code = FileWrite::writeAt(temp->handle(), 0, memory_.constData(), memory_.size()))
        writeError(code, temp->path(), FileWrite::Place::TemporaryFolder);
    tempFileName_ = temp->path();
    fileSize_ = memory_.size();
    filePosition_ = memoryPosition_;
    spill_ = std::move(temp);
    memory_ = QByteArray();
    memoryPosition_ = 0;
    inMemory_ = false;
}

qint64 TRpStream::Seek(qint64 offset, Origin origin)
{
    std::lock_guard lock(mutex_);
    const qint64 base = origin == Origin::Begin ? 0 : origin == Origin::Current ? Position() : Size();
    const qint64 target = base + offset;
    if (target < 0)
        streamError(QStringLiteral("seek before the start of the stream"));
    (inMemory_ ? memoryPosition_ : filePosition_) = target;
    return target;
}

qint64 TRpStream::Position()
{
    std::lock_guard lock(mutex_);
    return inMemory_ ? memoryPosition_ : filePosition_;
}

void TRpStream::Truncate(qint64 size)
{
    std::lock_guard lock(mutex_);
    if (inMemory_) {
        if (size < memory_.size())
            memory_.truncate(size);
        memoryPosition_ = memory_.size();
        return;
    }
    if (size < fileSize_) {
        if (::ftruncate(Handle(), off_t(size)) != 0)
            streamError(QStringLiteral("truncate failed: %1").arg(FileWrite::systemError(errno)));
        fileSize_ = size;
    }
    filePosition_ = fileSize_;
}

qint64 TRpStream::Size()
{
    std::lock_guard lock(mutex_);
    return inMemory_ ? memory_.size() : fileSize_;
}

void TRpStream::SaveToStream(QIODevice& dest)
{
    std::lock_guard lock(mutex_);
    // The page list walks from where the stream stands: a copy cut short in the middle of a
    // record must not leave it there.
    const auto restore = qScopeGuard([this, position = Position()] { Seek(position, Origin::Begin); });
    Seek(0, Origin::Begin);
    // A file is written through its descriptor from its position on, so that a disk without
    // room is named as such; its position is then moved past what was written.
    auto* file = qobject_cast<QFileDevice*>(&dest);
    if (file && !file->flush())
        streamError(QStringLiteral("write failed: %1").arg(file->errorString()));
    const qint64 start = dest.pos();
    qint64 at = start;
    char block[kCopyBlock];
    for (;;) {
        const qint64 n = Read(block, kCopyBlock);
        if (n == 0)
            break;
        if (!file) {
            if (dest.write(block, n) != n)
                streamError(QStringLiteral("write failed: %1").arg(dest.errorString()));
            continue;
        }
        if (const int code = FileWrite::writeAt(file->handle(), at, block, n))
            writeError(code, file->fileName(), FileWrite::Place::File);
        at += n;
    }
    if (file && at != start && !file->seek(at))
        streamError(QStringLiteral("seek failed: %1").arg(file->errorString()));
}

} // namespace lb::report
