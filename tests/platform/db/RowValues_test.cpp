// Packed row values: every SQLite storage class reads back as the statement gave it, an assigned
// value turns the row into plain values without touching copies (a row saved for Cancel), and a
// copy owns its bytes.
#include "TestDatabase.h"

#include "platform/db/RowValues.h"
#include "platform/db/Statement.h"

#include <QDate>
#include <cstring>

namespace lb::db::test {

class RowValuesTest : public TestDatabase {
protected:
    // One row of every storage class: integer, real, Chinese text, empty text, blob, NULL.
    void SetUp() override
    {
        TestDatabase::SetUp();
        connection.execute(QStringLiteral("CREATE TABLE mixed (a, b, c, d, e, f)"));
        connection.execute(QStringLiteral(
            "INSERT INTO mixed VALUES (-9007199254740993, 2.5, '不锈钢螺丝 M8', '', x'00ff10', NULL)"));
    }

    RowValues readRow(int count)
    {
        Statement statement(connection.handle(), QStringLiteral("SELECT a, b, c, d, e, f, rowid FROM mixed"));
        EXPECT_TRUE(statement.step());
        return RowValues::read(statement, count);
    }
};

TEST_F(RowValuesTest, EveryStorageClassReadsBackAsTheStatementGaveIt)
{
    const RowValues row = readRow(6);
    ASSERT_EQ(6u, row.size());
    EXPECT_EQ(QVariant(qint64(-9007199254740993)), row.at(0));
    EXPECT_EQ(QVariant(2.5), row.at(1));
    EXPECT_EQ(QVariant(QStringLiteral("不锈钢螺丝 M8")), row.at(2));
    EXPECT_EQ(QMetaType::QString, row.at(3).typeId());
    EXPECT_EQ(QString(), row.at(3).toString());
    EXPECT_EQ(QVariant(QByteArray("\x00\xff\x10", 3)), row.at(4));
    EXPECT_FALSE(row.at(5).isValid());
    const int types[] = {QMetaType::LongLong, QMetaType::Double, QMetaType::QString,
                         QMetaType::QString,  QMetaType::QByteArray, QMetaType::UnknownType};
    for (size_t c = 0; c < 6; ++c)
        EXPECT_EQ(types[c], row.typeAt(c)) << "column " << c;
}

TEST_F(RowValuesTest, OnlyTheAskedColumnsAreKept)
{
    // The hidden rowid column a dataset selects last is no value of the row.
    EXPECT_EQ(2u, readRow(2).size());
    EXPECT_EQ(0u, readRow(0).size());
}

TEST_F(RowValuesTest, AssignedValueIsKeptAsGivenAndCopiesStayAsTheyWere)
{
    RowValues row = readRow(6);
    const RowValues saved = row;
    row.set(5, QVariant(QDate(2024, 2, 29)));
    row.set(2, QVariant(QStringLiteral("平垫圈")));
    EXPECT_EQ(QVariant(QDate(2024, 2, 29)), row.at(5));
    EXPECT_EQ(QMetaType::QDate, row.typeAt(5));
    EXPECT_EQ(QVariant(QStringLiteral("平垫圈")), row.at(2));
    EXPECT_EQ(QVariant(2.5), row.at(1));
    EXPECT_EQ(QVariant(QByteArray("\x00\xff\x10", 3)), row.at(4));
    EXPECT_EQ(6u, row.size());
    EXPECT_EQ(QVariant(QStringLiteral("不锈钢螺丝 M8")), saved.at(2));
    EXPECT_FALSE(saved.at(5).isValid());

    RowValues fresh(3);
    EXPECT_EQ(3u, fresh.size());
    EXPECT_FALSE(fresh.at(1).isValid());
    fresh.set(1, QVariant(qint64(7)));
    EXPECT_EQ(QVariant(qint64(7)), fresh.at(1));
}

TEST_F(RowValuesTest, ACopyOfARowPackedIntoAStoreOutlivesIt)
{
    RowValues row;
    RowValues kept;
    {
        RowValues::Store store;
        Statement statement(connection.handle(), QStringLiteral("SELECT a, b, c, d, e, f FROM mixed"));
        ASSERT_TRUE(statement.step());
        const RowValues packed = RowValues::read(statement, 6, store);
        row = packed;
        kept = row;
        kept.set(0, QVariant(qint64(5)));
    }
    RowValues::Store other; // likely to take the freed memory
    std::memset(other.take(64 * 1024), 0x5a, 64 * 1024);
    EXPECT_EQ(QVariant(qint64(-9007199254740993)), row.at(0));
    EXPECT_EQ(QVariant(QStringLiteral("不锈钢螺丝 M8")), row.at(2));
    EXPECT_EQ(QVariant(QByteArray("\x00\xff\x10", 3)), row.at(4));
    EXPECT_FALSE(row.at(5).isValid());
    EXPECT_EQ(QVariant(qint64(5)), kept.at(0));
    EXPECT_EQ(QVariant(2.5), kept.at(1));
    EXPECT_EQ(QVariant(QStringLiteral("不锈钢螺丝 M8")), kept.at(2));
}

// A row moved out of a load lives no longer than the load's store: read after the store went, it
// stops the program at once in debug and sanitizer builds, where it would read freed memory.
TEST_F(RowValuesTest, ARowReadAfterItsStoreWentStopsAtOnce)
{
#ifdef NDEBUG
    GTEST_SKIP() << "checked in debug and sanitizer builds only";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    RowValues row;
    {
        RowValues::Store store;
        Statement statement(connection.handle(), QStringLiteral("SELECT a, b, c, d, e, f FROM mixed"));
        ASSERT_TRUE(statement.step());
        RowValues packed = RowValues::read(statement, 6, store);
        row = std::move(packed);
        EXPECT_EQ(QVariant(QStringLiteral("不锈钢螺丝 M8")), row.at(2));
    }
    EXPECT_DEATH(row.at(2), "after the rows of its load were freed");
#endif
}

// A row lies whole in one block. With one TEXT column a row is 9 bytes of header and its text,
// and the first block 4 KB: after a row of 91 characters (100 bytes), a row of 3,987 characters
// fills what is left of the block, and one of 3,988 goes into a new one (in the sanitizer build
// a row written one byte past its block stops the test).
TEST_F(RowValuesTest, ARowOneByteLongerThanWhatIsLeftOfABlockGoesIntoANewOne)
{
    connection.execute(QStringLiteral("CREATE TABLE texts (a TEXT)"));
    Statement insert(connection.handle(), QStringLiteral("INSERT INTO texts VALUES (?)"));
    for (const int length : {91, 3987, 3988}) {
        insert.resetQuietly();
        insert.bind(1, QString(length, QLatin1Char('a' + char(length % 26))));
        insert.run();
    }
    for (const int length : {3987, 3988}) {
        RowValues::Store store;
        Statement select(connection.handle(), QStringLiteral("SELECT a FROM texts WHERE length(a) IN (91, ?) ORDER BY rowid"));
        select.bind(1, length);
        ASSERT_TRUE(select.step());
        const RowValues first = RowValues::read(select, 1, store);
        ASSERT_TRUE(select.step());
        const RowValues second = RowValues::read(select, 1, store);
        // Copies own their bytes: only the rows as read tell where they lie.
        const RowValues::Stored a = first.stored(0);
        const RowValues::Stored b = second.stored(0);
        EXPECT_EQ(QByteArray(91, char('a' + 91 % 26)), QByteArray(a.utf8, a.bytes));
        EXPECT_EQ(QByteArray(length, char('a' + length % 26)), QByteArray(b.utf8, b.bytes));
        // The second row's text lies 100 bytes after the first's where both lie in one block; a
        // new block cannot lie inside the first, which is still held.
        EXPECT_EQ(length == 3987, b.utf8 == a.utf8 + 100) << length;
    }
}

// The rows of a load lie one after another in shared blocks: a row that outgrows what is left of
// a block moves into the next one whole, and a long load goes on in large blocks. Every text,
// of every length and however long, reads back as it was stored.
TEST_F(RowValuesTest, RowsPackedIntoAStoreReadBackWhateverTheirLength)
{
    const auto textOf = [](int row, int length) {
        QByteArray text(length, 'a');
        for (int i = 0; i < length; ++i)
            text[i] = char('a' + (row + i * 7) % 26);
        return text;
    };
    const auto longLength = [](int row) { return row == 39999 ? 3'000'000 : row % 5000 == 7 ? 100'000 : -1; };
    connection.execute(QStringLiteral("CREATE TABLE texts (a TEXT, b TEXT)"));
    {
        Transaction transaction(connection);
        Statement insert(connection.handle(), QStringLiteral("INSERT INTO texts VALUES (?, ?)"));
        for (int row = 0; row < 40000; ++row) {
            insert.resetQuietly();
            insert.bind(1, QString::fromLatin1(textOf(row, row % 70)));
            insert.bind(2, longLength(row) < 0 ? QVariant() : QVariant(QString::fromLatin1(textOf(row, longLength(row)))));
            insert.run();
        }
        transaction.commit();
    }
    RowValues::Store store;
    std::vector<RowValues> rows;
    Statement select(connection.handle(), QStringLiteral("SELECT a, b FROM texts ORDER BY rowid"));
    while (select.step())
        rows.push_back(RowValues::read(select, 2, store));
    ASSERT_EQ(40000u, rows.size());
    for (int row = 0; row < 40000; ++row) {
        const RowValues::Stored a = rows[size_t(row)].stored(0);
        ASSERT_EQ(textOf(row, row % 70), QByteArray(a.utf8, a.bytes)) << row;
        const RowValues::Stored b = rows[size_t(row)].stored(1);
        if (longLength(row) < 0)
            ASSERT_EQ(RowValues::Stored::Null, b.kind) << row;
        else
            ASSERT_EQ(textOf(row, longLength(row)), QByteArray(b.utf8, b.bytes)) << row;
    }
}

} // namespace lb::db::test
