// Bounds-checked reading of another program's file, and the readers' refusals of a file.
#pragma once

#include "platform/sys/Errors.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtEndian>

namespace lb::office {

// The readers' refusals: a message of ours in the user's language naming the file, then on a
// line of its own the technical reason for the error log. `kind` names the format ("Paradox
// table").

// lb::FileOpenError for a file that is not a table of the kind or is damaged.
[[noreturn]] inline void refuseDamaged(const QString& path, const QString& kind, const QString& reason)
{
    throw lb::FileOpenError(
        QStringLiteral("文件 %1 已损坏或不是有效的数据表,不能读取。\n%2: %3").arg(QDir::toNativeSeparators(path), kind, reason));
}

// lb::FileOpenError for a file that cannot be opened at all (missing, not readable).
[[noreturn]] inline void refuseUnopened(const QString& path, const QString& kind, const QString& reason)
{
    throw lb::FileOpenError(QStringLiteral("文件 %1 不能打开。\n%2: %3").arg(QDir::toNativeSeparators(path), kind, reason));
}

// The readers check what a file's header claims against the file itself before a library
// trusts it: every read here is refused when it would reach past the end of the file.
class FileBytes {
public:
    // `kind` names the format for refuse(). lb::FileOpenError when the file cannot be opened.
    FileBytes(const QString& path, const QString& kind) : file_(path), kind_(kind)
    {
        if (!file_.open(QIODevice::ReadOnly))
            refuseUnopened(path, kind, file_.errorString());
        size_ = file_.size();
    }

    qint64 size() const { return size_; }

    // The `count` bytes from offset `at`; a refusal when they are not all in the file.
    QByteArray read(qint64 at, qint64 count)
    {
        if (at < 0 || count < 0 || at > size_ || count > size_ - at)
            refuse(QStringLiteral("%1 bytes at offset %2 lie past its end (%3 bytes)").arg(count).arg(at).arg(size_));
        QByteArray bytes;
        if (!file_.seek(at) || (bytes = file_.read(count)).size() != count)
            refuse(QStringLiteral("%1 bytes at offset %2 cannot be read").arg(count).arg(at));
        return bytes;
    }

    [[noreturn]] void refuse(const QString& reason) const { refuseDamaged(file_.fileName(), kind_, reason); }

    // Little-endian numbers of bytes already read; `at` must lie inside them.
    static quint16 u16(const QByteArray& bytes, int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); }
    static qint16 s16(const QByteArray& bytes, int at) { return qFromLittleEndian<qint16>(bytes.constData() + at); }
    static quint32 u32(const QByteArray& bytes, int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }

private:
    QFile file_;
    QString kind_;
    qint64 size_ = 0;
};

} // namespace lb::office
