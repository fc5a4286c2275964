// A dataset: a client-side snapshot of rows with a current row, written through by rowid.
#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Field.h"
#include "platform/db/RowValues.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lb::db {

class Statement;

enum class DataSetState { Inactive, Browse, Edit, Insert };

enum class LocateOption { None = 0, CaseInsensitive = 1, PartialKey = 2 };
inline LocateOption operator|(LocateOption a, LocateOption b) { return LocateOption(int(a) | int(b)); }
inline bool operator&(LocateOption a, LocateOption b) { return (int(a) & int(b)) != 0; }

// A position that survives refreshes: the row's rowid where the dataset has one.
struct Bookmark {
    qint64 rowId = 0;
    int index = -1;
    bool valid() const { return index >= 0; }
};

// Rows are loaded when the dataset opens and live in memory; Edit/Append/Insert/Delete write
// through to the one base table of the result by rowid. A result that is not one table's rows
// (a join, an aggregate, DISTINCT) is read-only: writing to it raises DatabaseError.
//
// Signals tell bound controls (grids, edit boxes) what changed; DisableControls holds them
// back until the matching EnableControls, which then sends one reset(), or only
// currentChanged() when nothing but the current row moved meanwhile.
class DataSet : public QObject {
    Q_OBJECT
public:
    explicit DataSet(Connection& connection, QObject* parent = nullptr);
    ~DataSet() override;

    Connection& connection() const { return connection_; }
    QString name() const { return objectName(); }

    // Persistent fields: when declared, opening fails with DatabaseError
    // ("Field 'x' not found") if the result lacks one of them, and only they are fields.
    // Without them the fields follow the result's columns, typed by their declared types.
    void setPersistentFields(std::vector<FieldDef> fields);
    bool hasPersistentFields() const { return !persistent_.empty(); }

    void open();
    // Opens a long list, for a window that shows a few of its rows at a time and a print that
    // walks it once: the result may hold only some of the persistent fields (the others read as
    // null and refuse assignment until the dataset opens again), and of a result of one table's
    // rows only the rowids are loaded. A row is read by its rowid where it is first looked at,
    // and only the last rows looked at stay in memory. A result without rowids is loaded whole.
    void openList();
    void close();                 // an unposted edit is discarded
    bool active() const { return state_ != DataSetState::Inactive; }
    void setActive(bool value) { value ? open() : close(); }
    DataSetState state() const { return state_; }
    // Re-reads the rows held (by rowid) and keeps the current row; rows deleted meanwhile drop
    // out, rows appended through this dataset stay. A read-only result is run again.
    void refresh();

