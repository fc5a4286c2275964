// A prepared SQLite statement: prepared in the constructor, finalized in the destructor, movable.
#pragma once

#include <QString>
#include <QVariant>
#include <optional>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace lb::db {

class Connection;

class Statement {
public:
    // Prepares the first statement of `sql`. With `single` set, text after it other than
    // blanks, semicolons and comments raises DatabaseError. Throws SqliteError on a bad text.
    Statement(sqlite3* db, const QString& sql, bool single = true);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binding. Null/invalid binds NULL, bool 0/1, QDate 'yyyy-MM-dd',
    // QDateTime 'yyyy-MM-dd HH:mm:ss', numbers as numbers, everything else as text.
    void bind(int index, const QVariant& value); // 1-based
    // Binds every parameter the text names (":name") from `params`, matching names
    // case-insensitively; a parameter missing from the list stays NULL.
    void bindAll(const std::vector<std::pair<QString, QVariant>>& params);
    int parameterCount() const;
    // The 1-based index of the parameter the text calls `name` (written there after its ':', '@'
    // or '$'), the name compared without case as a query's parameters are; 0 when there is
    // none. The names are read once, when the statement is prepared, and a name given again as
    // the same shared text (a literal, or a copy of the string given before) is recognised by
    // where its characters lie: a statement run once per row finds its names at no cost.
    int parameterIndex(const QString& name) const;
    // Whether the text calls any parameter by a name, rather than "?" or "?NNN".
    bool hasNamedParameters() const;

    // The connection whose transactions the statement keeps to: while the engine has ended a
    // transaction the connection's Transaction still holds open, a statement that would write
    // is refused before it steps (Connection::refuseWriteWithoutTransaction). Set by the
    // connection that lends the statement; null (nothing refused) for one made and run apart.
    // A failure of the statement is noted there too (Connection::noteFailure).
    void keepToTransactionsOf(const Connection* connection) { connection_ = connection; }

    // Steps once: true when a row is ready, false when done.
    bool step();
    // Steps to the end, for statements that return no rows.
    void run();
    // Rewinds the statement to run it again, its bound values kept; SqliteError with the failure
    // of its last step, if that failed.
    void reset();
    // Makes a kept statement ready for binding again whatever its last step did (that step
    // reported its own failure), and ends a read left on a row.
    void resetQuietly() noexcept;
    // resetQuietly, and every parameter unbound: for a statement put aside for a later user,
    // which must not keep pointers to values its last user bound without copying them.
    void clear() noexcept;
    // How many times the engine has prepared the statement again by itself (after a change of
    // the schema, of the authorizer, or of a value the plan depends on): what it returns may
    // have changed since its columns were last looked at.
    int reprepareCount() const;

    int columnCount() const;
    QString columnName(int column) const;
    QString declaredType(int column) const;  // empty for expressions
    QString tableName(int column) const;     // origin table; empty for expressions
    QString originName(int column) const;    // origin column; empty for expressions
    QString databaseName(int column) const;
    // The value of a column of the current row: qint64, double, QString, QByteArray, or an
    // invalid QVariant for NULL.
    QVariant value(int column) const;
    // An integer column of the current row (a rowid) without making a QVariant; nothing for NULL.
    std::optional<qint64> integer(int column) const;

    const QString& sql() const { return sql_; }
    // For reading rows without conversions (RowValues); owned by the statement.
    sqlite3_stmt* handle() const { return stmt_; }
    // Raises SqliteError for a failing return code `rc` of a call on `db`, naming the SQL and
    // the parameter text. The one place where SQLite return codes turn into exceptions.
    static void check(int rc, sqlite3* db, const QString& sql = {}, const QString& params = {});

private:
    void check(int rc) const;
    QString paramText() const;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    const Connection* connection_ = nullptr;
    bool writes_ = false; // whether stepping it may change the database
    QString sql_;
    std::vector<QVariant> bound_; // for error messages
    // Per parameter (index - 1), its name without the ':', '@' or '$'; null for "?" and "?NNN".
    // A name found by comparing is replaced by the string it was found with (parameterIndex).
    mutable std::vector<QString> parameterNames_;
};

// What a value binds as: an invalid QVariant for NULL, qint64 for integers and Booleans (0/1),
// double, QByteArray, or QString (QDate as 'yyyy-MM-dd', QDateTime as 'yyyy-MM-dd HH:mm:ss').
QVariant sqlValue(const QVariant& value);
// Whether a value is of one of Qt's integer or floating-point types (a bool is not).
bool isNumberValue(const QVariant& value);
// The text form of a value as it binds, for messages.
QString sqlValueText(const QVariant& value);

} // namespace lb::db
