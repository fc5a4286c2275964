// The error log: how an error is classified, and how it is written to apperror or the text log.
#pragma once

#include "platform/sys/Errors.h"
#include "platform/sys/FileWrite.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <exception>

class QObject;
class QWidget;

namespace lb::db {
class Table;
class Query;
}

namespace lb::core {

// One logged error, as the error form shows it and the log keeps it.
struct ErrorEntry {
    QString kindText;  // apperror.capt: the classification text ("数据库错误", ...)
    QString caption;   // apperror.titl: caption of the window active when it happened
    QString className; // apperror.name: class of the object that reported it (Reporter::name)
    QDateTime when;    // apperror.rq
    // apperror.mess: the cause in the user's words, when the error has one, on a line of its
    // own above the error's own words (the engine's, with its statement); for a failure that a
    // command showed in its own message, that message above them.
    QString message;
};

class ErrorLog {
public:
    // The text shown for each kind of error, specific kinds before their bases.
    static QString kindText(lb::ErrorKind kind);

    // Builds the entry of an error: the program's own errors by their kind;
    // std::bad_cast as a type conversion error, std::out_of_range as a range error,
    // std::invalid_argument as a conversion error, std::overflow_error and
    // std::underflow_error as floating-point overflow and underflow; anything else, an
    // out-of-memory included, as "系统错误!". `reporter` is the class
    // name of the object that reported it (empty: the error's own class name). The caption is
    // that of the active window or, while no window is active (a dialog has just closed and the
    // activation has not come back yet), of `source`, the reporter's window (may be nullptr);
    // at most 255 characters, or "无标题". The time comes from lb::Clock.
    static ErrorEntry describe(const std::exception& error, const QString& reporter, const QWidget* source = nullptr);

    // Appends the entry as a row of apperror through the given table (opened when closed),
    // posts it and refreshes the table, so that its current row is the new one.
    // Returns false when any of that fails; the table is then left without a pending edit.
    static bool writeRow(lb::db::Table& apperror, const ErrorEntry& entry);
    // Whether the row of apperror holds the whole message: its column keeps only its first
    // characters.
    static bool rowHoldsWhole(lb::db::Table& apperror, const ErrorEntry& entry);

    // The text log's line: kind, blank, class name, blank, "yyyy-mm-dd hh:mm:ss " stamp, blank,
    // message.
    static QString logLine(const ErrorEntry& entry);
    // Appends the line to the text log (created when missing), in UTF-8 with a line break.
    // Returns false when the file cannot be written.
    static bool appendLine(const QString& logFile, const ErrorEntry& entry);

    // Keeps the entry: a row of apperror through `apperror` (null while no books are open),
    // and a line of the text log `logFile` when there is no row or it holds only the start of
    // the message, so that nothing of an error is lost. Returns false when the entry is kept
    // whole nowhere. While a transaction is open on the books (a command met the error before
    // its guard ended) the row waits for its end, so that a rollback does not take it
    // (Connection::afterTransactions): it is written then, or the line when the books close
    // first; true is returned for it at once.
    static bool keep(lb::db::Table* apperror, const QString& logFile, const ErrorEntry& entry);

    // "清空错误记录": deletes the text log when present, empties apperror through `command`
    // (statement convention) and reopens `apperror`.
    static void clear(lb::db::Table& apperror, lb::db::Query& command, const QString& logFile);
};

// Who met an error, as the log names it (apperror.name, the text log's second field), and the
// window whose caption stands in for the active window's while none is active.
struct Reporter {
    // An object of the program: a window by the class name of the program's design, which its
    // object name carries where it has one (the windows that are one class configured per kind
    // carry their kind's there: "Tfroutdetail", "Tfrcustomeredit"); a window without one, and
    // any other object, by its class without our namespaces ("Tfrconfig", "QLineEdit"). Null:
    // no name, so that the error's own class names it.
    Reporter(const QObject* sender);
    // A command that runs without a window of its own, by its name ("ShutdownBackup").
    Reporter(QString command);

    QString name;
    const QWidget* source = nullptr; // not owned; may be null
};

// Where an entry is kept: in the books (ErrorLog::keep: a row of the data module's apperror,
// the text log when the row cannot take it whole), or in the text log alone, for the commands
// that copy or replace the books' files, whose failure must not change the books.
enum class LogPlace { Books, TextLog };

// Keeps `entry` where `place` says, in the data module's apperror (none while there is no data
// module) and the program's text log (lb::AppPaths::errorLogFile). False when it is kept whole
// nowhere.
bool logEntry(const ErrorEntry& entry, LogPlace place = LogPlace::Books);

// Logs `error`, which `who` met in a command that tells the user of its failure in its own
// message `command`: the log keeps that message above the error's cause and words.
void logError(const Reporter& who, const std::exception& error, const QString& command, LogPlace place = LogPlace::Books);
// Logs each of `failures` of a command that copied the books' files and showed them with its
// own message `command`, into the text log alone, as logError logs the error a writer throws
// for it; causes the user was shown and the program's or the system's words alike.
void logFailures(const Reporter& who, const QString& command, const QList<lb::FileFailure>& failures);

} // namespace lb::core