    // Navigation; moving off a row in Edit or Insert state posts it first.
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance);      // returns the distance moved
    bool eof() const;              // after next() on the last row, or empty
    bool bof() const;              // after prior() on the first row, or empty
    bool isEmpty() const;
    int recordCount() const;
    int recNo() const;             // 1-based; 0 when empty
    void setRecNo(int recNo);

    // Finds the first row whose fields (names separated by ';') equal the values;
    // moves there and returns true, or stays and returns false.
    bool locate(const QString& fieldNames, const QVariantList& values, LocateOption options = LocateOption::None);
    bool locate(const QString& fieldName, const QVariant& value, LocateOption options = LocateOption::None)
    { return locate(fieldName, QVariantList{value}, options); }

    Bookmark bookmark() const;
    bool bookmarkValid(const Bookmark& mark) const;
    void gotoBookmark(const Bookmark& mark); // DatabaseError when the row is gone

    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }
    // Other datasets follow this one's current row (details of a master).
    bool hasFollowers() const { return !followers_.empty(); }

    // Editing. Edit of an empty dataset starts an insert. Append adds a row at the end,
    // Insert before the current row. Post writes only the fields assigned (so that column
    // defaults apply on insert) and re-reads the row where its values are next looked at. Delete asks BeforeDelete first; that
    // hook stops the deletion by throwing (Abort for a silent stop).
    void edit();
    void append();
    void insert();
    void post();
    void cancel();
    void deleteRecord();
    bool modified() const;
    using DataSetHook = std::function<void(DataSet&)>;
    void setBeforeDelete(DataSetHook hook) { beforeDelete_ = std::move(hook); }
    void setBeforePost(DataSetHook hook) { beforePost_ = std::move(hook); }
    void setAfterScroll(DataSetHook hook) { afterScroll_ = std::move(hook); }
    // After a row was written by Post (the dataset back in browse state), after a row was
    // deleted (the next row current), and when Append or Insert has made a new row: values
    // assigned there are the row's first values and are written by its Post.
    void setAfterPost(DataSetHook hook) { afterPost_ = std::move(hook); }
    void setAfterDelete(DataSetHook hook) { afterDelete_ = std::move(hook); }
    void setOnNewRecord(DataSetHook hook) { onNewRecord_ = std::move(hook); }

    // Datasets that follow this one (master-detail) are told directly after each reset (true),
    // move or change of the current row (false), not through a signal: an error of theirs
    // reaches whoever changed this dataset. Returns the key that removes the follower.
    using Follower = std::function<void(bool reopened)>;
    int addFollower(Follower follower);
    void removeFollower(int key);

    // Fields.
    int fieldCount() const { return int(fields_.size()); }
    Field& field(int index) const;
    Field* findField(const QString& name) const;   // case-insensitive; nullptr when missing
    // DatabaseError "Field 'x' not found", its cause that the table was changed (as when
    // persistent fields are missing).
    Field& fieldByName(const QString& name) const;
    Field& operator[](const QString& name) const { return fieldByName(name); }
    // Display format of one field, kept across reopenings (the options apply formats once).
    void setDisplayFormat(const QString& fieldName, const QString& format);
    void setDisplayLabel(const QString& fieldName, const QString& label);

    // For Field: the value of a column of the current row, and assignment to it.
    QVariant columnValue(int column) const;
    void setColumnValue(int column, const QVariant& value);
    // Value of a column in any row (0-based), for grids that draw rows other than the current.
    QVariant rowValue(int row, int column) const;
    bool readOnly() const { return baseTable_.isEmpty(); }
    const QString& baseTable() const { return baseTable_; }

signals:
    void reset();                  // rows or fields replaced (open, close, refresh, reopen)
    void currentChanged(int row);  // current row moved (0-based; -1 when empty)
    void rowChanged(int row);      // values of one row changed
    void rowInserted(int row);
    void rowRemoved(int row);
    void stateChanged();

protected:
    // The statement whose rows the dataset holds, with its parameters bound; subclasses build it.
    struct Source {
        QString sql;                       // SELECT text, as SQLite runs it
        std::vector<std::pair<QString, QVariant>> params;
    };
    virtual Source source() const = 0;
    // Posts a pending edit or insert (cancels one nothing was assigned to), as a move does.
    void checkBrowse();
    // Gives the statements kept prepared while open back to the connection, which keeps them
    // for the next user of their texts; the connection calls it when it closes, so that the
    // handle goes at once and no lease outlives the connection.
    virtual void releaseStatements() noexcept;

