// Makes a file or folder unwritable for this process for the life of the object, also when it runs as root.
#include "WriteProtect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

bool writable(const QString& path)
{
    if (QFileInfo(path).isDir()) {
        QTemporaryFile probe(path + QStringLiteral("/probeXXXXXX"));
        return probe.open();
    }
    QFile file(path);
    return file.open(QIODevice::ReadWrite);
}

} // namespace

WriteProtect::WriteProtect(const QString& path)
    : path_(path), permissions_(QFile::permissions(path))
{
    QFile::setPermissions(path, QFileDevice::Permissions(permissions_)
                                    & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup
                                        | QFileDevice::WriteOther));
    if (writable(path))
        immutable_ = setImmutable(true);
    ok_ = !writable(path);
}

WriteProtect::~WriteProtect()
{
    if (immutable_)
        setImmutable(false);
    QFile::setPermissions(path_, QFileDevice::Permissions(permissions_));
}

bool WriteProtect::setImmutable(bool on) const
{
    const QByteArray name = QFile::encodeName(path_);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}
