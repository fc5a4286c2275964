// A dataset: loading the snapshot, moving, editing and writing rows back by rowid, signals.
#include "platform/db/DataSet.h"

#include "platform/db/Connection.h"
#include "platform/db/SqlText.h"
#include "platform/db/SqliteError.h"
#include "platform/db/Statement.h"
#include "platform/sys/Errors.h"

#include <QRegularExpression>
#include <sqlite3.h>
#include <algorithm>
#include <utility>

namespace lb::db {

namespace {

const QString rowIdAlias = QStringLiteral("lb_rowid_");

// A field the program reads that its table no longer has: the program asks only for fields its
// tables are made with, so the table has been changed (a column renamed or dropped) since.
DatabaseError missingField(const QString& name)
{
    return DatabaseError(QStringLiteral("Field '%1' not found").arg(name),
                         QStringLiteral("字段%1已不在表中: 窗口打开时表被改动过(例如用数据处理功能)。请关闭窗口后重新打开;"
                                        "若仍出现此信息,请把表改回原样。")
                             .arg(name));
}

// The field a declared column type gives; `known` is false for a column without a declared
// type (an expression), whose type the values decide.
FieldDef defFromDeclaredType(const QString& name, const QString& declared, bool& known)
{
    FieldDef def;
    def.name = name;
    known = true;
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*([A-Za-z_]+)(?:\s+[A-Za-z_]+)*\s*(?:\(\s*(\d+)\s*(?:,\s*\d+\s*)?\))?)"));
    const QRegularExpressionMatch match = pattern.match(declared);
    const QString word = match.hasMatch() ? match.captured(1).toUpper() : QString();
    const int size = match.hasMatch() && !match.captured(2).isEmpty() ? match.captured(2).toInt() : 0;
    if (word.isEmpty()) {
        known = false;
        return def;
    }
    if (word == QLatin1String("VARCHAR") || word == QLatin1String("CHAR") || word == QLatin1String("NVARCHAR")
        || word == QLatin1String("NCHAR") || word == QLatin1String("CHARACTER")
        || (word == QLatin1String("TEXT") && size > 0)) {
        def.type = FieldType::Text;
        def.size = size;
    } else if (word == QLatin1String("TEXT") || word == QLatin1String("MEMO") || word == QLatin1String("CLOB")
               || word == QLatin1String("LONGTEXT") || word == QLatin1String("NTEXT")) {
        def.type = FieldType::Memo;
    } else if (word == QLatin1String("DOUBLE") || word == QLatin1String("FLOAT") || word == QLatin1String("REAL")
               || word == QLatin1String("NUMERIC") || word == QLatin1String("DECIMAL")
               || word == QLatin1String("CURRENCY") || word == QLatin1String("MONEY") || word == QLatin1String("SINGLE")) {
        def.type = FieldType::Float;
    } else if (word == QLatin1String("INTEGER") || word == QLatin1String("INT") || word == QLatin1String("LONG")
               || word == QLatin1String("COUNTER") || word == QLatin1String("AUTOINCREMENT")
               || word == QLatin1String("BIGINT") || word == QLatin1String("SMALLINT")
               || word == QLatin1String("TINYINT") || word == QLatin1String("BYTE") || word == QLatin1String("SHORT")) {
        def.type = FieldType::Integer;
    } else if (word == QLatin1String("BOOLEAN") || word == QLatin1String("BOOL") || word == QLatin1String("LOGICAL")
               || word == QLatin1String("BIT") || word == QLatin1String("YESNO")) {
        def.type = FieldType::Boolean;
    } else if (word == QLatin1String("DATE")) {
        def.type = FieldType::Date;
    } else if (word == QLatin1String("DATETIME") || word == QLatin1String("TIMESTAMP") || word == QLatin1String("TIME")) {
        def.type = FieldType::DateTime;
    } else if (word.contains(QLatin1String("INT"))) { // SQLite's own affinity rules for other names
        def.type = FieldType::Integer;
    } else if (word.contains(QLatin1String("CHAR")) || word.contains(QLatin1String("CLOB")) || word.contains(QLatin1String("TEXT"))) {
        def.type = FieldType::Memo;
    } else if (word.contains(QLatin1String("REAL")) || word.contains(QLatin1String("FLOA")) || word.contains(QLatin1String("DOUB"))) {
        def.type = FieldType::Float;
    } else {
        known = false;
    }
    return def;
}

// Remembers a field's format or label by name, so that it outlives the field objects.
void keepLook(std::vector<std::pair<QString, QString>>& looks, const QString& fieldName, const QString& value)
{
    const auto entry = std::find_if(looks.begin(), looks.end(), [&](const auto& item) {
        return item.first.compare(fieldName, Qt::CaseInsensitive) == 0;
    });
    if (entry == looks.end())
        looks.emplace_back(fieldName, value);
    else
        entry->second = value;
}

} // namespace

// What a load reads: the result's columns (without the hidden rowid), its base table and the
// columns' origins where its rows are one table's, and the rows.
struct DataSet::Snapshot {
    std::vector<FieldDef> columns;
    std::vector<QString> origins;
    QString base;
    std::vector<Row> rows;
    RowValues::Store store; // where the rows lie
    bool rowIdsOnly = false;

