// The backup at the close of a run: compaction, then copies of works/ into BAK and a weekday folder.
#include "core/ShutdownBackup.h"

#include "core/CompactDatabase.h"
#include "core/CopyDir.h"
#include "core/DatabaseFiles.h"
#include "core/ErrorLog.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Clock.h"
#include "platform/sys/FileWrite.h"

#include <QDir>

namespace lb::core {

namespace {

// How the log names the backup at close, which runs in no window of its own.
const QString reporter = QStringLiteral("ShutdownBackup");

// Why a folder copy failed: what was not copied for a cause in the program's or the system's
// words, each once, then the causes the user can act on (a disk without room, the damaged
// books from before a restore).
QString why(const CopyResult& copied)
{
    const QString separator = QStringLiteral("; ");
    QStringList notCopied;
    for (const CopyFailure& each : copied.failed()) {
        const QString what = QStringLiteral("未能复制 ") + QDir::toNativeSeparators(each.path);
        if (each.failure.cause() == lb::FileFailure::Cause::Other && !notCopied.contains(what))
            notCopied << what;
    }
    return lb::FileFailure::shown(notCopied.join(separator), copied.failures(), lb::FileFailure::Message::WhatWasLeftUndone, separator);
}

} // namespace

QString ShutdownBackup::weekdayFolder(const QDate& date)
{
    return QStringLiteral("BAK") + QString::number(date.dayOfWeek() % 7); // Qt: Monday 1 .. Sunday 7
}

QString ShutdownBackup::incompleteText()
{
    return QStringLiteral("数据备份未完成,以下备份文件夹未能完整更新:\n");
}

QString ShutdownBackup::booksFailedTheCheck()
{
    return QStringLiteral("数据库未通过完整性检查,没有备份");
}

QString ShutdownBackup::warning(const QList<Incomplete>& incomplete)
{
    QStringList lines;
    for (const Incomplete& each : incomplete) {
        // A disk without room or a folder that may not be written is named by the cause itself:
        // the folder, or the folder in it, where the copy was staged.
        const QString folder = QDir::toNativeSeparators(each.folder);
        lines << (each.why.contains(folder) ? each.why : folder + QStringLiteral(": ") + each.why);
    }
    return incompleteText() + lines.join(QLatin1Char('\n'));
}

QList<ShutdownBackup::Incomplete> ShutdownBackup::run()
{
    const QString database = lb::AppPaths::databaseFile();
    const QString bak = lb::AppPaths::inProgramFolder(QStringLiteral("BAK"));
    // Damaged books copied over the backups would leave no sound copy to repair them from.
    if (!compactForBackup(database, reporter))
        return {{bak, booksFailedTheCheck()},
                {lb::AppPaths::inProgramFolder(weekdayFolder(lb::Clock::today())), booksFailedTheCheck()}};
    // Each copy takes its target's place only once proven to hold the checked bytes.
    // Today's books are backed up though those from before a restore are damaged.
    const WorksFolderCopy copy(DatabaseFiles::DamagedPrevious::HeldBack);
    QList<Incomplete> incomplete;
    const auto into = [&](const QString& folder) {
        const CopyResult copied = copy.into(folder);
        if (copied.ok())
            return;
        incomplete << Incomplete{folder, why(copied)};
        logFailures(reporter, incompleteText() + QDir::toNativeSeparators(folder), copied.failures());
    };
    into(bak);
    into(lb::AppPaths::inProgramFolder(weekdayFolder(lb::Clock::today())));
    return incomplete;
}

} // namespace lb::core
