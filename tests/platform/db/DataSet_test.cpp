// Datasets over a real file: typing, null reads, navigation, editing round trips, refresh, signals.
#include "TestDatabase.h"

#include "platform/db/Query.h"
#include "platform/db/SqliteError.h"
#include "platform/db/Table.h"
#include "platform/sys/Errors.h"
#include "platform/sys/ExactAmount.h"
#include "platform/sys/TextFormat.h"

#include <cmath>
#include <numeric>
#include <limits>
#include <stdexcept>


namespace lb::db::test {

using DataSetTest = TestDatabase;

TEST_F(DataSetTest, FieldsAreTypedByDeclaredTypeNotByStoredValue)
{
    connection.execute(QStringLiteral("INSERT INTO product (intno, dj_n, szbj, billdate, qty) VALUES ('0000000001', 100, 1, '2024-03-05', 3)"));
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product"));
    q.open();
    EXPECT_EQ(FieldType::Float, q["dj_n"].dataType());
    EXPECT_EQ(FieldType::Text, q["intno"].dataType());
    EXPECT_EQ(10, q["intno"].size());
    EXPECT_EQ(FieldType::Memo, q["remark"].dataType());
    EXPECT_EQ(FieldType::Boolean, q["szbj"].dataType());
    EXPECT_EQ(FieldType::Date, q["billdate"].dataType());
    EXPECT_EQ(FieldType::DateTime, q["rq"].dataType());
    EXPECT_EQ(FieldType::Integer, q["qty"].dataType());
    EXPECT_EQ(QVariant(100.0), q["dj_n"].value());
    EXPECT_EQ(QStringLiteral("100"), q["dj_n"].asString());
    EXPECT_TRUE(q["szbj"].asBoolean());
    EXPECT_EQ(QDate(2024, 3, 5), q["billdate"].asDate());
    EXPECT_EQ(QStringLiteral("2024-03-05"), q["billdate"].asString());
}

TEST_F(DataSetTest, ExpressionColumnsAreTypedFromAllRows)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 2);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("b"), 2.5);
    Query q(connection);
    // The first row's value is an integer, the second a real: the column is still Float.
    q.sql().add(QStringLiteral("SELECT sphh, CASE WHEN sphh = 'A' THEN 1 ELSE 2.5 END AS x, count(*) AS n, sum(dj_n) AS total FROM product GROUP BY sphh ORDER BY sphh"));
    q.open();
    EXPECT_EQ(FieldType::Float, q["x"].dataType());
    EXPECT_EQ(FieldType::Integer, q["n"].dataType());
    EXPECT_EQ(FieldType::Float, q["total"].dataType());
    EXPECT_TRUE(q.readOnly());
    EXPECT_THROW(q.edit(), DatabaseError);
}

TEST_F(DataSetTest, NullReadsAsEmptyZeroAndFalse)
{
    connection.execute(QStringLiteral("INSERT INTO product (intno, dj_n, szbj, qty) VALUES ('1', NULL, NULL, NULL)"));
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product"));
    q.open();
    EXPECT_TRUE(q["dj_n"].isNull());
    EXPECT_EQ(0.0, q["dj_n"].asFloat());
    EXPECT_EQ(0, q["qty"].asInteger());
    EXPECT_FALSE(q["szbj"].asBoolean());
    EXPECT_EQ(QString(), q["spmc"].asString());
    EXPECT_EQ(QString(), q["dj_n"].displayText());
    EXPECT_FALSE(q["billdate"].asDate().isValid());
    EXPECT_FALSE(q["dj_n"].value().isValid());
}

TEST_F(DataSetTest, TypedReadsConvertWhatAColumnHoldsWhateverItsStorageClass)
{
    // SQLite keeps what it was given: text in a DOUBLE column, a number in a VARCHAR column.
    connection.execute(QStringLiteral("INSERT INTO product (intno, spmc, dj_n, sl) VALUES (12, 'x', ' 12.5 ', '')"));
    connection.execute(QStringLiteral("INSERT INTO product (intno, spmc, dj_n, sl) VALUES (2.5, NULL, 3, 'abc')"));
    Query q(connection);
    q.sql().setText(QStringLiteral("SELECT intno, spmc, dj_n, sl FROM product ORDER BY rowid"));
    q.open();
    EXPECT_EQ(QStringLiteral("12"), q["intno"].asString());
    EXPECT_EQ(12.5, q["dj_n"].asFloat());
    EXPECT_EQ(0.0, q["sl"].asFloat());
    EXPECT_TRUE(q["sl"].isNull());
    q.next();
    EXPECT_EQ(QStringLiteral("2.5"), q["intno"].asString());
    EXPECT_EQ(QString(), q["spmc"].asString());
    EXPECT_EQ(3.0, q["dj_n"].asFloat());
    q.edit();
    q["spmc"].setAsString(QStringLiteral("平垫圈"));
    q["dj_n"].setAsFloat(4.25);
    EXPECT_EQ(QStringLiteral("平垫圈"), q["spmc"].asString());
    EXPECT_EQ(4.25, q["dj_n"].asFloat());
}

TEST_F(DataSetTest, WhatOtherProgramsWroteReadsAsZeroFalseOrNoDateAndNeverRaises)
{
    // Text where numbers, Yes/No values and dates belong, and numbers beyond every range.
    connection.execute(QStringLiteral(
        "INSERT INTO product (intno, dj_n, sl, qty, szbj, billdate, rq) "
        "VALUES ('1', 'abc', ' ', 'many', 'maybe', 'someday', 'later')"));
    connection.execute(QStringLiteral(
        "INSERT INTO product (intno, dj_n, sl, qty, szbj, billdate) VALUES ('2', 2.6, '  7.5 ', 1e300, 'F', '2026-6-5')"));
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product ORDER BY intno"));
    q.open();
    q["dj_n"].setDisplayFormat(QStringLiteral("0.00"));
    EXPECT_EQ(0.0, q["dj_n"].asFloat());
    EXPECT_EQ(QStringLiteral("0.00"), q["dj_n"].displayText());
    EXPECT_FALSE(q["dj_n"].isNull());
    EXPECT_TRUE(q["sl"].isNull()); // a blank reads as no value
    EXPECT_EQ(QString(), q["sl"].displayText());
    EXPECT_EQ(0, q["qty"].asInteger());
    EXPECT_EQ(QStringLiteral("0"), q["qty"].asString());
    EXPECT_FALSE(q["szbj"].asBoolean());
    EXPECT_FALSE(q["billdate"].asDate().isValid());
    EXPECT_EQ(QString(), q["billdate"].displayText());
    EXPECT_FALSE(q["rq"].asDateTime().isValid());
    EXPECT_EQ(0.0, q["dj_n"].asFloat() + q["sl"].asFloat() + double(q["qty"].asInteger()));

    q.next();
    EXPECT_EQ(3, q["dj_n"].asInteger()); // 2.6 rounds, it is not cut
    EXPECT_EQ(7.5, q["sl"].asFloat());
    EXPECT_EQ(8, q["sl"].asInteger());
    EXPECT_EQ(0, q["qty"].asInteger()); // beyond 64 bits
    EXPECT_FALSE(q["szbj"].asBoolean());
    EXPECT_EQ(QDate(2026, 6, 5), q["billdate"].asDate());
}

