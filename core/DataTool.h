// What the administrator's data tool does: free SQL, the two lists emptied, the batch move.
#pragma once

#include "platform/office/ExternalTable.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace lb::db {
class Query;
}

namespace lb::core {

class DataTool {
public:
    // Why a free SQL text is not run.
    enum class Refusal {
        None,
        SeveralStatements,   // only one statement at a time
        Parameters,          // a parameter nobody would give a value
        TransactionsOrFiles, // begins, ends or nests a transaction, or attaches or detaches a file
        SessionSettings,     // sets a pragma, or makes a temporary table, view or trigger
    };

    // The SQL text of the memo: every line whose trimmed text is not empty, unchanged.
    static QStringList statementLines(const QString& memo);

    // Checks the lines as one statement without running it: Refusal::None when it may run.
    // lb::DatabaseError (from the engine) for a text that does not prepare; where the engine
    // finds no column of a name the text writes in double quotes, its cause says that texts
    // are written in single quotes.
    static Refusal check(lb::db::Query& command, const QStringList& lines);

    // Runs the lines through `command` (AQcom) as one statement, or opens them as a query,
    // after check(), in a transaction of its own; returns its refusal without running anything
    // when it has one. While the statement is prepared and run, the connection refuses any
    // change of its session (lb::db::SessionGuard). Errors of the statement itself reach the
    // caller, its changes undone.
    static Refusal execute(lb::db::Query& command, const QStringList& lines);
    static Refusal open(lb::db::Query& command, const QStringList& lines);

    // Empties the product categories and the units of measure, in one transaction.
    static void emptyLists(lb::db::Query& command);

    // The external tables of the batch move: the FoxPro source "lw.dbf" and the Paradox
    // destination "product.DB", both in the folder "convert" of the program folder. The source
    // is taken whatever the case of its name ("LW.DBF" from a machine whose file names ignore
    // case); "lw.dbf" itself when there are several, that name when there is none.
    static QString sourceTable();
    static QString destinationTable();

    // The fields and records of the destination table; none when there is no such file.
    // lb::FileOpenError for a table that cannot be read.
    static lb::office::ExternalTable destinationRows();

    // Empties the destination table and appends every record of the source to it, field by
    // field in order. The destination keeps its fields; it is replaced only when complete.
    // Returns the records moved. lb::FileOpenError when either table cannot be read or the
    // destination written.
    static int merge(const QString& source, const QString& destination);

    // Gives every record of the destination its INTNO trimmed and filled with leading zeros
    // to ten characters. Returns the records changed. lb::Error when the table has no INTNO.
    static int padKeys(const QString& destination);

private:
    // check(), then the lines as the SQL text of `command` (closed) and `run` in a transaction.
    static Refusal runAlone(lb::db::Query& command, const QStringList& lines, const std::function<void()>& run);
};

} // namespace lb::core
