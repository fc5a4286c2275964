// Queries: parameters, single statements, error texts, master-detail following.
#include "TestDatabase.h"

#include "platform/db/Query.h"
#include "platform/db/SqliteError.h"
#include "platform/sys/Errors.h"

#include <QFile>

namespace lb::db::test {

using QueryTest = TestDatabase;

TEST_F(QueryTest, ParametersBindByNameWithDatesAndBooleans)
{
    connection.execute(QStringLiteral("INSERT INTO product (intno, billdate, szbj) VALUES ('1', '2024-01-31', 1), ('2', '2024-02-01', 0), ('3', '2023-12-31', 1)"));
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT intno FROM product"));
    q.sql().add(QStringLiteral("WHERE billdate >= :p1 AND billdate <= :P2 AND szbj = :p3 AND coalesce(spmc, '') <> ':notparam'"));
    EXPECT_EQ((QStringList{QStringLiteral("p1"), QStringLiteral("P2"), QStringLiteral("p3")}), q.paramNames());
    q.paramByName(QStringLiteral("p1")).setAsDate(QDate(2024, 1, 1));
    q.paramByName(QStringLiteral("p2")).setAsDate(QDate(2024, 1, 31));
    q.paramByName(QStringLiteral("p3")).setAsBoolean(true);
    q.open();
    ASSERT_EQ(1, q.recordCount());
    EXPECT_EQ(QStringLiteral("1"), q["intno"].asString());
    try {
        q.paramByName(QStringLiteral("notparam"));
        FAIL() << "found";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(QStringLiteral("Parameter 'notparam' not found"), e.message());
    }
}

TEST_F(QueryTest, SqlLinesAreJoinedByLineBreaks)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("b"), 2);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT intno FROM product -- a comment ends with its line"));
    q.sql().add(QStringLiteral("WHERE intno = '2'"));
    EXPECT_EQ(QStringLiteral("SELECT intno FROM product -- a comment ends with its line\nWHERE intno = '2'"),
              q.sql().text());
    q.open();
    ASSERT_EQ(1, q.recordCount());
    EXPECT_EQ(QStringLiteral("2"), q["intno"].asString());
    q.sql().clear();
    EXPECT_FALSE(q.active()); // changing the text closes the query
    EXPECT_EQ(QString(), q.sql().text());
}

TEST_F(QueryTest, ExecSqlRunsExactlyOneStatement)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("b"), 2);
    Query q(connection);
    q.sql().add(QStringLiteral("update product set szbj=true;"));
    EXPECT_EQ(2, q.execSQL());
    q.sql().clear();
    q.sql().add(QStringLiteral("delete from product where intno=:p1; delete from product"));
    q.paramByName(QStringLiteral("p1")).setAsString(QStringLiteral("1"));
    EXPECT_THROW(q.execSQL(), DatabaseError);
    q.sql().setText(QStringLiteral("SELECT count(*) AS n FROM product WHERE szbj = true"));
    q.open();
    EXPECT_EQ(2, q["n"].asInteger());
}

TEST_F(QueryTest, ExecSqlWithValuesBindsEachToTheParameterItNames)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("b"), 2);
    Query q(connection);
    q.sql().add(QStringLiteral("update product set spmc=:name, dj_n=:price, billdate=:day where intno=:key"));
    EXPECT_EQ(1, q.execSQL({{QStringLiteral("name"), QStringLiteral("甲")}, {QStringLiteral("price"), 2.5},
                            {QStringLiteral("day"), QDate(2024, 2, 29)}, {QStringLiteral("key"), QStringLiteral("2")}}));
    // A named run afterwards binds its own values again.
    q.paramByName(QStringLiteral("name")).setAsString(QStringLiteral("乙"));
    q.paramByName(QStringLiteral("key")).setAsString(QStringLiteral("1"));
    q.paramByName(QStringLiteral("price")).setValue(QVariant());
    q.paramByName(QStringLiteral("day")).setValue(QVariant());
    EXPECT_EQ(1, q.execSQL());
    EXPECT_THROW(q.execSQL({{QStringLiteral("name"), QStringLiteral("丙")}, {QStringLiteral("price"), 1.0}}), DatabaseError);

    Query check(connection);
    check.sql().add(QStringLiteral("SELECT group_concat(intno || '/' || spmc || '/' || coalesce(dj_n, '') || '/' || coalesce(billdate, ''), ' ') AS v FROM product"));
    check.open();
    EXPECT_EQ(QStringLiteral("1/乙// 2/甲/2.5/2024-02-29"), check["v"].asString());
}

