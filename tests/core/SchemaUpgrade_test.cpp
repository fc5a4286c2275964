// Tests of the in-place upgrade: older files gain the option and header columns with their
// values, totallist1 is made with totallist's rows, and an up-to-date file runs nothing.
#include "core/CoreFixture.h"
#include "core/SchemaUpgrade.h"

using lb::core::SchemaUpgrade;

namespace {

class FreshFileUpgrade : public CoreFixture {
protected:
    int columnCount(const QString& table)
    {
        return scalar(QStringLiteral("select count(*) from pragma_table_info(:p1)"), {table}).toInt();
    }
    // The engine counts every change of the schema: equal numbers mean that no DDL ran.
    int schemaVersion() { return scalar(QStringLiteral("select schema_version from pragma_schema_version")).toInt(); }
};

class OldFileUpgrade : public FreshFileUpgrade {
protected:
    void makeDatabase(const QString& path) override { lb::core::NewDatabase::createOldForm(path); }
};

} // namespace

TEST_F(OldFileUpgrade, OptionsGainTheirThreeColumnsInOneStep)
{
    EXPECT_THROW(dm().ATCONFIG->open(), lb::DatabaseError);
    EXPECT_TRUE(SchemaUpgrade::upgradeOptions(dm()));
    dm().ATCONFIG->open();
    EXPECT_TRUE(dm().ATCONFIG->fieldByName(QStringLiteral("flashbj")).asBoolean());
    EXPECT_TRUE(dm().ATCONFIG->fieldByName(QStringLiteral("startbj")).asBoolean());
    EXPECT_EQ(QString(), dm().ATCONFIG->fieldByName(QStringLiteral("remark1")).asString());
    EXPECT_FALSE(dm().ATCONFIG->fieldByName(QStringLiteral("remark1")).isNull());
    EXPECT_EQ(QStringLiteral("T"), dm().ATCONFIG->fieldByName(QStringLiteral("tallybj")).asString());
    dm().ATCONFIG->close();
    // The start-up's second test-open after the log-in finds nothing more to do.
    EXPECT_FALSE(SchemaUpgrade::upgradeOptions(dm()));
}

TEST_F(OldFileUpgrade, OptionsLackingOnlySomeColumnsAreCompleted)
{
    exec(QStringLiteral("alter table config add column flashbj BOOLEAN NOT NULL DEFAULT 1"));
    exec(QStringLiteral("update config set flashbj=0"));
    EXPECT_TRUE(SchemaUpgrade::upgradeOptions(dm()));
    // The column that was there keeps its value; the missing ones are added.
    EXPECT_EQ(0, scalar(QStringLiteral("select flashbj from config")).toInt());
    EXPECT_EQ(1, scalar(QStringLiteral("select startbj from config")).toInt());
    EXPECT_EQ(17, columnCount(QStringLiteral("config")));
}

TEST_F(OldFileUpgrade, HeaderRowsGainEmptyColumnsAndTotallistIsCopied)
{
    for (const QString& table : lb::core::Schema::headerTables())
        insertRow(table, {{"customername", QStringLiteral("老客户")}, {"amount", 12.5}, {"billdate", QDate(2025, 12, 1)}});
    insertRow(QStringLiteral("totallist"), {{"customername", QStringLiteral("甲")}, {"amount", 1.0}});
    insertRow(QStringLiteral("totallist"), {{"customername", QStringLiteral("乙")}, {"amount", 2.0}});

    EXPECT_TRUE(SchemaUpgrade::upgradeDocuments(dm()));

    for (const QString& table : lb::core::Schema::headerTables()) {
        EXPECT_EQ(27, columnCount(table)) << table.toStdString();
        for (const char* column : {"remark1", "billtype", "billname", "addr"}) {
            const QVariant value = scalar(QStringLiteral("select %1 from %2").arg(column, table));
            EXPECT_FALSE(value.isNull()) << table.toStdString() << "." << column;
            EXPECT_EQ(QString(), value.toString());
        }
        // Documents posted before routes were recorded have none.
        EXPECT_TRUE(scalar(QStringLiteral("select postroute from %1").arg(table)).isNull()) << table.toStdString();
        EXPECT_EQ(12.5, scalar(QStringLiteral("select amount from %1").arg(table)).toDouble());
    }
    EXPECT_EQ(27, columnCount(QStringLiteral("totallist")));
    EXPECT_EQ(27, columnCount(QStringLiteral("totallist1")));
    EXPECT_EQ(QStringLiteral("甲,乙"), scalar(QStringLiteral("select group_concat(customername) from "
                                                           "(select customername from totallist1 order by intid)")).toString());
    EXPECT_EQ(QStringLiteral("1,2"), scalar(QStringLiteral("select group_concat(intid) from "
                                                          "(select intid from totallist order by intid)")).toString());
    // The counter goes on after the copied rows.
    exec(QStringLiteral("insert into totallist1 (customername) values ('丙')"));
    EXPECT_EQ(3, scalar(QStringLiteral("select intid from totallist1 where customername='丙'")).toInt());

    // The shared datasets open on the upgraded file, and the step does not run again.
    dm().AQoutlist->open();
    EXPECT_EQ(QStringLiteral("老客户"), dm().AQoutlist->fieldByName(QStringLiteral("customername")).asString());
    dm().AQoutlist->close();
    EXPECT_NO_THROW(dm().ATtotallist1->open());
    dm().ATtotallist1->close();
    const int version = schemaVersion();
    EXPECT_FALSE(SchemaUpgrade::upgradeDocuments(dm()));
    EXPECT_EQ(version, schemaVersion());
}

