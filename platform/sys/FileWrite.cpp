// Writing into a file with the system's reason kept, and the one text for a disk without room.
#include "platform/sys/FileWrite.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
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
    const QFileInfo written(path);
    for (const NoSpaceCause& cause : kNoSpaceCauses)
        if (cause.code == code && cause.place == place)
            return QString::fromUtf16(cause.text)
                   + QDir::toNativeSeparators(written.isDir() ? written.absoluteFilePath() : written.absolutePath());
    return otherwise;
}

QString FileWrite::shown(const QString& reason, const QString& message)
{
    const bool noSpace = std::any_of(std::begin(kNoSpaceCauses), std::end(kNoSpaceCauses), [&](const NoSpaceCause& cause) {
        return reason.startsWith(QString::fromUtf16(cause.text));
    });
    return noSpace ? reason : message;
}

} // namespace lb
