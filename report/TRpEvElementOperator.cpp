// A binary operator of a report expression: kind rules and results.
#include "report/TRpEvElementOperator.h"

#include "report/TRpEvMessages.h"
#include "report/TRpFiFo.h"

#include <cstdint>

namespace lb::report {

namespace {

// 32-bit arithmetic that wraps like the machine's, without the undefined behaviour of
// signed overflow.
qint32 wrap(std::uint32_t value) { return static_cast<qint32>(value); }
qint32 add(qint32 a, qint32 b) { return wrap(std::uint32_t(a) + std::uint32_t(b)); }
qint32 subtract(qint32 a, qint32 b) { return wrap(std::uint32_t(a) - std::uint32_t(b)); }
qint32 multiply(qint32 a, qint32 b) { return wrap(std::uint32_t(a) * std::uint32_t(b)); }

QString operatorText(TRpOperator op)
{
    switch (op) {
    case opLess: return QStringLiteral("<");
    case opLessOrEqual: return QStringLiteral("<=");
    case opGreater: return QStringLiteral(">");
    case opGreaterOrEqual: return QStringLiteral(">=");
    default: return QString();
    }
}

TRpEvResult incompatible(const QString& op, const char* kind)
{
    return TRpEvResult::error(rpFormat(msg::OperatorNotCompatible, op, QLatin1String(kind)));
}

TRpEvResult cannot(const char* verb, const char* kind)
{
    return TRpEvResult::error(rpFormat(msg::CannotOperate, QLatin1String(verb), QLatin1String(kind)));
}

const char* verbOf(TRpOperator op)
{
    switch (op) {
    case opPlus: return "add";
    case opMinus: return "subtract";
    case opMul: return "multiply";
    default: return "divide";
    }
}

// Result of a relation from a three-way comparison.
bool relation(TRpOperator op, int order)
{
    switch (op) {
    case opLess: return order < 0;
    case opLessOrEqual: return order <= 0;
    case opGreater: return order > 0;
    case opGreaterOrEqual: return order >= 0;
    case opEqual: return order == 0;
    default: return order != 0;
    }
}

template <typename T>
int order(T a, T b) { return a < b ? -1 : (b < a ? 1 : 0); }

void promote(TRpEvResult& left, TRpEvResult& right)
{
    if (left.kind == right.kind)
        return;
    if (left.kind == rkInteger && right.kind == rkDouble) {
        left.doubleValue = left.intValue * 1.0;
        left.kind = rkDouble;
    } else if (left.kind == rkDouble && right.kind == rkInteger) {
        right.doubleValue = right.intValue * 1.0;
        right.kind = rkDouble;
    } else {
        left.setStrValue(left.toText());
        left.kind = rkString;
        right.setStrValue(right.toText());
        right.kind = rkString;
    }
}

} // namespace

void TRpEvElementOperator::value(TRpFiFo& queue, TRpEvResult& result)
{
    TRpEvResult left;
    TRpEvResult right;
    queue.evaluateNext(left);
    queue.evaluateNext(right);
    result = apply(op_, std::move(left), std::move(right));
}

TRpEvResult TRpEvElementOperator::apply(TRpOperator op, TRpEvResult left, TRpEvResult right)
{
    if (left.kind == rkError)
        return left;
    if (right.kind == rkError)
        return right;
    promote(left, right);

    const bool relational = op <= opUnequal;
    const bool equality = op == opEqual || op == opUnequal;
    switch (left.kind) {
    case rkInteger: {
        const qint32 a = left.intValue;
        const qint32 b = right.intValue;
        if (relational)
            return TRpEvResult::boolean(relation(op, order(a, b)));
        switch (op) {
        case opPlus: return TRpEvResult::integer(add(a, b));
        case opMinus: return TRpEvResult::integer(subtract(a, b));
        case opMul: return TRpEvResult::integer(multiply(a, b));
        case opDiv:
            if (b == 0)
                return TRpEvResult::error(QString::fromLatin1(msg::DivideByZero));
            return TRpEvResult::number(double(a) / double(b));
        case opOr: return TRpEvResult::integer(a | b);
        default: return TRpEvResult::integer(a & b);
        }
    }
    case rkDouble: {
        const double a = left.doubleValue;
        const double b = right.doubleValue;
        if (relational)
            return TRpEvResult::boolean(relation(op, order(a, b)));
        switch (op) {
        case opPlus: return TRpEvResult::number(a + b);
        case opMinus: return TRpEvResult::number(a - b);
        case opMul: return TRpEvResult::number(a * b);
        case opDiv:
            if (b == 0.0)
                return TRpEvResult::error(QString::fromLatin1(msg::DivideByZero));
            return TRpEvResult::number(a / b);
        case opOr: return incompatible(QStringLiteral("OR"), "numeric");
        default: return incompatible(QStringLiteral("AND"), "numeric");
        }
    }
    case rkString: {
        if (equality)
            return TRpEvResult::boolean(relation(op, left.strValue() == right.strValue() ? 0 : 1));
        if (relational)
            return TRpEvResult::boolean(relation(op, rpCompareText(left.strValue(), right.strValue())));
        switch (op) {
        case opPlus: return TRpEvResult::string(left.strValue() + right.strValue());
        case opOr: return incompatible(QStringLiteral("OR"), "string");
        case opAnd: return incompatible(QStringLiteral("AND"), "string");
        default: return cannot(verbOf(op), "string");
        }
    }
    case rkBoolean: {
        const bool a = left.boolValue;
        const bool b = right.boolValue;
        if (equality)
            return TRpEvResult::boolean(relation(op, a == b ? 0 : 1));
        if (relational)
            return incompatible(operatorText(op), "boolean");
        switch (op) {
        case opOr: return TRpEvResult::boolean(a ? true : b);
        case opAnd: return TRpEvResult::boolean(a ? b : false);
        default: return cannot(verbOf(op), "boolean");
        }
    }
    case rkError:
        break;
    }
    return left;
}

} // namespace lb::report