    // The first `count` columns of `statement`, typed by their declared types; whether each
    // type is known (an expression's is not).
    std::vector<bool> takeColumns(const Statement& statement, int count);
    // The rowids of the rows from the statement's current one on (`more`: whether it stands on
    // one), each row to be read where it is looked at; false, leaving no rows, at a row
    // without a real rowid.
    bool readRowIds(Statement& statement, bool more, int count);
    // The rows from the statement's current one on, with their rowids where `withRowIds`.
    void readRows(Statement& statement, bool more, int count, bool withRowIds);
    // The type of each column whose type is not `known`, from the values of every row.
    void inferTypes(const std::vector<bool>& known);
};

namespace {

// The rows of a list kept in memory once looked at: a screenful many times over, a few hundred
// kilobytes.
constexpr size_t listRowsKept = 1024;
// The rows of a list read by one statement: every statement starts a read of the file (its
// lock, its journal looked for), which costs more than the rows themselves.
constexpr int listRowsRead = 256;

} // namespace

DataSet::DataSet(Connection& connection, QObject* parent)
    : QObject(parent), connection_(connection)
{
    connection_.attach(this);
}

DataSet::~DataSet()
{
    if (attached_)
        connection_.detach(this);
}

void DataSet::setPersistentFields(std::vector<FieldDef> fields)
{
    close();
    persistent_ = std::move(fields);
    fields_.clear();
    forgetLookups();
    for (const FieldDef& def : persistent_) {
        fields_.push_back(std::make_unique<Field>(*this, def, -1));
        applyLooks(*fields_.back());
    }
}

namespace {

// Whether every shown column of `candidate`, a text with the rowid added as its last column, is
// a column of one table of the main database; then `base` names the table and `origins` the
// columns.
bool readsOneTable(const Statement& candidate, QString& base, std::vector<QString>& origins)
{
    const int shown = candidate.columnCount() - 1;
    QString table;
    bool oneTable = shown > 0;
    for (int c = 0; c < shown && oneTable; ++c) {
        const QString name = candidate.tableName(c);
        if (name.isEmpty() || candidate.originName(c).isEmpty() || candidate.databaseName(c) != QLatin1String("main")
            || (!table.isEmpty() && name.compare(table, Qt::CaseInsensitive) != 0))
            oneTable = false;
        table = name;
    }
    base.clear();
    origins.clear();
    if (!oneTable)
        return false;
    base = table;
    for (int c = 0; c < shown; ++c)
        origins.push_back(candidate.originName(c));
    return true;
}

// The statement whose rows a dataset of text `sql` holds: `sql` with the rowid added last where
// its rows are rows of one table (`base`, `origins`), else `sql` as written. `lasting` is false
// where that choice may be another the next time (the text with the rowid failed for a passing
// cause, a locked file), so that the statement is not kept for the text.
std::unique_ptr<Statement> prepareRows(sqlite3* db, const QString& sql, QString& base, std::vector<QString>& origins,
                                       bool& lasting)
{
    lasting = true;
    const QString withRowId = SqlText::appendColumn(sql, QStringLiteral("_rowid_"), rowIdAlias);
    if (!withRowId.isEmpty()) {
        try {
            auto candidate = std::make_unique<Statement>(db, withRowId);
            if (readsOneTable(*candidate, base, origins))
                return candidate;
        } catch (const SqliteError& error) {
            // No rowid to be had (a join, a view, a subquery): the result is read-only and runs
            // as written below, which reports a real fault of the text.
            const int primary = error.code() & 0xff;
            lasting = primary == SQLITE_ERROR || primary == SQLITE_MISUSE;
        }
    }
    return std::make_unique<Statement>(db, sql);
}

// Whether a failing step of a statement prepared before is the engine failing to prepare it
// again (a table or column gone, the authorizer refusing it), which preparing it anew reports
// as it does for any text.
bool failedToPrepareAgain(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_ERROR || primary == SQLITE_AUTH || primary == SQLITE_SCHEMA;
}

} // namespace

StatementLease DataSet::rowsStatement(const Source& source, Snapshot& snap, bool& more) const
{
    // A result whose every column is a column of one table is written back by rowid: the rowid
    // rides along as a hidden last column. The statement is kept under the dataset's text, so
    // that opening the text again, here or in another dataset, prepares nothing: the one kept is
    // tried first, then, where it no longer serves, one prepared now.
    StatementLease statement = connection_.keptStatement(source.sql, StatementUse::Rows);
    for (;;) {
        const bool kept = bool(statement);
        if (!kept) {
            bool lasting = true;
            statement = connection_.lease(prepareRows(connection_.handle(), source.sql, snap.base, snap.origins, lasting),
                                          source.sql, StatementUse::Rows);
            if (!lasting)
                statement.discard();
        }
        const bool withRowIds = statement->sql() != source.sql;
        // Checked before the first step, which would run a statement that is no query.
        if (statement->columnCount() - (withRowIds ? 1 : 0) <= 0)
            throw DatabaseError(QStringLiteral("The statement returns no rows: %1").arg(source.sql));
        statement->bindAll(source.params);
        const int reprepares = statement->reprepareCount();
        try {
            more = statement->step();
        } catch (const SqliteError& error) {
            if (!kept || !failedToPrepareAgain(error.code()))
                throw;
            statement.discard();
            statement.giveBack();
            continue;
        }
        if (!kept)
            return statement;
        // The engine prepares a kept statement again where the schema changed under it: its
        // columns are looked at now, after that first step, and whether its rows are rows of one
        // table is decided again; a text kept without the rowid may have one to add now.
        const bool serves = withRowIds ? readsOneTable(*statement, snap.base, snap.origins)
                                       : statement->reprepareCount() == reprepares
                || SqlText::appendColumn(source.sql, QStringLiteral("_rowid_"), rowIdAlias).isEmpty();
        if (serves)
            return statement;
        statement.discard();
        statement.giveBack();
    }
}

