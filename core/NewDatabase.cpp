// Makes new database files from the schema: the fresh file of an installation, and the older
// form (before the in-place upgrades) that the upgrade is tested on.
#include "core/NewDatabase.h"

#include "core/CompactDatabase.h"
#include "core/Leftovers.h"
#include "core/Schema.h"
#include "core/ScramblePassword.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/sys/Clock.h"
#include "platform/sys/DurableFile.h"
#include "platform/sys/Errors.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace lb::core {

namespace {

using Values = std::vector<std::pair<QString, QVariant>>;

bool upgradeColumn(const TableDef& table, const Column& column)
{
    if (table.name == QLatin1String("config"))
        return Schema::optionUpgradeColumns().contains(column.name);
    const bool header = Schema::headerTables().contains(table.name) || table.name == QLatin1String("totallist");
    if (!header)
        return false;
    return Schema::headerUpgradeColumns().contains(column.name) || Schema::routeUpgradeColumns().contains(column.name)
        || (table.name == QLatin1String("totallist") && column.name == QLatin1String("intid"));
}

TableDef oldFormOf(const TableDef& table)
{
    TableDef old{table.name, {}};
    for (const auto& column : table.columns)
        if (!upgradeColumn(table, column))
            old.columns.push_back(column);
    return old;
}

// Inserts one row; values of columns the table lacks (the older form) are left out.
void insertRow(lb::db::Connection& connection, const TableDef& table, const Values& values)
{
    QStringList names;
    QStringList params;
    Values kept;
    for (const auto& [name, value] : values) {
        if (!table.find(name))
            continue;
        names << QStringLiteral("\"%1\"").arg(name);
        params << QStringLiteral(":%1").arg(name);
        kept.emplace_back(name, value);
    }
    lb::db::Query insert(connection);
    insert.sql().add(QStringLiteral("insert into \"%1\" (%2)").arg(table.name, names.join(QLatin1Char(','))));
    insert.sql().add(QStringLiteral("values (%1)").arg(params.join(QLatin1Char(','))));
    for (const auto& [name, value] : kept)
        insert.paramByName(name).setValue(value);
    insert.execSQL();
}

void seed(lb::db::Connection& connection, const std::vector<TableDef>& tables)
{
    auto tableOf = [&](const char* name) -> const TableDef& {
        for (const auto& t : tables)
            if (t.name == QLatin1String(name))
                return t;
        throw lb::Error(QStringLiteral("Table '%1' not created").arg(QLatin1String(name)));
    };
    const QDate today = lb::Clock::today();

    insertRow(connection, tableOf("config"), {
        {"priceformat", "0.00"}, {"qtyformat", "0.00"}, {"amountformat", "0.00"},
        {"weightformat", "0.000"}, {"dateformat", "yyyy-mm-dd"}, {"dateeditmask", "0000/00/00;1;"},
        {"dateseparator", "-"}, {"bcbj", "F"}, {"bcszbj", "F"}, {"imename", ""},
        {"picfilename", ""}, {"toppath", ""}, {"tallybj", "T"},
        {"startbj", false}, {"remark1", ""}, {"flashbj", true},
    });
    insertRow(connection, tableOf("company"), {{"name", ""}, {"tel", ""}, {"addr", ""}, {"doc", ""}});
    insertRow(connection, tableOf("dateconfig"), {
        {"ksdate", QDate(today.year(), today.month(), 1)}, {"jsdate", today}, {"bz", false},
    });
    insertRow(connection, tableOf("opcrl"), {
        {"bh", "999"}, {"xm", QStringLiteral("系统管理员")}, {"pw", ScramblePassword(FactoryAdminPassword)}, {"rh", ""},
    });
    insertRow(connection, tableOf("nextno"), {{"tablename", "cproduct"}, {"intno", "1"}});
    insertRow(connection, tableOf("bank"), {
        {"intno", "0000000001"}, {"id", "0000000001"}, {"name", QStringLiteral("现金")},
    });

    const QStringList categories{QStringLiteral("食品"), QStringLiteral("饮料"), QStringLiteral("日用品"),
                                 QStringLiteral("烟酒"), QStringLiteral("其他")};
    const QStringList units{QStringLiteral("个"), QStringLiteral("件"), QStringLiteral("箱"), QStringLiteral("包"),
                            QStringLiteral("瓶"), QStringLiteral("袋"), QStringLiteral("公斤"), QStringLiteral("米")};
    for (const auto& [table, names] : {std::pair{"package", categories}, std::pair{"units", units}}) {
        for (int i = 0; i < names.size(); ++i) {
            insertRow(connection, tableOf(table), {
                {"intno", QStringLiteral("%1").arg(i + 1, 10, 10, QLatin1Char('0'))}, {"name", names[i]},
            });
        }
    }
}

} // namespace

void NewDatabase::create(const QString& path)
{
    build(path, false);
}

void NewDatabase::createOldForm(const QString& path)
{
    build(path, true);
}

void NewDatabase::build(const QString& path, bool oldForm)
{
    if (QFileInfo::exists(path))
        throw lb::DatabaseError(QStringLiteral("Database file already exists: %1").arg(path));
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw lb::DatabaseError(QStringLiteral("Cannot make the folder %1").arg(folder));

    // A unique name beside the target, so that the final rename stays on one file system.
    QString temp;
    {
        QTemporaryFile reserve(folder + QLatin1Char('/') + Leftovers::newDatabasePrefix() + QStringLiteral("XXXXXX"));
        reserve.setAutoRemove(false);
        if (!reserve.open())
            throw lb::DatabaseError(QStringLiteral("Cannot make a temporary file in %1").arg(folder));
        temp = reserve.fileName();
    }
    QFile::remove(temp);

    try {
        lb::db::Connection::createFile(temp);
        {
            lb::db::Connection connection;
            connection.setDatabaseFile(temp);
            connection.open();
            std::vector<TableDef> tables;
            for (const auto& table : Schema::tables()) {
                if (oldForm && table.name == QLatin1String("totallist1"))
                    continue;
                tables.push_back(oldForm ? oldFormOf(table) : table);
            }
            lb::db::Transaction transaction(connection);
            for (const auto& table : tables)
                connection.execute(Schema::createTableSql(table));
            if (!oldForm) {
                for (const auto& index : Schema::indexes())
                    connection.execute(Schema::createIndexSql(index));
            }
            seed(connection, tables);
            transaction.commit();
        }
        checkDatabaseFile(temp);
        // Renamed only onto a free name: an existing database is never replaced.
        if (!lb::DurableFile::flushFile(temp).ok() || !QFile::rename(temp, path))
            throw lb::DatabaseError(QStringLiteral("Cannot rename %1 to %2").arg(temp, path));
        // The file is in place; a later flush takes the name too.
        static_cast<void>(lb::DurableFile::flushFolder(folder));
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
}

} // namespace lb::core
