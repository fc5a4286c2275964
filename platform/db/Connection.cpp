// The one database connection and the transaction guard.
#include "platform/db/Connection.h"

#include "platform/db/DataSet.h"
#include "platform/db/FileFailures_p.h"
#include "platform/db/Statement.h"
#include "platform/db/SqliteError.h"
#include "platform/sys/Gbk.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>
#include <utility>

namespace lb::db {

namespace {

// Names and codes in the order users of a GBK system expect: Chinese by pinyin (the order of
// the GBK codes), Latin letters without regard to case.
int gbkCollation(void*, int aLength, const void* a, int bLength, const void* b)
{
    return Gbk::compareUtf8(static_cast<const char*>(a), aLength, static_cast<const char*>(b), bLength,
                            Gbk::LatinCase::Ignore);
}

// Another program (a copy being made, a compaction) may hold the file for a moment.
constexpr int busyTimeoutMs = 5000;

// What a statement being prepared would do to the session rather than to the data.
enum class SessionChange { None, Transactions, Files, Settings };

// `database` is the schema the action works in.
SessionChange sessionChangeOf(int action, const char* database)
{
    switch (action) {
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT: return SessionChange::Transactions;
    case SQLITE_ATTACH:
    case SQLITE_DETACH: return SessionChange::Files;
    case SQLITE_PRAGMA: return SessionChange::Settings;
    case SQLITE_INSERT:
    case SQLITE_DELETE:
        // Making a temporary table, view, index or trigger adds a row to the temporary schema's
        // own table, however the statement names it ("create temp", "create trigger temp.t on
        // a table of the books"); dropping one removes it. An UPDATE there is the engine's own
        // work for an ALTER TABLE of the books (renaming a table or column, dropping a column
        // also rewrites what temporary triggers and views say of it), which is no change of
        // the session (the program makes no temporary object of its own to update).
        return database && std::strcmp(database, "temp") == 0 ? SessionChange::Settings : SessionChange::None;
    default: return SessionChange::None;
    }
}

} // namespace

Connection::Connection() = default;

Connection::~Connection()
{
    try {
        close();
    } catch (...) {
        // A destructor must not throw; closing datasets only discards memory.
    }
    // Datasets that are Qt children of the connection's owner die after it.
    for (DataSet* dataSet : dataSets_)
        dataSet->attached_ = false;
}

void Connection::open()
{
    if (handle_)
        return;
    if (file_.isEmpty() || !QFileInfo(file_).isFile())
        throw DatabaseError(QStringLiteral("Database file not found: %1").arg(file_));
    sqlite3* db = nullptr;
    const QByteArray path = file_.toUtf8();
    // The connection and its datasets are used from one thread only, so the engine's lock
    // around every call on the connection (several per column of every row a dataset loads)
    // is left out.
    const int rc = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, FileFailures::vfsName());
    try {
        Statement::check(rc, db, QStringLiteral("open %1").arg(file_));
        Statement::check(sqlite3_extended_result_codes(db, 1), db);
        Statement::check(sqlite3_busy_timeout(db, busyTimeoutMs), db);
        // A double-quoted name the engine does not know would otherwise be read as a text: a
        // column renamed or dropped under an open dataset would come back as its own name in
        // every row (0 in a number field), not as an error. Texts are written in single quotes.
        Statement::check(sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr), db);
        Statement::check(sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr), db);
        Statement::check(sqlite3_create_collation_v2(db, "GBK", SQLITE_UTF8, nullptr, gbkCollation, nullptr), db);
        // Reading the schema fails here, not at the first query, when the file is no database.
        Statement(db, QStringLiteral("SELECT count(*) FROM sqlite_master")).run();
        // The engine falls back to reading a file it may not write; a run on such a file would
        // take the user's entries and then fail to store every one of them.
        if (sqlite3_db_readonly(db, "main") == 1)
            throw DatabaseError(QStringLiteral("Database file cannot be written: %1").arg(file_));
        // A rollback journal keeps every committed change inside the one file, which backups
        // and year-end copies take as it is.
        Statement(db, QStringLiteral("PRAGMA journal_mode = DELETE")).run();
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    // keepStatement must not allocate: it runs where nothing may throw.
    kept_.reserve(keptStatementLimit + 1);
    handle_ = db;
    transactionsEnded();
    installAuthorizer();
}