TEST_F(DataSetTest, IntegerFieldRefusesValuesBeyondTheLongRangeAndKeepsItsValue)
{
    connection.execute(QStringLiteral("INSERT INTO product (intno, qty) VALUES ('1', 5)"));
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product"));
    q.open();
    q.edit();
    q["qty"].setAsInteger(2147483647);
    q["qty"].setAsFloat(-2147483648.0);
    EXPECT_EQ(-2147483648LL, q["qty"].asInteger());
    try {
        q["qty"].setAsFloat(3e9);
        ADD_FAILURE() << "3e9 was taken";
    } catch (const ConvertError& error) {
        EXPECT_EQ(QStringLiteral("3000000000 is not a valid value for field 'qty'. "
                                 "The allowed range is -2147483648 to 2147483647"),
                  error.message());
    }
    EXPECT_THROW(q["qty"].setAsInteger(2147483648LL), ConvertError);
    EXPECT_THROW(q["qty"].setAsString(QStringLiteral("99999999999")), ConvertError);
    EXPECT_THROW(q["qty"].setAsFloat(1e300), ConvertError);
    EXPECT_THROW(q["qty"].setValue(std::nan("")), ConvertError);
    EXPECT_EQ(-2147483648LL, q["qty"].asInteger());
    q.post();
    Query check(connection);
    check.sql().add(QStringLiteral("SELECT qty FROM product"));
    check.open();
    EXPECT_EQ(-2147483648LL, check["qty"].asInteger());
}

TEST_F(DataSetTest, NumberFieldRefusesFiguresBeyondWholeCentsAndKeepsItsValue)
{
    connection.execute(QStringLiteral("INSERT INTO product (intno, dj_n) VALUES ('1', 5)"));
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product"));
    q.open();
    q.edit();
    // Typed text is refused as text that is no number is.
    for (const QString& typed : {QStringLiteral("1e308"), QStringLiteral("-1e308"), QStringLiteral("90071992547410"),
                                 QString(300, QLatin1Char('9')), QStringLiteral("1e400"), QStringLiteral("nan")}) {
        try {
            q["dj_n"].setAsString(typed);
            ADD_FAILURE() << typed.toStdString() << " was taken";
        } catch (const ConvertError& error) {
            EXPECT_EQ(QStringLiteral("'%1' is not a valid floating point value").arg(typed), error.message());
        }
    }
    try {
        q["dj_n"].setAsFloat(1e14);
        ADD_FAILURE() << "1e14 was taken";
    } catch (const ConvertError& error) {
        EXPECT_EQ(QStringLiteral("100000000000000 is not a valid value for field 'dj_n'. "
                                 "The allowed range is -90071992547409.9 to 90071992547409.9"),
                  error.message());
    }
    for (double computed : {-lb::kMaxExactAmount, std::numeric_limits<double>::infinity(), std::nan("")})
        EXPECT_THROW(q["dj_n"].setValue(computed), ConvertError);
    EXPECT_EQ(5.0, q["dj_n"].asFloat());
    q["sl"].setAsString(QStringLiteral("-90071992547409.9"));
    q.post();
    Query check(connection);
    check.sql().add(QStringLiteral("SELECT dj_n, sl FROM product"));
    check.open();
    EXPECT_EQ(5.0, check["dj_n"].asFloat());
    EXPECT_EQ(-90071992547409.9, check["sl"].asFloat());
}

TEST_F(DataSetTest, WritesThatMeetRowsDeletedByAnotherStatement)
{
    for (int i = 1; i <= 4; ++i)
        addProduct(QString::number(i), QStringLiteral("P%1").arg(i), QStringLiteral("n%1").arg(i), i);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product ORDER BY intno"));
    q.open();
    const auto stored = [&](const QString& intno) {
        Query check(connection);
        check.sql().add(QStringLiteral("SELECT spmc FROM product WHERE intno = :p1"));
        check.paramByName(QStringLiteral("p1")).setValue(intno);
        check.open();
        return check.isEmpty() ? QStringLiteral("<gone>") : check["spmc"].asString();
    };

    // The edited row is gone: posting says so and keeps the edit, it does not pretend to store.
    q.setRecNo(2);
    q.edit();
    q["spmc"].setAsString(QStringLiteral("edited"));
    connection.execute(QStringLiteral("DELETE FROM product WHERE intno = '2'"));
    EXPECT_THROW(q.post(), DatabaseError);
    EXPECT_EQ(DataSetState::Edit, q.state());
    EXPECT_EQ(QStringLiteral("edited"), q["spmc"].asString());
    q.cancel();

    // Deleting during an edit drops the edit: the next row is not written over.
    q.refresh();
    q.first();
    q.edit();
    q["spmc"].setAsString(QStringLiteral("stale"));
    q.deleteRecord();
    EXPECT_EQ(DataSetState::Browse, q.state());
    q.next();
    EXPECT_EQ(DataSetState::Browse, q.state());
    EXPECT_EQ(QStringLiteral("<gone>"), stored(QStringLiteral("1")));
    EXPECT_EQ(QStringLiteral("n3"), stored(QStringLiteral("3")));
    EXPECT_EQ(QStringLiteral("n4"), stored(QStringLiteral("4")));

    // A refresh after a row before the current one went keeps the same record current.
    connection.execute(QStringLiteral("INSERT INTO product (intno, spmc) VALUES ('5', 'n5')"));
    q.close();
    q.open(); // rows 3, 4, 5
    q.setRecNo(2);
    connection.execute(QStringLiteral("DELETE FROM product WHERE intno = '3'"));
    q.refresh();
    EXPECT_EQ(QStringLiteral("4"), q["intno"].asString());
    EXPECT_EQ(1, q.recNo());
}

