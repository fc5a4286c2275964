// The page store's byte stream: in memory up to a limit, then in a temporary file.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>

class QFile;
class QIODevice;

namespace lb {
class LockedTemporary;
}

namespace lb::report {

// Every operation takes the stream's own lock, so the generation thread and the user-interface
// thread can share it; callers that need several operations in a row hold LockStream. Failures
// (a file that cannot be created or opened, a short read, a failed write) throw lb::Error; a
// write the temporary folder has no room for says so in Chinese, naming the folder. A file is
// read and written at the stream's own position through its descriptor, unbuffered, so that a
// failed write keeps the system's reason.
class TRpStream {
public:
    enum class Origin { Begin, Current, End };

    // An empty stream in memory that moves to a temporary file (system temporary folder, named as
    // lb::kReportPages says and locked while the stream lives: lb::LockedTemporary, which a start
    // removes after a killed run) as soon as it holds more than `memoryLimit` bytes.
    explicit TRpStream(qint32 memoryLimit);
    // A stream reading an existing file, which other programs may keep reading too. Such a
    // stream is read-only and freeing it leaves the file in place. Throws lb::FileOpenError.
    static std::unique_ptr<TRpStream> CreateFromFile(const QString& fileName);
    // Frees the memory or closes the file; a temporary file is deleted.
    ~TRpStream();
    TRpStream(const TRpStream&) = delete;
    TRpStream& operator=(const TRpStream&) = delete;

    // Reads up to `count` bytes at the position; returns how many were read (0 at the end).
    qint64 Read(char* data, qint64 count);
    // Reads exactly `count` bytes or throws.
    void ReadBuffer(char* data, qint64 count);
    qint32 ReadInt32();
    // Writes at the position, growing the stream as needed. A write that fails may have written
    // part of its bytes: the stream's size counts them.
    void Write(const char* data, qint64 count);
    void WriteInt32(qint32 value);
    // Cuts the stream to `size` bytes when it is longer, and moves the position to its end.
    void Truncate(qint64 size);
    // Moves the position and returns it; a position before the start throws.
    qint64 Seek(qint64 offset, Origin origin);
    qint64 Position();
    qint64 Size();

    // Copies the whole stream to `dest` in blocks of 10240 bytes, from the start; a file is
    // written through its descriptor, so that a disk without room is named as such. The
    // stream's position is the same afterwards, whether the copy succeeded or threw.
    void SaveToStream(QIODevice& dest);

    void LockStream() { mutex_.lock(); }
    void UnlockStream() { mutex_.unlock(); }

    bool InMemory() const { return inMemory_; }
    bool ReadOnly() const { return readOnly_; }
    qint32 MemoryLimit() const { return memoryLimit_; }
    // Name of the temporary file once the stream has moved there; empty otherwise.
    QString TempFileName() const { return tempFileName_; }

private:
    TRpStream() = default;
    void MoveToFile();
    int Handle() const; // the file's descriptor, temporary or loaded

    std::recursive_mutex mutex_;
    bool inMemory_ = true;
    bool readOnly_ = false;
    qint32 memoryLimit_ = 0;
    QByteArray memory_;
    qint64 memoryPosition_ = 0;
    QString tempFileName_;
    // Holds the temporary file open and removes it when freed; its descriptor does the work.
    std::unique_ptr<lb::LockedTemporary> spill_;
    // Holds a loaded file open; its descriptor does the work.
    std::unique_ptr<QFile> file_;
    qint64 filePosition_ = 0;
    qint64 fileSize_ = 0; // as written so far, which the QFile does not see
};

} // namespace lb::report
