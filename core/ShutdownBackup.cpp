// The backup at the close of a run: compaction, then copies of works/ into BAK and a weekday folder.
#include "core/ShutdownBackup.h"

#include "core/CompactDatabase.h"
#include "core/CopyDir.h"
#include "core/DatabaseFiles.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Clock.h"

#include <QFileInfo>

#include <optional>

namespace lb::core {

QString ShutdownBackup::weekdayFolder(const QDate& date)
{
    return QStringLiteral("BAK") + QString::number(date.dayOfWeek() % 7); // Qt: Monday 1 .. Sunday 7
}

QStringList ShutdownBackup::run()
{
    const QString database = lb::AppPaths::databaseFile();
    const QString bak = lb::AppPaths::inProgramFolder(QStringLiteral("BAK"));
    // Damaged books copied over the backups would leave no sound copy to repair them from.
    if (!compactForBackup(database))
        return {bak, lb::AppPaths::inProgramFolder(weekdayFolder(lb::Clock::today()))};
    // The books as they were before the last restore change only at the next restore. A copy
    // already the same is left alone, so that an ordinary close does not check them; a changed
    // one is checked in full (once for both folders) and replaces the last copy only when sound.
    const QString previous = QFileInfo(database + QStringLiteral(".prev")).absoluteFilePath();
    std::optional<bool> previousSound;
    const FileCopier copy = [&](const QString& source, const QString& target) {
        if (source != previous)
            return copyFile(source, target);
        if (sameContents(source, target))
            return true;
        if (!previousSound)
            previousSound = DatabaseFiles::isProgramFile(source);
        return *previousSound && copyFile(source, target);
    };
    // Each copy takes its target's place only once proven to hold the checked bytes.
    const QString works = lb::AppPaths::worksFolder();
    QStringList failed;
    if (!lb::core::CopyDir(works, bak, nullptr, copy))
        failed << bak;
    const QString weekday = lb::AppPaths::inProgramFolder(weekdayFolder(lb::Clock::today()));
    if (!lb::core::CopyDir(works, weekday, nullptr, copy))
        failed << weekday;
    return failed;
}

} // namespace lb::core
