// Tests of the schema and of new database files: every table and column as declared, the rows
// an installation ships, the older form, and the data module's datasets over a fresh file.
#include "core/CoreFixture.h"
#include "core/ScramblePassword.h"

#include <QDir>

using lb::core::Schema;

namespace {

class SchemaTest : public CoreFixture {};

// Declared type of each column as the engine reports it.
QStringList declaredColumns(lb::db::Connection& db, const QString& table)
{
    lb::db::Query info(db);
    info.sql().add(QStringLiteral("select name, type from pragma_table_info(:p1) order by cid"));
    info.paramByName(QStringLiteral("p1")).setAsString(table);
    info.open();
    QStringList columns;
    for (info.first(); !info.eof(); info.next())
        columns << info.field(0).asString() + QLatin1Char(' ') + info.field(1).asString();
    return columns;
}

} // namespace

TEST_F(SchemaTest, FreshFileHasEveryTableAndColumnWithItsDeclaredType)
{
    EXPECT_EQ(36u, Schema::tables().size());
    EXPECT_EQ(36, scalar(QStringLiteral("select count(*) from sqlite_master where type='table' "
                                        "and name not like 'sqlite%'")).toInt());
    for (const auto& table : Schema::tables()) {
        QStringList expected;
        for (const auto& c : table.columns) {
            static const char* types[] = {"VARCHAR", "TEXT", "DOUBLE", "INTEGER", "BOOLEAN", "DATE", "DATETIME", "INTEGER"};
            QString type = QString::fromLatin1(types[int(c.type)]);
            if (c.type == lb::core::ColumnType::Text)
                type += QStringLiteral("(%1)").arg(c.size);
            expected << c.name + QLatin1Char(' ') + type;
        }
        EXPECT_EQ(expected, declaredColumns(db(), table.name)) << table.name.toStdString();
    }
}

TEST_F(SchemaTest, FreshFileHasTheUpgradedColumnCounts)
{
    const auto count = [&](const QString& table) {
        return scalar(QStringLiteral("select count(*) from pragma_table_info(:p1)"), {table}).toInt();
    };
    const auto last = [&](const QString& table) {
        return scalar(QStringLiteral("select name from pragma_table_info(:p1) order by cid desc limit 1"), {table}).toString();
    };
    for (const QString& table : Schema::headerTables()) {
        EXPECT_EQ(27, count(table)) << table.toStdString();
        EXPECT_EQ(QStringLiteral("postroute"), last(table)) << table.toStdString();
    }
    for (const QString& table : Schema::lineTables() + QStringList{QStringLiteral("custtotal"), QStringLiteral("custtotal1")})
        EXPECT_EQ(29, count(table)) << table.toStdString();
    for (const QString& table : {QStringLiteral("totallist"), QStringLiteral("totallist1")}) {
        EXPECT_EQ(27, count(table)) << table.toStdString();
        EXPECT_EQ(QStringLiteral("intid"), last(table)) << table.toStdString();
        EXPECT_EQ(1, scalar(QStringLiteral("select pk from pragma_table_info(:p1) where name='intid'"), {table}).toInt());
    }
    EXPECT_EQ(7, Schema::headerTables().size());
    EXPECT_EQ(7, Schema::lineTables().size());
    EXPECT_EQ(35, count(QStringLiteral("product")));
    EXPECT_EQ(21, count(QStringLiteral("customer")));
    EXPECT_EQ(17, count(QStringLiteral("config")));
    EXPECT_EQ(QStringLiteral("flashbj"), last(QStringLiteral("config")));
}

TEST_F(SchemaTest, DocumentTablesShareTheHeaderAndLineLayouts)
{
    for (const QString& name : Schema::headerTables()) {
        const auto& columns = Schema::table(name).columns;
        ASSERT_EQ(27u, columns.size());
        EXPECT_EQ(QStringLiteral("intno"), columns.front().name);
        EXPECT_EQ(QStringLiteral("postroute"), columns.back().name);
    }
    for (const QString& name : Schema::lineTables() + QStringList{"custtotal", "custtotal1"}) {
        const auto& columns = Schema::table(name).columns;
        ASSERT_EQ(29u, columns.size());
        EXPECT_EQ(QStringLiteral("spgg"), columns.back().name);
    }
    EXPECT_EQ(27u, Schema::table(QStringLiteral("totallist1")).columns.size());
    // Widths that differ between tables.
    EXPECT_EQ(15, Schema::table(QStringLiteral("product")).find(QStringLiteral("sphh"))->size);
    EXPECT_EQ(10, Schema::table(QStringLiteral("outdetail")).find(QStringLiteral("sphh"))->size);
    EXPECT_EQ(3, Schema::table(QStringLiteral("store")).find(QStringLiteral("id"))->size);
    EXPECT_EQ(lb::core::ColumnType::Text, Schema::table(QStringLiteral("bank")).find(QStringLiteral("remark"))->type);
    EXPECT_EQ(lb::core::ColumnType::Memo, Schema::table(QStringLiteral("branch")).find(QStringLiteral("remark"))->type);
    EXPECT_THROW(Schema::table(QStringLiteral("nosuchtable")), lb::Error);
}

