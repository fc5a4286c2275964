// Copies of the database file out of the books and into them, each checked before it counts.
#include "core/DatabaseFiles.h"

#include "core/CopyDir.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "core/TemporaryCopy.h"
#include "core/Tfrdm.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/DurableFile.h"
#include "platform/sys/Errors.h"

#include <QDir>
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

namespace {

// The books kept from before a restore, `previous`, failed their check: what the user is told,
// with where the file lies and what to do with it, since every copy of the works folder leaves
// it out until it is gone.
lb::FileFailure previousDamaged(const QString& previous)
{
    const QString folder = QDir::toNativeSeparators(QFileInfo(previous).absolutePath());
    return {lb::FileFailure::Cause::Damaged,
            QStringLiteral("恢复前的数据kvdb.mdb.prev已损坏,没有复制\n")
                + QStringLiteral("kvdb.mdb.prev是上次数据恢复前保存的数据,已经损坏。请把它从文件夹 ") + folder
                + QStringLiteral(" 中移走(或删除),然后重新操作。")};
}

} // namespace

lb::FileResult DatabaseFiles::backUp(const QString& database, const QString& target)
{
    try {
        checkProgramFile(database);
    } catch (const lb::Error& failure) {
        return lb::FileFailure::other(failure.message());
    }
    return copyFile(database, target);
}

WorksFolderCopy::WorksFolderCopy(DatabaseFiles::DamagedPrevious ifDamaged)
{
    // The books as they were before the last restore change only at the next restore. A copy
    // already the same is left alone, so that an ordinary close does not check them; a changed
    // one is checked in full (once for every folder) and replaces the last copy only when sound.
    const QString previous = QFileInfo(lb::AppPaths::databaseFile() + QStringLiteral(".prev")).absoluteFilePath();
    auto previousSound = std::make_shared<std::optional<bool>>();
    choose_ = [previous, previousSound, ifDamaged](const QString& source, const QString& target) {
        if (source != previous)
            return CopyChoice::copy();
        if (lb::DurableFile::sameContents(source, target))
            return CopyChoice::skip();
        if (!*previousSound)
            *previousSound = DatabaseFiles::isProgramFile(source);
        if (**previousSound)
            return CopyChoice::copy();
        return ifDamaged == DatabaseFiles::DamagedPrevious::HeldBack ? CopyChoice::holdBack(previousDamaged(previous))
                                                                     : CopyChoice::refuse(previousDamaged(previous));
    };
}

CopyResult WorksFolderCopy::into(const QString& target) const
{
    return CopyDir(lb::AppPaths::worksFolder(), target, choose_);
}

lb::FileResult DatabaseFiles::replace(const QString& source, const QString& database)
{
    if (!QFileInfo(source).isFile())
        return lb::FileFailure::other(QStringLiteral("No database file at %1").arg(source));
    TemporaryCopy candidate(database);
    if (lb::FileResult written = candidate.write(source); !written.ok())
        return written;
    try {
        checkProgramFile(candidate.path());
    } catch (const lb::Error& failure) {
        return lb::FileFailure::other(failure.message());
    }
    if (QFileInfo(database).isFile())
        if (lb::FileResult kept = copyFile(database, database + QStringLiteral(".prev")); !kept.ok())
            return kept;
    return candidate.replaceTarget();
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
