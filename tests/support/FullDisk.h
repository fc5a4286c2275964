// A disk that runs out of room, for the tests of the writers that must say so.
#pragma once

#include <QString>
#include <cerrno>

// While it lives, the files directly in `folder` take `room` more bytes in all: the write that
// passes the room writes what still fits, as a filling disk cuts a write short, and every write
// after it fails with `code` (ENOSPC: the disk is full; EDQUOT: the user's quota is used up).
// With `refusals` of 0 or more, only that many writes fail, and those after them go through
// whole again, as when room is freed meanwhile (a writer must not forget the gap). One at a time. A program that uses it gets its pwrite() and pwrite64() in place of the C
// library's, which pass every other write on unchanged: the program's writers write through
// pwrite(), the database engine through pwrite64(). A library that writes through the C
// library's streams (fwrite()) passes by it: ScratchDisk is a real disk for that.
class FullDisk {
public:
    explicit FullDisk(const QString& folder, qint64 room = 0, int code = ENOSPC, int refusals = -1);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
};