TEST_F(SchemaTest, FreshFileCarriesTheRowsOfAnInstallation)
{
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from config")).toInt());
    EXPECT_EQ(QStringLiteral("T"), scalar(QStringLiteral("select tallybj from config")).toString());
    EXPECT_EQ(1, scalar(QStringLiteral("select flashbj from config")).toInt());
    EXPECT_EQ(0, scalar(QStringLiteral("select startbj from config")).toInt());
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from company")).toInt());
    EXPECT_EQ(QStringLiteral("2026-06-01"), scalar(QStringLiteral("select ksdate from dateconfig")).toString());
    EXPECT_EQ(QStringLiteral("2026-06-15"), scalar(QStringLiteral("select jsdate from dateconfig")).toString());
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from opcrl")).toInt());
    EXPECT_EQ(lb::core::ScramblePassword(lb::core::FactoryAdminPassword),
              scalar(QStringLiteral("select pw from opcrl where bh='999'")).toString());
    EXPECT_EQ(QStringLiteral("1"), scalar(QStringLiteral("select intno from nextno where tablename='cproduct'")).toString());
    EXPECT_EQ(QStringLiteral("现金"), scalar(QStringLiteral("select name from bank where id='0000000001'")).toString());
    EXPECT_LT(0, scalar(QStringLiteral("select count(*) from package")).toInt());
    EXPECT_LT(0, scalar(QStringLiteral("select count(*) from units")).toInt());
}

TEST_F(SchemaTest, NewRowsTakeEmptyTextZeroAndFalse)
{
    exec(QStringLiteral("insert into outdetail (intno) values ('0000000001')"));
    EXPECT_EQ(QString(), scalar(QStringLiteral("select spmc from outdetail")).toString());
    EXPECT_FALSE(scalar(QStringLiteral("select spmc from outdetail")).isNull());
    EXPECT_EQ(0.0, scalar(QStringLiteral("select sl from outdetail")).toDouble());
    EXPECT_EQ(0, scalar(QStringLiteral("select pass from outdetail")).toInt());
    // Text compares without regard to case, as the program's look-ups expect.
    makeCustomer(QStringLiteral("A01"), QStringLiteral("甲"));
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from customer where id=:p1"), {QStringLiteral("a01")}).toInt());
}

TEST_F(SchemaTest, ExistingFileIsNeverReplaced)
{
    const QString path = lb::AppPaths::databaseFile();
    makeCustomer(QStringLiteral("0000000001"), QStringLiteral("老客户"));
    EXPECT_THROW(lb::core::NewDatabase::create(path), lb::DatabaseError);
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from customer")).toInt());
    // Nothing is left beside it either.
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files));
}

TEST_F(SchemaTest, OldFormLacksTheUpgradeColumns)
{
    const QString path = folder.filePath(QStringLiteral("old/kvdb.mdb"));
    lb::core::NewDatabase::createOldForm(path);
    lb::db::Connection old;
    old.setDatabaseFile(path);
    old.open();
    const QStringList config = declaredColumns(old, QStringLiteral("config"));
    EXPECT_EQ(14, config.size());
    EXPECT_FALSE(config.join(' ').contains(QStringLiteral("flashbj")));
    EXPECT_EQ(22, declaredColumns(old, QStringLiteral("outlist")).size());
    EXPECT_EQ(22, declaredColumns(old, QStringLiteral("totallist")).size());
    EXPECT_TRUE(declaredColumns(old, QStringLiteral("totallist1")).isEmpty());
    EXPECT_EQ(29, declaredColumns(old, QStringLiteral("outdetail")).size());
}

TEST_F(SchemaTest, EveryDataModuleDatasetOpensOnAFreshFile)
{
    for (lb::db::DataSet* dataSet : dm().findChildren<lb::db::DataSet*>()) {
        // Declared, never opened: their fields are those of another table.
        if (dataSet == dm().Aqcustomertv || dataSet == dm().AQcom)
            continue;
        EXPECT_NO_THROW(dataSet->open()) << dataSet->name().toStdString();
        dataSet->close();
    }
}

TEST_F(SchemaTest, PersistentFieldsCarryTypesSizesAndLabels)
{
    dm().AQoutdetail->open();
    const lb::db::Field& sphh = dm().AQoutdetail->fieldByName(QStringLiteral("sphh"));
    EXPECT_EQ(lb::db::FieldType::Text, sphh.dataType());
    EXPECT_EQ(10, sphh.size());
    EXPECT_EQ(QStringLiteral("货品代码"), sphh.displayLabel());
    EXPECT_EQ(QStringLiteral("数量"), dm().AQoutdetail->fieldByName(QStringLiteral("sl")).displayLabel());
    EXPECT_EQ(lb::db::FieldType::Date, dm().AQoutdetail->fieldByName(QStringLiteral("billdate")).dataType());
    EXPECT_EQ(29, dm().AQoutdetail->fieldCount());
    EXPECT_EQ(22, dm().AQtotallist->fieldCount());
    EXPECT_EQ(32, dm().ATproduct->fieldCount());
    EXPECT_EQ(lb::db::FieldType::DateTime, dm().ATapperror->fieldByName(QStringLiteral("rq")).dataType());
    EXPECT_EQ(lb::db::FieldType::Boolean, dm().ATCONFIG->fieldByName(QStringLiteral("flashbj")).dataType());
    EXPECT_EQ(QStringLiteral("0.000"), dm().AQoutdetail->fieldByName(QStringLiteral("dj_n")).displayFormat());
    EXPECT_EQ(QStringLiteral("#.##"), dm().Aqcustomer->fieldByName(QStringLiteral("deduck_y")).displayFormat());
}
