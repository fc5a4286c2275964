// Writing into a file with the system's reason kept, and the one text for a disk without room.
#pragma once

#include <QString>

namespace lb {

// Qt's file classes lose the system's reason when a write is cut short part of the way (the
// disk filled up while a block went out): they report "Unknown error". Writers that must say
// why they failed write through writeAt() and word their failures with failure().
class FileWrite {
public:
    // Writes the `count` bytes at `data` into the open file `fd` from byte `offset` on, going on
    // after writes the system cut short or interrupted; the file's own position stays. Returns
    // 0 when every byte is written, else the system's error code (errno) of the write that
    // failed; `written`, when given, receives how many bytes were written before it.
    static int writeAt(int fd, qint64 offset, const char* data, qint64 count, qint64* written = nullptr);

    // The system's own words for its error code `code`.
    static QString systemError(int code);

    // What the write went into: a file of the user's command (the books, a copy, a saved
    // report), or the system's temporary folder, where the report keeps its pages.
    enum class Place { File, TemporaryFolder };

    // What a write into the file `path` that failed with the system's error code `code` is
    // reported as. When the disk had no room for it (ENOSPC: the disk is full; EDQUOT: the
    // user's disk quota is used up), the cause in Chinese and the folder of `path` (or `path`
    // itself, a folder), which the user is shown; for any other code, `otherwise`, the
    // writer's own words.
    static QString failure(int code, const QString& path, const QString& otherwise, Place place = Place::File);

    // What a window shows for a command that failed for `reason`: the reason when failure()
    // made it for a disk without room, else `message`, the window's general failure message
    // (which would send the user looking for another cause of a full disk).
    static QString shown(const QString& reason, const QString& message);
};

} // namespace lb