TEST_F(DataSetTest, RowKeptThroughARollbackStillReadsAfterTheLoadedRowsAreGone)
{
    {
        Transaction setUp(connection); // one commit, not two thousand
        for (int i = 0; i < 2000; ++i) // rows over several of the load's blocks
            addProduct(QString::number(i), QStringLiteral("HH-%1").arg(i), QStringLiteral("不锈钢螺丝 M%1").arg(i), i);
        setUp.commit();
    }
    Query q(connection);
    q.sql().setText(QStringLiteral("SELECT intno, sphh, spmc, dj_n FROM product ORDER BY rowid"));
    q.open();
    q.setRecNo(1500);
    q.edit(); // typed before the command began
    q["dj_n"].setAsFloat(-1);
    try {
        Transaction transaction(connection);
        throw std::runtime_error("another write failed");
    } catch (const std::runtime_error&) {
    }
    // The rows were read again one by one; the edited row kept what was typed and its own
    // values, and Cancel brings back the row as it was.
    Query other(connection);
    other.sql().setText(QStringLiteral("SELECT intno, sphh, spmc, dj_n FROM product ORDER BY rowid DESC"));
    other.open();
    EXPECT_EQ(DataSetState::Edit, q.state());
    EXPECT_EQ(QStringLiteral("HH-1499"), q["sphh"].asString());
    EXPECT_EQ(QStringLiteral("不锈钢螺丝 M1499"), q["spmc"].asString());
    EXPECT_EQ(-1.0, q["dj_n"].asFloat());
    q.cancel();
    EXPECT_EQ(QStringLiteral("不锈钢螺丝 M1499"), q["spmc"].asString());
    EXPECT_EQ(1499.0, q["dj_n"].asFloat());
    q.first();
    EXPECT_EQ(QStringLiteral("HH-0"), q["sphh"].asString());
}

TEST_F(DataSetTest, FieldByNameFollowsTheFieldsOfEveryOpening)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("螺丝"), 2);
    Query q(connection);
    q.sql().setText(QStringLiteral("SELECT intno, spmc FROM product"));
    q.open();
    const QString name = QStringLiteral("spmc");
    EXPECT_EQ(1, q.fieldByName(name).column());
    q.reopen(QStringLiteral("SELECT spmc, dj_n FROM product"));
    EXPECT_EQ(0, q.fieldByName(name).column());
    EXPECT_EQ(QStringLiteral("螺丝"), q.fieldByName(name).asString());
    EXPECT_EQ(2.0, q.fieldByName(QString(QStringLiteral("DJ_N"))).asFloat());
    q.reopen(QStringLiteral("SELECT dj_n FROM product"));
    EXPECT_EQ(nullptr, q.findField(name));
    EXPECT_THROW(q.fieldByName(name), DatabaseError);
}

TEST_F(DataSetTest, AppendWritesAssignedFieldsAndKeepsColumnDefaults)
{
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product"));
    q.open();
    EXPECT_TRUE(q.isEmpty());
    q.append();
    EXPECT_EQ(DataSetState::Insert, q.state());
    q["intno"].setAsString(QStringLiteral("0000000001"));
    q["spmc"].setAsString(QStringLiteral("螺丝"));
    q["billdate"].setAsDate(QDate(2024, 1, 31));
    q.post();
    EXPECT_EQ(DataSetState::Browse, q.state());
    // Re-read after the insert: the defaults of the table show at once.
    EXPECT_EQ(7, q["qty"].asInteger());
    EXPECT_FALSE(q["dj_n"].isNull());
    Query check(connection);
    check.sql().add(QStringLiteral("SELECT spmc, qty, billdate, szbj FROM product"));
    check.open();
    EXPECT_EQ(1, check.recordCount());
    EXPECT_EQ(QStringLiteral("螺丝"), check["spmc"].asString());
    EXPECT_EQ(7, check["qty"].asInteger());
    EXPECT_EQ(QStringLiteral("2024-01-31"), check["billdate"].asString());
}

TEST_F(DataSetTest, DatesAreStoredAsIsoText)
{
    Table t(connection);
    t.setTableName(QStringLiteral("product"));
    t.open();
    t.append();
    t["billdate"].setAsString(QStringLiteral("2024-02-29"));
    t["rq"].setAsDateTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    t.post();
    Query raw(connection);
    raw.sql().add(QStringLiteral("SELECT billdate || '|' || rq AS stored FROM product"));
    raw.open();
    EXPECT_EQ(QStringLiteral("2024-02-29|2024-03-05 14:07:09"), raw["stored"].asString());
    // Date parameters compare with the stored text, both ends inclusive.
    raw.close();
    raw.sql().setText(QStringLiteral("SELECT count(*) AS n FROM product WHERE billdate >= :p1 AND billdate <= :p2"));
    raw.paramByName(QStringLiteral("p1")).setAsDate(QDate(2024, 2, 1));
    raw.paramByName(QStringLiteral("p2")).setAsDate(QDate(2024, 2, 29));
    raw.open();
    EXPECT_EQ(1, raw["n"].asInteger());
    t.edit();
    EXPECT_THROW(t["billdate"].setAsString(QStringLiteral("2024-02-30")), ConvertError);
}

TEST_F(DataSetTest, EditPostCancelAndDeleteRoundTrip)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("b"), 2);
    addProduct(QStringLiteral("3"), QStringLiteral("C"), QStringLiteral("c"), 3);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT intno, spmc AS name, dj_n FROM product ORDER BY intno"));
    q.open();
    q.next();
    q.edit();
    q["name"].setAsString(QStringLiteral("changed"));
    q["dj_n"].setAsFloat(9.5);
    q.post();
    q.edit();
    q["dj_n"].setAsFloat(100);
    q.cancel();
    EXPECT_EQ(9.5, q["dj_n"].asFloat());

    // Moving off a row being edited posts it.
    q.edit();
    q["dj_n"].setAsFloat(11);
    q.next();
    EXPECT_EQ(DataSetState::Browse, q.state());

    Query check(connection);
    check.sql().add(QStringLiteral("SELECT spmc, dj_n FROM product WHERE intno = '2'"));
    check.open();
    EXPECT_EQ(QStringLiteral("changed"), check["spmc"].asString());
    EXPECT_EQ(11.0, check["dj_n"].asFloat());

    // Delete the last row: the current row becomes the new last one.
    q.deleteRecord();
    EXPECT_EQ(2, q.recordCount());
    EXPECT_EQ(QStringLiteral("2"), q["intno"].asString());
    check.close();
    check.sql().setText(QStringLiteral("SELECT count(*) AS n FROM product"));
    check.open();
    EXPECT_EQ(2, check["n"].asInteger());
}

TEST_F(DataSetTest, CancelledInsertLeavesNoRowAndEditOfEmptyDatasetInserts)
{
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM customer"));
    q.open();
    q.edit();
    EXPECT_EQ(DataSetState::Insert, q.state());
    q["id"].setAsString(QStringLiteral("1"));
    q.cancel();
    EXPECT_TRUE(q.isEmpty());
    EXPECT_TRUE(q.eof());
    q.refresh();
    EXPECT_TRUE(q.isEmpty());
}

