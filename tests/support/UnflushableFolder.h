// A folder whose flush fails, as on a disk that has no room left for the folder's entries.
#pragma once

#include <QByteArray>
#include <QString>

// While it lives, flushing the folder `folder` itself (fsync() of the folder, as after a rename
// in it) fails with the system's error code `code` (ENOSPC: the disk is full; EDQUOT: the user's
// quota is used up); its files flush as ever. One at a time. A program that uses it gets its
// fsync() in place of the C library's, which flushes everything else unchanged.
class UnflushableFolder {
public:
    UnflushableFolder(const QString& folder, int code);
    ~UnflushableFolder();
    UnflushableFolder(const UnflushableFolder&) = delete;
    UnflushableFolder& operator=(const UnflushableFolder&) = delete;

private:
    QByteArray folder_; // its real path, which the stand-in compares
};
