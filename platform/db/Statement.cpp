// A prepared SQLite statement with RAII ownership and one error check.
#include "platform/db/Statement.h"

#include "platform/db/Connection.h"
#include "platform/db/FileFailures_p.h"
#include "platform/db/SqlText.h"
#include "platform/db/SqliteError.h"
#include "platform/sys/FileWrite.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <sqlite3.h>

namespace lb::db {

namespace {

QString fromUtf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

// SqliteError::systemError() of a failure with the result code `rc`, after the file noted for it
// as `failed`.
int systemError(int rc, sqlite3* db, const std::optional<FileFailures::Failed>& failed)
{
    // A file the engine could not make (its journal in a folder that may not be written) fails
    // as a file that would not open, or as a read-only database for a folder without the right
    // to write; the reason is the one noted when it failed to open.
    if (((rc & 0xff) == SQLITE_CANTOPEN || rc == SQLITE_READONLY_DIRECTORY) && failed && failed->code != 0)
        return failed->code;
    switch (rc & 0xff) {
    case SQLITE_FULL:
        return ENOSPC;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return db ? sqlite3_system_errno(db) : 0;
    default:
        return 0;
    }
}

// The cause of a failure with the system's error code `code` (SqliteError::cause): for a disk
// without room or a folder that may not be written (lb::FileFailure::ofWrite), the folder of the
// file whose write failed or which could not be made, or the engine's temporary folder when that
// was one of its temporary files; empty for any other failure.
QString fileCause(int code, sqlite3* db, const std::optional<FileFailures::Failed>& failed)
{
    if (code == 0)
        return QString();
    if (failed && failed->temporary) {
        const QString folder = FileFailures::temporaryFolder(db);
        return folder.isEmpty() ? QString() : FileWrite::failure(code, folder, QString(), FileWrite::Place::TemporaryFolder);
    }
    // With no file noted (no write failed: the engine found the limit before writing), the
    // books are named.
    const char* books = db ? sqlite3_db_filename(db, "main") : nullptr;
    const QString path = failed ? failed->path : QString::fromUtf8(books ? books : "");
    return path.isEmpty() ? QString() : FileWrite::failure(code, path, QString());
}

bool isIntegerType(int type)
{
    switch (type) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

} // namespace

void Statement::check(int rc, sqlite3* db, const QString& sql, const QString& params)
{
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE)
        return;
    QString message = db ? fromUtf8(sqlite3_errmsg(db)) : QString();
    if (message.isEmpty() || message == QLatin1String("not an error"))
        message = fromUtf8(sqlite3_errstr(rc));
    // Taken at every failure, so that a file noted for an earlier one is not named for this one.
    const std::optional<FileFailures::Failed> failed = FileFailures::take();
    const int code = systemError(rc, db, failed);
    throw SqliteError(rc, message, sql, params, code, fileCause(code, db, failed));
}

void Statement::check(int rc) const
{
    // The parameter text is only made for a failure: every bind and step passes through here.
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE)
        return;
    check(rc, db_, sql_, paramText());
}

Statement::Statement(sqlite3* db, const QString& sql, bool single)
    : db_(db), sql_(sql)
{
    const QByteArray text = sql.toUtf8();
    const char* tail = nullptr;
    check(sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt_, &tail), db, sql);
    if (!stmt_)
        throw SqliteError(SQLITE_MISUSE, QStringLiteral("The SQL text holds no statement"), sql, {});
    writes_ = sqlite3_stmt_readonly(stmt_) == 0;
    bound_.resize(size_t(sqlite3_bind_parameter_count(stmt_)));
    parameterNames_.resize(bound_.size());
    for (size_t i = 0; i < parameterNames_.size(); ++i) {
        const char* name = sqlite3_bind_parameter_name(stmt_, int(i + 1));
        if (name && *name != '?')
            parameterNames_[i] = QString::fromUtf8(name + 1);
    }
    if (single && tail && *tail) {
        // Whatever follows must prepare to nothing (blanks, semicolons, comments).
        sqlite3_stmt* rest = nullptr;
        const int rc = sqlite3_prepare_v2(db, tail, -1, &rest, nullptr);
        const bool more = rest != nullptr;
        sqlite3_finalize(rest);
        if (rc != SQLITE_OK || more) {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
            throw SqliteError(SQLITE_MISUSE, QStringLiteral("Only one statement can be run at a time"), sql, {});
        }
    }
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)), connection_(other.connection_), writes_(other.writes_),
      sql_(std::move(other.sql_)),
      bound_(std::move(other.bound_)), parameterNames_(std::move(other.parameterNames_))
{
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = other.db_;
        stmt_ = std::exchange(other.stmt_, nullptr);
        connection_ = other.connection_;
        writes_ = other.writes_;
        sql_ = std::move(other.sql_);
        bound_ = std::move(other.bound_);
        parameterNames_ = std::move(other.parameterNames_);
    }
    return *this;
}

bool isNumberValue(const QVariant& value)
{
    const int type = value.typeId();
    return isIntegerType(type) || type == QMetaType::Double || type == QMetaType::Float;
}

QVariant sqlValue(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return qint64(value.toBool() ? 1 : 0);
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    case QMetaType::QByteArray:
        return value;
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        return isIntegerType(value.typeId()) ? QVariant(value.toLongLong()) : QVariant(value.toString());
    }
}

