// The single-instance guard: an operating-system lock on a file, released when its process dies.
#include "platform/sys/InstanceLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace lb {

InstanceLock::InstanceLock(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) // a lock file that exists but may not be written still takes a lock
        fd_ = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    int rc = 0;
    do
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        state_ = State::Held;
        return;
    }
    state_ = errno == EWOULDBLOCK ? State::HeldElsewhere : State::Unavailable;
    ::close(fd_);
    fd_ = -1;
}

InstanceLock::~InstanceLock()
{
    if (fd_ >= 0)
        ::close(fd_); // closing the only open of the file releases the lock
}

} // namespace lb
