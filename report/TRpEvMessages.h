// The evaluator's message texts: what an error result of a report expression says.
#pragma once

#include <QString>

namespace lb::report {

// Fills the "%s" placeholders of a message in order.
inline QString rpFormat(const char* pattern, const QString& a = QString(), const QString& b = QString())
{
    QString text = QString::fromLatin1(pattern);
    const qsizetype first = text.indexOf(QLatin1String("%s"));
    if (first >= 0) {
        text.replace(first, 2, a);
        const qsizetype second = text.indexOf(QLatin1String("%s"), first + a.size());
        if (second >= 0)
            text.replace(second, 2, b);
    }
    return text;
}

namespace msg {
// Compilation.
inline constexpr const char* ErrorInExpression = "Error in expression : %s";
inline constexpr const char* Missing = "Missing %s";
inline constexpr const char* IllegalNumber = "Illegal character in numeric contant \"%s\"";
inline constexpr const char* UnknownFunction = "Unknown function : %s";
// Evaluation.
inline constexpr const char* InvalidNot = "Invalid use of NOT";
inline constexpr const char* OperatorNotCompatible = "Operator %s is not compatible with %s expressions";
inline constexpr const char* CannotOperate = "Cannot %s %s expressions";
inline constexpr const char* DivideByZero = "Cannot divide by 0";
inline constexpr const char* FieldUnknownType = "Field %s is of unknown type";
inline constexpr const char* RecursiveCall = "Recursive calls not allowed";
inline constexpr const char* NotPrepared = "Evaluator not prepared";
// Built-in functions.
inline constexpr const char* WrongArguments = "Wrong arguments for %s";
inline constexpr const char* MissingArgument = "Missing argument for %s";
inline constexpr const char* ConversionError = "Conversion error";
inline constexpr const char* TooManyArguments = "Too many arguments";
inline constexpr const char* InvalidSqrt = "Invalid argument to SQRT function";
inline constexpr const char* DivisionByZero = "Division by Zero";
inline constexpr const char* InvalidFormat = "Invalid format or value specified";
} // namespace msg

} // namespace lb::report