QString sqlValueText(const QVariant& value)
{
    const QVariant bound = sqlValue(value);
    switch (bound.typeId()) {
    case QMetaType::UnknownType:
        return QStringLiteral("NULL");
    case QMetaType::LongLong:
        return QString::number(bound.toLongLong());
    case QMetaType::Double:
        return QString::number(bound.toDouble(), 'g', 17);
    default:
        return QLatin1Char('\'') + bound.toString() + QLatin1Char('\'');
    }
}

void Statement::bind(int index, const QVariant& value)
{
    if (index >= 1 && size_t(index) <= bound_.size())
        bound_[size_t(index - 1)] = value;
    const QVariant bound = sqlValue(value);
    int rc = SQLITE_OK;
    switch (bound.typeId()) {
    case QMetaType::UnknownType:
        rc = sqlite3_bind_null(stmt_, index);
        break;
    case QMetaType::LongLong:
        rc = sqlite3_bind_int64(stmt_, index, bound.toLongLong());
        break;
    case QMetaType::Double:
        rc = sqlite3_bind_double(stmt_, index, bound.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = bound.toByteArray();
        rc = sqlite3_bind_blob64(stmt_, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray utf8 = bound.toString().toUtf8();
        rc = sqlite3_bind_text64(stmt_, index, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
        break;
    }
    }
    check(rc);
}

void Statement::bindAll(const std::vector<std::pair<QString, QVariant>>& params)
{
    sqlite3_clear_bindings(stmt_); // a statement run again binds afresh
    std::fill(bound_.begin(), bound_.end(), QVariant());
    for (size_t i = 0; i < parameterNames_.size(); ++i) {
        const QString& name = parameterNames_[i];
        if (name.isEmpty())
            continue;
        for (const auto& [key, value] : params) {
            if (SqlText::sameName(key, name)) {
                bind(int(i + 1), value);
                break;
            }
        }
    }
}

int Statement::parameterCount() const
{
    return sqlite3_bind_parameter_count(stmt_);
}

int Statement::parameterIndex(const QString& name) const
{
    if (name.isEmpty())
        return 0;
    for (size_t i = 0; i < parameterNames_.size(); ++i) {
        const QString& known = parameterNames_[i];
        // Shared text is never changed in place: the same characters are the same name.
        if (known.constData() == name.constData() && known.size() == name.size())
            return int(i + 1);
    }
    for (size_t i = 0; i < parameterNames_.size(); ++i) {
        if (!parameterNames_[i].isEmpty() && SqlText::sameName(parameterNames_[i], name)) {
            parameterNames_[i] = name;
            return int(i + 1);
        }
    }
    return 0;
}

bool Statement::hasNamedParameters() const
{
    return std::any_of(parameterNames_.begin(), parameterNames_.end(), [](const QString& name) { return !name.isEmpty(); });
}

bool Statement::step()
{
    if (writes_ && connection_)
        connection_->refuseWriteWithoutTransaction(sql_);
    const int rc = sqlite3_step(stmt_);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE && connection_) {
        try {
            check(rc);
        } catch (const SqliteError& failure) {
            // The first failure of a transaction the engine then rolled back is what the
            // command's later writes are refused with.
            connection_->noteFailure(failure);
            throw;
        }
    }
    check(rc);
    return rc == SQLITE_ROW;
}

void Statement::run()
{
    while (step()) {
    }
}

void Statement::reset()
{
    check(sqlite3_reset(stmt_));
}

void Statement::resetQuietly() noexcept
{
    sqlite3_reset(stmt_);
}

void Statement::clear() noexcept
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    std::fill(bound_.begin(), bound_.end(), QVariant());
}

int Statement::reprepareCount() const
{
    return sqlite3_stmt_status(stmt_, SQLITE_STMTSTATUS_REPREPARE, 0);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int column) const
{
    return fromUtf8(sqlite3_column_name(stmt_, column));
}

QString Statement::declaredType(int column) const
{
    return fromUtf8(sqlite3_column_decltype(stmt_, column));
}

QString Statement::tableName(int column) const
{
    return fromUtf8(sqlite3_column_table_name(stmt_, column));
}

QString Statement::originName(int column) const
{
    return fromUtf8(sqlite3_column_origin_name(stmt_, column));
}

QString Statement::databaseName(int column) const
{
    return fromUtf8(sqlite3_column_database_name(stmt_, column));
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, column));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)),
                                          sqlite3_column_bytes(stmt_, column)));
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(stmt_, column);
        return QVariant(QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt_, column)));
    }
    default:
        return QVariant();
    }
}

std::optional<qint64> Statement::integer(int column) const
{
    sqlite3_value* value = sqlite3_column_value(stmt_, column);
    if (sqlite3_value_type(value) == SQLITE_NULL)
        return std::nullopt;
    return qint64(sqlite3_value_int64(value));
}

QString Statement::paramText() const
{
    QStringList parts;
    for (size_t i = 0; i < bound_.size(); ++i) {
        QString name = stmt_ ? fromUtf8(sqlite3_bind_parameter_name(stmt_, int(i + 1))) : QString();
        if (name.isEmpty())
            name = QStringLiteral("?%1").arg(i + 1);
        parts << name + QLatin1Char('=') + sqlValueText(bound_[i]);
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace lb::db