std::vector<bool> DataSet::Snapshot::takeColumns(const Statement& statement, int count)
{
    std::vector<bool> known(size_t(count), true);
    for (int c = 0; c < count; ++c) {
        bool isKnown = true;
        columns.push_back(defFromDeclaredType(statement.columnName(c), statement.declaredType(c), isKnown));
        known[size_t(c)] = isKnown;
    }
    return known;
}

bool DataSet::Snapshot::readRowIds(Statement& statement, bool more, int count)
{
    // The rowids first, then the rows at once: a list's rows are never moved while they grow,
    // which would hold them twice.
    std::vector<qint64> rowIds;
    for (; more; more = statement.step()) {
        const std::optional<qint64> rowId = statement.integer(count);
        if (!rowId)
            return false;
        rowIds.push_back(*rowId);
    }
    rows.reserve(rowIds.size());
    for (qint64 rowId : rowIds)
        rows.push_back(Row{rowId, RowValues(size_t(count)), true});
    return true;
}

void DataSet::Snapshot::readRows(Statement& statement, bool more, int count, bool withRowIds)
{
    // Rows of one load share large blocks: a long list costs few allocations.
    for (; more; more = statement.step()) {
        Row& row = rows.emplace_back();
        if (withRowIds) {
            const std::optional<qint64> rowId = statement.integer(count);
            if (!rowId) { // a source without real rowids cannot be written back
                base.clear();
                origins.clear();
            }
            row.rowId = rowId.value_or(0);
        }
        row.values = RowValues::read(statement, count, store);
    }
}

void DataSet::Snapshot::inferTypes(const std::vector<bool>& known)
{
    // Expressions (sums, counts) take their type from every row's value, never from one row.
    for (size_t c = 0; c < known.size(); ++c) {
        if (known[c])
            continue;
        bool anyReal = false;
        bool anyInteger = false;
        bool anyOther = false;
        for (const Row& row : rows) {
            const int type = row.values.typeAt(c);
            if (type == QMetaType::Double)
                anyReal = true;
            else if (type == QMetaType::LongLong)
                anyInteger = true;
            else if (type != QMetaType::UnknownType)
                anyOther = true;
        }
        columns[c].type = anyOther ? FieldType::Text : anyReal ? FieldType::Float : anyInteger ? FieldType::Integer : FieldType::Text;
    }
}

DataSet::Snapshot DataSet::load(const Source& source, bool rowIdsOnly) const
{
    Snapshot snap;
    bool more = false;
    const StatementLease statement = rowsStatement(source, snap, more);
    const bool withRowIds = statement->sql() != source.sql;
    const int count = statement->columnCount() - (withRowIds ? 1 : 0);
    const std::vector<bool> known = snap.takeColumns(*statement, count);
    // An expression takes its type from the values, which a list does not load.
    snap.rowIdsOnly = rowIdsOnly && withRowIds && std::find(known.begin(), known.end(), false) == known.end();
    if (snap.rowIdsOnly) {
        if (snap.readRowIds(*statement, more, count))
            return snap;
        // A row without a real rowid to read it by: the rows are read whole, from the first.
        snap.rowIdsOnly = false;
        statement->reset();
        more = statement->step();
    }
    snap.readRows(*statement, more, count, withRowIds);
    snap.inferTypes(known);
    return snap;
}

void DataSet::open()
{
    open(false);
}

void DataSet::openList()
{
    open(true);
}

void DataSet::open(bool list)
{
    if (active())
        return;
    Snapshot snap = load(source(), list);
    if (!list && !persistent_.empty()) {
        for (const FieldDef& def : persistent_) {
            const auto found = std::find_if(snap.columns.begin(), snap.columns.end(), [&](const FieldDef& column) {
                return column.name.compare(def.name, Qt::CaseInsensitive) == 0;
            });
            if (found == snap.columns.end())
                throw missingField(def.name);
        }
    }
    columnNames_.clear();
    for (const FieldDef& column : snap.columns)
        columnNames_.push_back(column.name);
    origins_ = std::move(snap.origins);
    baseTable_ = snap.base;
    rows_ = std::move(snap.rows);
    store_ = std::move(snap.store);
    list_ = snap.rowIdsOnly;
    readRows_.clear();
    listReadEnd_ = 0;
    bindFields(snap.columns);
    state_ = DataSetState::Browse;
    current_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    saved_.reset();
    assigned_.assign(columnNames_.size(), false);
    emitReset();
    if (!quiet()) {
        emit stateChanged();
        emit currentChanged(current_);
    }
    notifyScroll();
}