// Names of parameters are compared without case, as the program writes them: a value named in
// another case than the text's binds its parameter, in a first run and in the next, and two
// values for one name in two cases are two values for one parameter.
TEST_F(QueryTest, ANamedValueBindsItsParameterWhateverTheCaseOfEitherName)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("b"), 2);
    Query update(connection);
    update.sql().add(QStringLiteral("update product set spmc=:Name, dj_n=:PRICE where intno=:key"));
    EXPECT_EQ(1, update.execSQL({{QStringLiteral("name"), QStringLiteral("甲")}, {QStringLiteral("price"), 2.5},
                                 {QStringLiteral("KEY"), QStringLiteral("2")}}));
    EXPECT_EQ(1, update.execSQL({{QStringLiteral("NAME"), QStringLiteral("乙")}, {QStringLiteral("Price"), 0.5},
                                 {QStringLiteral("Key"), QStringLiteral("1")}}));
    try {
        update.execSQL({{QStringLiteral("name"), QStringLiteral("丙")}, {QStringLiteral("key"), QStringLiteral("1")},
                        {QStringLiteral("KEY"), QStringLiteral("2")}});
        FAIL() << "ran";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(QStringLiteral("Parameter 'KEY' is given two values: ") + update.sql().text(), e.message());
    }

    Query check(connection);
    check.sql().add(QStringLiteral("SELECT group_concat(intno || '/' || spmc || '/' || dj_n, ' ') AS v FROM product"));
    check.open();
    EXPECT_EQ(QStringLiteral("1/乙/0.5 2/甲/2.5"), check["v"].asString());
}

// A value goes to the parameter it names wherever the text puts it: SET clauses written in either
// order, by this query or by another one running the kept statement, take the same values, and a
// field passes as it was read. What would leave a parameter without its value, or bind a named
// one by position, is refused before anything is written.
TEST_F(QueryTest, ValuesBoundByNameLandInTheirColumnsWhateverTheOrderOfTheClauses)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("螺丝"), 1);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("螺母"), 2);
    Query rows(connection);
    rows.sql().setText(QStringLiteral("SELECT sphh FROM product WHERE intno = '2'"));
    rows.open();
    const QString code = QStringLiteral("code");
    const QString name = QStringLiteral("name");
    const QString key = QStringLiteral("key");
    const std::vector<NamedValue> values{{code, rows["sphh"]}, {name, QStringLiteral("垫圈")}, {key, QStringLiteral("1")}};
    const std::vector<NamedValue> reordered{{key, QStringLiteral("1")}, {name, QStringLiteral("垫圈")}, {code, rows["sphh"]}};
    const auto productOne = [&] {
        Query check(connection);
        check.sql().setText(QStringLiteral("SELECT sphh || '|' || spmc AS v FROM product WHERE intno = '1'"));
        check.open();
        const QString seen = check["v"].asString();
        connection.execute(QStringLiteral("UPDATE product SET sphh = 'A', spmc = '螺丝' WHERE intno = '1'"));
        return seen;
    };
    for (const QString& sets : {QStringLiteral("sphh=:code, spmc=:name"), QStringLiteral("spmc=:name, sphh=:code")}) {
        const QString text = QStringLiteral("UPDATE product SET %1 WHERE intno=:key").arg(sets);
        Query update(connection);
        update.sql().setText(text);
        EXPECT_EQ(1, update.execSQL(values));
        EXPECT_EQ(QStringLiteral("B|垫圈"), productOne()) << text.toStdString();
        EXPECT_EQ(1, update.execSQL(values));
        EXPECT_EQ(QStringLiteral("B|垫圈"), productOne()) << text.toStdString();
        Query again(connection);
        again.sql().setText(text);
        EXPECT_EQ(1, again.execSQL(reordered));
        EXPECT_EQ(QStringLiteral("B|垫圈"), productOne()) << text.toStdString();

        EXPECT_THROW(update.execSQL({values[0], values[1]}), DatabaseError);
        EXPECT_THROW(update.execSQL({values[0], values[1], {QStringLiteral("keys"), QStringLiteral("1")}}), DatabaseError);
        EXPECT_THROW(update.execSQL({values[0], values[2], values[2]}), DatabaseError);
        EXPECT_THROW(update.execSQL({QStringLiteral("B"), QStringLiteral("垫圈"), QStringLiteral("1")}), DatabaseError);
        EXPECT_THROW(update.execSQL({&rows["sphh"]}, {QStringLiteral("垫圈"), QStringLiteral("1")}), DatabaseError);
        EXPECT_EQ(QStringLiteral("A|螺丝"), productOne()) << text.toStdString();
    }
}

