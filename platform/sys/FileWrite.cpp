// Writing into a file with the system's reason kept, the one text for each cause a user can act
// on (a disk without room, a folder that may not be written), and a failed write carried as a
// value that knows its cause.
#include "platform/sys/FileWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace lb {

namespace {

struct ActionableCause {
    int code;
    FileWrite::Place place;
    FileFailure::Cause cause;
    const char16_t* text; // followed by the folder
};

using Place = FileWrite::Place;
using Cause = FileFailure::Cause;

constexpr ActionableCause kActionableCauses[] = {
    {ENOSPC, Place::File, Cause::NoRoom, u"磁盘已满,不能写入文件夹: "},
    {EDQUOT, Place::File, Cause::NoRoom, u"磁盘配额已用完,不能写入文件夹: "},
    {EROFS, Place::File, Cause::NotWritable, u"磁盘是只读的,不能写入文件夹: "},
    {EACCES, Place::File, Cause::NotWritable, u"没有写入权限,不能写入文件夹: "},
    {EPERM, Place::File, Cause::NotWritable, u"没有写入权限,不能写入文件夹: "},
    {ENOSPC, Place::TemporaryFolder, Cause::NoRoom, u"临时文件夹已满,不能写入: "},
    {EDQUOT, Place::TemporaryFolder, Cause::NoRoom, u"临时文件夹的磁盘配额已用完,不能写入: "},
    {EROFS, Place::TemporaryFolder, Cause::NotWritable, u"临时文件夹在只读的磁盘上,不能写入: "},
    {EACCES, Place::TemporaryFolder, Cause::NotWritable, u"没有临时文件夹的写入权限,不能写入: "},
    {EPERM, Place::TemporaryFolder, Cause::NotWritable, u"没有临时文件夹的写入权限,不能写入: "},
};

// The causes the user can act on, each text once, after `message` or in its place.
QString joined(const QString& message, const QStringList& causes, FileFailure::Message kind, const QString& separator)
{
    QStringList parts;
    if (!message.isEmpty() && (kind == FileFailure::Message::WhatWasLeftUndone || causes.isEmpty()))
        parts << message;
    return (parts + causes).join(separator);
}

// The message of a FileWriteError.
QString writeErrorMessage(const FileFailure& failure, const QString& command)
{
    return command.isEmpty() ? failure.words() : command + QLatin1Char('\n') + failure.words();
}

} // namespace

int FileWrite::writeAt(int fd, qint64 offset, const char* data, qint64 count, qint64* written)
{
    qint64 done = 0;
    int code = 0;
    while (done < count) {
        const ssize_t n = ::pwrite(fd, data + done, size_t(count - done), off_t(offset + done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            // A write of nothing without an error would repeat for ever; the system gave no reason.
            code = n < 0 ? errno : EIO;
            break;
        }
    }
    if (written)
        *written = done;
    return code;
}

QString FileWrite::systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString FileWrite::failure(int code, const QString& path, const QString& otherwise, Place place)
{
    return FileFailure::ofWrite(code, path, otherwise, place).text();
}

FileFailure FileFailure::ofWrite(int code, const QString& path, const QString& otherwise, FileWrite::Place place)
{
    const QFileInfo written(path);
    for (const ActionableCause& known : kActionableCauses)
        if (known.code == code && known.place == place)
            return {known.cause,
                    QString::fromUtf16(known.text)
                        + QDir::toNativeSeparators(written.isDir() ? written.absoluteFilePath() : written.absolutePath()),
                    otherwise};
    return other(otherwise);
}

FileFailure FileFailure::ofFolder(const QString& folder, const QString& otherwise, FileWrite::Place place)
{
    // A folder yet to be made is made in the nearest one that exists.
    QFileInfo existing(QFileInfo(folder).absoluteFilePath());
    while (!existing.exists() && !existing.isRoot())
        existing = QFileInfo(existing.absolutePath());
    const QByteArray name = QFile::encodeName(existing.absoluteFilePath());
    // With the effective ids, which decide what the process may make there.
    if (::faccessat(AT_FDCWD, name.constData(), W_OK | X_OK, AT_EACCESS) == 0)
        return other(otherwise);
    return ofWrite(errno, existing.absoluteFilePath(), otherwise, place);
}

QString FileFailure::shown(const QString& message, const QList<FileFailure>& failures, Message kind, const QString& separator)
{
    // The other causes are the program's or the system's words: the message says more to the user.
    QStringList causes;
    for (const FileFailure& failure : failures)
        if (failure.cause() != Cause::Other && !causes.contains(failure.text()))
            causes << failure.text();
    return joined(message, causes, kind, separator);
}

QString FileFailure::shown(const QString& message, const std::exception& error, Message kind)
{
    const QString cause = causeOf(error);
    return joined(message, cause.isEmpty() ? QStringList() : QStringList{cause}, kind, QStringLiteral("\n"));
}

FileWriteError::FileWriteError(FileFailure failure, const QString& command)
    : FileOpenError(writeErrorMessage(failure, command), failure.cause() == FileFailure::Cause::Other ? QString() : failure.text())
    , failure_(std::move(failure))
{
}

QString causeOf(const std::exception& error)
{
    const auto* own = dynamic_cast<const Error*>(&error);
    return own ? own->cause() : QString();
}

} // namespace lb