void Connection::close()
{
    if (!handle_)
        return;
    const std::vector<DataSet*> dataSets = dataSets_;
    for (DataSet* dataSet : dataSets) {
        dataSet->close();
        dataSet->releaseStatements();
    }
    // Statements live only as long as the calls and datasets that use them and the store of
    // kept ones, so the handle closes at once; an open transaction is rolled back by the engine.
    kept_.clear();
    sqlite3_close_v2(handle_);
    handle_ = nullptr;
    transactionsEnded();
}

void Connection::execute(const QString& sql)
{
    Statement statement(handle(), sql);
    statement.keepToTransactionsOf(this);
    statement.run();
}

void Connection::runKept(const QString& sql)
{
    statement(sql)->run();
}

Connection::StatementShape Connection::inspect(const QString& sql) const
{
    StatementShape shape;
    sqlite3* db = handle();
    const QByteArray text = sql.toUtf8();
    const char* tail = nullptr;
    sqlite3_stmt* first = nullptr;
    sqlite3_stmt* rest = nullptr;
    // Every statement of the text is prepared while the shape is noted, the text after the
    // first too: a change of the session is noted and left out of the statement.
    inspecting_ = &shape;
    installAuthorizer();
    const int prepared = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &first, &tail);
    // Whatever follows must prepare to nothing; text that does not prepare is more text too.
    const int restPrepared = prepared == SQLITE_OK && tail && *tail ? sqlite3_prepare_v2(db, tail, -1, &rest, nullptr) : SQLITE_OK;
    inspecting_ = nullptr;
    installAuthorizer();
    shape.severalStatements = restPrepared != SQLITE_OK || rest != nullptr;
    shape.parameters = first ? sqlite3_bind_parameter_count(first) : 0;
    sqlite3_finalize(rest);
    sqlite3_finalize(first);
    Statement::check(prepared, db, sql);
    // A statement whose change of the session was left out may prepare to nothing.
    if (!first && !shape.controlsTransactions && !shape.attachesFiles && !shape.changesSession)
        throw SqliteError(SQLITE_MISUSE, QStringLiteral("The SQL text holds no statement"), sql, {});
    return shape;
}

int Connection::changes() const
{
    return sqlite3_changes(handle());
}

int Connection::likePatternLimit() const
{
    return sqlite3_limit(handle(), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1);
}

qint64 Connection::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(handle());
}

bool Connection::transactionEndedByEngine() const noexcept
{
    return transactionDepth_ > 0 && handle_ && sqlite3_get_autocommit(handle_) != 0;
}

void Connection::refuseWriteWithoutTransaction(const QString& sql) const
{
    if (!transactionEndedByEngine())
        return;
    if (rollbackCause_)
        throw SqliteError(*rollbackCause_);
    throw DatabaseError(QStringLiteral("The engine has rolled back this command's transaction after a failure; "
                                       "nothing more is written until the command ends: %1")
                            .arg(sql));
}

void Connection::noteFailure(const SqliteError& failure) const noexcept
{
    if (rollbackCause_ || !transactionEndedByEngine())
        return;
    try {
        rollbackCause_ = std::make_unique<SqliteError>(failure);
    } catch (...) {
        // Without the note the refusal names itself; the failure itself was thrown all the same.
    }
}

void Connection::afterTransactions(std::function<void()> work)
{
    afterTransactions_.push_back(std::move(work));
    if (transactionDepth_ == 0)
        runAfterTransactions();
}

