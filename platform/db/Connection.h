// The one database connection: an SQLite file opened read-write, never created.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;

namespace lb::db {

class DataSet;
class SqliteError;
class Statement;

// What a kept statement serves: running its own text (Run), or loading a dataset's rows, kept
// under the dataset's text (Rows): it may be that text with the rowid added.
enum class StatementUse { Run, Rows };

class Connection;

// A statement lent from the connection's kept statements (Connection::keptStatement,
// Connection::statement, Connection::lease): its destructor gives it back, its read ended and its
// parameters unbound, for the next user of the same key, as a Transaction's destructor ends its
// transaction; so does giveBack(), and a lease moved over it. After discard() it is finalised
// instead: a statement the next user must not get. Move-only; a lease ends before its
// connection object does (a dataset's end when the connection closes).
class StatementLease {
public:
    StatementLease() = default; // holds nothing
    ~StatementLease();
    StatementLease(StatementLease&& other) noexcept;
    StatementLease& operator=(StatementLease&& other) noexcept;
    StatementLease(const StatementLease&) = delete;
    StatementLease& operator=(const StatementLease&) = delete;

    explicit operator bool() const { return statement_ != nullptr; }
    Statement& operator*() const { return *statement_; }
    Statement* operator->() const { return statement_.get(); }

    // The statement is finalised when the lease ends, not kept.
    void discard() noexcept { keep_ = false; }
    // Ends the lease now: the statement goes back (or, discarded, is finalised).
    void giveBack() noexcept;

private:
    friend class Connection;
    StatementLease(Connection& connection, QString key, StatementUse use, std::unique_ptr<Statement> statement);
    Connection* connection_ = nullptr;
    QString key_;
    StatementUse use_ = StatementUse::Run;
    std::unique_ptr<Statement> statement_;
    bool keep_ = true;
};

class Connection {
public:
    Connection();
    ~Connection(); // closes; datasets may outlive it (closed) but must not be used then
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The file to open. Changing it while connected does not reconnect.
    void setDatabaseFile(const QString& path) { file_ = path; }
    const QString& databaseFile() const { return file_; }

    // Opens the file read-write; a missing file, or one that can only be read, raises
    // DatabaseError (the program never creates its database, nor runs on one it cannot
    // write). Registers the "GBK" collation (pinyin order, Latin letters without case). A
    // double-quoted word in SQL is a name only, never a text: a name the engine does not know
    // fails to prepare. Does nothing when connected.
    void open();
    // Closes every dataset on the connection, then the file. Does nothing when closed.
    void close();
    bool connected() const { return handle_ != nullptr; }
    void setConnected(bool value) { value ? open() : close(); }

    // Runs one statement with no parameters and no result rows (DDL, PRAGMA).
    void execute(const QString& sql);

    // What the engine makes of a text typed by a user, without running it: whether more than
    // one statement follows in it (anything but blanks, semicolons and comments after the
    // first), and the parameter slots of the first statement in any of the engine's forms
    // (":name", "?", "?3", "@name", "$name"): the highest slot number, 0 when it has none;
    // whether it begins, ends or nests a transaction (BEGIN, COMMIT, END, ROLLBACK, SAVEPOINT,
    // RELEASE), whether it attaches or detaches a database file, and whether it sets a pragma
    // or makes a temporary table, view or trigger. None of these is done, not even a pragma
    // the engine would apply while preparing (a statement that would do one may then show no
    // parameters). SqliteError when the first statement does not prepare (a syntax error, a
    // missing table).
    struct StatementShape {
        bool severalStatements = false;
        int parameters = 0;
        bool controlsTransactions = false;
        bool attachesFiles = false;
        bool changesSession = false; // a pragma, a temporary table, view or trigger
    };
    StatementShape inspect(const QString& sql) const;
    // Rows changed by the last INSERT, UPDATE or DELETE.
    int changes() const;
    // The longest LIKE pattern, in bytes of UTF-8, the engine matches.
    int likePatternLimit() const;
    qint64 lastInsertRowId() const;

    // Whether a Transaction (or a savepoint in one) is open.
    bool inTransaction() const noexcept { return transactionDepth_ > 0; }
    // Runs `work` once no Transaction is open: at once when none is, else right after the
    // outermost one ends, committed or rolled back, or the connection closes with it open. For
    // what must not go with a command's rollback (a failure recorded in the error log while the
    // command's transaction was open). What `work` throws is dropped.
    void afterTransactions(std::function<void()> work);

    // Whether the engine has ended a transaction that a Transaction still holds open. A full
    // disk, an input/output error, running out of memory, a busy file or an interrupt may make it
    // roll back the whole transaction by itself (a one-row write that needs no statement journal
    // always does); the command's own guards learn of it only from here.
    bool transactionEndedByEngine() const noexcept;
    // Refuses, while transactionEndedByEngine(), a statement that would write (`sql`): it would
    // be stored on its own, outside the transaction its command believes it is in. Every
    // statement the connection lends asks before it steps (Statement::step). The refusal throws
    // the failure that made the engine roll back (noteFailure), so that the command shows and
    // logs that cause (a full disk and its folder), not the refusal that came of it; a
    // DatabaseError naming `sql` when none was noted.
    void refuseWriteWithoutTransaction(const QString& sql) const;
    // Notes `failure` of a statement of this connection as the cause of the engine's rollback
    // when it ended the transaction and no cause is noted yet; the note goes when the
    // outermost Transaction ends.
    void noteFailure(const SqliteError& failure) const noexcept;