private:
    struct Row {
        qint64 rowId = 0;
        RowValues values;
        // Written, or not read yet (a list's row): what the table holds is read where the row
        // is first looked at.
        bool posted = false;
    };
    struct Snapshot;
    // The rows of `source`, or with `rowIdsOnly` only their rowids where the rows have them.
    Snapshot load(const Source& source, bool rowIdsOnly) const;
    // The statement that reads the rows of `source` as the schema is now, stepped to its first
    // row (`more`: whether it stands on one); `snap` takes the base table and the columns'
    // origins where the rows are one table's.
    StatementLease rowsStatement(const Source& source, Snapshot& snap, bool& more) const;
    void open(bool list);
    void keepRead(size_t index); // a list's row just read: the oldest row read before it goes
    void readListRows(size_t index);
    QString listSelect() const; // SELECT of the base table's columns and rowid, up to its WHERE
    // Reads a list's rows by their rowids (`rows` holds rowid and place, and comes back sorted)
    // and calls `found` for each row the table still has, the statement on it.
    void findListRows(std::vector<std::pair<qint64, size_t>>& rows, const std::function<void(const Statement&, size_t)>& found);
    void bindFields(const std::vector<FieldDef>& resultColumns);
    void requireActive() const;
    void requireEditing() const;
    void requireWritable() const;
    void moveTo(int index);
    void startInsert(bool atEnd); // a new row at the end, or before the current row
    void notifyScroll();
    void emitReset();
    void tellFollowers(bool reopened);
    bool quiet(); // true while controls are disabled (and notes that a reset is owed)
    bool readBack(qint64 rowId, RowValues& into);
    Statement& rowReader(); // SELECT of the base table's columns by rowid
    void readPosted(size_t index) noexcept;
    void rereadRows(int keep);   // re-reads held rows by rowid; `keep`: a row left as it is, or -1
    void placeAfterReread(qint64 rowId, int index);
    // For Connection: the transaction numbered `transaction` (Connection::transactionsBegun()
    // once it began) was rolled back.
    void resyncAfterRollback(quint64 transaction) noexcept;
    void removeRow(int index);
    void applyLooks(Field& field) const;
    void forgetLookups() const { lookups_.fill(Lookup{}); } // whenever fields_ changes
    // For Field's typed reads: the values of a row that has the column, read back first when
    // posted; nullptr otherwise.
    const RowValues* rowValues(int row, int column) const;
    const RowValues* currentValues(int column) const { return rowValues(current_, column); }

    Connection& connection_;
    DataSetState state_ = DataSetState::Inactive;
    std::vector<FieldDef> persistent_;
    std::vector<std::unique_ptr<Field>> fields_;
    // fieldByName runs for every field read of every row, nearly always with names written in
    // the code: the last names looked up are remembered by where their characters lie. A hit is
    // still confirmed by comparing the names, as other text may lie there by now.
    struct Lookup {
        const QChar* name = nullptr;
        size_t field = 0;
    };
    mutable std::array<Lookup, 8> lookups_{};
    std::vector<QString> columnNames_;         // result columns, as loaded
    std::vector<QString> origins_;             // their columns in the base table, when writable
    std::vector<Row> rows_;
    RowValues::Store store_;                   // where the loaded rows lie; outlives them
    bool list_ = false;                        // opened by openList with rowids only
    std::vector<size_t> readRows_;             // a list's rows read, a ring; readRows_[nextRead_] the oldest
    size_t nextRead_ = 0;
    size_t listReadEnd_ = 0;                   // a list's row after the last of the latest read
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    QString baseTable_;
    std::vector<bool> assigned_;               // columns assigned since edit/insert
    std::optional<Row> saved_;                 // the row before Edit, for Cancel
    quint64 editBegun_ = 0;                    // transactions begun on the connection when Edit or Insert began
    int disableCount_ = 0;
    bool pendingReset_ = false;
    bool pendingMove_ = false; // the current row moved while the controls were held back
    std::vector<std::pair<QString, QString>> formats_;
    std::vector<std::pair<QString, QString>> labels_;
    DataSetHook beforeDelete_;
    DataSetHook beforePost_;
    DataSetHook afterScroll_;
    DataSetHook afterPost_;
    DataSetHook afterDelete_;
    DataSetHook onNewRecord_;
    std::vector<std::pair<int, Follower>> followers_;
    int lastFollower_ = 0;
    // Kept while the dataset is open, so that posting row after row prepares nothing anew.
    StatementLease rowReader_;
    StatementLease listReader_; // a list's rows by many rowids at once
    StatementLease listRange_;  // a list's rows by a range of rowids
    StatementLease update_;
    std::vector<size_t> updateColumns_;        // the columns update_ sets
    bool attached_ = true;                     // false once the connection is destroyed
    friend class Field;
    friend class Connection;
};

} // namespace lb::db
