// A small disk of the test's own, for what only a real disk shows: writes through the C library's streams filling it, a read-only disk.
#include "ScratchDisk.h"

#include <QFile>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

ScratchDisk::ScratchDisk(const QString& folder, qint64 bytes, bool readOnly)
    : folder_(QFile::encodeName(folder))
{
    // Mounts made private first: a mount in a namespace that shares its mounts would show
    // outside the test.
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return;
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    ok_ = ::mount("tmpfs", folder_.constData(), "tmpfs", readOnly ? MS_RDONLY : 0, options.constData()) == 0;
}

ScratchDisk::~ScratchDisk()
{
    if (ok_)
        ::umount2(folder_.constData(), MNT_DETACH);
}

void ScratchDisk::fill() const
{
    const QByteArray name = folder_ + "/filler";
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    ::close(fd);
}
