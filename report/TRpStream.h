// The page store's byte stream: in memory up to a limit, then in a temporary file.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>

class QFile;
class QIODevice;

namespace lb::report {

// Every operation takes the stream's own lock, so the generation thread and the user-interface
// thread can share it; callers that need several operations in a row hold LockStream. Failures
// (a file that cannot be created or opened, a short read, a failed write) throw lb::Error.
class TRpStream {
public:
    enum class Origin { Begin, Current, End };

    // An empty stream in memory that moves to a temporary file (system temporary folder, name
    // starting with "RPF") as soon as it holds more than `memoryLimit` bytes.
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
    // Writes at the position, growing the stream as needed.
    void Write(const char* data, qint64 count);
    void WriteInt32(qint32 value);
    // Moves the position and returns it; a position before the start throws.
    qint64 Seek(qint64 offset, Origin origin);
    qint64 Position();
    qint64 Size();

    // Copies the whole stream to `dest` in blocks of 10240 bytes, from the start.
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

    std::recursive_mutex mutex_;
    bool inMemory_ = true;
    bool readOnly_ = false;
    qint32 memoryLimit_ = 0;
    QByteArray memory_;
    qint64 memoryPosition_ = 0;
    QString tempFileName_;
    std::unique_ptr<QFile> file_;
    // The file's size as written so far: asking the file would write out its buffer each time.
    qint64 fileSize_ = 0;
};

} // namespace lb::report
