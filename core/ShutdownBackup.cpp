// The backup at the close of a run: compaction, then copies of works/ into BAK and a weekday folder.
#include "core/ShutdownBackup.h"

#include "core/CompactDatabase.h"
#include "core/CopyDir.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Clock.h"

QString ShutdownBackup::weekdayFolder(const QDate& date)
{
    return QStringLiteral("BAK") + QString::number(date.dayOfWeek() % 7); // Qt: Monday 1 .. Sunday 7
}

QStringList ShutdownBackup::run()
{
    lb::core::CompactDatabase(lb::AppPaths::databaseFile());
    QStringList failed;
    const QString works = lb::AppPaths::worksFolder();
    lb::core::CopyDir(works, lb::AppPaths::inProgramFolder(QStringLiteral("BAK")), &failed);
    lb::core::CopyDir(works, lb::AppPaths::inProgramFolder(weekdayFolder(lb::Clock::today())), &failed);
    return failed;
}
