// The database error raised for a failing SQLite call: the engine's code and message, the SQL and its parameters.
#pragma once

#include "platform/sys/Errors.h"

namespace lb::db {

// Message shown and logged: "<engine message>" followed by the SQL and parameter values, so that
// the error log tells which statement failed with which input. Callers catch it as a
// DatabaseError, but the error log files what the engine itself refuses (a bad statement, a
// broken constraint, a locked file) under "any other error", apart from the dataset layer's own
// errors (a missing field, a closed dataset). `cause` is the cause in the user's words
// (lb::Error::cause): for a disk without room or a folder that may not be written,
// lb::FileWrite::failure's text with the folder of the file the engine was writing
// (Statement::check).
class SqliteError : public DatabaseError {
public:
    SqliteError(int code, const QString& engineMessage, const QString& sql, const QString& params, int systemError = 0,
                const QString& cause = QString());
    ErrorKind kind() const noexcept override { return ErrorKind::Other; }
    const char* className() const noexcept override { return "SqliteError"; }
    int code() const noexcept { return code_; }
    const QString& engineMessage() const noexcept { return engineMessage_; }
    const QString& sql() const noexcept { return sql_; }
    const QString& params() const noexcept { return params_; }
    // The system's error code (errno) behind a failure to read or write a file: ENOSPC for the
    // engine's "disk is full" (it keeps no code of its own for that), the failing call's code
    // for an input/output error or a file that would not open, and for a file it could not make
    // in a folder that may not be written (also reported as a read-only database) the folder's
    // (EACCES, EPERM, EROFS); 0 for any other failure.
    int systemError() const noexcept { return systemError_; }

private:
    int code_;
    int systemError_;
    QString engineMessage_;
    QString sql_;
    QString params_;
};

} // namespace lb::db
