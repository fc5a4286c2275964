// A disk that runs out of room, for the tests of the writers that must say so.
#include "FullDisk.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::atomic<bool> full{false};
std::mutex guard;
std::string fullFolder; // its real path, without a trailing slash
qint64 roomLeft = 0;
int failure = ENOSPC;
int refusalsLeft = -1; // writes still refused once the room is used up; -1: every one

// Whether `fd` is a regular file directly in the full folder.
bool inFullFolder(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    char path[PATH_MAX] = {};
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    if (::readlink(link.c_str(), path, sizeof path - 1) <= 0)
        return false;
    const char* slash = std::strrchr(path, '/');
    return slash && std::string(path, size_t(slash - path)) == fullFolder;
}

// The write of pwrite() and pwrite64(), cut short or refused when it goes into the full folder.
ssize_t writeAt(int fd, const void* data, size_t count, off64_t offset)
{
    size_t allowed = count;
    if (full && count > 0) {
        const std::lock_guard lock(guard);
        if (inFullFolder(fd)) {
            if (roomLeft > 0) {
                allowed = size_t(std::min<qint64>(qint64(count), roomLeft));
                roomLeft -= qint64(allowed);
            } else if (refusalsLeft != 0) {
                if (refusalsLeft > 0)
                    --refusalsLeft;
                errno = failure;
                return -1;
            }
        }
    }
    return ssize_t(::syscall(SYS_pwrite64, fd, data, allowed, offset));
}

} // namespace

FullDisk::FullDisk(const QString& folder, qint64 room, int code, int refusals)
{
    const std::lock_guard lock(guard);
    fullFolder = QFile::encodeName(QFileInfo(folder).canonicalFilePath()).toStdString();
    roomLeft = room;
    failure = code;
    refusalsLeft = refusals;
    full = true;
}

FullDisk::~FullDisk()
{
    full = false;
}

// Stand in for the C library's in the programs that use FullDisk: the program's own writers
// call pwrite(), the database engine pwrite64().
extern "C" ssize_t pwrite(int fd, const void* data, size_t count, off_t offset)
{
    return writeAt(fd, data, count, offset);
}

extern "C" ssize_t pwrite64(int fd, const void* data, size_t count, off64_t offset)
{
    return writeAt(fd, data, count, offset);
}