void Connection::transactionsEnded() noexcept
{
    transactionDepth_ = 0;
    rollbackCause_.reset();
    runAfterTransactions();
}

void Connection::runAfterTransactions() noexcept
{
    // The work may begin transactions of its own, and ask for more work after them.
    std::vector<std::function<void()>> waiting;
    waiting.swap(afterTransactions_);
    for (const std::function<void()>& work : waiting) {
        try {
            work();
        } catch (...) {
            // Documented: whoever waited keeps its own fallback.
        }
    }
}

sqlite3* Connection::handle() const
{
    if (!handle_)
        throw DatabaseError(QStringLiteral("Connection is not open"));
    return handle_;
}

void Connection::attach(DataSet* dataSet)
{
    if (std::find(dataSets_.begin(), dataSets_.end(), dataSet) == dataSets_.end())
        dataSets_.push_back(dataSet);
}

void Connection::detach(DataSet* dataSet)
{
    dataSets_.erase(std::remove(dataSets_.begin(), dataSets_.end(), dataSet), dataSets_.end());
}

StatementLease Connection::keptStatement(const QString& key, StatementUse use)
{
    for (auto kept = kept_.rbegin(); kept != kept_.rend(); ++kept) {
        if (kept->use == use && kept->key == key) {
            std::unique_ptr<Statement> statement = std::move(kept->statement);
            kept_.erase(std::next(kept).base());
            return StatementLease(*this, key, use, std::move(statement));
        }
    }
    return {};
}

StatementLease Connection::statement(const QString& sql)
{
    StatementLease kept = keptStatement(sql);
    return kept ? std::move(kept) : lease(std::make_unique<Statement>(handle(), sql), sql, StatementUse::Run);
}

StatementLease Connection::lease(std::unique_ptr<Statement> statement, const QString& key, StatementUse use)
{
    return StatementLease(*this, key, use, std::move(statement));
}

void Connection::keepStatement(std::unique_ptr<Statement> statement, const QString& key, StatementUse use) noexcept
{
    if (!statement || !handle_ || sqlite3_db_handle(statement->handle()) != handle_)
        return;
    for (const KeptStatement& kept : kept_) {
        if (kept.use == use && kept.key == key)
            return;
    }
    statement->clear();
    if (kept_.size() == keptStatementLimit)
        kept_.erase(kept_.begin()); // the one unused longest
    kept_.push_back(KeptStatement{key, use, std::move(statement)}); // within the capacity reserved
}

StatementLease::StatementLease(Connection& connection, QString key, StatementUse use, std::unique_ptr<Statement> statement)
    : connection_(&connection), key_(std::move(key)), use_(use), statement_(std::move(statement))
{
    statement_->keepToTransactionsOf(connection_);
}

StatementLease::~StatementLease()
{
    giveBack();
}

StatementLease::StatementLease(StatementLease&& other) noexcept
    : connection_(std::exchange(other.connection_, nullptr)), key_(std::move(other.key_)), use_(other.use_),
      statement_(std::move(other.statement_)), keep_(std::exchange(other.keep_, true))
{
}

StatementLease& StatementLease::operator=(StatementLease&& other) noexcept
{
    if (this != &other) {
        giveBack();
        connection_ = std::exchange(other.connection_, nullptr);
        key_ = std::move(other.key_);
        use_ = other.use_;
        statement_ = std::move(other.statement_);
        keep_ = std::exchange(other.keep_, true);
    }
    return *this;
}

void StatementLease::giveBack() noexcept
{
    if (statement_ && keep_)
        connection_->keepStatement(std::move(statement_), key_, use_);
    statement_.reset();
    connection_ = nullptr;
    keep_ = true;
}

