// The one database connection: an SQLite file opened read-write, never created.
#pragma once

#include <QString>
#include <memory>
#include <vector>

struct sqlite3;

namespace lb::db {

class DataSet;

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
    // write). Registers the "GBK" collation (pinyin order, Latin letters without case). Does nothing when connected.
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
    // RELEASE), and whether it attaches or detaches a database file. SqliteError when the first
    // statement does not prepare (a syntax error, a missing table).
    struct StatementShape {
        bool severalStatements = false;
        int parameters = 0;
        bool controlsTransactions = false;
        bool attachesFiles = false;
    };
    StatementShape inspect(const QString& sql) const;
    // Rows changed by the last INSERT, UPDATE or DELETE.
    int changes() const;
    // The longest LIKE pattern, in bytes of UTF-8, the engine matches.
    int likePatternLimit() const;
    qint64 lastInsertRowId() const;

    // For the dataset layer only.
    sqlite3* handle() const;      // DatabaseError when not connected
    void attach(DataSet* dataSet);
    void detach(DataSet* dataSet);

    // Creates a new, empty database file (used by the build's schema tool and by tests;
    // the program itself never calls it). Fails when the file exists.
    static void createFile(const QString& path);

private:
    QString file_;
    sqlite3* handle_ = nullptr;
    std::vector<DataSet*> dataSets_;
    int transactionDepth_ = 0;
    void rolledBack() noexcept; // datasets re-read what they hold
    friend class Transaction;
};

// Every command that writes more than one statement runs inside one of these. Nested guards
// become savepoints. The destructor rolls back unless commit() was called; it never throws.
// After a rollback every writable dataset on the connection re-reads its rows, so that rows
// posted inside the transaction do not stay on screen as if they were stored.
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
    bool done_ = false;
};

} // namespace lb::db
