// The error log: how an error is classified, and how it is written to apperror or the text log.
#pragma once

#include "platform/sys/Errors.h"

#include <QDateTime>
#include <QString>
#include <exception>

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
    QString className; // apperror.name: class of the object that reported it
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
    // whole nowhere.
    static bool keep(lb::db::Table* apperror, const QString& logFile, const ErrorEntry& entry);

    // "清空错误记录": deletes the text log when present, empties apperror through `command`
    // (statement convention) and reopens `apperror`.
    static void clear(lb::db::Table& apperror, lb::db::Query& command, const QString& logFile);
};

} // namespace lb::core
