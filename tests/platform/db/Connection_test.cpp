// The connection: opening only existing databases, transactions and savepoints, the GBK collation.
#include "TestDatabase.h"

#include "platform/db/Query.h"
#include "platform/db/SqliteError.h"
#include "platform/db/Statement.h"
#include "platform/sys/Errors.h"
#include "support/FullDisk.h"
#include "support/Unprivileged.h"
#include "support/WriteProtect.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace lb::db::test {

using ConnectionTest = TestDatabase;

namespace {

int count(Connection& connection, const QString& table)
{
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT count(*) AS n FROM ") + table);
    q.open();
    return int(q["n"].asInteger());
}

} // namespace

TEST_F(ConnectionTest, NeverCreatesAMissingFileAndRejectsNonDatabases)
{
    Connection other;
    other.setDatabaseFile(dir.filePath(QStringLiteral("missing.db")));
    EXPECT_THROW(other.open(), DatabaseError);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.db"))));
    EXPECT_FALSE(other.connected());

    QFile junk(dir.filePath(QStringLiteral("junk.db")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    other.setDatabaseFile(junk.fileName());
    EXPECT_THROW(other.open(), DatabaseError);
    EXPECT_FALSE(other.connected());

    EXPECT_THROW(Connection::createFile(path), DatabaseError);
}

TEST_F(ConnectionTest, AFileThatCanOnlyBeReadIsRefusedNotOpenedReadOnly)
{
    connection.close();
    WriteProtect locked(path);
    if (!locked.ok())
        GTEST_SKIP() << "files cannot be write-protected here";
    try {
        connection.open();
        ADD_FAILURE() << "opened a file it cannot write";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(QStringLiteral("Database file cannot be written: ") + path, error.message());
    }
    EXPECT_FALSE(connection.connected());
}

// A disk without room met while the books are written is the error's cause, named with the
// books' folder: a used-up quota apart from a full disk, as the user frees room differently.
// Nothing of the write stays.
TEST_F(ConnectionTest, ADiskWithoutRoomForTheBooksIsTheCauseWithTheirFolder)
{
    const QString folder = QDir::toNativeSeparators(dir.path());
    const std::pair<int, QString> causes[] = {{ENOSPC, QStringLiteral("磁盘已满,不能写入文件夹: ")},
                                              {EDQUOT, QStringLiteral("磁盘配额已用完,不能写入文件夹: ")}};
    for (const auto& [code, cause] : causes) {
        {
            FullDisk disk(dir.path(), 0, code);
            try {
                addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("螺丝"), 1);
                ADD_FAILURE() << "written on a disk without room: " << code;
            } catch (const Error& error) {
                EXPECT_EQ(cause + folder, error.cause()) << code;
            }
        }
        EXPECT_EQ(0, count(connection, QStringLiteral("product"))) << code;
    }
}

// The books' folder may not be written: the user has no right to write it, or it is marked
// immutable, which holds for an administrator too. The journal the engine makes there at a
// transaction's first write cannot be made: the error's cause says so in Chinese with the folder,
// above the engine's words, and nothing is written.
enum class Unwritable { NoRight, Immutable };

void PrintTo(Unwritable way, std::ostream* out) { *out << (way == Unwritable::NoRight ? "NoRight" : "Immutable"); }

class UnwritableBooksFolder : public ConnectionTest, public ::testing::WithParamInterface<Unwritable> {
protected:
    // The cause and the shown text of the error a one-row write in a transaction met, one after
    // the other; "written" when it was written.
    static QStringList failedWrite(Connection& books)
    {
        try {
            Transaction transaction(books);
            books.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('a')"));
            transaction.commit();
            return {QStringLiteral("written")};
        } catch (const Error& error) {
            return {error.cause(), error.shownText()};
        }
    }

    // The same, written by a process without an administrator's rights on a connection of its own.
    QStringList failedWriteUnprivileged()
    {
        int channel[2] = {-1, -1};
        if (::pipe(channel) != 0)
            return {QStringLiteral("no pipe")};
        const int result = runUnprivileged([&] {
            ::close(channel[0]);
            Connection books;
            books.setDatabaseFile(path);
            QStringList texts;
            try {
                books.open();
                texts = failedWrite(books);
            } catch (const Error& error) {
                texts = QStringList{QStringLiteral("not opened"), error.message()};
            }
            const QByteArray bytes = texts.join(QChar(0)).toUtf8();
            return ::write(channel[1], bytes.constData(), size_t(bytes.size())) == bytes.size() ? 0 : 1;
        });
        ::close(channel[1]);
        QByteArray bytes;
        char block[4096];
        for (ssize_t n; (n = ::read(channel[0], block, sizeof block)) > 0;)
            bytes.append(block, n);
        ::close(channel[0]);
        return result == 0 ? QString::fromUtf8(bytes).split(QChar(0)) : QStringList{QStringLiteral("no child")};
    }
};

TEST_P(UnwritableBooksFolder, IsTheCauseOfTheRefusedWriteWithTheFolder)
{
    QStringList texts;
    if (GetParam() == Unwritable::NoRight) {
        // Everyone may read and write the books, and read the folder: only the journal cannot be made.
        connection.close();
        ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions(0x6666)));
        ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x5555)));
        texts = failedWriteUnprivileged();
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7700));
        connection.open();
    } else {
        if (::geteuid() != 0)
            GTEST_SKIP() << "only an administrator can mark a folder immutable";
        WriteProtect locked(dir.path());
        if (!locked.ok())
            GTEST_SKIP() << "folders cannot be marked immutable here";
        texts = failedWrite(connection);
    }
    const QString cause = QStringLiteral("没有写入权限,不能写入文件夹: ") + QDir::toNativeSeparators(dir.path());
    ASSERT_EQ(2, texts.size()) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(cause.toStdString(), texts[0].toStdString());
    EXPECT_TRUE(texts[1].startsWith(cause + QLatin1Char('\n'))) << texts[1].toStdString();
    EXPECT_EQ(0, count(connection, QStringLiteral("customer")));
}

