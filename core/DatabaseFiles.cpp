// Copies of the database file out of the books and into them, each checked before it counts.
#include "core/DatabaseFiles.h"

#include "core/CompactDatabase.h"
#include "core/CopyDir.h"
#include "core/Leftovers.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "core/Tfrdm.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/sys/DurableFile.h"
#include "platform/sys/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace lb::core {

void DatabaseFiles::checkProgramFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        throw lb::DatabaseError(QStringLiteral("No database file at %1").arg(path));
    checkDatabaseFile(path);
    lb::db::Connection connection;
    connection.setDatabaseFile(path);
    connection.open();
    lb::db::Query tables(connection);
    tables.sql().add(QStringLiteral("select count(*) from sqlite_master where type='table' and lower(name)=lower(:p1)"));
    for (const TableDef& table : Schema::tables()) {
        if (table.name == QLatin1String("totallist1"))
            continue; // made by the upgrade of older files
        tables.close();
        tables.paramByName(QStringLiteral("p1")).setAsString(table.name);
        tables.open();
        if (tables.field(0).asInteger() == 0)
            throw lb::DatabaseError(QStringLiteral("%1 is not a database of this program: it has no table %2").arg(path, table.name));
    }
}

bool DatabaseFiles::isProgramFile(const QString& path)
{
    try {
        checkProgramFile(path);
        return true;
    } catch (const lb::Error&) {
        return false; // the answer is the result; the reason does not matter here
    }
}

bool DatabaseFiles::sameContents(const QString& first, const QString& second)
{
    QFile a(first);
    QFile b(second);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size())
        return false;
    constexpr qint64 block = 1 << 20;
    while (!a.atEnd()) {
        const QByteArray left = a.read(block);
        if (left.isEmpty() || left != b.read(block))
            return false;
    }
    return b.atEnd();
}

bool DatabaseFiles::backUp(const QString& database, const QString& target, QString* error)
{
    try {
        checkProgramFile(database);
    } catch (const lb::Error& failure) {
        if (error)
            *error = failure.message();
        return false;
    }
    if (!copyFile(database, target, error))
        return false;
    if (!sameContents(database, target)) {
        if (error)
            *error = QStringLiteral("The copy %1 differs from %2").arg(target, database);
        return false;
    }
    return true;
}

bool DatabaseFiles::replace(const QString& source, const QString& database, QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!QFileInfo(source).isFile())
        return fail(QStringLiteral("No database file at %1").arg(source));
    // The candidate takes the name of a copy's temporary file, so that one a kill leaves
    // behind is cleared away at the next start.
    QString candidate;
    {
        QTemporaryFile reserve(QFileInfo(database).absolutePath() + QLatin1Char('/') + lb::DurableFile::temporaryPrefix()
                               + QStringLiteral("newXXXXXX"));
        reserve.setAutoRemove(false);
        if (!reserve.open())
            return fail(QStringLiteral("Cannot write beside %1").arg(database));
        candidate = reserve.fileName();
    }
    struct RemoveCandidate {
        QString& path;
        ~RemoveCandidate()
        {
            if (!path.isEmpty()) {
                QFile::remove(path);
                Leftovers::removeJournalsOf(path);
            }
        }
    } removeCandidate{candidate};

    if (!lb::DurableFile::copyFile(source, candidate, error))
        return false;
    try {
        checkProgramFile(candidate);
    } catch (const lb::Error& failure) {
        return fail(failure.message());
    }
    if (QFileInfo(database).isFile() && !lb::DurableFile::copyFile(database, database + QStringLiteral(".prev"), error))
        return false;
    if (!lb::DurableFile::replaceFile(candidate, database, error))
        return false;
    candidate.clear();
    Leftovers::removeJournalsOf(database);
    return true;
}

void DatabaseFiles::whileDisconnected(Tfrdm& dm, const std::function<void()>& work)
{
    dm.ATcompany->close();
    dm.ADOCon.close();
    try {
        work();
    } catch (...) {
        dm.ADOCon.open();
        dm.ATcompany->open();
        throw;
    }
    dm.ADOCon.open();
    dm.ATcompany->open();
}

void DatabaseFiles::booksReplaced(Tfrdm& dm)
{
    SchemaUpgrade::upgradeOptions(dm);
    SchemaUpgrade::upgradeDocuments(dm);
    dm.applyDisplayFormats();
}

} // namespace lb::core