TEST_F(OldFileUpgrade, WorkTablesLackingOnlyTheirKeyAreCompleted)
{
    // A file whose headers were upgraded, and whose copy of totallist exists, without keys.
    const QStringList added{QStringLiteral("remark1 TEXT DEFAULT ''"), QStringLiteral("billtype VARCHAR(2) DEFAULT ''"),
                            QStringLiteral("billname VARCHAR(10) DEFAULT ''"), QStringLiteral("addr VARCHAR(60) DEFAULT ''")};
    for (const QString& table : lb::core::Schema::headerTables() + QStringList{QStringLiteral("totallist")})
        for (const QString& column : added)
            exec(QStringLiteral("alter table %1 add column %2").arg(table, column));
    insertRow(QStringLiteral("totallist"), {{"customername", QStringLiteral("甲")}});
    exec(QStringLiteral("create table totallist1 as select * from totallist"));
    dm().AQoutlist->open(); // the sales headers alone look up to date
    dm().AQoutlist->close();

    EXPECT_TRUE(SchemaUpgrade::upgradeDocuments(dm()));
    for (const QString& table : {QStringLiteral("totallist"), QStringLiteral("totallist1")}) {
        EXPECT_EQ(27, columnCount(table)) << table.toStdString();
        EXPECT_EQ(QStringLiteral("甲"), scalar(QStringLiteral("select customername from %1 where intid=1").arg(table)).toString());
    }
    EXPECT_NO_THROW(dm().ATtotallist1->open());
}

TEST_F(OldFileUpgrade, TotallistGainsItsKeyWhenOnlyItsCopyHasOne)
{
    // A file whose copy was made and keyed, and whose totallist lost its key (or never got it).
    const QStringList added{QStringLiteral("remark1 TEXT DEFAULT ''"), QStringLiteral("billtype VARCHAR(2) DEFAULT ''"),
                            QStringLiteral("billname VARCHAR(10) DEFAULT ''"), QStringLiteral("addr VARCHAR(60) DEFAULT ''")};
    for (const QString& table : lb::core::Schema::headerTables() + QStringList{QStringLiteral("totallist")})
        for (const QString& column : added)
            exec(QStringLiteral("alter table %1 add column %2").arg(table, column));
    exec(lb::core::Schema::createTableSql(lb::core::Schema::table(QStringLiteral("totallist1"))));
    insertRow(QStringLiteral("totallist"), {{"customername", QStringLiteral("甲")}});
    insertRow(QStringLiteral("totallist"), {{"customername", QStringLiteral("乙")}});
    insertRow(QStringLiteral("totallist1"), {{"customername", QStringLiteral("丙")}});

    EXPECT_TRUE(SchemaUpgrade::upgradeDocuments(dm()));
    EXPECT_EQ(27, columnCount(QStringLiteral("totallist")));
    EXPECT_EQ(QStringLiteral("乙"), scalar(QStringLiteral("select customername from totallist where intid=2")).toString());
    // The keyed copy keeps its own rows: it is not made again from totallist.
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from totallist1")).toInt());
    EXPECT_EQ(QStringLiteral("丙"), scalar(QStringLiteral("select customername from totallist1 where intid=1")).toString());
    EXPECT_NO_THROW(dm().ATtotallist1->open());
    EXPECT_FALSE(SchemaUpgrade::upgradeDocuments(dm()));
}

TEST_F(OldFileUpgrade, AFailingStepLeavesTheFileAsItWas)
{
    insertRow(QStringLiteral("totallist"), {{"customername", QStringLiteral("甲")}});
    // A stray table in the way of the rebuild makes the step fail half-way.
    exec(QStringLiteral("create table totallist1_lbnew (x)"));
    EXPECT_THROW(SchemaUpgrade::upgradeDocuments(dm()), lb::DatabaseError);
    EXPECT_EQ(22, columnCount(QStringLiteral("outlist")));
    EXPECT_EQ(22, columnCount(QStringLiteral("totallist")));
    EXPECT_EQ(0, columnCount(QStringLiteral("totallist1")));
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from totallist")).toInt());
}