void DataSet::bindFields(const std::vector<FieldDef>& resultColumns)
{
    if (!persistent_.empty()) {
        for (auto& field : fields_) {
            for (size_t c = 0; c < columnNames_.size(); ++c) {
                if (columnNames_[c].compare(field->fieldName(), Qt::CaseInsensitive) == 0) {
                    field->column_ = int(c);
                    break;
                }
            }
        }
        return;
    }
    fields_.clear();
    forgetLookups();
    for (size_t c = 0; c < resultColumns.size(); ++c) {
        fields_.push_back(std::make_unique<Field>(*this, resultColumns[c], int(c)));
        applyLooks(*fields_.back());
    }
}

void DataSet::applyLooks(Field& field) const
{
    for (const auto& [name, format] : formats_) {
        if (name.compare(field.fieldName(), Qt::CaseInsensitive) == 0)
            field.def_.displayFormat = format;
    }
    for (const auto& [name, label] : labels_) {
        if (name.compare(field.fieldName(), Qt::CaseInsensitive) == 0)
            field.def_.displayLabel = label;
    }
}

void DataSet::close()
{
    if (!active())
        return;
    state_ = DataSetState::Inactive;
    rows_.clear();
    list_ = false;
    readRows_.clear();
    current_ = -1;
    bof_ = eof_ = true;
    saved_.reset();
    store_ = RowValues::Store(); // after the rows that lie in it
    assigned_.clear();
    baseTable_.clear();
    origins_.clear();
    columnNames_.clear();
    releaseStatements();
    if (persistent_.empty()) {
        fields_.clear();
        forgetLookups();
    } else {
        for (auto& field : fields_)
            field->column_ = -1;
    }
    emitReset();
    if (!quiet())
        emit stateChanged();
}

void DataSet::releaseStatements() noexcept
{
    rowReader_.giveBack();
    listReader_.giveBack();
    listRange_.giveBack();
    update_.giveBack();
    updateColumns_.clear();
}

void DataSet::refresh()
{
    requireActive();
    checkBrowse();
    const qint64 currentRowId = current_ >= 0 ? rows_[size_t(current_)].rowId : 0;
    const int currentIndex = current_;
    if (readOnly()) {
        // Rows without rowids can only be read again as a whole.
        Snapshot snap = load(source(), false);
        rows_ = std::move(snap.rows);
        store_ = std::move(snap.store);
    } else {
        rereadRows(-1);
    }
    placeAfterReread(readOnly() ? 0 : currentRowId, currentIndex);
}

void DataSet::rereadRows(int keep)
{
    // A list's rows are read again where they are looked at: only whether each is still there
    // is asked, many at a time.
    std::vector<bool> present;
    if (list_) {
        present.assign(rows_.size(), false);
        for (size_t start = 0; start < rows_.size(); start += size_t(listRowsRead)) {
            std::vector<std::pair<qint64, size_t>> batch;
            for (size_t i = start; i < std::min(rows_.size(), start + size_t(listRowsRead)); ++i)
                batch.emplace_back(rows_[i].rowId, i);
            findListRows(batch, [&](const Statement&, size_t row) { present[row] = true; });
        }
    }
    std::vector<Row> kept;
    kept.reserve(rows_.size());
    for (int i = 0; i < int(rows_.size()); ++i) {
        Row& row = rows_[size_t(i)];
        if (i == keep) {
            kept.push_back(row); // a copy, which owns its bytes: the loaded rows' blocks go below
        } else if (list_) {
            if (present[size_t(i)])
                kept.push_back(Row{row.rowId, RowValues(row.values.size()), true});
        } else if (readBack(row.rowId, row.values)) { // else deleted meanwhile
            row.posted = false;
            kept.push_back(std::move(row));
        }
    }
    rows_ = std::move(kept);
    readRows_.clear();
    // Every row now has bytes of its own (read again, copied, or none), as the one saved for
    // Cancel has: no row lies in the loaded rows' blocks any more.
    store_ = RowValues::Store();
}

void DataSet::placeAfterReread(qint64 rowId, int index)
{
    current_ = -1;
    if (rowId != 0) {
        for (size_t i = 0; i < rows_.size(); ++i) {
            if (rows_[i].rowId == rowId) {
                current_ = int(i);
                break;
            }
        }
    }
    if (current_ < 0 && !rows_.empty())
        current_ = std::clamp(index, 0, int(rows_.size()) - 1);
    if (rows_.empty())
        bof_ = eof_ = true;
    emitReset();
    if (!quiet())
        emit currentChanged(current_);
}

