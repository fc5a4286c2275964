// Compaction of the database file into a checked copy that replaces it.
#include "core/CompactDatabase.h"

#include "core/FailureReport.h"
#include "core/Leftovers.h"
#include "core/TemporaryCopy.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/db/SqliteError.h"
#include "platform/sys/Errors.h"
#include "platform/sys/FileWrite.h"
#include "platform/ui/Dialogs.h"

#include <QFile>
#include <QFileInfo>

namespace lb::core {

void checkDatabaseFile(const QString& path, DatabaseCheck how)
{
    lb::db::Connection connection;
    connection.setDatabaseFile(path);
    connection.open();
    lb::db::Query check(connection);
    check.sql().add(how == DatabaseCheck::Full ? QStringLiteral("PRAGMA integrity_check") : QStringLiteral("PRAGMA quick_check"));
    check.open();
    const QString result = check.isEmpty() ? QString() : check.field(0).asString();
    check.close();
    if (result != QLatin1String("ok"))
        throw lb::DatabaseError(QStringLiteral("Database file %1 failed its check: %2").arg(path, result));
}

void writeCompactedCopy(const QString& source, const QString& copy)
{
    lb::db::Connection connection;
    connection.setDatabaseFile(source);
    connection.open();
    QString literal = copy;
    literal.replace(QLatin1Char('\''), QStringLiteral("''"));
    connection.execute(QStringLiteral("VACUUM INTO '%1'").arg(literal));
}

void compactDatabaseFile(const QString& dbFile, const CompactedCopyWriter& writeCopy)
{
    const QFileInfo info(dbFile);
    if (!info.isFile())
        throw lb::FileOpenError(QStringLiteral("Database file not found: %1").arg(dbFile));
    // The copy replaces the file by a rename, which only needs the folder: a file that may not
    // be written must not be replaced behind its back.
    {
        QFile probe(info.absoluteFilePath());
        if (!probe.open(QIODevice::ReadWrite))
            throw lb::FileOpenError(QStringLiteral("Cannot write %1: %2").arg(dbFile, probe.errorString()));
    }
    Leftovers::removeFrom(info.absolutePath());

    TemporaryCopy copy(info.absoluteFilePath(), Leftovers::compactionPrefix());
    if (copy.path().isEmpty())
        throw lb::FileWriteError(lb::FileFailure::ofFolder(
            info.absolutePath(), QStringLiteral("Cannot make a temporary file in %1").arg(info.absolutePath())));
    // The engine writes the compacted copy only into a file that does not exist yet.
    QFile::remove(copy.path());
    try {
        writeCopy(info.absoluteFilePath(), copy.path());
    } catch (const lb::db::SqliteError& error) {
        // A disk without room or a folder that may not be written is said as such, with its
        // folder: the engine's words would send the user looking for another program that
        // holds the books.
        const lb::FileFailure failure = lb::FileFailure::ofWrite(error.systemError(), copy.path(), error.message());
        if (failure.cause() == lb::FileFailure::Cause::Other)
            throw;
        throw lb::FileWriteError(failure);
    }
    // The copy replaces the books, and the backups after it are copies of it: it must pass
    // the full check. The quick one would let through index entries that disagree with
    // their rows, which the copy carries over from the books as they are.
    checkDatabaseFile(copy.path());
    QFile::setPermissions(copy.path(), QFile::permissions(info.absoluteFilePath()));
    if (const lb::FileResult replaced = copy.replaceTarget(); !replaced.ok())
        throw lb::FileWriteError(replaced.failure());
}

bool CompactDatabase(const QString& dbFile, const Reporter& who)
{
    try {
        compactDatabaseFile(dbFile);
        return true;
    } catch (const lb::Error& error) {
        reportFailure(who, error,
                      {.message = QStringLiteral("压缩数据库失败"),
                       .box = &lb::ui::Dialogs::error,
                       .caption = QStringLiteral("提示"),
                       .reason = QStringLiteral("可能此数据库正在被其他程序打开。")},
                      LogPlace::TextLog);
        return false;
    }
}

bool compactForBackup(const QString& dbFile, const Reporter& who)
{
    if (CompactDatabase(dbFile, who))
        return true;
    try {
        checkDatabaseFile(dbFile);
        return true;
    } catch (const lb::Error& error) {
        // The compaction's message has told the user; the log keeps what the check found.
        logError(who, error, QStringLiteral("数据库未通过完整性检查"), LogPlace::TextLog);
        return false;
    }
}

} // namespace lb::core