TEST_F(FreshFileUpgrade, BooksMadeBeforePostingsRecordedTheirRouteGainIt)
{
    // Books of this program from before the route: every other upgraded column, both work
    // tables keyed, and headers without postroute.
    for (const QString& table : lb::core::Schema::headerTables()) {
        insertRow(table, {{"customername", QStringLiteral("老客户")}, {"pass", true}});
        exec(QStringLiteral("alter table %1 drop column postroute").arg(table));
    }

    EXPECT_TRUE(SchemaUpgrade::upgradeDocuments(dm()));
    for (const QString& table : lb::core::Schema::headerTables()) {
        EXPECT_EQ(27, columnCount(table)) << table.toStdString();
        EXPECT_TRUE(scalar(QStringLiteral("select postroute from %1").arg(table)).isNull()) << table.toStdString();
        // What posting writes on the header.
        exec(QStringLiteral("update %1 set pass=1, postroute='T'").arg(table));
    }
    EXPECT_EQ(QStringLiteral("老客户"), scalar(QStringLiteral("select customername from outlist")).toString());
    EXPECT_FALSE(SchemaUpgrade::upgradeDocuments(dm()));
}

TEST_F(FreshFileUpgrade, UpToDateFileRunsNothing)
{
    insertRow(QStringLiteral("outlist"), {{"remark1", QStringLiteral("留言")}, {"billtype", QStringLiteral("01")}});
    exec(QStringLiteral("update config set startbj=0, flashbj=0"));
    const int version = schemaVersion();
    EXPECT_FALSE(SchemaUpgrade::upgradeOptions(dm()));
    EXPECT_FALSE(SchemaUpgrade::upgradeDocuments(dm()));
    EXPECT_EQ(version, schemaVersion());
    EXPECT_EQ(0, scalar(QStringLiteral("select startbj from config")).toInt());
    EXPECT_EQ(0, scalar(QStringLiteral("select flashbj from config")).toInt());
    EXPECT_EQ(QStringLiteral("留言"), scalar(QStringLiteral("select remark1 from outlist")).toString());
    EXPECT_EQ(QStringLiteral("01"), scalar(QStringLiteral("select billtype from outlist")).toString());
}

TEST_F(OldFileUpgrade, OlderFilesGainTheIndexesOnceAndTheLookUpsUseThem)
{
    const QString count = QStringLiteral("select count(*) from sqlite_master where type='index' and name like 'ix_%'");
    EXPECT_EQ(0, scalar(count).toInt());
    EXPECT_TRUE(SchemaUpgrade::upgradeIndexes(dm()));
    EXPECT_EQ(int(lb::core::Schema::indexes().size()), scalar(count).toInt());
    // Posting's product and party updates, the code look-ups of entry, a document's lines, and
    // the running balances' party and account filters.
    const std::pair<const char*, const char*> lookUps[] = {
        {"update product set sl=sl-1 where intno='0000000001'", "ix_product_intno"},
        {"select * from product where sphh='A01'", "ix_product_sphh"},
        {"select * from product where barcode='6901234567890'", "ix_product_barcode"},
        {"update customer set balance=1 where id='0000000001'", "ix_customer_id"},
        {"select * from branch where id='0000000001'", "ix_branch_id"},
        {"select * from bank where id='0000000001'", "ix_bank_id"},
        {"select * from outdetail where mainintno='0000000001'", "ix_outdetail_mainintno"},
        {"select * from getdetail where pass=true and cancel=false and trim(customerid)='0000000001'", "ix_getdetail_trim_customerid"},
        {"select * from inbacklist where pass=true and cancel=false and trim(customerid)='0000000001'", "ix_inbacklist_trim_customerid"},
        {"select intno from outlist where trim(bankid)='0000000001'", "ix_outlist_trim_bankid"},
    };
    for (const auto& [sql, index] : lookUps)
        EXPECT_TRUE(queryPlan(QLatin1String(sql)).contains(QLatin1String(index))) << sql << ": " << queryPlan(QLatin1String(sql)).toStdString();
    const int version = schemaVersion();
    EXPECT_FALSE(SchemaUpgrade::upgradeIndexes(dm()));
    EXPECT_EQ(version, schemaVersion());
}

TEST_F(FreshFileUpgrade, FreshFileHasTheIndexesAlready)
{
    EXPECT_FALSE(SchemaUpgrade::upgradeIndexes(dm()));
}