// A statement run once per row with a value missing would write NULL where the value belongs:
// it is refused before it runs, whether the values come alone or after another row's fields,
// or are set parameter by parameter; a NULL given on purpose is written.
TEST_F(QueryTest, AStatementGivenFewerValuesThanItsParametersIsRefusedNotRunWithNulls)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("螺丝"), 1);
    Query rows(connection);
    rows.sql().setText(QStringLiteral("SELECT intno, spmc FROM product"));
    rows.open();
    Query copy(connection);
    copy.sql().setText(QStringLiteral("INSERT INTO cproduct (intno1, intno, spmc) VALUES (?, ?, ?)"));
    EXPECT_THROW(copy.execSQL({QStringLiteral("9"), QStringLiteral("1")}), DatabaseError);
    EXPECT_THROW(copy.execSQL({&rows["intno"]}, {QStringLiteral("1")}), DatabaseError);
    EXPECT_THROW(copy.execSQL(std::vector<const Field*>{}, {}), DatabaseError);
    EXPECT_EQ(1, copy.execSQL({&rows["intno"], &rows["intno"]}, {QStringLiteral("全")}));

    Query insert(connection);
    insert.sql().setText(QStringLiteral("INSERT INTO cproduct (intno1, intno, spmc) VALUES (:p1, :p2, :p3)"));
    insert.paramByName(QStringLiteral("p1")).setAsString(QStringLiteral("8"));
    insert.paramByName(QStringLiteral("p3")).setAsString(QStringLiteral("半"));
    EXPECT_THROW(insert.execSQL(), DatabaseError);
    insert.paramByName(QStringLiteral("p2")).setValue(QVariant());
    EXPECT_EQ(1, insert.execSQL());

    Query check(connection);
    check.sql().setText(QStringLiteral("SELECT group_concat(quote(intno1) || quote(intno) || quote(spmc)) AS v FROM cproduct"));
    check.open();
    EXPECT_EQ(QStringLiteral("'1''1''全','8'NULL'半'"), check["v"].asString());
}

// A statement of one parameter given no value is refused as one of several is: run with NULL it
// would empty the column of every row.
TEST_F(QueryTest, AStatementOfOneParameterGivenNoValueIsRefusedBeforeItRuns)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("螺丝"), 1);
    Query rename(connection);
    rename.sql().setText(QStringLiteral("UPDATE product SET spmc = :p1"));
    try {
        rename.execSQL();
        ADD_FAILURE() << "ran without its value";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(QStringLiteral("Parameter 'p1' is given no value: UPDATE product SET spmc = :p1"), e.message());
    }
    Query check(connection);
    check.sql().setText(QStringLiteral("SELECT spmc FROM product"));
    check.open();
    EXPECT_EQ(QStringLiteral("螺丝"), check["spmc"].asString());
}