TEST_F(DataSetTest, InsertPutsTheNewRowBeforeTheCurrentOne)
{
    for (int i = 1; i <= 3; ++i)
        addProduct(QString::number(i), QStringLiteral("P%1").arg(i), QStringLiteral("n%1").arg(i), i);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT intno, spmc FROM product ORDER BY intno"));
    q.open();
    q.setRecNo(2);
    q.insert();
    EXPECT_EQ(2, q.recNo());
    EXPECT_EQ(4, q.recordCount());
    EXPECT_EQ(QString(), q["intno"].asString());
    q["intno"].setAsString(QStringLiteral("15"));
    q.post();
    EXPECT_EQ(2, q.recNo());
    EXPECT_EQ(QStringLiteral("15"), q["intno"].asString());
    q.next();
    EXPECT_EQ(QStringLiteral("2"), q["intno"].asString());

    // A cancelled insert leaves the cursor on the row it stood on.
    q.insert();
    q["spmc"].setAsString(QStringLiteral("never stored"));
    q.cancel();
    EXPECT_EQ(4, q.recordCount());
    EXPECT_EQ(3, q.recNo());
    EXPECT_EQ(QStringLiteral("2"), q["intno"].asString());
    q.refresh();
    EXPECT_EQ(4, q.recordCount());
    Query check(connection);
    check.sql().add(QStringLiteral("SELECT count(*) AS n FROM product WHERE spmc = 'never stored'"));
    check.open();
    EXPECT_EQ(0, check["n"].asInteger());
}

TEST_F(DataSetTest, WritingOutsideEditModeIsRefused)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product"));
    q.open();
    try {
        q["spmc"].setAsString(QStringLiteral("x"));
        FAIL() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(QStringLiteral("Dataset not in edit or insert mode"), e.message());
    }
    EXPECT_EQ(QStringLiteral("a"), q["spmc"].asString());
}

TEST_F(DataSetTest, TextLongerThanTheColumnIsCut)
{
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product"));
    q.open();
    q.append();
    q["intno"].setAsString(QStringLiteral("12345678901234"));
    q["remark"].setAsString(QString(500, QLatin1Char('x')));
    // A character outside the basic plane is kept whole or dropped whole, never cut in half.
    q["spmc"].setAsString(QString(39, QLatin1Char('x')) + QStringLiteral("𠀀"));
    q.post();
    EXPECT_EQ(QStringLiteral("1234567890"), q["intno"].asString());
    EXPECT_EQ(500, q["remark"].asString().size());
    EXPECT_EQ(QString(39, QLatin1Char('x')), q["spmc"].asString());
}

TEST_F(DataSetTest, NumberFieldsConvertTypedText)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product"));
    q.open();
    q.edit();
    q["dj_n"].setAsString(QStringLiteral("12.5"));
    EXPECT_EQ(12.5, q["dj_n"].asFloat());
    EXPECT_THROW(q["dj_n"].setAsString(QStringLiteral("abc")), ConvertError);
    EXPECT_EQ(12.5, q["dj_n"].asFloat());
    q["dj_n"].setAsString(QString());
    EXPECT_TRUE(q["dj_n"].isNull());
    // A text handler replaces the plain conversion (the grid's typed text goes through it).
    q["sl"].setOnSetText([](Field& f, const QString& text) { f.setAsFloat(text.isEmpty() ? 0 : text.toDouble() * 2); });
    q["sl"].setText(QString());
    EXPECT_FALSE(q["sl"].isNull());
    q["sl"].setText(QStringLiteral("4"));
    EXPECT_EQ(8.0, q["sl"].asFloat());
    q.post();
}

TEST_F(DataSetTest, RefreshKeepsAppendedRowOfLimitedQueryAndCurrentRow)
{
    for (int i = 1; i <= 12; ++i)
        addProduct(QString::number(i), QStringLiteral("P%1").arg(i), QStringLiteral("n%1").arg(i), i);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product LIMIT 10"));
    q.open();
    EXPECT_EQ(10, q.recordCount());
    q.append();
    q["intno"].setAsString(QStringLiteral("13"));
    q.post();
    q.setRecNo(3);
    connection.execute(QStringLiteral("UPDATE product SET spmc = 'renamed' WHERE intno = '3'"));
    connection.execute(QStringLiteral("DELETE FROM product WHERE intno = '5'"));
    q.refresh();
    EXPECT_EQ(10, q.recordCount());
    EXPECT_EQ(3, q.recNo());
    EXPECT_EQ(QStringLiteral("renamed"), q["spmc"].asString());
    q.last();
    EXPECT_EQ(QStringLiteral("13"), q["intno"].asString());
}

TEST_F(DataSetTest, NavigationFlags)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("b"), 2);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product ORDER BY intno"));
    q.open();
    EXPECT_TRUE(q.bof());
    EXPECT_FALSE(q.eof());
    int seen = 0;
    while (!q.eof()) {
        ++seen;
        q.next();
    }
    EXPECT_EQ(2, seen);
    EXPECT_EQ(2, q.recNo());
    q.prior();
    EXPECT_FALSE(q.eof());
    EXPECT_EQ(1, q.recNo());
    q.prior();
    EXPECT_TRUE(q.bof());

    Query empty(connection);
    empty.sql().add(QStringLiteral("SELECT * FROM customer"));
    empty.open();
    EXPECT_TRUE(empty.eof());
    EXPECT_TRUE(empty.bof());
    EXPECT_EQ(0, empty.recNo());
    EXPECT_THROW(empty.deleteRecord(), DatabaseError);
}

TEST_F(DataSetTest, LocateCaseInsensitiveAndPartial)
{
    connection.execute(QStringLiteral("INSERT INTO customer (id, name) VALUES ('c01', 'Alpha'), ('C02', 'Beta'), ('c03', 'Gamma')"));
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM customer"));
    q.open();
    EXPECT_FALSE(q.locate(QStringLiteral("ID"), QStringLiteral("c02")));
    EXPECT_EQ(1, q.recNo());
    EXPECT_TRUE(q.locate(QStringLiteral("ID"), QStringLiteral("c02"), LocateOption::CaseInsensitive));
    EXPECT_EQ(QStringLiteral("Beta"), q["name"].asString());
    EXPECT_TRUE(q.locate(QStringLiteral("name"), QStringLiteral("gam"), LocateOption::CaseInsensitive | LocateOption::PartialKey));
    EXPECT_EQ(3, q.recNo());
    EXPECT_TRUE(q.locate(QStringLiteral("id;name"), QVariantList{QStringLiteral("c01"), QStringLiteral("Alpha")}));
    EXPECT_EQ(1, q.recNo());
}

TEST_F(DataSetTest, BookmarkSurvivesDeletionOfOtherRows)
{
    for (int i = 1; i <= 4; ++i)
        addProduct(QString::number(i), QStringLiteral("P%1").arg(i), QStringLiteral("n%1").arg(i), i);
    Table t(connection);
    t.setTableName(QStringLiteral("product"));
    t.open();
    t.setRecNo(3);
    const Bookmark mark = t.bookmark();
    t.first();
    t.deleteRecord();
    EXPECT_TRUE(t.bookmarkValid(mark));
    t.gotoBookmark(mark);
    EXPECT_EQ(QStringLiteral("3"), t["intno"].asString());
    t.deleteRecord();
    EXPECT_FALSE(t.bookmarkValid(mark));
    EXPECT_THROW(t.gotoBookmark(mark), DatabaseError);
}

