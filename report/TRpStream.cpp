// Page store stream: memory buffer, switch to a temporary file, and block copy for saving.
#include "report/TRpStream.h"

#include "platform/sys/Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace lb::report {

namespace {

constexpr qint64 kCopyBlock = 10240;

[[noreturn]] void streamError(const QString& what)
{
    throw Error(QStringLiteral("Stream error: %1").arg(what));
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
    // A temporary file removes itself when closed; a loaded file is only closed.
    file_.reset();
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
    const qint64 n = file_->read(data, count);
    if (n < 0)
        streamError(QStringLiteral("read failed: %1").arg(file_->errorString()));
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
    if (file_->write(data, count) != count)
        streamError(QStringLiteral("write failed: %1").arg(file_->errorString()));
    fileSize_ = std::max(fileSize_, file_->pos());
}

void TRpStream::WriteInt32(qint32 value)
{
    char raw[4];
    qToLittleEndian<qint32>(value, raw);
    Write(raw, 4);
}

void TRpStream::MoveToFile()
{
    auto temp = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/RPFXXXXXX"));
    if (!temp->open())
        throw FileOpenError(QStringLiteral("Cannot create a temporary file in \"%1\". %2")
                                .arg(QDir::toNativeSeparators(QDir::tempPath()), temp->errorString()));
    if (temp->write(memory_) != memory_.size() || !temp->seek(memoryPosition_))
        streamError(QStringLiteral("write failed: %1").arg(temp->errorString()));
    tempFileName_ = temp->fileName();
    fileSize_ = memory_.size();
    file_ = std::move(temp);
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
    if (inMemory_)
        memoryPosition_ = target;
    else if (target != file_->pos() && !file_->seek(target)) // a seek writes out the file's buffer
        streamError(QStringLiteral("seek failed: %1").arg(file_->errorString()));
    return target;
}

qint64 TRpStream::Position()
{
    std::lock_guard lock(mutex_);
    return inMemory_ ? memoryPosition_ : file_->pos();
}

qint64 TRpStream::Size()
{
    std::lock_guard lock(mutex_);
    return inMemory_ ? memory_.size() : fileSize_;
}

void TRpStream::SaveToStream(QIODevice& dest)
{
    std::lock_guard lock(mutex_);
    Seek(0, Origin::Begin);
    char block[kCopyBlock];
    for (;;) {
        const qint64 n = Read(block, kCopyBlock);
        if (n == 0)
            break;
        if (dest.write(block, n) != n)
            streamError(QStringLiteral("write failed: %1").arg(dest.errorString()));
    }
}

} // namespace lb::report
