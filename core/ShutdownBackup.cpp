// The backup at the close of a run: compaction, then copies of works/ into BAK and a weekday folder.
#include "core/ShutdownBackup.h"

#include "core/CompactDatabase.h"
#include "core/CopyDir.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Clock.h"

namespace lb::core {

QString ShutdownBackup::weekdayFolder(const QDate& date)
{
    return QStringLiteral("BAK") + QString::number(date.dayOfWeek() % 7); // Qt: Monday 1 .. Sunday 7
}

QStringList ShutdownBackup::run()
{
    const QString database = lb::AppPaths::databaseFile();
    // Damaged books copied over the backups would leave no sound copy to repair them from.
    if (!compactForBackup(database))
        return {database};
    // Each copy takes its target's place only once proven to hold the checked bytes.
    const QString works = lb::AppPaths::worksFolder();
    QStringList failed;
    QStringList failedWeekday;
    lb::core::CopyDir(works, lb::AppPaths::inProgramFolder(QStringLiteral("BAK")), &failed);
    lb::core::CopyDir(works, lb::AppPaths::inProgramFolder(weekdayFolder(lb::Clock::today())), &failedWeekday);
    return failed + failedWeekday;
}

} // namespace lb::core