TEST_F(DataSetTest, BeforeDeleteAbortLeavesRowAndDataset)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product"));
    q.open();
    q.setBeforeDelete([](DataSet&) { throw Abort(); });
    EXPECT_THROW(q.deleteRecord(), Abort);
    EXPECT_EQ(1, q.recordCount());
    EXPECT_EQ(DataSetState::Browse, q.state());
    q.refresh();
    EXPECT_EQ(1, q.recordCount());
}

TEST_F(DataSetTest, NewRecordAfterPostAndAfterDeleteHooksSeeTheRowTheyConcern)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product ORDER BY intno"));
    q.open();
    QStringList seen;
    q.setOnNewRecord([&](DataSet& d) {
        seen << (d.state() == DataSetState::Insert ? QStringLiteral("new insert") : QStringLiteral("new other"));
        d.fieldByName(QStringLiteral("sphh")).setAsString(QStringLiteral("NEW"));
    });
    q.setAfterPost([&](DataSet& d) { seen << QStringLiteral("posted ") + d.fieldByName(QStringLiteral("intno")).asString(); });
    q.setAfterDelete([&](DataSet& d) { seen << QStringLiteral("deleted, now on ") + d.fieldByName(QStringLiteral("intno")).asString(); });

    q.append();
    q.fieldByName(QStringLiteral("intno")).setAsString(QStringLiteral("2"));
    q.post();
    // The value the new-record hook gave is the row's and is written with it.
    Query stored(connection);
    stored.sql().add(QStringLiteral("SELECT sphh FROM product WHERE intno='2'"));
    stored.open();
    EXPECT_EQ(QStringLiteral("NEW"), stored["sphh"].asString());

    q.first();
    q.deleteRecord();
    EXPECT_EQ((QStringList{QStringLiteral("new insert"), QStringLiteral("posted 2"), QStringLiteral("deleted, now on 2")}), seen);

    // A refused deletion is no deletion; a failed post no post.
    seen.clear();
    q.setBeforeDelete([](DataSet&) { throw Abort(); });
    EXPECT_THROW(q.deleteRecord(), Abort);
    q.setBeforePost([](DataSet&) { throw Abort(); });
    q.edit();
    q.fieldByName(QStringLiteral("sphh")).setAsString(QStringLiteral("X"));
    EXPECT_THROW(q.post(), Abort);
    EXPECT_TRUE(seen.isEmpty());
}

TEST_F(DataSetTest, PersistentFieldMissingFailsToOpen)
{
    Table t(connection);
    t.setTableName(QStringLiteral("customer"));
    t.setPersistentFields({FieldDef{QStringLiteral("id"), FieldType::Text, 10, QStringLiteral("编号"), {}},
                           FieldDef{QStringLiteral("flashbj"), FieldType::Boolean, 0, {}, {}}});
    try {
        t.open();
        FAIL() << "opened";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(QStringLiteral("Field 'flashbj' not found"), e.message());
    }
    EXPECT_FALSE(t.active());
    connection.execute(QStringLiteral("ALTER TABLE customer ADD COLUMN flashbj BOOLEAN DEFAULT 1"));
    t.open();
    EXPECT_EQ(2, t.fieldCount());
    EXPECT_EQ(QStringLiteral("编号"), t["id"].displayLabel());
    EXPECT_EQ(nullptr, t.findField(QStringLiteral("name")));
}

// A dataset without persistent fields takes whatever columns its table has when it opens: a
// column renamed or dropped by another connection meanwhile is missing only when the program
// reads it, and the error says why, naming the field.
TEST_F(DataSetTest, AFieldGoneFromItsTableIsNamedWithWhyWhenRead)
{
    connection.execute(QStringLiteral("INSERT INTO customer (intno, id, name, balance) VALUES ('1', 'C1', '张三', 5)"));
    Query customers(connection);
    customers.sql().setText(QStringLiteral("SELECT * FROM customer"));
    customers.open();
    ASSERT_EQ(5.0, customers["balance"].asFloat());
    Connection other;
    other.setDatabaseFile(path);
    other.open();
    other.execute(QStringLiteral("ALTER TABLE customer RENAME COLUMN balance TO ye"));
    other.execute(QStringLiteral("ALTER TABLE customer DROP COLUMN name"));
    other.close();
    customers.close();
    customers.open();
    for (const QString& name : {QStringLiteral("balance"), QStringLiteral("name")}) {
        try {
            customers.fieldByName(name);
            ADD_FAILURE() << "read " << name.toStdString();
        } catch (const DatabaseError& e) {
            EXPECT_EQ(QStringLiteral("Field '%1' not found").arg(name), e.message());
            EXPECT_EQ(QStringLiteral("字段%1已不在表中: 窗口打开时表被改动过(例如用数据处理功能)。请关闭窗口后重新打开;"
                                     "若仍出现此信息,请把表改回原样。")
                          .arg(name),
                      e.cause());
        }
    }
    EXPECT_EQ(5.0, customers["ye"].asFloat());
}

TEST_F(DataSetTest, DisplayFormatAppliesToNumbersAndSurvivesReopen)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1.5);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product"));
    q.setDisplayFormat(QStringLiteral("dj_n"), QStringLiteral("0.00"));
    q.open();
    EXPECT_EQ(QStringLiteral("1.50"), q["dj_n"].displayText());
    q.close();
    q.open();
    EXPECT_EQ(QStringLiteral("1.50"), q["dj_n"].displayTextAt(0));
}

TEST_F(DataSetTest, SignalsTellBoundControlsWhatChanged)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product"));
    std::vector<int> resets, inserted, removed, changed, current;
    QObject::connect(&q, &DataSet::reset, [&] { resets.push_back(0); });
    QObject::connect(&q, &DataSet::rowInserted, [&](int row) { inserted.push_back(row); });
    QObject::connect(&q, &DataSet::rowRemoved, [&](int row) { removed.push_back(row); });
    QObject::connect(&q, &DataSet::rowChanged, [&](int row) { changed.push_back(row); });
    QObject::connect(&q, &DataSet::currentChanged, [&](int row) { current.push_back(row); });
    q.open();
    EXPECT_EQ(1u, resets.size());
    q.append();
    EXPECT_EQ(std::vector<int>{1}, inserted);
    q["intno"].setAsString(QStringLiteral("2"));
    q.post();
    EXPECT_EQ(1, changed.back());
    q.deleteRecord();
    EXPECT_EQ(std::vector<int>{1}, removed);
    EXPECT_EQ(0, current.back());

    // Held back while controls are disabled, then one reset.
    resets.clear();
    current.clear();
    q.disableControls();
    q.append();
    q["intno"].setAsString(QStringLiteral("3"));
    q.post();
    q.first();
    EXPECT_EQ(0u, resets.size());
    EXPECT_EQ(0u, current.size());
    q.enableControls();
    EXPECT_EQ(1u, resets.size());

    // Only moves held back (a walk over the rows): the controls follow the row it ends on,
    // without a reset that would refit and rescroll them.
    resets.clear();
    current.clear();
    q.disableControls();
    q.last();
    q.first();
    q.next();
    EXPECT_EQ(0u, current.size());
    q.enableControls();
    EXPECT_EQ(0u, resets.size());
    EXPECT_EQ(std::vector<int>{1}, current);
    q.disableControls();
    q.enableControls();
    EXPECT_EQ(std::vector<int>{1}, current); // nothing moved, nothing told
}