void DataSet::resyncAfterRollback(quint64 transaction) noexcept
{
    // Rows posted inside the rolled-back transaction must not stay on screen as if stored:
    // they are read again (and drop out when their insert was undone). An edit or insert begun
    // inside it was the command's and goes with it, so that nothing writes it later outside
    // any command (a move or refresh posts a pending edit); one begun before it keeps what the
    // user typed.
    if (!active() || readOnly())
        return;
    try {
        if ((state_ == DataSetState::Edit || state_ == DataSetState::Insert) && editBegun_ >= transaction)
            cancel();
        const bool editing = state_ == DataSetState::Edit || state_ == DataSetState::Insert;
        const qint64 currentRowId = current_ >= 0 ? rows_[size_t(current_)].rowId : 0;
        if (editing && state_ == DataSetState::Edit && saved_ && readBack(saved_->rowId, saved_->values))
            saved_->posted = false;
        const int index = current_;
        rereadRows(editing ? current_ : -1);
        if (editing) {
            // Rows before the kept one may have dropped out; it is the only row with its rowid
            // (0 for a row being inserted).
            for (size_t i = 0; i < rows_.size(); ++i) {
                if (rows_[i].rowId == currentRowId) {
                    current_ = int(i);
                    break;
                }
            }
            emitReset();
            if (!quiet())
                emit currentChanged(current_);
            return;
        }
        placeAfterReread(currentRowId, index);
    } catch (...) {
        // Nothing better can be done while a transaction unwinds; the next refresh or reopening
        // reads the rows again.
    }
}

void DataSet::requireActive() const
{
    if (!active())
        throw DatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void DataSet::requireEditing() const
{
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        throw DatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
}

void DataSet::requireWritable() const
{
    if (readOnly())
        throw DatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

bool DataSet::quiet()
{
    if (disableCount_ > 0) {
        pendingReset_ = true;
        return true;
    }
    return false;
}

void DataSet::emitReset()
{
    if (!quiet()) {
        emit reset();
        tellFollowers(true);
    }
}

int DataSet::addFollower(Follower follower)
{
    followers_.emplace_back(++lastFollower_, std::move(follower));
    return lastFollower_;
}

void DataSet::removeFollower(int key)
{
    std::erase_if(followers_, [key](const auto& entry) { return entry.first == key; });
}

void DataSet::tellFollowers(bool reopened)
{
    // A follower may remove itself (or another) while it is told: walk a copy.
    const auto followers = followers_;
    for (const auto& entry : followers)
        entry.second(reopened);
}

void DataSet::notifyScroll()
{
    if (afterScroll_)
        afterScroll_(*this);
}

void DataSet::moveTo(int index)
{
    if (index != current_) {
        current_ = index;
        if (disableCount_ > 0) {
            pendingMove_ = true;
        } else {
            emit currentChanged(current_);
            tellFollowers(false);
        }
    }
    notifyScroll();
}

void DataSet::checkBrowse()
{
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
        if (modified())
            post();
        else
            cancel();
    }
}

void DataSet::first()
{
    requireActive();
    checkBrowse();
    moveTo(rows_.empty() ? -1 : 0);
    bof_ = true;
    eof_ = rows_.empty();
}

void DataSet::last()
{
    requireActive();
    checkBrowse();
    moveTo(int(rows_.size()) - 1);
    eof_ = true;
    bof_ = rows_.empty();
}

void DataSet::next()
{
    moveBy(1);
}

void DataSet::prior()
{
    moveBy(-1);
}

int DataSet::moveBy(int distance)
{
    requireActive();
    checkBrowse();
    if (rows_.empty() || distance == 0)
        return 0;
    const int target = std::clamp(current_ + distance, 0, int(rows_.size()) - 1);
    const int moved = target - current_;
    if (distance > 0 && moved < distance)
        eof_ = true;
    else if (distance < 0 && moved > distance)
        bof_ = true;
    if (moved != 0) {
        if (distance > 0)
            bof_ = false;
        else
            eof_ = false;
        moveTo(target);
    }
    return moved;
}

bool DataSet::eof() const
{
    return !active() || eof_;
}

bool DataSet::bof() const
{
    return !active() || bof_;
}

bool DataSet::isEmpty() const
{
    return rows_.empty();
}

int DataSet::recordCount() const
{
    return int(rows_.size());
}

int DataSet::recNo() const
{
    return current_ + 1;
}

void DataSet::setRecNo(int recNo)
{
    requireActive();
    checkBrowse();
    if (rows_.empty())
        return;
    bof_ = eof_ = false;
    moveTo(std::clamp(recNo, 1, int(rows_.size())) - 1);
}

bool DataSet::locate(const QString& fieldNames, const QVariantList& values, LocateOption options)
{
    requireActive();
    checkBrowse();
    std::vector<Field*> keys;
    for (const QString& name : fieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        keys.push_back(&fieldByName(name.trimmed()));
    if (keys.size() != size_t(values.size()))
        throw DatabaseError(QStringLiteral("Locate needs one value per field"));
    const bool caseInsensitive = options & LocateOption::CaseInsensitive;
    const bool partial = options & LocateOption::PartialKey;
    for (int row = 0; row < int(rows_.size()); ++row) {
        bool all = true;
        for (size_t k = 0; k < keys.size() && all; ++k)
            all = keys[k]->matches(row, values[qsizetype(k)], caseInsensitive, partial);
        if (all) {
            bof_ = eof_ = false;
            moveTo(row);
            return true;
        }
    }
    return false;
}

Bookmark DataSet::bookmark() const
{
    if (current_ < 0)
        return Bookmark{};
    return Bookmark{rows_[size_t(current_)].rowId, current_};
}

bool DataSet::bookmarkValid(const Bookmark& mark) const
{
    if (!mark.valid() || !active())
        return false;
    if (mark.rowId == 0)
        return mark.index < int(rows_.size());
    return std::any_of(rows_.begin(), rows_.end(), [&](const Row& row) { return row.rowId == mark.rowId; });
}

void DataSet::gotoBookmark(const Bookmark& mark)
{
    requireActive();
    checkBrowse();
    int index = -1;
    if (mark.valid() && mark.rowId == 0 && mark.index < int(rows_.size())) {
        index = mark.index;
    } else if (mark.valid()) {
        if (mark.index < int(rows_.size()) && rows_[size_t(mark.index)].rowId == mark.rowId) {
            index = mark.index;
        } else {
            for (size_t i = 0; i < rows_.size(); ++i) {
                if (rows_[i].rowId == mark.rowId)
                    index = int(i);
            }
        }
    }
    if (index < 0)
        throw DatabaseError(QStringLiteral("Record not found"));
    bof_ = eof_ = false;
    moveTo(index);
}

void DataSet::disableControls()
{
    ++disableCount_;
}

void DataSet::enableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ != 0)
        return;
    const bool moved = std::exchange(pendingMove_, false);
    if (std::exchange(pendingReset_, false)) {
        emit reset();
        emit stateChanged();
        emit currentChanged(current_);
        tellFollowers(true);
    } else if (moved) {
        // Only the current row moved: the controls follow it, as after any move, and keep
        // what they show (widths, scroll position, an open editor elsewhere).
        emit currentChanged(current_);
        tellFollowers(false);
    }
}

