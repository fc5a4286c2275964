// File copies and renames that are on the disk when they return, so a power cut cannot leave an empty copy.
#include "platform/sys/DurableFile.h"

#include "platform/sys/FileWrite.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace lb {

namespace {

// A disk without room is named as such; any other failure in the system's words.
FileFailure systemError(const QString& action, const QString& path, int code)
{
    return FileFailure::ofWrite(code, path, QStringLiteral("%1 %2: %3").arg(action, path, FileWrite::systemError(code)));
}

FileResult syncPath(const QString& path, int flags)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return systemError(QStringLiteral("Cannot open"), path, errno);
    const int rc = ::fsync(fd);
    const int code = errno;
    ::close(fd);
    if (rc != 0)
        return systemError(QStringLiteral("Cannot flush"), path, code);
    return {};
}

} // namespace

FileResult DurableFile::flushFile(const QString& path)
{
    return syncPath(path, O_RDONLY);
}

FileResult DurableFile::flushFolder(const QString& folder)
{
    return syncPath(folder, O_RDONLY | O_DIRECTORY);
}

FileResult DurableFile::writeCopy(const QString& source, const QString& copy)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return FileFailure::other(QStringLiteral("Cannot read %1: %2").arg(source, in.errorString()));
    QFile out(copy);
    if (!out.open(QIODevice::ReadWrite | QIODevice::Truncate))
        return FileFailure::other(QStringLiteral("Cannot write %1: %2").arg(copy, out.errorString()));
    char buffer[1 << 16];
    qint64 read = 0;
    qint64 copied = 0;
    while ((read = in.read(buffer, sizeof buffer)) > 0) {
        if (const int code = FileWrite::writeAt(out.handle(), copied, buffer, read))
            return systemError(QStringLiteral("Cannot write"), copy, code);
        copied += read;
    }
    if (read < 0)
        return FileFailure::other(QStringLiteral("Cannot read %1: %2").arg(source, in.errorString()));
    if (copied != in.size())
        return FileFailure::other(QStringLiteral("Cannot write %1: %2 of %3 bytes").arg(copy).arg(copied).arg(in.size()));
    if (::fsync(out.handle()) != 0)
        return systemError(QStringLiteral("Cannot flush"), copy, errno);
    out.setPermissions(in.permissions() | QFileDevice::WriteOwner);
    return {};
}

bool DurableFile::sameContents(const QString& first, const QString& second)
{
    QFile a(first);
    QFile b(second);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size())
        return false;
    // Two buffers read into again and again: a block allocated for every read would be mapped
    // and faulted in afresh each time, as large blocks go straight back to the system.
    constexpr qint64 block = 1 << 20;
    std::vector<char> left(block);
    std::vector<char> right(block);
    for (;;) {
        const qint64 got = a.read(left.data(), block);
        if (got < 0 || b.read(right.data(), got) != got)
            return false;
        if (got == 0)
            return b.atEnd();
        if (std::memcmp(left.data(), right.data(), size_t(got)) != 0)
            return false;
    }
}

FileResult DurableFile::replaceFile(const QString& from, const QString& to)
{
    if (FileResult flushed = flushFile(from); !flushed.ok())
        return flushed;
    const QByteArray fromName = QFile::encodeName(from);
    const QByteArray toName = QFile::encodeName(to);
    if (std::rename(fromName.constData(), toName.constData()) != 0)
        return systemError(QStringLiteral("Cannot replace"), to, errno);
    return flushFolder(QFileInfo(to).absolutePath());
}

} // namespace lb