TEST_F(DataSetTest, ClosingTheConnectionClosesItsDatasetsAndReconnectReopens)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("a"), 1);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT * FROM product"));
    q.open();
    connection.close();
    EXPECT_FALSE(q.active());
    EXPECT_THROW(q.open(), DatabaseError);
    connection.open();
    q.open();
    EXPECT_EQ(1, q.recordCount());
}

TEST_F(DataSetTest, OrderByColumnNumberKeepsItsMeaningInWritableResults)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("b"), 1);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("c"), 2);
    addProduct(QStringLiteral("3"), QStringLiteral("C"), QStringLiteral("a"), 3);
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT spmc, intno FROM product ORDER BY 1 DESC"));
    q.open();
    EXPECT_FALSE(q.readOnly());
    EXPECT_EQ(QStringLiteral("c"), q["spmc"].asString());
    q.last();
    EXPECT_EQ(QStringLiteral("a"), q["spmc"].asString());
}

// However a load ends, its statement goes back to the connection for the next opening of the
// text: whole rows, a list's rowids, a list of a view (whose rows have no rowids to be read by,
// so that they are read whole), a kept statement the schema changed under (prepared again), a
// row that fails to read.
TEST_F(DataSetTest, ALoadGivesItsStatementBackHoweverItEnds)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("螺丝"), 1);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("螺母"), 2);
    connection.execute(QStringLiteral("CREATE VIEW cheap AS SELECT sphh, dj_n FROM product WHERE dj_n < 5"));
    const auto kept = [&](const QString& sql) { return bool(connection.keptStatement(sql, StatementUse::Rows)); };
    const auto shown = [](DataSet& rows) {
        QStringList all;
        for (rows.first(); !rows.eof(); rows.next())
            all << rows.field(0).asString() + QLatin1Char('/') + rows.field(rows.fieldCount() - 1).asString();
        return all.join(QLatin1Char(' '));
    };
    Query q(connection);
    const QString products = QStringLiteral("SELECT sphh, dj_n FROM product ORDER BY sphh");
    q.reopen(products);
    q.close();
    EXPECT_TRUE(kept(products));
    q.openList();
    EXPECT_EQ(QStringLiteral("A/1 B/2"), shown(q));
    q.close();
    EXPECT_TRUE(kept(products));

    const QString view = QStringLiteral("SELECT sphh, dj_n FROM cheap ORDER BY sphh");
    q.sql().setText(view);
    q.openList();
    EXPECT_TRUE(q.readOnly());
    EXPECT_EQ(QStringLiteral("A/1 B/2"), shown(q));
    q.close();
    EXPECT_TRUE(kept(view));

    connection.execute(QStringLiteral("ALTER TABLE product ADD COLUMN colour VARCHAR(8) DEFAULT '红'"));
    const QString all = QStringLiteral("SELECT * FROM product ORDER BY sphh");
    q.reopen(all);
    q.close();
    connection.execute(QStringLiteral("ALTER TABLE product ADD COLUMN size INTEGER DEFAULT 3"));
    q.openList();
    EXPECT_FALSE(q.readOnly());
    EXPECT_EQ(QStringLiteral("1/3 2/3"), shown(q));
    q.close();
    EXPECT_TRUE(kept(all));

    connection.execute(QStringLiteral("UPDATE product SET qty = -9223372036854775807 - 1 WHERE intno = '2'"));
    const QString overflow = QStringLiteral("SELECT intno, abs(qty) AS size FROM product ORDER BY intno");
    q.sql().setText(overflow);
    EXPECT_THROW(q.open(), SqliteError);
    EXPECT_TRUE(kept(overflow));
}

TEST_F(DataSetTest, JoinsAreReadOnly)
{
    connection.execute(QStringLiteral("INSERT INTO customer (intno, id) VALUES ('1', 'c')"));
    connection.execute(QStringLiteral("INSERT INTO cproduct (intno1, intno, spmc) VALUES ('1', '1', 'x')"));
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT cproduct.spmc FROM cproduct JOIN customer ON customer.intno = cproduct.intno"));
    q.open();
    EXPECT_TRUE(q.readOnly());
    q.sql().setText(QStringLiteral("SELECT DISTINCT spmc FROM cproduct"));
    q.open();
    EXPECT_TRUE(q.readOnly());
    q.sql().setText(QStringLiteral("SELECT * FROM (SELECT spmc FROM cproduct)"));
    q.open();
    EXPECT_TRUE(q.readOnly());
    q.sql().setText(QStringLiteral("SELECT c.spmc FROM cproduct c WHERE c.intno IN (SELECT intno FROM customer GROUP BY intno)"));
    q.open();
    EXPECT_FALSE(q.readOnly());
    EXPECT_EQ(QStringLiteral("cproduct"), q.baseTable());
}

// Posting reuses the statements a dataset keeps while open: a failed post must not spoil the
// next one, another column set must get its own UPDATE, and no read may stay open on the file.
TEST_F(DataSetTest, RowAfterRowPostsThroughKeptStatements)
{
    connection.execute(QStringLiteral("CREATE TABLE stock (code VARCHAR(10), name VARCHAR(20), qty DOUBLE CHECK (qty >= 0))"));
    connection.execute(QStringLiteral("INSERT INTO stock VALUES ('A', '螺丝', 1), ('B', '螺母', 2), ('C', '垫圈', 3)"));
    Query q(connection);
    q.sql().setText(QStringLiteral("SELECT code, name, qty FROM stock ORDER BY code"));
    q.open();
    q.edit();
    q["qty"].setAsFloat(-1);
    EXPECT_THROW(q.post(), DatabaseError);
    q.cancel();
    EXPECT_EQ(1.0, q["qty"].asFloat());
    q.next();
    q.edit();
    q["qty"].setAsFloat(20);
    q.post();
    q.next();
    q.edit();
    q["name"].setAsString(QStringLiteral("平垫圈"));
    q.post();
    connection.execute(QStringLiteral("ALTER TABLE stock ADD COLUMN note TEXT"));
    q.first();
    q.edit();
    q["qty"].setAsFloat(5);
    q.post();
    EXPECT_EQ(5.0, q["qty"].asFloat());

    // A second connection gets the file to itself: the dataset holds no read open.
    Connection other;
    other.setDatabaseFile(path);
    other.open();
    other.execute(QStringLiteral("BEGIN EXCLUSIVE"));
    other.execute(QStringLiteral("COMMIT"));

    Query check(connection);
    check.sql().setText(QStringLiteral("SELECT group_concat(code || name || qty, ' ') AS all_rows FROM stock ORDER BY code"));
    check.open();
    EXPECT_EQ(QStringLiteral("A螺丝5.0 B螺母20.0 C平垫圈3.0"), check["all_rows"].asString());
}

