// The pages of a generated or loaded report, kept as a chain of records in a TRpStream.
#pragma once

#include "platform/gfx/EmfMetafile.h"
#include "report/TRpStream.h"

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

namespace lb::report {

// The stream (in memory, in its temporary file or in a saved ".RPF" file) is a 128-byte header
// followed by one record per page:
//   page number (int32, from 1) | next (int32: offset just past the record) | data | start
//   (int32: offset of the record's page number).
// Data is the page's metafile, or when coded an int32 byte count followed by TRpCompress code.
// All integers are little-endian; the last 4 bytes of a stream with pages hold the offset of the
// last record, so the chain can be walked both ways.
//
// The generation thread adds pages while the user-interface thread reads them: AddPage and
// GetPage hold the list's lock, which is always taken before the stream's.
class TRpPageList {
public:
    static constexpr int kHeaderSize = 128;
    static constexpr int kOldHeaderSize = 124;

    TRpPageList();
    ~TRpPageList();
    TRpPageList(const TRpPageList&) = delete;
    TRpPageList& operator=(const TRpPageList&) = delete;

    // The list owns its stream: the output device hands it one for a run; LoadFromFile opens
    // one on the file; a new stream starts with no pages. FreeStream deletes a temporary file and
    // clears the page count.
    void SetStream(std::unique_ptr<TRpStream> stream);
    void FreeStream();
    TRpStream* Stream() const { return stream_.get(); }

    bool Compression() const { return compression_; }
    void SetCompression(bool on) { compression_ = on; }
    // Pages stored so far; callers that only compare it may read it without the lock.
    int PageCount() const { return pageCount_.load(); }
    // Size of the header of the stream: 124 for a file of the older layout.
    int HeaderSize() const { return headerSize_; }

    // Appends a page, the bytes of a metafile as EmfWriter hands them over; the first page
    // writes the header first. Throws lb::Error without a stream, and, writing nothing, when
    // the bytes do not start with a metafile header declaring their size or the record would
    // reach past the 32-bit offsets (2 GB), or when the stream takes the record only in part
    // (its temporary folder is full): the stream is then cut back to where the record began,
    // every page before it still read and saved whole.
    void AddPage(const QByteArray& page);
    // Page `number` (from 1), or none when there is no such page. Throws lb::Error when the
    // stored page is damaged.
    std::optional<gfx::EmfMetafile> GetPage(int number);

    // Leaves the stream at the start of record `number`.
    void SeekToPage(int number);
    void SeekToFirst();
    void SeekToLast();

    // Writes the header with the page count, the clock's date and time and the compression
    // flag, keeping the stream's position.
    void WriteFileHeader();
    // Reads the header: its size, the page count and the compression flag.
    void ReadFileHeader();

    // Writes the report to `fileName` through a temporary file renamed over it at the end, so
    // saving over the loaded file is safe. Throws an lb::FileWriteError when the file cannot be
    // made or written (a disk without room, a folder that may not be written, named as such), or
    // lb::Error.
    void SaveToFile(const QString& fileName);
    // Opens a saved report file and checks its header and the chain of its records (page
    // numbers in sequence, offsets inside the file, sizes that a page can have). A file that
    // fails is refused with lb::Error and the current pages stay. An old file with the 124-byte
    // header is recognised by which header size its first record fits.
    void LoadFromFile(const QString& fileName);

    // Sets the page count to 0; the stream stays (its owner frees it with FreeStream).
    void Clear() { pageCount_ = 0; }

    void LockList() { mutex_.lock(); }
    void UnlockList() { mutex_.unlock(); }

private:
    TRpStream& RequireStream();
    gfx::EmfMetafile ReadPage(TRpStream& stream, int number);
    void WriteHeaderOn(TRpStream& stream, int pageCount);

    std::recursive_mutex mutex_;
    std::unique_ptr<TRpStream> stream_;
    bool compression_ = false;
    std::atomic<int> pageCount_{0};
    int headerSize_ = kHeaderSize;
};

} // namespace lb::report
