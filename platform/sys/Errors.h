// The program's exception types: one base, one class per kind of error the error log tells apart.
#pragma once

#include <QString>
#include <stdexcept>

namespace lb {

// Kinds in the order the error handler tests them: a specific kind stands before its base.
enum class ErrorKind {
    Convert,         // a text that is not a valid number or date
    DivByZero,       // integer division by zero
    IntOverflow,     // integer overflow
    Range,           // index or value out of range
    Int,             // any other integer error
    InvalidOp,       // invalid floating-point operation
    Overflow,        // floating-point overflow
    Underflow,       // floating-point underflow
    ZeroDivide,      // floating-point division by zero
    Math,            // any other floating-point error
    InvalidCast,     // invalid type conversion of an object
    Database,        // error of the dataset layer or of the database engine
    FileOpen,        // a file that cannot be opened
    AccessViolation, // access to invalid memory
    Other,           // anything else
};

// Base of every error the program raises itself. The message is shown to the user and logged.
// Where the program knows a cause the user can act on (a full disk and its folder), the error
// carries it too, in the user's words: the message keeps the words of whoever raised it (the
// engine's, with its statement), which the one looking after the books needs.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message, const QString& cause = QString())
        : std::runtime_error(message.toStdString()), message_(message), cause_(cause) {}
    const QString& message() const noexcept { return message_; }
    // The cause in Chinese, or empty. Windows read causes through lb::causeOf (FileWrite.h),
    // which knows that of a file that could not be written too.
    const QString& cause() const noexcept { return cause_; }
    // What the error form and the logs show: the cause, when there is one, on a line of its
    // own above the message.
    QString shownText() const { return cause_.isEmpty() ? message_ : cause_ + QLatin1Char('\n') + message_; }
    virtual ErrorKind kind() const noexcept { return ErrorKind::Other; }
    // Class name written to the error log's "where" column.
    virtual const char* className() const noexcept { return "Exception"; }

private:
    QString message_;
    QString cause_;
};

#define LB_ERROR_CLASS(Name, Base, Kind)                                          \
    class Name : public Base {                                                    \
    public:                                                                       \
        using Base::Base;                                                         \
        ErrorKind kind() const noexcept override { return ErrorKind::Kind; }      \
        const char* className() const noexcept override { return #Name; }         \
    };

LB_ERROR_CLASS(ConvertError, Error, Convert)
LB_ERROR_CLASS(IntError, Error, Int)
LB_ERROR_CLASS(DivByZeroError, IntError, DivByZero)
LB_ERROR_CLASS(IntOverflowError, IntError, IntOverflow)
LB_ERROR_CLASS(RangeError, IntError, Range)
LB_ERROR_CLASS(MathError, Error, Math)
LB_ERROR_CLASS(InvalidOpError, MathError, InvalidOp)
LB_ERROR_CLASS(OverflowError, MathError, Overflow)
LB_ERROR_CLASS(UnderflowError, MathError, Underflow)
LB_ERROR_CLASS(ZeroDivideError, MathError, ZeroDivide)
LB_ERROR_CLASS(InvalidCastError, Error, InvalidCast)
LB_ERROR_CLASS(DatabaseError, Error, Database)
LB_ERROR_CLASS(FileOpenError, Error, FileOpen)

#undef LB_ERROR_CLASS

// The silent stop of a command: a declined confirmation, a refused right, a failed check.
// It is not an Error: the global handler lets it pass without a message or a log entry.
class Abort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

} // namespace lb