void DataSet::edit()
{
    requireActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        return;
    if (rows_.empty()) {
        append();
        return;
    }
    requireWritable();
    saved_ = rows_[size_t(current_)];
    assigned_.assign(columnNames_.size(), false);
    state_ = DataSetState::Edit;
    editBegun_ = connection_.transactionsBegun();
    if (!quiet())
        emit stateChanged();
}

void DataSet::append()
{
    startInsert(true);
}

void DataSet::insert()
{
    startInsert(false);
}

void DataSet::startInsert(bool atEnd)
{
    requireActive();
    requireWritable();
    checkBrowse();
    // The place is taken after checkBrowse: cancelling a pending new row moves the cursor.
    const int index = atEnd ? int(rows_.size()) : std::max(current_, 0);
    rows_.insert(rows_.begin() + index, Row{0, RowValues(columnNames_.size())});
    readRows_.clear(); // the places moved
    current_ = index;
    assigned_.assign(columnNames_.size(), false);
    saved_.reset();
    state_ = DataSetState::Insert;
    editBegun_ = connection_.transactionsBegun();
    bof_ = eof_ = false;
    if (!quiet()) {
        emit rowInserted(index);
        emit currentChanged(index);
        emit stateChanged();
        tellFollowers(false);
    }
    notifyScroll();
    if (onNewRecord_)
        onNewRecord_(*this);
}

Statement& DataSet::rowReader()
{
    if (!rowReader_) {
        QStringList columns;
        for (const QString& origin : origins_)
            columns << SqlText::quoteIdentifier(origin);
        rowReader_ = connection_.statement(QStringLiteral("SELECT %1 FROM %2 WHERE _rowid_ = ?")
                                               .arg(columns.join(QStringLiteral(", ")), SqlText::quoteIdentifier(baseTable_)));
    }
    return *rowReader_;
}

bool DataSet::readBack(qint64 rowId, RowValues& into)
{
    Statement& statement = rowReader();
    statement.resetQuietly();
    statement.bind(1, rowId);
    if (!statement.step())
        return false;
    into = RowValues::read(statement, int(origins_.size()));
    statement.resetQuietly(); // a statement left on its row keeps a read open on the file
    return true;
}

void DataSet::readPosted(size_t index) noexcept
{
    Row& row = rows_[index];
    row.posted = false;
    try {
        RowValues stored;
        if (!readBack(row.rowId, stored))
            return; // deleted meanwhile: it shows what was posted until the rows are read again
        // A row being edited again keeps what was assigned since.
        if (int(index) == current_ && state_ == DataSetState::Edit) {
            for (size_t c = 0; c < assigned_.size(); ++c) {
                if (assigned_[c])
                    stored.set(c, row.values.at(c));
            }
        }
        row.values = std::move(stored);
        if (list_)
            keepRead(index);
    } catch (const DatabaseError&) {
        // Values are looked at where no error can be shown (a grid painting its cells): the row
        // then shows what was posted, which was written.
    }
}

QString DataSet::listSelect() const
{
    QStringList columns;
    for (const QString& origin : origins_)
        columns << SqlText::quoteIdentifier(origin);
    return QStringLiteral("SELECT %1, _rowid_ FROM %2 WHERE ")
        .arg(columns.join(QStringLiteral(", ")), SqlText::quoteIdentifier(baseTable_));
}

