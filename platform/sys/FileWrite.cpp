// Writing into a file with the system's reason kept, the one text for a disk without room, and
// a failed write carried as a value that knows its cause.
#include "platform/sys/FileWrite.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace lb {

namespace {

struct NoSpaceCause {
    int code;
    FileWrite::Place place;
    const char16_t* text; // followed by the folder
};

constexpr NoSpaceCause kNoSpaceCauses[] = {
    {ENOSPC, FileWrite::Place::File, u"磁盘已满,不能写入文件夹: "},
    {EDQUOT, FileWrite::Place::File, u"磁盘配额已用完,不能写入文件夹: "},
    {ENOSPC, FileWrite::Place::TemporaryFolder, u"临时文件夹已满,不能写入: "},
    {EDQUOT, FileWrite::Place::TemporaryFolder, u"临时文件夹的磁盘配额已用完,不能写入: "},
};

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
    for (const NoSpaceCause& cause : kNoSpaceCauses)
        if (cause.code == code && cause.place == place)
            return {Cause::NoRoom, QString::fromUtf16(cause.text)
                                       + QDir::toNativeSeparators(written.isDir() ? written.absoluteFilePath() : written.absolutePath())};
    return other(otherwise);
}

QString FileFailure::shown(const QString& message, const QList<FileFailure>& failures, Message kind, const QString& separator)
{
    // The other causes are the program's or the system's words: the message says more to the user.
    QStringList causes;
    for (const FileFailure& failure : failures)
        if (failure.cause() != Cause::Other && !causes.contains(failure.text()))
            causes << failure.text();
    QStringList parts;
    if (!message.isEmpty() && (kind == Message::WhatWasLeftUndone || causes.isEmpty()))
        parts << message;
    return (parts + causes).join(separator);
}

QList<FileFailure> FileWriteError::of(const Error& error)
{
    if (const auto* failed = dynamic_cast<const FileWriteError*>(&error))
        return {failed->failure()};
    return {};
}

} // namespace lb