// Fields copied from one dataset's row pass as they were read: each value keeps its kind, also
// where it does not fit its column, and a value assigned since passes as assigned.
TEST_F(QueryTest, ExecSqlWithFieldsCopiesTheirValuesAsRead)
{
    connection.execute(QStringLiteral("INSERT INTO product (intno, sphh, spmc, dj_n, remark) VALUES "
                                      "('1', 'A', NULL, 'x', X'00ff'), ('2', 'B', '螺丝', 2.5, 7)"));
    Query rows(connection);
    rows.sql().setText(QStringLiteral("SELECT sphh, spmc, dj_n, remark FROM product ORDER BY intno"));
    rows.open();
    const std::vector<const Field*> fields{&rows["sphh"], &rows["spmc"], &rows["dj_n"], &rows["remark"]};
    Query copy(connection);
    copy.sql().setText(QStringLiteral("INSERT INTO cproduct (intno1, intno, spmc) VALUES (?, ?, ?)"));
    Query copyAll(connection);
    copyAll.sql().setText(QStringLiteral("INSERT INTO product (sphh, spmc, dj_n, remark, intno) VALUES (?, ?, ?, ?, ?)"));
    for (rows.first(); !rows.eof(); rows.next())
        EXPECT_EQ(1, copyAll.execSQL(fields, {QStringLiteral("copy")}));
    rows.first();
    rows.edit();
    rows["dj_n"].setAsFloat(9);
    EXPECT_EQ(1, copy.execSQL({fields[0], fields[2]}, {QStringLiteral("甲")}));
    rows.cancel();
    EXPECT_THROW(copy.execSQL(fields, {}), DatabaseError);

    Query check(connection);
    check.sql().setText(QStringLiteral("SELECT group_concat(quote(spmc) || ':' || quote(dj_n) || ':' || quote(remark), ' ') AS v "
                                       "FROM product WHERE intno = 'copy'"));
    check.open();
    EXPECT_EQ(QStringLiteral("NULL:'x':X'00FF' '螺丝':2.5:'7'"), check["v"].asString());
    check.sql().setText(QStringLiteral("SELECT intno1 || intno || spmc AS v FROM cproduct"));
    check.open();
    EXPECT_EQ(QStringLiteral("A9.0甲"), check["v"].asString());
}

TEST_F(QueryTest, ExecSqlRunsAgainWithTheValuesOfEachRunAlsoAfterAFailureOrAReconnection)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("b"), 2);
    Query q(connection);
    q.sql().add(QStringLiteral("update product set dj_n=:p1, sl=coalesce(:p3, -1) where intno=:p2"));
    q.paramByName(QStringLiteral("p1")).setAsFloat(5);
    q.paramByName(QStringLiteral("p2")).setAsString(QStringLiteral("1"));
    q.paramByName(QStringLiteral("p3")).setAsFloat(9);
    EXPECT_EQ(1, q.execSQL());
    q.paramByName(QStringLiteral("p1")).setAsFloat(6);
    q.paramByName(QStringLiteral("p2")).setAsString(QStringLiteral("2"));
    q.paramByName(QStringLiteral("p3")).setValue(QVariant());
    EXPECT_EQ(1, q.execSQL());

    Query check(connection);
    check.sql().add(QStringLiteral("SELECT group_concat(dj_n || '/' || sl, ' ') AS v FROM product"));
    check.open();
    EXPECT_EQ(QStringLiteral("5.0/9.0 6.0/-1.0"), check["v"].asString());

    // A failing run leaves the statement usable; so does closing and opening the connection.
    q.paramByName(QStringLiteral("p1")).setAsString(QStringLiteral("x"));
    connection.execute(QStringLiteral("CREATE TRIGGER no_text BEFORE UPDATE ON product WHEN typeof(new.dj_n)='text'"
                                      " BEGIN SELECT raise(abort, 'no text'); END"));
    EXPECT_THROW(q.execSQL(), DatabaseError);
    q.paramByName(QStringLiteral("p1")).setAsFloat(7);
    EXPECT_EQ(1, q.execSQL());
    connection.close();
    connection.open();
    q.paramByName(QStringLiteral("p1")).setAsFloat(8);
    EXPECT_EQ(1, q.execSQL());
    check.close();
    check.open();
    EXPECT_EQ(QStringLiteral("5.0/9.0 8.0/-1.0"), check["v"].asString());
}

TEST_F(QueryTest, BadSqlErrorNamesTheStatementAndValues)
{
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM nosuchtable WHERE id = :p1"));
    q.paramByName(QStringLiteral("p1")).setAsString(QStringLiteral("abc"));
    try {
        q.open();
        FAIL() << "opened";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("no such table: nosuchtable"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("SELECT * FROM nosuchtable WHERE id = :p1"))) << e.message().toStdString();
    }
    EXPECT_FALSE(q.active());

    q.sql().setText(QStringLiteral("INSERT INTO customer (id) VALUES (:p1)"));
    connection.execute(QStringLiteral("CREATE UNIQUE INDEX customer_id ON customer (id)"));
    q.paramByName(QStringLiteral("p1")).setAsString(QStringLiteral("dup"));
    q.execSQL();
    try {
        q.execSQL();
        FAIL() << "inserted twice";
    } catch (const SqliteError& e) {
        EXPECT_TRUE(e.params().contains(QStringLiteral(":p1='dup'"))) << e.message().toStdString();
    }
}

