// The single-instance guard: an operating-system lock on a file or folder, released when its process dies.
#include "platform/sys/InstanceLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lb {

namespace {

// An existing entry of the target's kind, opened only to be locked: never made, never reached
// through a link, and a named pipe never waited on. -1 with errno when there is none.
int openExisting(const QByteArray& name, InstanceLock::Target target)
{
    const bool folder = target == InstanceLock::Target::ExistingFolder;
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (folder ? O_DIRECTORY : 0));
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || (!folder && !S_ISREG(info.st_mode))) {
        ::close(fd);
        errno = ENOENT;
        return -1;
    }
    return fd;
}

// Whether `name` still names the entry open as `fd`: a start's clean-up may have removed it
// between the open and the lock, and another been made under its name.
bool stillNamed(int fd, const QByteArray& name)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(name.constData(), &named) == 0 && held.st_dev == named.st_dev
        && held.st_ino == named.st_ino;
}

} // namespace

InstanceLock::InstanceLock(const QString& path, Target target)
{
    const QByteArray name = QFile::encodeName(path);
    if (target == Target::LockFile) {
        fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) // a lock file that exists but may not be written still takes a lock
            fd_ = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    } else {
        fd_ = openExisting(name, target);
        // A link, a file where a folder is meant and a path that went are all no entry of ours.
        if (fd_ < 0 && (errno == ENOENT || errno == ENOTDIR || errno == ELOOP))
            state_ = State::Missing;
    }
    if (fd_ < 0)
        return;
    int rc = 0;
    do
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        state_ = target == Target::LockFile || stillNamed(fd_, name) ? State::Held : State::Missing;
        if (state_ == State::Held)
            return;
    } else {
        state_ = errno == EWOULDBLOCK ? State::HeldElsewhere : State::Unavailable;
    }
    ::close(fd_);
    fd_ = -1;
}

InstanceLock::~InstanceLock()
{
    if (fd_ >= 0)
        ::close(fd_); // closing the only open of the file releases the lock
}

} // namespace lb
