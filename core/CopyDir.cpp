// Recursive copy of one folder into another, and the single-file copy under it, for backups and year switches.
#include "core/CopyDir.h"

#include "core/Leftovers.h"
#include "platform/sys/DurableFile.h"

#include <QDir>
#include <QFileInfo>

namespace lb::core {

namespace {

void copyTree(const QString& source, const QString& target, const FileCopier& copy, QList<CopyFailure>& failed)
{
    const QFileInfo from(source);
    const bool made = !QFileInfo(target).isDir();
    if (!from.isReadable() || !from.isExecutable()) {
        failed << CopyFailure{source, QStringLiteral("Cannot read the folder %1").arg(source)};
        return;
    }
    if (!QDir().mkpath(target)) {
        failed << CopyFailure{source, QStringLiteral("Cannot make the folder %1").arg(target)};
        return;
    }
    // A folder made here is an entry of its parent, which must reach the disk with it.
    if (made)
        lb::DurableFile::flushFolder(QFileInfo(target).absolutePath());
    const QDir folder(source);
    const QFileInfoList entries = folder.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString to = target + QLatin1Char('/') + entry.fileName();
        QString error;
        if (entry.isDir() && !entry.isSymLink())
            copyTree(entry.absoluteFilePath(), to, copy, failed);
        else if (Leftovers::isLeftover(entry.fileName()))
            continue;
        else if (!(copy ? copy(entry.absoluteFilePath(), to, &error) : copyFile(entry.absoluteFilePath(), to, &error)))
            failed << CopyFailure{entry.absoluteFilePath(), error};
    }
}

} // namespace

bool copyFile(const QString& source, const QString& target, QString* error)
{
    if (!lb::DurableFile::copyFile(source, target, error))
        return false;
    Leftovers::removeJournalsOf(target);
    return true;
}

bool CopyDir(const QString& source, const QString& target, QList<CopyFailure>* failed, const FileCopier& copy)
{
    QList<CopyFailure> failures;
    const QFileInfo info(source);
    if (source.isEmpty() || !info.isDir() || !info.isReadable() || !QDir(source).isReadable())
        failures << CopyFailure{source, QStringLiteral("No folder to copy at %1").arg(source)};
    else
        copyTree(info.absoluteFilePath(), target, copy, failures);
    if (failed)
        *failed = failures;
    return failures.isEmpty();
}

} // namespace lb::core