INSTANTIATE_TEST_SUITE_P(NoRightAndImmutable, UnwritableBooksFolder, ::testing::Values(Unwritable::NoRight, Unwritable::Immutable),
                         [](const ::testing::TestParamInfo<Unwritable>& info) {
                             return std::string(info.param == Unwritable::NoRight ? "NoRight" : "Immutable");
                         });

TEST_F(ConnectionTest, DatasetsThatAreChildrenOfTheOwnerMayOutliveIt)
{
    // A data module holds the connection as a member and its datasets as Qt children, which
    // are deleted after the members.
    struct Module : QObject {
        Connection con;
        Query* query = new Query(con, this);
    };
    auto module = std::make_unique<Module>();
    module->con.setDatabaseFile(path);
    module->con.open();
    module->query->sql().add(QStringLiteral("SELECT * FROM customer"));
    module->query->open();
    module.reset();
    SUCCEED();
}

TEST_F(ConnectionTest, TransactionRollsBackUnlessCommitted)
{
    try {
        Transaction transaction(connection);
        connection.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('a')"));
        throw std::runtime_error("failed half way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(0, count(connection, QStringLiteral("customer")));
    {
        Transaction transaction(connection);
        connection.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('a')"));
        transaction.commit();
    }
    EXPECT_EQ(1, count(connection, QStringLiteral("customer")));
}

TEST_F(ConnectionTest, DatasetsForgetRowsOfARolledBackTransaction)
{
    connection.execute(QStringLiteral("INSERT INTO customer (id, balance) VALUES ('a', 1)"));
    Query customers(connection);
    customers.sql().add(QStringLiteral("SELECT * FROM customer"));
    customers.open();
    try {
        Transaction transaction(connection);
        customers.edit();
        customers["balance"].setAsFloat(50);
        customers.post();
        customers.append();
        customers["id"].setAsString(QStringLiteral("b"));
        customers.post();
        throw std::runtime_error("posting failed");
    } catch (const std::runtime_error&) {
    }
    ASSERT_EQ(1, customers.recordCount());
    EXPECT_EQ(1.0, customers["balance"].asFloat());
    EXPECT_EQ(1, customers.recNo());
}

TEST_F(ConnectionTest, NestedTransactionsAreSavepoints)
{
    {
        Transaction outer(connection);
        connection.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('outer')"));
        {
            Transaction inner(connection);
            connection.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('inner')"));
        } // not committed: only the inner insert goes
        {
            Transaction inner(connection);
            connection.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('kept')"));
            inner.commit();
        }
        outer.commit();
    }
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT id FROM customer ORDER BY id"));
    q.open();
    ASSERT_EQ(2, q.recordCount());
    EXPECT_EQ(QStringLiteral("kept"), q["id"].asString());

    {
        Transaction outer(connection);
        {
            Transaction inner(connection);
            connection.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('gone')"));
            inner.commit();
        }
    } // the outer rollback takes the committed savepoint with it
    EXPECT_EQ(2, count(connection, QStringLiteral("customer")));

    // Committing the outer guard while an inner one is open would store the inner's half.
    {
        Transaction outer(connection);
        Transaction inner(connection);
        connection.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('half')"));
        EXPECT_THROW(outer.commit(), DatabaseError);
    }
    EXPECT_EQ(2, count(connection, QStringLiteral("customer")));
}

// Work asked for after the transactions, inside a nested guard, waits for the outermost guard:
// it runs once that has ended, committed or rolled back, or when the books close with it still
// open; never when a nested guard ends, whichever way.
enum class End { Commit, RollBack, CloseBooks };

class WorkAfterTransactions : public ConnectionTest, public ::testing::WithParamInterface<std::tuple<End, End>> {};

TEST_P(WorkAfterTransactions, RunsOnceWhenTheOutermostGuardHasEnded)
{
    const auto [innerEnd, outerEnd] = GetParam();
    struct Run {
        bool inTransaction;
        bool connected;
    };
    std::vector<Run> runs;
    {
        Transaction outer(connection);
        connection.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('outer')"));
        {
            Transaction inner(connection);
            connection.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('inner')"));
            connection.afterTransactions([&] { runs.push_back({connection.inTransaction(), connection.connected()}); });
            if (innerEnd == End::Commit)
                inner.commit();
        }
        EXPECT_TRUE(runs.empty());
        {
            Transaction later(connection); // a nested guard begun and ended after the asking
            later.commit();
        }
        EXPECT_TRUE(runs.empty());
        if (outerEnd == End::Commit)
            outer.commit();
        if (outerEnd == End::CloseBooks)
            connection.close();
        EXPECT_EQ(outerEnd == End::RollBack ? 0u : 1u, runs.size());
    }
    ASSERT_EQ(1u, runs.size());
    EXPECT_FALSE(runs[0].inTransaction);
    EXPECT_EQ(outerEnd != End::CloseBooks, runs[0].connected);
    if (!connection.connected())
        connection.open();
    {
        Transaction next(connection);
        next.commit();
    }
    EXPECT_EQ(1u, runs.size());
}

std::string endsName(const ::testing::TestParamInfo<WorkAfterTransactions::ParamType>& info)
{
    const char* names[] = {"Committed", "RolledBack", "BooksClosed"};
    return std::string("Inner") + names[int(std::get<0>(info.param))] + "Outer" + names[int(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(InnerAndOuterEnds, WorkAfterTransactions,
                         ::testing::Combine(::testing::Values(End::Commit, End::RollBack),
                                            ::testing::Values(End::Commit, End::RollBack, End::CloseBooks)),
                         endsName);

// A disk that fills or fails under a one-row write makes the engine roll back the whole
// transaction by itself. Until the command's outermost guard ends, every write is refused before
// it runs, whichever way it comes (a statement, a dataset's post, insert or delete, a write in a
// nested guard begun before the failure, a new nested guard, a commit), so that nothing of the
// command is stored outside the transaction it believes it is in; each refusal is the failure
// that made the engine roll back, with its cause, which is what the command shows and logs.
// After the guard the connection writes again, and the datasets show what is stored: an edit or
// insert the command began goes with it.
class TransactionEndedByTheEngine : public ConnectionTest, public ::testing::WithParamInterface<int> {};

TEST_P(TransactionEndedByTheEngine, RefusesEveryWriteUntilTheCommandEnds)
{
    connection.execute(QStringLiteral("INSERT INTO customer (id, balance) VALUES ('a', 1), ('b', 2)"));
    Query customers(connection);
    customers.sql().add(QStringLiteral("SELECT * FROM customer ORDER BY id"));
    customers.open();
    Query added(connection);
    added.sql().add(QStringLiteral("SELECT * FROM customer WHERE id='x'"));
    added.open();
    Query removed(connection);
    removed.sql().add(QStringLiteral("SELECT * FROM customer WHERE id='b'"));
    removed.open();
    QString failure;
    QString cause;
    const auto refused = [&](const std::function<void()>& write) {
        try {
            write();
            ADD_FAILURE() << "written after the engine ended the transaction";
        } catch (const SqliteError& error) {
            EXPECT_EQ(failure, error.message());
            EXPECT_EQ(cause, error.cause());
            EXPECT_EQ(GetParam(), error.systemError());
        }
    };
    {
        Transaction transaction(connection);
        connection.execute(QStringLiteral("UPDATE customer SET balance = 10 WHERE id = 'a'"));
        customers.edit();
        customers["balance"].setAsFloat(50);
        added.append();
        added["id"].setAsString(QStringLiteral("x"));
        {
            Transaction inner(connection);
            {
                // The room comes back at once, as when another program frees some meanwhile.
                FullDisk disk(dir.path(), 0, GetParam(), 1);
                try {
                    // Its page is not in the journal yet: the engine writes there first.
                    addProduct(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("螺丝"), 1);
                    FAIL() << "written on a failing disk";
                } catch (const SqliteError& error) {
                    failure = error.message();
                    cause = error.cause();
                }
            }
            ASSERT_EQ(GetParam() == ENOSPC, !cause.isEmpty());
            refused([&] { connection.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('inner')")); });
            refused([&] { inner.commit(); });
        }
        refused([&] { connection.execute(QStringLiteral("UPDATE customer SET balance = 30 WHERE id = 'b'")); });
        refused([&] { customers.post(); });
        refused([&] { added.post(); });
        refused([&] { removed.deleteRecord(); });
        refused([&] {
            Query command(connection);
            command.sql().add(QStringLiteral("INSERT INTO customer (id) VALUES (:p1)"));
            command.paramByName(QStringLiteral("p1")).setAsString(QStringLiteral("c"));
            command.execSQL();
        });
        refused([&] { connection.execute(QStringLiteral("DELETE FROM customer")); });
        refused([&] {
            Transaction nested(connection);
            connection.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('d')"));
            nested.commit();
        });
        refused([&] { transaction.commit(); });
        // Reading goes on: it shows what is stored.
        EXPECT_EQ(2, count(connection, QStringLiteral("customer")));
    }
    Query stored(connection);
    stored.sql().add(QStringLiteral("SELECT group_concat(id || '=' || balance, ' ') AS rows FROM customer"));
    stored.open();
    EXPECT_EQ("a=1.0 b=2.0", stored["rows"].asString().toStdString());
    EXPECT_EQ(0, count(connection, QStringLiteral("product")));
    // The edit and the insert the command began went with it: no later move or refresh posts them.
    EXPECT_EQ(DataSetState::Browse, customers.state());
    EXPECT_EQ(1.0, customers["balance"].asFloat());
    EXPECT_EQ(DataSetState::Browse, added.state());
    EXPECT_TRUE(added.isEmpty());
    EXPECT_EQ(1, removed.recordCount());

    Transaction next(connection);
    connection.execute(QStringLiteral("UPDATE customer SET balance = 5 WHERE id = 'b'"));
    next.commit();
    EXPECT_EQ(5.0, [&] { customers.refresh(); customers.last(); return customers["balance"].asFloat(); }());

    // The next command that meets the failing disk is refused with its own failure.
    Transaction again(connection);
    {
        FullDisk disk(dir.path(), 0, GetParam(), 1);
        try {
            addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("螺母"), 1);
            FAIL() << "written on a failing disk";
        } catch (const SqliteError& error) {
            ASSERT_NE(failure, error.message());
            failure = error.message();
        }
    }
    refused([&] { connection.execute(QStringLiteral("UPDATE customer SET balance = 6 WHERE id = 'b'")); });
}

INSTANTIATE_TEST_SUITE_P(FullDiskAndFailingDisk, TransactionEndedByTheEngine, ::testing::Values(ENOSPC, EIO));

// After the engine has rolled a command's transaction back, its writes are refused with the
// failure that made it roll back and with no other: not one an earlier command met and handled
// (caught, its transaction ended), nor one met earlier in the same command and handled there
// (caught, its nested guard rolled back) while the engine kept the transaction. Here the
// rollback comes of a used-up quota, once the room an earlier full disk lacked is back.
struct HandledFailure {
    const char* name;
    bool inTheCommand; // met inside the transaction the engine then rolls back
    void (*meet)(Connection& books, const QString& folder); // meets the failure and handles it
};

void PrintTo(const HandledFailure& failure, std::ostream* out) { *out << failure.name; }

// Runs `sql` in a guard of its own, its failure caught and the guard rolled back.
void handledWrite(Connection& books, const QString& sql)
{
    try {
        Transaction guard(books);
        books.execute(sql);
        guard.commit();
        ADD_FAILURE() << "the failing write was stored: " << sql.toStdString();
    } catch (const SqliteError&) {
    }
}

class AnEarlierHandledFailure : public ConnectionTest, public ::testing::WithParamInterface<HandledFailure> {};

TEST_P(AnEarlierHandledFailure, IsNotNamedForALaterRollback)
{
    // A row the books refuse, as a check of the program's would.
    connection.execute(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON customer WHEN new.id = 'refused' BEGIN SELECT raise(abort, 'refused row'); END"));
    if (!GetParam().inTheCommand)
        GetParam().meet(connection, dir.path());
    std::optional<Transaction> command(std::in_place, connection);
    connection.execute(QStringLiteral("UPDATE customer SET balance = 1"));
    if (GetParam().inTheCommand)
        GetParam().meet(connection, dir.path());
    std::unique_ptr<SqliteError> failure;
    {
        FullDisk disk(dir.path(), 0, EDQUOT, 1);
        try {
            addProduct(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("螺母"), 1);
            FAIL() << "written on a disk without room";
        } catch (const SqliteError& error) {
            failure = std::make_unique<SqliteError>(error);
        }
    }
    ASSERT_TRUE(connection.transactionEndedByEngine());
    const QString quota = QStringLiteral("磁盘配额已用完,不能写入文件夹: ") + QDir::toNativeSeparators(dir.path());
    EXPECT_EQ(quota.toStdString(), failure->cause().toStdString());
    for (const QString& write : {QStringLiteral("INSERT INTO customer (id) VALUES ('c')"), QStringLiteral("DELETE FROM customer")}) {
        try {
            connection.execute(write);
            ADD_FAILURE() << "written after the engine ended the transaction: " << write.toStdString();
        } catch (const SqliteError& error) {
            EXPECT_EQ(failure->message().toStdString(), error.message().toStdString());
            EXPECT_EQ(quota.toStdString(), error.cause().toStdString());
            EXPECT_EQ(EDQUOT, error.systemError());
        }
    }
    command.reset();
    EXPECT_EQ(0, count(connection, QStringLiteral("product")));
}

INSTANTIATE_TEST_SUITE_P(
    EarlierAndInTheCommand, AnEarlierHandledFailure,
    ::testing::Values(
        HandledFailure{"AnEarlierCommandsFullDisk", false,
                       [](Connection& books, const QString& folder) {
                           FullDisk disk(folder);
                           handledWrite(books, QStringLiteral("INSERT INTO product (intno) VALUES ('1')"));
                       }},
        HandledFailure{"AnEarlierCommandsRefusedRow", false,
                       [](Connection& books, const QString&) {
                           handledWrite(books, QStringLiteral("INSERT INTO customer (id) VALUES ('refused')"));
                       }},
        HandledFailure{"ARefusedRowEarlierInTheCommand", true,
                       [](Connection& books, const QString&) {
                           handledWrite(books, QStringLiteral("INSERT INTO customer (id) VALUES ('refused')"));
                       }},
        // The trigger makes the engine keep a journal of the statement: on a full disk it takes
        // the statement back alone, and the transaction goes on.
        HandledFailure{"AFullDiskEarlierInTheCommandTakenBackWithItsStatement", true,
                       [](Connection& books, const QString& folder) {
                           FullDisk disk(folder);
                           handledWrite(books, QStringLiteral("INSERT INTO customer (id) VALUES ('d')"));
                           EXPECT_FALSE(books.transactionEndedByEngine());
                       }}),
    [](const ::testing::TestParamInfo<HandledFailure>& info) { return std::string(info.param.name); });

TEST_F(ConnectionTest, GbkCollationOrdersByPinyinWithAsciiFirstAndLatinLettersWithoutCase)
{
    connection.execute(QStringLiteral(
        "INSERT INTO customer (name) VALUES ('中'), ('白'), ('b'), ('阿'), ('A1'), ('𠀀'), ('阿b'), ('B0'), ('a2')"));
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT name FROM customer ORDER BY name COLLATE GBK"));
    q.open();
    QStringList names;
    for (q.first(); !q.eof(); q.next())
        names << q["name"].asString();
    EXPECT_EQ((QStringList{QStringLiteral("A1"), QStringLiteral("a2"), QStringLiteral("b"), QStringLiteral("B0"),
                           QStringLiteral("阿"), QStringLiteral("阿b"), QStringLiteral("白"), QStringLiteral("中"),
                           QStringLiteral("𠀀")}),
              names);
}

// A double-quoted word is a name only, in a query as in a table's definition: one the engine
// does not know fails, never taken for a text.
TEST_F(ConnectionTest, ADoubleQuotedWordIsANameInQueriesAndDefinitionsAlike)
{
    for (const char* sql : {"SELECT \"nosuch\" FROM product", "CREATE TABLE extra (a TEXT CHECK (a <> \"nosuch\"))",
                            "CREATE INDEX extra_spmc ON product (spmc) WHERE spmc <> \"nosuch\""}) {
        try {
            connection.execute(QString::fromLatin1(sql));
            ADD_FAILURE() << "ran: " << sql;
        } catch (const SqliteError& e) {
            EXPECT_EQ("no such column: nosuch", e.engineMessage().toStdString()) << sql;
        }
    }
    EXPECT_EQ(0, count(connection, QStringLiteral("sqlite_master WHERE name LIKE 'extra%'")));
}

TEST_F(ConnectionTest, InspectTellsStatementsParametersAndControlWithoutRunningThem)
{
    const struct {
        const char* sql;
        bool several;
        int parameters;
        bool transactions = false;
        bool files = false;
        bool session = false;
    } cases[] = {
        {"delete from product", false, 0},
        {"delete from product;  ; -- done\n", false, 0},
        {"update product set spmc='a:b;c' where sphh='?'", false, 0},
        {"delete from product; delete from customer", true, 0},
        {"delete from product; nonsense here", true, 0},
        {"delete from product where sphh=:p1", false, 1},
        {"delete from product where sphh=? or spmc=?3 or intno=@x or dj_n=$y", false, 5}, // ?3 takes slot 3
        {"/* first */ BEGIN immediate", false, 0, true},
        {"commit", false, 0, true},
        {"end transaction", false, 0, true},
        {"rollback", false, 0, true},
        {"savepoint s1", false, 0, true},
        {"rollback to s1", false, 0, true},
        {"release s1", false, 0, true},
        {"attach database 'other.db' as other", false, 0, false, true},
        {"detach other", false, 0, false, true},
        {"select 'begin; attach'", false, 0},
        {"pragma query_only=1", false, 0, false, false, true},
        {"pragma query_only=1; select 1", true, 0, false, false, true},
        {"select 1; pragma query_only=1", true, 0, false, false, true},
        {"create temp trigger t after update on product begin update customer set balance=0; end", false, 0, false, false, true},
        {"create temp view v as select * from product", false, 0, false, false, true},
        {"create temporary table customer (id)", false, 0, false, false, true},
        {"create table temp.customer (id)", false, 0, false, false, true},
        {"create trigger temp.t after update on product begin select 1; end", false, 0, false, false, true},
        {"create view v as select * from product", false, 0},
    };
    const int before = count(connection, QStringLiteral("product"));
    for (const auto& c : cases) {
        const Connection::StatementShape shape = connection.inspect(QString::fromUtf8(c.sql));
        EXPECT_EQ(c.several, shape.severalStatements) << c.sql;
        EXPECT_EQ(c.parameters, shape.parameters) << c.sql;
        EXPECT_EQ(c.transactions, shape.controlsTransactions) << c.sql;
        EXPECT_EQ(c.files, shape.attachesFiles) << c.sql;
        EXPECT_EQ(c.session, shape.changesSession) << c.sql;
    }
    EXPECT_EQ(before, count(connection, QStringLiteral("product")));
    // Nothing of them was done: not the pragma the engine applies while preparing, no
    // temporary object, and the connection still writes.
    EXPECT_EQ(0, count(connection, QStringLiteral("sqlite_temp_master")));
    EXPECT_EQ(0, count(connection, QStringLiteral("sqlite_master where name<>'product' and name<>'customer' and name<>'cproduct'")));
    connection.execute(QStringLiteral("update customer set balance=1"));
    EXPECT_THROW(connection.inspect(QStringLiteral("delete form product")), DatabaseError);
    EXPECT_THROW(connection.inspect(QStringLiteral("delete from nosuch")), DatabaseError);
    EXPECT_THROW(connection.inspect(QStringLiteral("  -- nothing\n")), DatabaseError);
}

// A statement typed by a user, run under the guard, may change the data but not the session
// the program goes on using; our own transaction around it begins before and ends after.
TEST_F(ConnectionTest, SessionGuardRefusesChangesOfTheSessionAndGoesWithItsScope)
{
    connection.execute(QStringLiteral("insert into customer (id, balance) values ('C1', 200)"));
    Transaction transaction(connection);
    {
        const SessionGuard guard(connection);
        for (const char* sql : {"pragma query_only=1", "pragma foreign_keys", "begin", "commit", "savepoint s", "release s",
                                "attach database 'other.db' as other",
                                "create temp trigger t after update on product begin update customer set balance=0; end",
                                "create temp view v as select * from customer", "create temp table customer (id)",
                                "create table temp.customer (id)",
                                "create trigger temp.t after update on product begin update customer set balance=0; end"}) {
            try {
                connection.execute(QString::fromLatin1(sql));
                ADD_FAILURE() << sql << " was run";
            } catch (const SqliteError& e) {
                EXPECT_EQ(QStringLiteral("not authorized"), e.engineMessage()) << sql;
            }
        }
        connection.execute(QStringLiteral("update product set spmc='x'"));
        connection.execute(QStringLiteral("create table kept (id)"));
    }
    transaction.commit();
    EXPECT_EQ(0, count(connection, QStringLiteral("sqlite_temp_master")));
    EXPECT_EQ(1, count(connection, QStringLiteral("sqlite_master where name='kept'")));
    // The next posting writes, and no trigger moves the balance.
    {
        Transaction posting(connection);
        connection.execute(QStringLiteral("update product set spmc='y'"));
        connection.execute(QStringLiteral("update customer set balance=balance+65 where id='C1'"));
        posting.commit();
    }
    EXPECT_EQ(1, count(connection, QStringLiteral("customer where balance=265")));
    // Out of its scope the session is the program's again.
    connection.execute(QStringLiteral("pragma foreign_keys"));
}

// The statements the connection keeps for texts run before serve a user's text of the same
// words; under the guard they are refused all the same.
TEST_F(ConnectionTest, SessionGuardRefusesAStatementKeptFromBefore)
{
    {
        Transaction transaction(connection);
        transaction.commit();
    }
    Query typed(connection);
    typed.reopen(QStringLiteral("PRAGMA table_info(product)"));
    typed.close();
    {
        const SessionGuard guard(connection);
        EXPECT_THROW(typed.open(), SqliteError);
        typed.sql().setText(QStringLiteral("BEGIN IMMEDIATE"));
        try {
            typed.execSQL();
            ADD_FAILURE() << "a transaction was begun";
        } catch (const SqliteError& e) {
            EXPECT_EQ(QStringLiteral("not authorized"), e.engineMessage());
        }
    }
    Transaction transaction(connection); // none was left open
    transaction.commit();
}

// A lent statement comes back to the connection however its lease ends: at the end of its scope,
// by an exception, by giveBack() and under a lease moved over it; the statement then lent for its
// text is the same one. A discarded one is finalised instead, also after it was moved into
// another lease, and a lease moved away gives back nothing.
TEST_F(ConnectionTest, ALeasedStatementComesBackOnEveryExitUnlessDiscarded)
{
    const QString sql = QStringLiteral("SELECT count(*) FROM product");
    const auto lent = [&] {
        const StatementLease lease = connection.keptStatement(sql);
        return lease ? &*lease : nullptr;
    };
    const Statement* statement = nullptr;
    {
        const StatementLease lease = connection.statement(sql);
        statement = &*lease;
    }
    EXPECT_EQ(statement, lent());
    try {
        const StatementLease lease = connection.statement(sql);
        EXPECT_EQ(statement, &*lease);
        lease->step();
        throw std::runtime_error("the command failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(statement, lent());
    {
        StatementLease lease = connection.statement(sql);
        lease.giveBack();
        EXPECT_FALSE(lease);
        EXPECT_EQ(statement, lent());
    }
    {
        StatementLease lease = connection.statement(sql);
        StatementLease other = connection.statement(QStringLiteral("SELECT 1"));
        other = std::move(lease);
        EXPECT_FALSE(lease);
        EXPECT_EQ(nullptr, lent()); // `other` holds it now
        EXPECT_TRUE(connection.keptStatement(QStringLiteral("SELECT 1"))); // given back for it
    }
    EXPECT_EQ(statement, lent());
    {
        StatementLease lease = connection.statement(sql);
        lease.discard();
        EXPECT_EQ(statement, &*lease);
    }
    EXPECT_EQ(nullptr, lent());
    {
        StatementLease lease = connection.statement(sql);
        lease.discard();
        const StatementLease moved(std::move(lease));
    }
    EXPECT_EQ(nullptr, lent());
    {
        StatementLease lease = connection.statement(sql);
        lease.discard();
        StatementLease other;
        other = std::move(lease);
    }
    EXPECT_EQ(nullptr, lent());
    {
        StatementLease lease = connection.statement(sql);
        statement = &*lease;
        // Lent under the rows' use, the statement is not lent for running its text.
        const StatementLease rows = connection.lease(std::make_unique<Statement>(connection.handle(), sql), sql, StatementUse::Rows);
    }
    EXPECT_EQ(statement, lent());
    EXPECT_TRUE(connection.keptStatement(sql, StatementUse::Rows));
}

} // namespace lb::db::test
