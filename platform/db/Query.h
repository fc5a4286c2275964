// A query dataset: SQL as lines, named parameters :p1, :p2, ..., Open for rows, ExecSQL for statements.
#pragma once

#include "platform/db/DataSet.h"

#include <QDate>
#include <QPointer>
#include <QStringList>
#include <map>

namespace lb::db {

class Query;

// The SQL text of a query, kept as lines; any change closes the query.
class SqlLines {
public:
    explicit SqlLines(Query& owner) : owner_(owner) {}
    void clear();
    void add(const QString& line);
    void setText(const QString& text); // replaces all lines
    QString text() const { return lines_.join(QLatin1Char('\n')); }
    const QStringList& lines() const { return lines_; }

private:
    Query& owner_;
    QStringList lines_;
};

// A parameter value; dates bind as 'yyyy-MM-dd' text, Booleans as 0/1, an invalid QVariant as
// NULL.
class Param {
public:
    void setValue(const QVariant& value)
    {
        value_ = value;
        given_ = true;
    }
    void setAsString(const QString& value) { setValue(value); }
    void setAsFloat(double value) { setValue(value); }
    void setAsInteger(qint64 value) { setValue(value); }
    void setAsBoolean(bool value) { setValue(value); }
    void setAsDate(const QDate& value) { setValue(value); }
    const QVariant& value() const { return value_; }
    // Whether it was given a value (NULL given on purpose, setValue(QVariant()), included).
    bool given() const { return given_; }

private:
    QVariant value_;
    bool given_ = false;
};

// A value for the parameter that a statement's text calls `name` (written there after its ':'):
// a value, or the value of a field of another dataset's current row, bound as it was read
// (unconverted, its bytes where they lie while the statement runs).
struct NamedValue {
    NamedValue(QString name, QVariant value) : name(std::move(name)), value(std::move(value)) {}
    NamedValue(QString name, const Field& field) : name(std::move(name)), field(&field) {}
    QString name;
    QVariant value;
    const Field* field = nullptr; // when set, bound instead of `value`
};

class Query : public DataSet {
    Q_OBJECT
public:
    explicit Query(Connection& connection, QObject* parent = nullptr);
    ~Query() override;

    SqlLines& sql() { return sql_; }
    const SqlLines& sql() const { return sql_; }
    // Shorthand: close, replace the text, open.
    void reopen(const QString& text);

    // Parameters named in the SQL text (":name" outside quotes). ParamByName of a name that
    // the text does not hold raises DatabaseError "Parameter 'x' not found".
    Param& paramByName(const QString& name);
    QStringList paramNames() const;

    // Runs the text as one statement (no rows). Returns the rows changed. The statement stays
    // prepared until the text changes, so a command running it once per row with other
    // parameter values prepares it once; then the connection keeps it for the next query that
    // runs the same text. DatabaseError, before anything runs, for a parameter given no value
    // (nor taken from the master), which would write NULL where its value belongs; a value kept
    // from the text before (SqlLines) counts as given.
    int execSQL();
    // The same with each of `values` bound to the parameter its name names; the parameters' own
    // values are left alone. For a statement run once per row: each name is found in the text
    // once for the statement (Statement::parameterIndex), so that giving the same names again
    // costs nothing. DatabaseError, before anything runs, for a name the text does not call a
    // parameter, and for a parameter given no value or two.
    int execSQL(const std::vector<NamedValue>& values);
    // The same for a text whose parameters are "?" or "?NNN", bound by position: first the
    // current values of `fields` (of another dataset), as they were read from the database, so
    // that a row copied from one table to another passes unchanged and unconverted; then
    // `values`. For a statement whose marks are made from the list of its columns. DatabaseError,
    // before running, for a text that calls a parameter by a name (bound by name only, so that
    // reordering two clauses cannot move a value into another column), and for a count of
    // values other than the statement's count of parameters.
    int execSQL(const std::vector<const Field*>& fields, const QVariantList& values);
    int execSQL(const QVariantList& values) { return execSQL(std::vector<const Field*>{}, values); }

    // Master-detail: parameters whose names are fields of the master take their values from
    // the master's current row; the query reopens when the master moves or reopens.
    void setMasterSource(DataSet* master);

protected:
    Source source() const override;
    void releaseStatements() noexcept override;

private:
    friend class SqlLines;
    void sqlChanged();
    Statement& execStatement(); // exec_, taken from the connection's kept ones or prepared
    int run(Statement& statement); // the rows it changed
    void masterMoved(bool force);
    std::vector<std::pair<QString, QVariant>> masterValues() const;
    SqlLines sql_;
    StatementLease exec_; // execSQL's statement, for the text as it stands; given back when the
                          // text changes or the query goes
    std::vector<bool> named_;         // execSQL(values): the parameters given a value in this run
    std::map<QString, Param> params_; // key: lower-case name
    QPointer<DataSet> master_;
    mutable std::vector<std::pair<QString, QVariant>> usedMasterValues_; // as of the last opening
    int masterLink_ = 0; // the master's key for this query as its follower
};

} // namespace lb::db
