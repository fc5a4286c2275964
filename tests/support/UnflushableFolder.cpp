// A folder whose flush fails, as on a disk that has no room left for the folder's entries.
#include "UnflushableFolder.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The folder whose flush fails (its real path), and the system's error code it fails with.
std::atomic<const char*> unflushable{nullptr};
std::atomic<int> flushError{ENOSPC};

} // namespace

UnflushableFolder::UnflushableFolder(const QString& folder, int code)
    : folder_(QFile::encodeName(QFileInfo(folder).canonicalFilePath()))
{
    flushError = code;
    unflushable = folder_.constData();
}

UnflushableFolder::~UnflushableFolder()
{
    unflushable = nullptr;
}

// Stands in for the C library's fsync() in the programs that use UnflushableFolder: the
// unflushable folder fails, everything else is flushed as the C library would.
extern "C" int fsync(int fd)
{
    struct stat info {};
    if (const char* folder = unflushable; folder && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        char path[PATH_MAX] = {};
        const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
        if (::readlink(link.constData(), path, sizeof path - 1) > 0 && std::strcmp(path, folder) == 0) {
            errno = flushError;
            return -1;
        }
    }
    return int(::syscall(SYS_fsync, fd));
}
