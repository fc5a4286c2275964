// The stand-in for the C library's fsync(): a folder whose flush fails, or whose files' flushes
// fail (UnflushableFolder), and a disk that garbles what it was given (GarblingDisk).
#include "GarblingDisk.h"
#include "UnflushableFolder.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The folder whose flush fails, or whose files' flushes fail (its real path), the system's
// error code they fail with, and how many of the next of those flushes still succeed.
std::atomic<const char*> unflushable{nullptr};
std::atomic<bool> itsFiles{false};
std::atomic<int> flushError{ENOSPC};
std::atomic<int> flushesSpared{0};

// The folder whose files the disk garbles (with a trailing slash), what it garbles, and how
// many of the next files flushed there are still left as they were written.
std::atomic<const char*> garbledFolder{nullptr};
std::atomic<GarblingDisk::Garbled> garbled{GarblingDisk::Garbled::LastByte};
std::atomic<int> spared{0};

// The path `fd` is open on; empty when the system does not say.
QByteArray pathOf(int fd)
{
    char path[PATH_MAX] = {};
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    return ::readlink(link.constData(), path, sizeof path - 1) > 0 ? QByteArray(path) : QByteArray();
}

// Whether `fd` is the unflushable folder `target` itself or, with `files`, a regular file
// directly in it.
bool unflushableOne(int fd, const struct stat& info, const char* target, bool files)
{
    if (!(files ? S_ISREG(info.st_mode) : S_ISDIR(info.st_mode)))
        return false;
    const QByteArray path = pathOf(fd);
    if (!files)
        return path == target;
    const qsizetype slash = path.lastIndexOf('/');
    return slash >= 0 && path.left(slash) == target;
}

// Garbles the file `fd` as GarblingDisk says, when it is one of its folder written to; false
// when the garbling write itself failed.
bool garble(int fd, const struct stat& info, const char* folder)
{
    if (!S_ISREG(info.st_mode) || info.st_size == 0 || (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY
        || !pathOf(fd).startsWith(folder) || spared-- > 0)
        return true;
    if (garbled == GarblingDisk::Garbled::Start) {
        const char blank[16] = {};
        return info.st_size < 16 || ::pwrite(fd, blank, sizeof blank, 0) == sizeof blank;
    }
    char last = 0;
    if (::pread(fd, &last, 1, info.st_size - 1) != 1)
        return true;
    last = char(~last);
    return ::pwrite(fd, &last, 1, info.st_size - 1) == 1;
}

} // namespace

UnflushableFolder::UnflushableFolder(const QString& folder, int code, Flushes failing, int spare)
    : folder_(QFile::encodeName(QFileInfo(folder).canonicalFilePath()))
{
    flushError = code;
    itsFiles = failing == Flushes::OfItsFiles;
    flushesSpared = spare;
    unflushable = folder_.constData();
}

UnflushableFolder::~UnflushableFolder()
{
    unflushable = nullptr;
}

GarblingDisk::GarblingDisk(const QString& folder, Garbled what, int spare)
    : folder_(QFile::encodeName(folder) + '/')
{
    garbled = what;
    spared = spare;
    garbledFolder = folder_.constData();
}

GarblingDisk::~GarblingDisk()
{
    garbledFolder = nullptr;
}

// Stands in for the C library's fsync() in the programs that use either: the unflushable folder
// or its files fail, a garbled file is garbled first, everything else is flushed as the C library
// would.
extern "C" int fsync(int fd)
{
    const char* folder = unflushable;
    const char* garbling = garbledFolder;
    struct stat info {};
    if ((folder || garbling) && ::fstat(fd, &info) == 0) {
        if (folder && unflushableOne(fd, info, folder, itsFiles) && flushesSpared-- <= 0) {
            errno = flushError;
            return -1;
        }
        if (garbling && !garble(fd, info, garbling))
            return -1;
    }
    return int(::syscall(SYS_fsync, fd));
}
