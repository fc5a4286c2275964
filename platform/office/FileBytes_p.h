// Bounds-checked reading of another program's file, and the one refusal of a damaged file.
#pragma once

#include "platform/sys/Errors.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtEndian>

namespace lb::office {

// lb::FileOpenError: "<path>" is not a valid <kind>: <reason>. `kind` names the format
// ("Paradox table").
[[noreturn]] inline void refuseDamaged(const QString& path, const QString& kind, const QString& reason)
{
    throw lb::FileOpenError(QStringLiteral("\"%1\" is not a valid %2: %3").arg(QDir::toNativeSeparators(path), kind, reason));
}

// The readers check what a file's header claims against the file itself before a library
// trusts it: every read here is refused when it would reach past the end of the file.
class FileBytes {
public:
    // `kind` names the format for refuse(). lb::FileOpenError when the file cannot be opened.
    FileBytes(const QString& path, const QString& kind) : file_(path), kind_(kind)
    {
        if (!file_.open(QIODevice::ReadOnly))
            throw lb::FileOpenError(QStringLiteral("Cannot open the %1 %2").arg(kind, path));
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
