// What killed or failed copies and compactions leave behind in the books' folders, and its removal.
#include "core/Leftovers.h"

#include "platform/sys/AppPaths.h"
#include "platform/sys/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace lb::core {

namespace {

const QStringList& journalSuffixes()
{
    static const QStringList suffixes{QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};
    return suffixes;
}

// The database file a journal belongs to; empty when the name is no journal.
QString journalOwner(const QString& fileName)
{
    for (const QString& suffix : journalSuffixes())
        if (fileName.endsWith(suffix))
            return fileName.chopped(suffix.size());
    return QString();
}

bool isTemporary(const QString& fileName)
{
    for (const QString& prefix : {lb::DurableFile::temporaryPrefix(), Leftovers::compactionPrefix(),
                                  Leftovers::newDatabasePrefix()})
        if (fileName.startsWith(prefix))
            return true;
    return false;
}

} // namespace

bool Leftovers::isLeftover(const QString& fileName)
{
    return isTemporary(fileName) || !journalOwner(fileName).isEmpty();
}

QStringList Leftovers::removeFrom(const QString& folder)
{
    QStringList failed;
    const QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    bool removed = false;
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (entry.isDir() && !entry.isSymLink()) {
            failed << removeFrom(entry.absoluteFilePath());
            continue;
        }
        if (!isLeftover(name))
            continue;
        const QString owner = journalOwner(name);
        if (!owner.isEmpty() && !isTemporary(owner) && QFileInfo::exists(dir.filePath(owner)))
            continue;
        if (QFile::remove(entry.absoluteFilePath()))
            removed = true;
        else
            failed << entry.absoluteFilePath();
    }
    // The removals are made whether or not their names reach the disk now: a leftover that
    // comes back after a power cut is removed again at the next start.
    if (removed)
        static_cast<void>(lb::DurableFile::flushFolder(folder));
    return failed;
}

QStringList Leftovers::removeFromProgramFolder()
{
    static const QRegularExpression written(QStringLiteral("^(works|bak[0-6]?|lastbak|thisyear|[0-9]{4})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList failed;
    const QDir root(lb::AppPaths::programFolder());
    for (const QFileInfo& entry : root.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        if (written.match(entry.fileName()).hasMatch())
            failed << removeFrom(entry.absoluteFilePath());
    return failed;
}

void Leftovers::removeJournalsOf(const QString& databaseFile)
{
    for (const QString& suffix : journalSuffixes())
        QFile::remove(databaseFile + suffix);
}

} // namespace lb::core
