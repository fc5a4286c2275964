// A folder whose flush fails, or whose files' flushes fail, as on a disk that has no room left.
#pragma once

#include <QByteArray>
#include <QString>

// While it lives, flushing the folder `folder` itself (fsync() of the folder, as after a rename
// in it), or with Flushes::OfItsFiles that of any file directly in it (fsync() of a file just
// written), fails with the system's error code `code` (ENOSPC: the disk is full; EDQUOT: the
// user's quota is used up, EIO: the disk failed), the first `spare` of those flushes excepted;
// everything else flushes as ever. One at a time.
// A program that uses it gets its fsync() in place of the C library's.
class UnflushableFolder {
public:
    enum class Flushes { OfTheFolder, OfItsFiles };
    UnflushableFolder(const QString& folder, int code, Flushes failing = Flushes::OfTheFolder, int spare = 0);
    ~UnflushableFolder();
    UnflushableFolder(const UnflushableFolder&) = delete;
    UnflushableFolder& operator=(const UnflushableFolder&) = delete;

private:
    QByteArray folder_; // its real path, which the stand-in compares
};