void Connection::createFile(const QString& path)
{
    if (QFileInfo::exists(path))
        throw DatabaseError(QStringLiteral("Database file already exists: %1").arg(path));
    sqlite3* db = nullptr;
    const QByteArray name = path.toUtf8();
    const int rc = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    try {
        Statement::check(rc, db, QStringLiteral("create %1").arg(path));
        // Writing the header makes the file a database at once rather than on first use.
        Statement(db, QStringLiteral("PRAGMA user_version = 0")).run();
        Statement(db, QStringLiteral("VACUUM")).run();
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    sqlite3_close_v2(db);
}

Transaction::Transaction(Connection& connection)
    : connection_(connection), level_(connection.transactionDepth_ + 1)
{
    const QString begin = level_ == 1 ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("SAVEPOINT lb_sp%1").arg(level_);
    // A savepoint outside any transaction would begin a new one, which its release would commit.
    connection_.refuseWriteWithoutTransaction(begin);
    connection_.runKept(begin);
    connection_.transactionDepth_ = level_;
    number_ = ++connection_.transactionsBegun_;
}

void Transaction::commit()
{
    if (done_)
        return;
    if (connection_.transactionDepth_ != level_)
        throw DatabaseError(QStringLiteral("A nested transaction is still open"));
    const QString end = level_ == 1 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE lb_sp%1").arg(level_);
    connection_.refuseWriteWithoutTransaction(end);
    connection_.runKept(end);
    done_ = true;
    connection_.transactionDepth_ = level_ - 1;
    if (level_ == 1)
        connection_.transactionsEnded();
}

Transaction::~Transaction()
{
    if (done_ || !connection_.connected() || connection_.transactionDepth_ < level_)
        return;
    // Where the engine has rolled back already, nothing is left to undo, not even the savepoint.
    if (!connection_.transactionEndedByEngine()) {
        sqlite3* db = connection_.handle_;
        // Errors are ignored on purpose: a failing rollback leaves nothing better to do here, and
        // the engine rolls back an unfinished transaction when the connection closes.
        if (level_ == 1) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        } else {
            const QByteArray name = QStringLiteral("lb_sp%1").arg(level_).toUtf8();
            sqlite3_exec(db, ("ROLLBACK TO " + name).constData(), nullptr, nullptr, nullptr);
            sqlite3_exec(db, ("RELEASE " + name).constData(), nullptr, nullptr, nullptr);
        }
    }
    connection_.transactionDepth_ = level_ - 1;
    // The datasets show what is stored before the work that waited for the end runs.
    connection_.rolledBack(number_);
    if (level_ == 1)
        connection_.transactionsEnded();
}

void Connection::installAuthorizer() const noexcept
{
    if (!handle_)
        return;
    if (inspecting_ || sessionGuards_ > 0)
        sqlite3_set_authorizer(handle_, authorize, const_cast<Connection*>(this));
    else
        sqlite3_set_authorizer(handle_, nullptr, nullptr);
}

int Connection::authorize(void* connection, int action, const char*, const char*, const char* database, const char*)
{
    auto* self = static_cast<Connection*>(connection);
    const SessionChange change = sessionChangeOf(action, database);
    if (change == SessionChange::None)
        return SQLITE_OK;
    if (StatementShape* shape = self->inspecting_) {
        shape->controlsTransactions |= change == SessionChange::Transactions;
        shape->attachesFiles |= change == SessionChange::Files;
        shape->changesSession |= change == SessionChange::Settings;
        // Inspecting runs nothing: the change is left out of the statement.
        return SQLITE_IGNORE;
    }
    return SQLITE_DENY;
}

SessionGuard::SessionGuard(Connection& connection) : connection_(connection)
{
    ++connection_.sessionGuards_;
    connection_.installAuthorizer();
}

SessionGuard::~SessionGuard()
{
    --connection_.sessionGuards_;
    connection_.installAuthorizer();
}

void Connection::rolledBack(quint64 transaction) noexcept
{
    const std::vector<DataSet*> dataSets = dataSets_;
    for (DataSet* dataSet : dataSets)
        dataSet->resyncAfterRollback(transaction);
}

} // namespace lb::db