// A posted row shows what the table holds when it is next looked at, including what another
// statement changed in it; an edit begun before that look keeps what was typed.
TEST_F(DataSetTest, PostedRowIsReadBackWhereLookedAtAndKeepsANewEdit)
{
    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("螺丝"), 1);
    addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("螺母"), 2);
    Query q(connection);
    q.sql().setText(QStringLiteral("SELECT intno, spmc, dj_n, sl FROM product ORDER BY intno"));
    q.open();
    connection.execute(QStringLiteral("UPDATE product SET sl = 40 WHERE intno = '1'"));
    q.edit();
    q["dj_n"].setAsFloat(5);
    q.post();
    EXPECT_EQ(40.0, q["sl"].asFloat());
    EXPECT_EQ(5.0, q["dj_n"].asFloat());

    q.edit();
    q["dj_n"].setAsFloat(6);
    q.post();
    q.edit(); // nothing of the posted row looked at in between
    q["dj_n"].setAsFloat(7);
    EXPECT_EQ(QStringLiteral("螺丝"), q["spmc"].asString());
    EXPECT_EQ(7.0, q["dj_n"].asFloat());
    q.cancel();
    EXPECT_EQ(6.0, q["dj_n"].asFloat());
    q.edit();
    q["dj_n"].setAsFloat(8);
    q.next();
    q.prior();
    EXPECT_EQ(8.0, q["dj_n"].asFloat());

    Query check(connection);
    check.sql().setText(QStringLiteral("SELECT dj_n FROM product WHERE intno = '1'"));
    check.open();
    EXPECT_EQ(8.0, check["dj_n"].asFloat());
}