TEST_F(QueryTest, EngineErrorsAreLoggedApartFromTheDatasetLayersOwn)
{
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM nosuchtable"));
    try {
        q.open();
        FAIL() << "opened";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(ErrorKind::Other, e.kind());
    }
    q.sql().setText(QStringLiteral("SELECT * FROM customer"));
    q.open();
    try {
        q.fieldByName(QStringLiteral("nosuchfield"));
        FAIL() << "found";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(ErrorKind::Database, e.kind());
    }
}

TEST_F(QueryTest, DetailFollowsMasterRow)
{
    connection.execute(QStringLiteral("INSERT INTO customer (intno, id) VALUES ('1', 'a'), ('2', 'b'), ('3', 'c')"));
    connection.execute(QStringLiteral("INSERT INTO cproduct (intno1, intno, spmc) VALUES ('1', '1', 'x'), ('2', '1', 'y'), ('3', '2', 'z')"));
    Query customers(connection);
    customers.sql().add(QStringLiteral("SELECT * FROM customer ORDER BY intno"));
    Query prices(connection);
    prices.sql().add(QStringLiteral("SELECT * FROM cproduct WHERE intno=:intno"));
    prices.setMasterSource(&customers);
    customers.open();
    prices.open();
    EXPECT_EQ(2, prices.recordCount());
    customers.next();
    EXPECT_EQ(1, prices.recordCount());
    EXPECT_EQ(QStringLiteral("z"), prices["spmc"].asString());
    customers.next();
    EXPECT_TRUE(prices.isEmpty());
    // A refreshed master reloads the details changed by statements meanwhile.
    customers.first();
    connection.execute(QStringLiteral("DELETE FROM cproduct WHERE intno = '1'"));
    customers.refresh();
    EXPECT_TRUE(prices.isEmpty());
    customers.close();
    EXPECT_TRUE(prices.active());
    EXPECT_TRUE(prices.isEmpty());

    // A new master row has no details; typing its key shows the rows of that key at once.
    customers.open();
    customers.append();
    EXPECT_TRUE(prices.isEmpty());
    customers["intno"].setAsString(QStringLiteral("2"));
    ASSERT_EQ(1, prices.recordCount());
    EXPECT_EQ(QStringLiteral("z"), prices["spmc"].asString());
    customers.cancel();
    EXPECT_TRUE(prices.isEmpty()); // back on the last customer, who has no rows
}

// A detail that cannot reload fails the command that moved its master, as a direct call
// would; a detail destroyed first is no longer told.
TEST_F(QueryTest, DetailErrorsReachWhoeverMovedTheMaster)
{
    connection.execute(QStringLiteral("INSERT INTO customer(intno,name) VALUES('1','a'),('2','b')"));
    Query customers(connection);
    customers.sql().add(QStringLiteral("SELECT * FROM customer ORDER BY intno"));
    customers.open();
    {
        Query prices(connection);
        prices.sql().add(QStringLiteral("SELECT * FROM cproduct WHERE intno=:intno"));
        prices.setMasterSource(&customers);
        prices.open();
        connection.execute(QStringLiteral("DROP TABLE cproduct"));
        EXPECT_THROW(customers.next(), SqliteError);
        EXPECT_EQ(2, customers.recNo());
    }
    customers.first();
    EXPECT_EQ(1, customers.recNo());
}

// A text opened again, after the query ran other texts or another query ran it, reads with the
// values bound now, and a text only run before is written back when it is opened.
TEST_F(QueryTest, ATextOpenedAgainBindsItsValuesAnewAndIsWrittenBack)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("螺丝"), 1);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("螺母"), 2);
    const QString byNumber = QStringLiteral("SELECT spmc FROM product WHERE intno = :p1");
    {
        Query run(connection);
        run.sql().setText(byNumber);
        run.paramByName(QStringLiteral("p1")).setAsString(QStringLiteral("1"));
        run.execSQL();
    }
    Query product(connection);
    product.sql().setText(byNumber);
    product.paramByName(QStringLiteral("p1")).setAsString(QStringLiteral("1"));
    product.open();
    EXPECT_EQ(QStringLiteral("螺丝"), product["spmc"].asString());
    product.edit();
    product["spmc"].setAsString(QStringLiteral("垫圈"));
    product.post();
    product.reopen(QStringLiteral("SELECT spmc FROM product WHERE intno = '2'"));
    product.close();
    product.sql().setText(byNumber);
    product.paramByName(QStringLiteral("p1")).setAsString(QStringLiteral("2"));
    product.open();
    EXPECT_EQ(QStringLiteral("螺母"), product["spmc"].asString());
    product.paramByName(QStringLiteral("p1")).setAsString(QStringLiteral("1"));
    product.close();
    product.open();
    EXPECT_EQ(QStringLiteral("垫圈"), product["spmc"].asString());
}

