// Recursive copy of one folder into another, for the backups and the year switch.
#include "core/CopyDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>
#include <filesystem>

namespace lb::core {

namespace {

// Copies one file over `target` by way of a temporary file in the target's folder.
bool copyFile(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QTemporaryFile out(QFileInfo(target).absolutePath() + QStringLiteral("/~cpXXXXXX"));
    if (!out.open())
        return false;
    char buffer[1 << 16];
    qint64 read = 0;
    while ((read = in.read(buffer, sizeof buffer)) > 0)
        if (out.write(buffer, read) != read)
            return false;
    if (read < 0 || !out.flush() || out.size() != in.size())
        return false;
    out.setPermissions(in.permissions() | QFileDevice::WriteOwner);
    out.close();
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(out.fileName().toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), error);
    if (error)
        return false;
    out.setAutoRemove(false); // renamed away
    return true;
}

void copyTree(const QString& source, const QString& target, QStringList& failed)
{
    const QFileInfo from(source);
    if (!from.isReadable() || !from.isExecutable() || !QDir().mkpath(target)) {
        failed << source;
        return;
    }
    const QDir folder(source);
    const QFileInfoList entries = folder.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString to = target + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() && !entry.isSymLink())
            copyTree(entry.absoluteFilePath(), to, failed);
        else if (!copyFile(entry.absoluteFilePath(), to))
            failed << entry.absoluteFilePath();
    }
}

} // namespace

bool CopyDir(const QString& source, const QString& target, QStringList* failed)
{
    QStringList failures;
    const QFileInfo info(source);
    if (source.isEmpty() || !info.isDir() || !info.isReadable() || !QDir(source).isReadable())
        failures << source;
    else
        copyTree(info.absoluteFilePath(), target, failures);
    if (failed)
        *failed = failures;
    return failures.isEmpty();
}

} // namespace lb::core