void DataSet::findListRows(std::vector<std::pair<qint64, size_t>>& rows, const std::function<void(const Statement&, size_t)>& found)
{
    if (rows.empty())
        return;
    std::sort(rows.begin(), rows.end());
    const int count = int(origins_.size());
    // Rows whose rowids lie close together (lines entered in the order they are listed) are read
    // in one ordered range of rowids, the rows between them that the list does not hold passed
    // over; looking each up by its rowid costs a search of the table per row.
    if (quint64(rows.back().first) - quint64(rows.front().first) < 2 * quint64(rows.size())) {
        if (!listRange_)
            listRange_ = connection_.statement(listSelect() + QStringLiteral("_rowid_ BETWEEN ?1 AND ?2"));
        Statement& statement = *listRange_;
        statement.resetQuietly();
        statement.bind(1, rows.front().first);
        statement.bind(2, rows.back().first);
        auto at = rows.begin();
        while (statement.step()) {
            const qint64 rowId = statement.integer(count).value_or(0);
            while (at != rows.end() && at->first < rowId)
                ++at;
            for (auto same = at; same != rows.end() && same->first == rowId; ++same)
                found(statement, same->second);
        }
        statement.resetQuietly(); // a statement left on its row keeps a read open on the file
        return;
    }
    if (!listReader_) {
        QStringList marks;
        for (int k = 1; k <= listRowsRead; ++k)
            marks << QStringLiteral("?%1").arg(k);
        listReader_ = connection_.statement(listSelect() + QStringLiteral("_rowid_ IN (%1)").arg(marks.join(QStringLiteral(", "))));
    }
    Statement& statement = *listReader_;
    for (size_t start = 0; start < rows.size(); start += size_t(listRowsRead)) {
        const auto first = rows.begin() + qsizetype(start);
        const auto last = rows.begin() + qsizetype(std::min(rows.size(), start + size_t(listRowsRead)));
        statement.resetQuietly();
        for (int k = 0; k < listRowsRead; ++k)
            statement.bind(k + 1, first + k < last ? QVariant(first[k].first) : QVariant());
        while (statement.step()) {
            const qint64 rowId = statement.integer(count).value_or(0);
            const auto at = std::lower_bound(first, last, std::pair<qint64, size_t>(rowId, 0));
            for (auto same = at; same != last && same->first == rowId; ++same)
                found(statement, same->second);
        }
        statement.resetQuietly();
    }
}

void DataSet::readListRows(size_t index)
{
    // The row asked for and the unread rows among those after it; a list walked from its start
    // to its end (each read beginning where the one before ended) takes as many as it keeps.
    const size_t step = index == 0 || index == listReadEnd_ ? listRowsKept : size_t(listRowsRead);
    std::vector<std::pair<qint64, size_t>> wanted;
    size_t end = index;
    for (; end < std::min(rows_.size(), index + step); ++end) {
        const Row& row = rows_[end];
        const bool edited = int(end) == current_ && state_ != DataSetState::Browse;
        if (row.posted && row.rowId != 0 && !edited)
            wanted.emplace_back(row.rowId, end);
        else if (end == index)
            break;
    }
    if (wanted.empty() || wanted.front().second != index) {
        readPosted(index); // the row being edited keeps what was assigned to it
        return;
    }
    listReadEnd_ = end;
    for (const auto& [rowId, row] : wanted)
        rows_[row].posted = false; // a row gone meanwhile shows what it held
    try {
        findListRows(wanted, [&](const Statement& statement, size_t row) {
            rows_[row].values = RowValues::read(statement, int(origins_.size()));
            keepRead(row);
        });
    } catch (const DatabaseError&) {
        // Looked at where no error can be shown: the rows not read show nothing until the list
        // is read again.
    }
}

void DataSet::keepRead(size_t index)
{
    if (readRows_.size() < listRowsKept) {
        readRows_.push_back(index);
        return;
    }
    const size_t oldest = std::exchange(readRows_[nextRead_], index);
    nextRead_ = (nextRead_ + 1) % listRowsKept;
    // The current row keeps what may be assigned to it. A row that went is read again where
    // it is looked at next.
    if (oldest != index && int(oldest) != current_ && oldest < rows_.size()) {
        Row& row = rows_[oldest];
        row.values = RowValues(row.values.size());
        row.posted = true;
    }
}

void DataSet::post()
{
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    if (beforePost_)
        beforePost_(*this);
    Row& row = rows_[size_t(current_)];
    std::vector<size_t> columns;
    for (size_t c = 0; c < assigned_.size(); ++c) {
        if (assigned_[c])
            columns.push_back(c);
    }
    if (state_ == DataSetState::Insert) {
        const QString table = SqlText::quoteIdentifier(baseTable_);
        // Only the assigned columns are written, so that the table's defaults fill the rest.
        QString sql;
        if (columns.empty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
        } else {
            QStringList names;
            QStringList marks;
            for (size_t c : columns) {
                names << SqlText::quoteIdentifier(origins_[c]);
                marks << QStringLiteral("?");
            }
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        }
        const StatementLease statement = connection_.statement(sql);
        for (size_t i = 0; i < columns.size(); ++i)
            statement->bind(int(i + 1), row.values.at(columns[i]));
        statement->run();
        row.rowId = connection_.lastInsertRowId();
    } else if (!columns.empty()) {
        if (!update_ || updateColumns_ != columns) {
            QStringList sets;
            for (size_t c : columns)
                sets << SqlText::quoteIdentifier(origins_[c]) + QStringLiteral(" = ?");
            update_.giveBack(); // before the statement for other columns is prepared
            update_ = connection_.statement(QStringLiteral("UPDATE %1 SET %2 WHERE _rowid_ = ?")
                                                .arg(SqlText::quoteIdentifier(baseTable_), sets.join(QStringLiteral(", "))));
            updateColumns_ = columns;
        }
        Statement& statement = *update_;
        statement.resetQuietly();
        for (size_t i = 0; i < columns.size(); ++i)
            statement.bind(int(i + 1), row.values.at(columns[i]));
        statement.bind(int(columns.size() + 1), row.rowId);
        statement.run();
        if (connection_.changes() == 0)
            throw DatabaseError(QStringLiteral("Row cannot be located for updating: it was deleted meanwhile"));
    }
    // The stored row is what the table made of the values (defaults, affinity conversions). It
    // is read back where it is first looked at, so that a command posting row after row reads
    // nothing back.
    row.posted = true;
    state_ = DataSetState::Browse;
    assigned_.assign(columnNames_.size(), false);
    saved_.reset();
    if (!quiet()) {
        emit rowChanged(current_);
        emit stateChanged();
        tellFollowers(false);
    }
    if (afterPost_)
        afterPost_(*this);
}