// A text opened again runs the statement prepared for it before, also in another query; the
// schema may have changed meanwhile, through this connection or another program's.
TEST_F(QueryTest, ATextOpenedAgainReadsTheSchemaAsItIsNow)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("螺丝"), 2);
    Query products(connection);
    products.reopen(QStringLiteral("SELECT * FROM product"));
    const int columns = products.fieldCount();
    products.close();
    connection.execute(QStringLiteral("ALTER TABLE product ADD COLUMN colour VARCHAR(8) DEFAULT '红'"));
    products.open();
    ASSERT_EQ(columns + 1, products.fieldCount());
    products.edit();
    products["colour"].setAsString(QStringLiteral("蓝"));
    products.post();
    Connection other;
    other.setDatabaseFile(path);
    other.open();
    other.execute(QStringLiteral("ALTER TABLE product ADD COLUMN size INTEGER DEFAULT 3"));
    other.close();
    Query again(connection);
    again.reopen(QStringLiteral("SELECT * FROM product"));
    ASSERT_EQ(columns + 2, again.fieldCount());
    EXPECT_EQ(QStringLiteral("蓝"), again["colour"].asString());
    EXPECT_EQ(3, again["size"].asInteger());

    // A table without rowids is read only; made again with rowids it is written again, and the
    // other way round.
    connection.execute(QStringLiteral("CREATE TABLE shelf (code VARCHAR(10) PRIMARY KEY, place VARCHAR(10)) WITHOUT ROWID"));
    connection.execute(QStringLiteral("INSERT INTO shelf VALUES ('s1', '东')"));
    Query shelf(connection);
    shelf.reopen(QStringLiteral("SELECT code, place FROM shelf"));
    EXPECT_TRUE(shelf.readOnly());
    shelf.close();
    connection.execute(QStringLiteral("DROP TABLE shelf"));
    connection.execute(QStringLiteral("CREATE TABLE shelf (code VARCHAR(10), place VARCHAR(10))"));
    connection.execute(QStringLiteral("INSERT INTO shelf VALUES ('s1', '西')"));
    shelf.open();
    EXPECT_FALSE(shelf.readOnly());
    EXPECT_EQ(QStringLiteral("西"), shelf["place"].asString());
    shelf.close();
    connection.execute(QStringLiteral("DROP TABLE shelf"));
    connection.execute(QStringLiteral("CREATE TABLE shelf (code VARCHAR(10) PRIMARY KEY, place VARCHAR(10)) WITHOUT ROWID"));
    shelf.open();
    EXPECT_TRUE(shelf.readOnly());
    shelf.close();
    // A table gone fails as a text never opened does, naming the text.
    connection.execute(QStringLiteral("DROP TABLE shelf"));
    try {
        shelf.open();
        FAIL() << "opened";
    } catch (const SqliteError& e) {
        EXPECT_EQ(QStringLiteral("no such table: shelf"), e.engineMessage());
        EXPECT_EQ(QStringLiteral("SELECT code, place FROM shelf"), e.sql());
    }
}

// Books put in place of the file while the connection was closed (a restored copy) are what a
// text opened again reads.
TEST_F(QueryTest, ATextOpenedAgainAfterTheConnectionReopenedReadsTheFileOpenedNow)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("旧"), 1);
    Query products(connection);
    products.reopen(QStringLiteral("SELECT spmc FROM product"));
    connection.close();
    const QString copy = dir.filePath(QStringLiteral("copy.db"));
    Connection::createFile(copy);
    {
        Connection other;
        other.setDatabaseFile(copy);
        other.open();
        other.execute(QStringLiteral("CREATE TABLE product (spmc VARCHAR(40))"));
        other.execute(QStringLiteral("INSERT INTO product VALUES ('新')"));
    }
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::rename(copy, path));
    connection.open();
    products.open();
    EXPECT_EQ(QStringLiteral("新"), products["spmc"].asString());
}

} // namespace lb::db::test
