// The database schema as data: every table with its columns, types, sizes and labels.
#pragma once

#include "platform/db/Field.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace lb::core {

// Column types of the program's tables.
enum class ColumnType {
    Text,     // at most `size` characters
    Memo,     // unbounded text
    Double,
    Long,
    YesNo,    // never null, 0 or 1
    Date,     // a day, stored "yyyy-MM-dd"
    DateTime, // a day and a time of day
    Counter,  // automatic row number, the table's primary key
};

struct Column {
    QString name;
    ColumnType type = ColumnType::Text;
    int size = 0;           // Text only
    QString label;          // caption in grids; empty: none
    bool defaultTrue = false; // YesNo columns whose default is true
    bool nullDefault = false; // Text columns that start null rather than empty
};

// An index for the look-ups, period filters and party filters: of one column, or of the
// expression over it that the statements compare (trim("customerid")), so that the index
// serves exactly the comparison the statements make.
struct IndexDef {
    QString name;
    QString table;
    QString term; // SQL: a quoted column or an expression of one
};

struct TableDef {
    QString name;
    std::vector<Column> columns;
    const Column* find(const QString& column) const; // case-insensitive; nullptr when missing
};

// The single source for the data definition statements, for the data module's persistent
// fields and for the upgrade of older files. The tables are given in their upgraded form.
class Schema {
public:
    // The thirty-six tables.
    static const std::vector<TableDef>& tables();
    // One table by name (case-insensitive); lb::Error when the schema has no such table.
    static const TableDef& table(const QString& name);

    // The header tables of the seven document kinds, in the upgrade's order
    // (dhlist, getlist, outbacklist, outlist, putlist, inbacklist, inlist), and their line tables.
    static const QStringList& headerTables();
    static const QStringList& lineTables();
    // The indexes: document headers by number, date and party code; lines by number,
    // document, product and date; products by number, code and barcode; customers, suppliers
    // and accounts by code; the trading and money documents by the trimmed party code, and
    // sales and purchase headers by the trimmed account code, as the running balances compare
    // them. Older files get them from the upgrade.
    static const std::vector<IndexDef>& indexes();
    static QString createIndexSql(const IndexDef& index);

    // Columns that older files lack: config's three options, the four header columns (of the
    // header tables and totallist), and the route posting took (of the header tables alone:
    // "T" posted in full, "F" booked for stock only; null for documents posted before it).
    static const QStringList& optionUpgradeColumns();
    static const QStringList& headerUpgradeColumns();
    static const QStringList& routeUpgradeColumns();

    // Column definition as SQLite takes it in CREATE TABLE and ALTER TABLE ADD COLUMN:
    // Text(n) "VARCHAR(n) COLLATE NOCASE DEFAULT ''" (without the default where it starts
    // null), Memo "TEXT COLLATE NOCASE DEFAULT ''",
    // Double "DOUBLE DEFAULT 0", Long "INTEGER DEFAULT 0", Yes/No "BOOLEAN NOT NULL DEFAULT 0"
    // (1 where the default is true), Date "DATE", Date/Time "DATETIME",
    // Counter "INTEGER PRIMARY KEY AUTOINCREMENT".
    static QString columnSql(const Column& column);
    static QString createTableSql(const TableDef& table);

    // The persistent field of a column, typed as the dataset layer types its declared type.
    static lb::db::FieldDef fieldDef(const Column& column);
    // Fields of every column of a table, in column order.
    static std::vector<lb::db::FieldDef> fieldDefs(const QString& table);
};

} // namespace lb::core