// A list holds its rows' places only and reads each row where it is looked at: it shows what
// a whole opening shows, over more rows than it keeps in memory, after edits and deletions.
namespace {

// Products numbered 0 to count - 1 in rowid order: codes P0000 ..., prices half their number.
void addNumberedProducts(Connection& connection, int count)
{
    Transaction transaction(connection);
    Query insert(connection);
    insert.sql().setText(QStringLiteral("INSERT INTO product (intno, sphh, spmc, dj_n) VALUES (?, ?, '螺丝', ?)"));
    for (int i = 0; i < count; ++i)
        insert.execSQL({QString::number(i), QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0')), i * 0.5});
    transaction.commit();
}

} // namespace

TEST_F(DataSetTest, AListShowsWhatAWholeOpeningShows)
{
    addNumberedProducts(connection, 3000);
    const QString sql = QStringLiteral("SELECT sphh, dj_n FROM product WHERE dj_n > 0 ORDER BY sphh DESC");
    Query whole(connection);
    whole.sql().setText(sql);
    whole.open();
    Query list(connection);
    list.sql().setText(sql);
    list.setPersistentFields({FieldDef{QStringLiteral("sphh"), FieldType::Text, 15, {}, {}},
                              FieldDef{QStringLiteral("dj_n"), FieldType::Float, 0, {}, {}},
                              FieldDef{QStringLiteral("spmc"), FieldType::Text, 40, {}, {}}});
    list.openList();
    ASSERT_EQ(2999, list.recordCount());
    const auto same = [&](int row) {
        whole.setRecNo(row);
        list.setRecNo(row);
        return whole["sphh"].asString() == list["sphh"].asString() && whole["dj_n"].asFloat() == list["dj_n"].asFloat();
    };
    // Forward and back again: the rows read first went and are read again.
    for (int row = 1; row <= 2999; ++row)
        ASSERT_TRUE(same(row)) << row;
    for (int row = 2999; row >= 1; row -= 7)
        ASSERT_TRUE(same(row)) << row;

    // A field the result lacks reads as nothing and takes nothing.
    list.first();
    EXPECT_EQ(QStringLiteral("P2999"), list["sphh"].asString());
    EXPECT_TRUE(list["spmc"].isNull());
    list.edit();
    EXPECT_THROW(list["spmc"].setAsString(QStringLiteral("x")), DatabaseError);
    list["dj_n"].setAsFloat(99);
    // The row being edited keeps what was assigned while the grid reads other rows.
    for (int row = 1; row < 2000; ++row)
        list["sphh"].textAt(row);
    list.post();
    EXPECT_EQ(99.0, list["dj_n"].asFloat());
    whole.refresh();
    whole.first();
    EXPECT_EQ(99.0, whole["dj_n"].asFloat());

    // A row deleted before it was read shows nothing; after a refresh it is gone.
    connection.execute(QStringLiteral("DELETE FROM product WHERE sphh = 'P1500'"));
    ASSERT_TRUE(list.locate(QStringLiteral("sphh"), QStringLiteral("P1501")));
    list.next();
    EXPECT_EQ(QString(), list["sphh"].asString());
    list.refresh();
    EXPECT_EQ(2998, list.recordCount());
    EXPECT_FALSE(list.locate(QStringLiteral("sphh"), QStringLiteral("P1500")));

    // A result without rowids is loaded whole.
    Query count(connection);
    count.sql().setText(QStringLiteral("SELECT count(*) AS n FROM product"));
    count.openList();
    EXPECT_EQ(2999, count["n"].asInteger());
}

// A list reads its rows many at a time, in one range of rowids where they lie close together
// and by their rowids where they do not: every way gives the rows a whole opening gives.
TEST_F(DataSetTest, AListReadsTheRowsOfAWholeOpeningWhereverTheirRowidsLie)
{
    addNumberedProducts(connection, 3000);
    for (const QString& sql : {QStringLiteral("SELECT sphh, dj_n FROM product ORDER BY sphh"),
                               QStringLiteral("SELECT sphh, dj_n FROM product ORDER BY (rowid * 7919) % 3001"),
                               QStringLiteral("SELECT sphh, dj_n FROM product WHERE rowid % 5 = 0 ORDER BY sphh DESC")}) {
        SCOPED_TRACE(sql.toStdString());
        Query whole(connection);
        whole.sql().setText(sql);
        whole.open();
        Query list(connection);
        list.sql().setText(sql);
        list.openList();
        ASSERT_EQ(whole.recordCount(), list.recordCount());
        std::vector<int> rows(size_t(list.recordCount()));
        std::iota(rows.begin(), rows.end(), 0);
        std::vector<int> back(rows.rbegin(), rows.rend());
        for (const std::vector<int>* order : {&rows, &back}) {
            for (int row : *order) {
                ASSERT_EQ(whole["sphh"].textAt(row), list["sphh"].textAt(row)) << row;
                ASSERT_EQ(whole["dj_n"].textAt(row), list["dj_n"].textAt(row)) << row;
            }
        }
    }
}

// A list closed and opened again on another table's rows reads those rows, both in a range of
// rowids and by their rowids, not the first table's through the statements it read them with.
TEST_F(DataSetTest, AListOpenedAgainOnAnotherTableReadsItsOwnRows)
{
    addNumberedProducts(connection, 100);
    {
        Transaction transaction(connection);
        for (int i = 1; i <= 100; ++i)
            connection.execute(QStringLiteral("INSERT INTO customer (intno) VALUES ('C%1')").arg(i));
        transaction.commit();
    }
    Query list(connection);
    for (const QString& where : {QString(), QStringLiteral(" WHERE rowid % 5 = 0")}) {
        for (const QString& table : {QStringLiteral("product"), QStringLiteral("customer")}) {
            const QString sql = QStringLiteral("SELECT intno FROM ") + table + where;
            SCOPED_TRACE(sql.toStdString());
            Query whole(connection);
            whole.sql().setText(sql);
            whole.open();
            list.close();
            list.sql().setText(sql);
            list.openList();
            ASSERT_EQ(whole.recordCount(), list.recordCount());
            for (int row = 0; row < list.recordCount(); ++row)
                ASSERT_EQ(whole["intno"].textAt(row), list["intno"].textAt(row)) << row;
        }
    }
}

// What is typed into a list's row stays until it is posted, whatever rows are read meanwhile:
// rows read many at a time around it, or so many that the rows read first are let go.
TEST_F(DataSetTest, AListRowBeingEditedIsNotReadAgainOverWhatWasTyped)
{
    addNumberedProducts(connection, 3000);
    Query list(connection);
    list.sql().setText(QStringLiteral("SELECT sphh, dj_n FROM product ORDER BY sphh"));
    list.openList();
    list.setRecNo(1500); // not read yet
    list.edit();
    list["dj_n"].setAsFloat(99);
    EXPECT_EQ(QStringLiteral("P1485"), list["sphh"].textAt(1485)); // reads the rows after it too
    EXPECT_EQ(99.0, list["dj_n"].asFloat());
    EXPECT_EQ(QStringLiteral("P1499"), list["sphh"].asString());
    for (int row = 0; row < 3000; ++row)
        list["dj_n"].textAt(row);
    EXPECT_EQ(99.0, list["dj_n"].asFloat());
    list.post();

    Query check(connection);
    check.sql().setText(QStringLiteral("SELECT group_concat(sphh || '=' || dj_n) AS v FROM product WHERE sphh IN ('P1498', 'P1499')"));
    check.open();
    EXPECT_EQ(QStringLiteral("P1498=749.0,P1499=99.0"), check["v"].asString());
}

// The text of a value read where it lies is the text the general conversions make of it, also
// for what they must decide: a fraction in an integer column, a date that is no date.
TEST_F(DataSetTest, TheTextOfAStoredValueIsTheTextItsConversionMakes)
{
    connection.execute(QStringLiteral(
        "INSERT INTO product (intno, dj_n, qty, billdate, szbj) VALUES ('1', 3, 7, '2024-02-29', NULL), "
        "('2', 0.1, 2.5, '2024-02-30', 1), ('3', -1250.5, 3.5, '2024-2-9', NULL), ('4', NULL, NULL, '2024-02-29 10:00', 0)"));
    Query q(connection);
    q.sql().setText(QStringLiteral("SELECT dj_n, qty, billdate, szbj FROM product ORDER BY intno"));
    q.open();
    q.setDisplayFormat(QStringLiteral("qty"), QStringLiteral("0.00"));
    const char* const text[] = {"3|7|2024-02-29|", "0.1|2||True", "-1250.5|4|2024-02-09|", "||2024-02-29|False"};
    const char* const display[] = {"3|7.00|2024-02-29|", "0.1|2.50||True", "-1250.5|3.50|2024-02-09|", "||2024-02-29|False"};
    const QStringList fields = {QStringLiteral("dj_n"), QStringLiteral("qty"), QStringLiteral("billdate"), QStringLiteral("szbj")};
    for (int row = 0; row < 4; ++row) {
        q.setRecNo(row + 1);
        QStringList asString, shown, atRow, shownAtRow;
        for (const QString& name : fields) {
            asString << q[name].asString();
            shown << q[name].displayText();
            atRow << q[name].textAt(row);
            shownAtRow << q[name].displayTextAt(row);
        }
        EXPECT_EQ(text[row], asString.join(QLatin1Char('|')).toStdString()) << row;
        EXPECT_EQ(text[row], atRow.join(QLatin1Char('|')).toStdString()) << row;
        EXPECT_EQ(display[row], shown.join(QLatin1Char('|')).toStdString()) << row;
        EXPECT_EQ(display[row], shownAtRow.join(QLatin1Char('|')).toStdString()) << row;
    }
}

// A number's text is made once and kept by the number: whatever numbers share a place among the
// texts kept, and whatever display format is set meanwhile, each row shows its own number's text.
TEST_F(DataSetTest, NumberTextsFollowTheNumberAndTheDisplayFormat)
{
    const auto price = [](int row) { return (row % 150) * 0.37 - 20; };
    {
        Transaction transaction(connection);
        Query insert(connection);
        insert.sql().setText(QStringLiteral("INSERT INTO product (intno, dj_n) VALUES (?, ?)"));
        for (int row = 0; row < 400; ++row)
            insert.execSQL({row, price(row)});
        transaction.commit();
    }
    Query q(connection);
    q.sql().setText(QStringLiteral("SELECT dj_n FROM product ORDER BY rowid"));
    q.open();
    for (const QString& format : {QStringLiteral("0.00"), QStringLiteral("#,##0.0;(0.0)"), QString(), QStringLiteral("0.00")}) {
        q.setDisplayFormat(QStringLiteral("dj_n"), format);
        for (int row = 0; row < 400; ++row)
            ASSERT_EQ(fmt::formatFloat(format, price(row)), q["dj_n"].displayTextAt(row)) << row;
    }
    for (int row = 0; row < 400; ++row)
        ASSERT_EQ(fmt::floatToStr(price(row)), q["dj_n"].textAt(row)) << row;
}

} // namespace lb::db::test