void DataSet::cancel()
{
    if (state_ == DataSetState::Insert) {
        state_ = DataSetState::Browse;
        assigned_.assign(columnNames_.size(), false);
        removeRow(current_);
        if (!quiet())
            emit stateChanged();
        return;
    }
    if (state_ == DataSetState::Edit) {
        if (saved_)
            rows_[size_t(current_)] = *saved_;
        saved_.reset();
        state_ = DataSetState::Browse;
        assigned_.assign(columnNames_.size(), false);
        if (!quiet()) {
            emit rowChanged(current_);
            emit stateChanged();
            tellFollowers(false);
        }
    }
}

void DataSet::removeRow(int index)
{
    rows_.erase(rows_.begin() + index);
    readRows_.clear(); // the places moved
    if (!quiet())
        emit rowRemoved(index);
    const int target = rows_.empty() ? -1 : std::min(index, int(rows_.size()) - 1);
    current_ = target;
    if (rows_.empty())
        bof_ = eof_ = true;
    if (!quiet()) {
        emit currentChanged(current_);
        tellFollowers(false);
    }
    notifyScroll();
}

void DataSet::deleteRecord()
{
    requireActive();
    if (state_ == DataSetState::Insert) {
        cancel();
        return;
    }
    if (rows_.empty())
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    requireWritable();
    cancel(); // an unposted edit of the row is dropped with it
    if (beforeDelete_)
        beforeDelete_(*this); // Abort or any error leaves the row and the dataset as they were
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE _rowid_ = ?").arg(SqlText::quoteIdentifier(baseTable_));
    const StatementLease statement = connection_.statement(sql);
    statement->bind(1, rows_[size_t(current_)].rowId);
    statement->run();
    removeRow(current_);
    if (afterDelete_)
        afterDelete_(*this);
}

bool DataSet::modified() const
{
    return std::find(assigned_.begin(), assigned_.end(), true) != assigned_.end();
}

Field& DataSet::field(int index) const
{
    if (index < 0 || index >= int(fields_.size()))
        throw RangeError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return *fields_[size_t(index)];
}

Field* DataSet::findField(const QString& name) const
{
    Lookup& lookup = lookups_[(quintptr(name.constData()) / sizeof(QChar)) % lookups_.size()];
    if (lookup.name == name.constData() && lookup.field < fields_.size()
        && SqlText::sameName(fields_[lookup.field]->fieldName(), name))
        return fields_[lookup.field].get();
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (SqlText::sameName(fields_[i]->fieldName(), name)) {
            lookup = Lookup{name.constData(), i};
            return fields_[i].get();
        }
    }
    return nullptr;
}

Field& DataSet::fieldByName(const QString& name) const
{
    Field* found = findField(name);
    if (!found)
        throw missingField(name);
    return *found;
}

void DataSet::setDisplayFormat(const QString& fieldName, const QString& format)
{
    keepLook(formats_, fieldName, format);
    if (Field* found = findField(fieldName)) {
        found->def_.displayFormat = format;
        if (!quiet())
            emit reset();
    }
}

void DataSet::setDisplayLabel(const QString& fieldName, const QString& label)
{
    keepLook(labels_, fieldName, label);
    if (Field* found = findField(fieldName))
        found->def_.displayLabel = label;
}

QVariant DataSet::columnValue(int column) const
{
    return rowValue(current_, column);
}

QVariant DataSet::rowValue(int row, int column) const
{
    const RowValues* values = rowValues(row, column);
    return values ? values->at(size_t(column)) : QVariant();
}

const RowValues* DataSet::rowValues(int row, int column) const
{
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= int(rows_[size_t(row)].values.size()))
        return nullptr;
    if (rows_[size_t(row)].posted) { // a read to the caller; the rows are this dataset's own
        auto* self = const_cast<DataSet*>(this);
        list_ ? self->readListRows(size_t(row)) : self->readPosted(size_t(row));
    }
    return &rows_[size_t(row)].values;
}

void DataSet::setColumnValue(int column, const QVariant& value)
{
    requireEditing();
    if (column < 0 || column >= int(columnNames_.size()))
        throw DatabaseError(QStringLiteral("The field has no column in the result"));
    rows_[size_t(current_)].values.set(size_t(column), value);
    assigned_[size_t(column)] = true;
    if (!quiet()) {
        emit rowChanged(current_);
        tellFollowers(false);
    }
}

} // namespace lb::db