    // For the dataset layer only.
    sqlite3* handle() const;      // DatabaseError when not connected
    void attach(DataSet* dataSet);
    void detach(DataSet* dataSet);
    // Transactions begun so far (savepoints too): what a dataset notes when an edit begins.
    quint64 transactionsBegun() const { return transactionsBegun_; }
    // Statements kept prepared between uses, so that a text run or opened again, by the same
    // query or another, is not prepared anew; each is lent as a StatementLease, which gives it
    // back. The 32 given back last stay; closing the connection finalises them. A kept statement
    // that the schema (or the authorizer) changed under is prepared again by the engine where it
    // next steps (Statement::reprepareCount).
    // The statement kept for `key` and `use`; an empty lease when none is.
    StatementLease keptStatement(const QString& key, StatementUse use = StatementUse::Run);
    // The statement kept for the text `sql`, or `sql` prepared (SqliteError as Statement's).
    StatementLease statement(const QString& sql);
    // `statement`, prepared by the caller, lent under `key` and `use`.
    StatementLease lease(std::unique_ptr<Statement> statement, const QString& key, StatementUse use);

    // Creates a new, empty database file (used by the build's schema tool and by tests;
    // the program itself never calls it). Fails when the file exists.
    static void createFile(const QString& path);

private:
    struct KeptStatement {
        QString key;
        StatementUse use;
        std::unique_ptr<Statement> statement;
    };
    QString file_;
    sqlite3* handle_ = nullptr;
    std::vector<DataSet*> dataSets_;
    static constexpr size_t keptStatementLimit = 32;
    std::vector<KeptStatement> kept_; // the one kept last at the end
    int transactionDepth_ = 0;
    quint64 transactionsBegun_ = 0; // Transactions begun (savepoints too) since the connection was made
    int sessionGuards_ = 0;                // SessionGuard instances alive
    mutable StatementShape* inspecting_ = nullptr; // the shape inspect() is noting
    // The failure that made the engine roll the open transaction back (noteFailure).
    mutable std::unique_ptr<SqliteError> rollbackCause_;
    std::vector<std::function<void()>> afterTransactions_; // work waiting for the outermost Transaction's end
    // No transaction is open any more: the cause of an earlier rollback goes, and the work
    // waiting for the end runs.
    void transactionsEnded() noexcept;
    void runAfterTransactions() noexcept; // the work waiting, each piece's failure dropped
    // A statement given back by its lease, kept unless one is kept for the key already or it was
    // prepared on a handle other than the open one; it must not allocate (see open()).
    void keepStatement(std::unique_ptr<Statement> statement, const QString& key, StatementUse use) noexcept;
    void rolledBack(quint64 transaction) noexcept; // datasets re-read what they hold (DataSet::resyncAfterRollback)
    void runKept(const QString& sql); // execute, through a kept statement (transaction control)
    void installAuthorizer() const noexcept; // the engine's check of statements being prepared
    static int authorize(void* connection, int action, const char*, const char*, const char* database, const char*);
    friend class Transaction;
    friend class SessionGuard;
    friend class StatementLease;
};

// While one lives, the connection refuses to prepare a statement that would change the session
// rather than the data: begin, end or nest a transaction, attach or detach a file, set a
// pragma, or make a temporary table, view or trigger. The engine refuses it (SqliteError with
// SQLITE_AUTH) before any of it takes effect. For statements typed by a user: some pragmas act
// while the statement is merely prepared (query_only makes every later write fail), and a
// temporary trigger or table outlives the statement and acts on, or stands in for, the books'
// tables until the program ends. Changes of the books' own tables and their schema (ALTER
// TABLE, whose renaming the engine also carries into the temporary schema) pass. The program's
// own transaction around such a statement begins before the guard is made and ends after it is
// gone.
class SessionGuard {
public:
    explicit SessionGuard(Connection& connection);
    ~SessionGuard();
    SessionGuard(const SessionGuard&) = delete;
    SessionGuard& operator=(const SessionGuard&) = delete;

private:
    Connection& connection_;
};

// Every command that writes more than one statement runs inside one of these. Nested guards
// become savepoints. The destructor rolls back unless commit() was called; it never throws.
// After a rollback every writable dataset on the connection re-reads its rows, so that rows
// posted inside the transaction do not stay on screen as if they were stored. Once the engine
// has rolled the transaction back by itself (Connection::transactionEndedByEngine), a command
// changes nothing more: until the outermost guard ends, every write, a nested guard and a commit
// are refused with a DatabaseError, and the guards' destructors leave the rollback to the
// engine's.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& connection_;
    int level_;
    quint64 number_ = 0; // Connection::transactionsBegun_ once it began
    bool done_ = false;
};

} // namespace lb::db
