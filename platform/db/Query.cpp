// A query dataset: SQL lines, named parameters, statements, master-detail following.
#include "platform/db/Query.h"

#include "platform/db/Connection.h"
#include "platform/db/SqlText.h"
#include "platform/db/Statement.h"
#include "platform/sys/Errors.h"

#include <algorithm>
#include <sqlite3.h>

namespace lb::db {

void SqlLines::clear()
{
    lines_.clear();
    owner_.sqlChanged();
}

void SqlLines::add(const QString& line)
{
    lines_ << line;
    owner_.sqlChanged();
}

void SqlLines::setText(const QString& text)
{
    lines_ = text.split(QLatin1Char('\n'));
    owner_.sqlChanged();
}

Query::Query(Connection& connection, QObject* parent)
    : DataSet(connection, parent), sql_(*this)
{
}

Query::~Query()
{
    setMasterSource(nullptr);
}

void Query::reopen(const QString& text)
{
    close();
    sql_.setText(text);
    open();
}

void Query::sqlChanged()
{
    close();
    exec_.giveBack();
    // Values of parameters whose names stay in the text are kept.
    std::map<QString, Param> params;
    for (const QString& name : SqlText::parameterNames(sql_.text())) {
        const QString key = name.toLower();
        const auto old = params_.find(key);
        params[key] = old == params_.end() ? Param() : old->second;
    }
    params_ = std::move(params);
}

Param& Query::paramByName(const QString& name)
{
    const auto found = params_.find(name.toLower());
    if (found == params_.end())
        throw DatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
    return found->second;
}

QStringList Query::paramNames() const
{
    return SqlText::parameterNames(sql_.text());
}

Statement& Query::execStatement()
{
    if (!exec_)
        exec_ = connection().statement(sql_.text());
    return *exec_;
}

int Query::run(Statement& statement)
{
    sqlite3* db = connection().handle();
    const sqlite3_int64 before = sqlite3_total_changes64(db);
    statement.run();
    return int(sqlite3_total_changes64(db) - before);
}

int Query::execSQL()
{
    const auto fromMaster = masterValues();
    for (const auto& [key, param] : params_) {
        const bool linked = std::any_of(fromMaster.begin(), fromMaster.end(), [&](const auto& item) { return item.first == key; });
        if (!param.given() && !linked)
            throw DatabaseError(QStringLiteral("Parameter '%1' is given no value: %2").arg(key, sql_.text()));
    }
    Statement& statement = execStatement();
    statement.resetQuietly();
    statement.bindAll(source().params);
    return run(statement);
}

namespace {

// Binds the value of `field` as it was read. Its bytes stay where they lie while the statement
// runs, and every run binds each parameter afresh: the engine need not copy them.
void bindAsRead(Statement& statement, int index, const Field& field)
{
    const RowValues::Stored cell = field.stored();
    sqlite3_stmt* stmt = statement.handle();
    int rc = SQLITE_OK;
    switch (cell.kind) {
    case RowValues::Stored::Null:
        rc = sqlite3_bind_null(stmt, index);
        break;
    case RowValues::Stored::Integer:
        rc = sqlite3_bind_int64(stmt, index, cell.integer);
        break;
    case RowValues::Stored::Real:
        rc = sqlite3_bind_double(stmt, index, cell.real);
        break;
    case RowValues::Stored::Text:
        rc = sqlite3_bind_text64(stmt, index, cell.utf8, sqlite3_uint64(cell.bytes), SQLITE_STATIC, SQLITE_UTF8);
        break;
    case RowValues::Stored::Blob:
        rc = sqlite3_bind_blob64(stmt, index, cell.utf8, sqlite3_uint64(cell.bytes), SQLITE_STATIC);
        break;
    case RowValues::Stored::Other:
        statement.bind(index, field.value());
        break;
    }
    if (rc != SQLITE_OK)
        Statement::check(rc, sqlite3_db_handle(stmt), statement.sql());
}

} // namespace

int Query::execSQL(const std::vector<NamedValue>& values)
{
    Statement& statement = execStatement();
    if (qsizetype(values.size()) != statement.parameterCount())
        throw DatabaseError(QStringLiteral("%1 values for the %2 parameters of: %3")
                                .arg(values.size())
                                .arg(statement.parameterCount())
                                .arg(sql_.text()));
    statement.resetQuietly();
    // As many values as parameters, none given two: every parameter has its value.
    named_.assign(values.size(), false);
    for (const NamedValue& value : values) {
        const int index = statement.parameterIndex(value.name);
        if (index == 0)
            throw DatabaseError(QStringLiteral("Parameter '%1' not found").arg(value.name));
        if (named_[size_t(index - 1)])
            throw DatabaseError(QStringLiteral("Parameter '%1' is given two values: %2").arg(value.name, sql_.text()));
        named_[size_t(index - 1)] = true;
        if (value.field)
            bindAsRead(statement, index, *value.field);
        else
            statement.bind(index, value.value);
    }
    return run(statement);
}

int Query::execSQL(const std::vector<const Field*>& fields, const QVariantList& values)
{
    Statement& statement = execStatement();
    if (statement.hasNamedParameters())
        throw DatabaseError(QStringLiteral("Parameters called by name are bound by name: %1").arg(sql_.text()));
    if (qsizetype(fields.size()) + values.size() != statement.parameterCount())
        throw DatabaseError(QStringLiteral("%1 values for the %2 parameters of: %3")
                                .arg(qsizetype(fields.size()) + values.size())
                                .arg(statement.parameterCount())
                                .arg(sql_.text()));
    statement.resetQuietly();
    int index = 0;
    for (const Field* field : fields)
        bindAsRead(statement, ++index, *field);
    for (const QVariant& value : values)
        statement.bind(++index, value);
    return run(statement);
}

void Query::releaseStatements() noexcept
{
    DataSet::releaseStatements();
    exec_.giveBack();
}

void Query::setMasterSource(DataSet* master)
{
    if (master_)
        master_->removeFollower(masterLink_);
    masterLink_ = 0;
    master_ = master;
    if (!master)
        return;
    // A reopened or refreshed master reloads the details even for the same key (they may have
    // been changed by statements); a move or an edit of the master only when the key changed.
    masterLink_ = master->addFollower([this](bool reopened) { masterMoved(reopened); });
}

std::vector<std::pair<QString, QVariant>> Query::masterValues() const
{
    std::vector<std::pair<QString, QVariant>> values;
    if (!master_)
        return values;
    const bool onRow = master_->active() && !master_->isEmpty();
    for (const auto& entry : params_) {
        if (Field* field = master_->findField(entry.first))
            values.emplace_back(entry.first, onRow ? field->value() : QVariant());
    }
    return values;
}

void Query::masterMoved(bool force)
{
    if (!active())
        return;
    if (!force && masterValues() == usedMasterValues_)
        return;
    checkBrowse();
    close();
    open();
}

DataSet::Source Query::source() const
{
    Source result;
    result.sql = sql_.text();
    const auto fromMaster = masterValues();
    for (const auto& [key, param] : params_) {
        const auto linked = std::find_if(fromMaster.begin(), fromMaster.end(), [&](const auto& item) { return item.first == key; });
        result.params.emplace_back(key, linked == fromMaster.end() ? param.value() : linked->second);
    }
    usedMasterValues_ = fromMaster;
    return result;
}

} // namespace lb::db
