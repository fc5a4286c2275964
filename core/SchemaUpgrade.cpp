// In-place upgrade of database files made by older installations.
#include "core/SchemaUpgrade.h"

#include "core/Schema.h"
#include "core/Tfrdm.h"
#include "platform/sys/Errors.h"

#include <QStringList>
#include <algorithm>

namespace lb::core {

namespace {

// Runs one statement through the scratch query, as every statement of the program runs.
void run(Tfrdm& dm, const QString& sql)
{
    dm.AQcom->close();
    dm.AQcom->sql().clear();
    dm.AQcom->sql().add(sql);
    dm.AQcom->execSQL();
    dm.AQcom->close();
}

// True when the dataset opens; false when the engine refuses it (a missing column).
bool testOpen(lb::db::DataSet& dataSet)
{
    try {
        dataSet.open();
        dataSet.close();
        return true;
    } catch (const lb::DatabaseError&) {
        dataSet.close();
        return false;
    }
}

QStringList columnsOf(Tfrdm& dm, const QString& table)
{
    lb::db::Query info(dm.ADOCon);
    info.sql().add(QStringLiteral("select name from pragma_table_info(:p1)"));
    info.paramByName(QStringLiteral("p1")).setAsString(table);
    info.open();
    QStringList names;
    for (info.first(); !info.eof(); info.next())
        names << info.field(0).asString().toLower();
    info.close();
    return names;
}

// Adds the columns of `names` that `table` lacks, as the schema declares them; returns those added.
QStringList addMissing(Tfrdm& dm, const QString& table, const QStringList& names)
{
    const QStringList present = columnsOf(dm, table);
    const TableDef& def = Schema::table(table);
    QStringList added;
    for (const QString& name : names) {
        if (present.contains(name.toLower()))
            continue;
        run(dm, QStringLiteral("alter table \"%1\" add column %2").arg(table, Schema::columnSql(*def.find(name))));
        added << name;
    }
    return added;
}

QString columnList(const TableDef& def)
{
    QStringList names;
    for (const auto& column : def.columns)
        if (column.type != ColumnType::Counter)
            names << QStringLiteral("\"%1\"").arg(column.name);
    return names.join(QLatin1Char(','));
}

// Makes `table` anew from the schema and copies `source`'s rows into it (in stored order, so
// that the counter numbers them in that order). SQLite cannot add a key column to a table.
void rebuildFrom(Tfrdm& dm, const QString& table, const QString& source)
{
    const TableDef& def = Schema::table(table);
    const QString columns = columnList(def);
    TableDef fresh = def;
    fresh.name = table + QStringLiteral("_lbnew");
    run(dm, Schema::createTableSql(fresh));
    run(dm, QStringLiteral("insert into \"%1\" (%2) select %2 from \"%3\" order by rowid").arg(fresh.name, columns, source));
    if (source == table)
        run(dm, QStringLiteral("drop table \"%1\"").arg(table));
    run(dm, QStringLiteral("alter table \"%1\" rename to \"%2\"").arg(fresh.name, table));
}

bool schemaHas(Tfrdm& dm, const char* type, const QString& name)
{
    lb::db::Query master(dm.ADOCon);
    master.sql().add(QStringLiteral("select name from sqlite_master where type=:p2 and name=:p1 collate nocase"));
    master.paramByName(QStringLiteral("p1")).setAsString(name);
    master.paramByName(QStringLiteral("p2")).setAsString(QString::fromLatin1(type));
    master.open();
    const bool found = !master.isEmpty();
    master.close();
    return found;
}

bool tableExists(Tfrdm& dm, const QString& table)
{
    return schemaHas(dm, "table", table);
}

} // namespace

bool SchemaUpgrade::upgradeOptions(Tfrdm& dm)
{
    if (testOpen(*dm.ATCONFIG))
        return false;
    lb::db::Transaction transaction(dm.ADOCon);
    const QStringList added = addMissing(dm, QStringLiteral("config"), Schema::optionUpgradeColumns());
    if (added.isEmpty())
        dm.ATCONFIG->open(); // the open failed for another reason: let its error through
    if (added.contains(QStringLiteral("flashbj")))
        run(dm, QStringLiteral("update config set flashbj=1"));
    if (added.contains(QStringLiteral("startbj")))
        run(dm, QStringLiteral("update config set startbj=1"));
    // remark1 is added with the empty text as its default, which fills the existing row.
    transaction.commit();
    return true;
}

bool SchemaUpgrade::upgradeDocuments(Tfrdm& dm)
{
    // Every table is looked at, not only the one the shared header dataset reads: a file whose
    // sales headers are up to date may still lack the work tables' key.
    const QStringList tables = Schema::headerTables() + QStringList{QStringLiteral("totallist")};
    const QString key = QStringLiteral("intid");
    const auto lacksColumns = [&](const QString& table) {
        const QStringList present = columnsOf(dm, table);
        QStringList wanted = Schema::headerUpgradeColumns();
        if (Schema::headerTables().contains(table))
            wanted += Schema::routeUpgradeColumns();
        for (const QString& name : wanted)
            if (!present.contains(name.toLower()))
                return true;
        return false;
    };
    const bool copyMissing = !tableExists(dm, QStringLiteral("totallist1"));
    const bool copyUnkeyed = !copyMissing && !columnsOf(dm, QStringLiteral("totallist1")).contains(key);
    const bool totallistUnkeyed = !columnsOf(dm, QStringLiteral("totallist")).contains(key);
    if (!copyMissing && !copyUnkeyed && !totallistUnkeyed && std::none_of(tables.begin(), tables.end(), lacksColumns))
        return false;

    lb::db::Transaction transaction(dm.ADOCon);
    // An added column takes its empty-text default in every existing row; the route is null
    // there, for documents posted before it was recorded.
    for (const QString& table : tables)
        addMissing(dm, table, Schema::headerUpgradeColumns());
    for (const QString& table : Schema::headerTables())
        addMissing(dm, table, Schema::routeUpgradeColumns());
    if (copyMissing) {
        rebuildFrom(dm, QStringLiteral("totallist1"), QStringLiteral("totallist"));
    } else if (copyUnkeyed) {
        addMissing(dm, QStringLiteral("totallist1"), Schema::headerUpgradeColumns());
        rebuildFrom(dm, QStringLiteral("totallist1"), QStringLiteral("totallist1"));
    }
    if (totallistUnkeyed)
        rebuildFrom(dm, QStringLiteral("totallist"), QStringLiteral("totallist"));
    transaction.commit();
    return true;
}

bool SchemaUpgrade::upgradeIndexes(Tfrdm& dm)
{
    std::vector<const IndexDef*> missing;
    for (const IndexDef& index : Schema::indexes())
        if (!schemaHas(dm, "index", index.name))
            missing.push_back(&index);
    if (missing.empty())
        return false;
    lb::db::Transaction transaction(dm.ADOCon);
    for (const IndexDef* index : missing)
        run(dm, Schema::createIndexSql(*index));
    transaction.commit();
    return true;
}

} // namespace lb::core
