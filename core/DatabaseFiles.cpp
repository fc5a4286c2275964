// Copies of the database file out of the books and into them, each checked before it counts.
#include "core/DatabaseFiles.h"

#include "core/CopyDir.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "core/TemporaryCopy.h"
#include "core/Tfrdm.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/sys/DurableFile.h"
#include "platform/sys/Errors.h"

#include <QFileInfo>

#include <memory>
#include <optional>

namespace lb::core {

void DatabaseFiles::checkProgramFile(const QString& path, DatabaseCheck check)
{
    if (!QFileInfo(path).isFile())
        throw lb::DatabaseError(QStringLiteral("No database file at %1").arg(path));
    checkDatabaseFile(path, check);
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

bool DatabaseFiles::isProgramFile(const QString& path, DatabaseCheck check)
{
    try {
        checkProgramFile(path, check);
        return true;
    } catch (const lb::Error&) {
        return false; // the answer is the result; the reason does not matter here
    }
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
    return copyFile(database, target, error);
}

FileCopier DatabaseFiles::backupCopier(const QString& database)
{
    // The books as they were before the last restore change only at the next restore. A copy
    // already the same is left alone, so that an ordinary close does not check them; a changed
    // one is checked in full (once for every folder) and replaces the last copy only when sound.
    const QString previous = QFileInfo(database + QStringLiteral(".prev")).absoluteFilePath();
    auto previousSound = std::make_shared<std::optional<bool>>();
    return [previous, previousSound](const QString& source, const QString& target, QString* error) {
        if (source != previous)
            return copyFile(source, target, error);
        if (lb::DurableFile::sameContents(source, target))
            return true;
        if (!*previousSound)
            *previousSound = isProgramFile(source);
        if (**previousSound)
            return copyFile(source, target, error);
        if (error)
            *error = previousDamaged();
        return false;
    };
}

QString DatabaseFiles::previousDamaged()
{
    return QStringLiteral("恢复前的数据kvdb.mdb.prev已损坏,没有复制");
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
    TemporaryCopy candidate(database);
    if (!candidate.write(source, error))
        return false;
    try {
        checkProgramFile(candidate.path());
    } catch (const lb::Error& failure) {
        return fail(failure.message());
    }
    if (QFileInfo(database).isFile() && !copyFile(database, database + QStringLiteral(".prev"), error))
        return false;
    return candidate.replaceTarget(error);
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
