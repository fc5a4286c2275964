// The 59 built-in functions of report expressions: what each computes from its arguments.
#include "report/RpBuiltinFunctions.h"

#include "platform/sys/Clock.h"
#include "platform/sys/Errors.h"
#include "platform/sys/TextFormat.h"
#include "report/RpRound.h"
#include "report/TRpEvElementAggregate.h"
#include "report/TRpEvMessages.h"
#include "report/TRpFunctionLibrary.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace lb::report {

namespace {

using Args = std::vector<TRpEvResult>;
using Calculator = TRpEvElementFunction::Calculator;

const QString Vendor = QStringLiteral("ledgerbox");
constexpr double Pi = std::numbers::pi;

bool isNumeric(const TRpEvResult& r) { return r.kind == rkInteger || r.kind == rkDouble; }
double asDouble(const TRpEvResult& r) { return r.kind == rkInteger ? r.intValue * 1.0 : r.doubleValue; }

void wrongArguments(const QString& name, TRpEvResult& result)
{
    result.setError(rpFormat(msg::WrongArguments, name));
}

// Whether a double lies within the 64-bit integers (so that it converts without overflow).
bool inIntegerRange(double x) { return std::isfinite(x) && std::fabs(x) < 9.2e18; }
// A 64-bit integer as the evaluator's 32-bit integer, wrapping like its arithmetic.
qint32 wrap32(std::int64_t value) { return static_cast<qint32>(static_cast<quint32>(value)); }

// Texts are cut and copied by whole characters, never splitting one.
QString characters(const QString& text, qsizetype from, qsizetype count)
{
    const QList<uint> chars = text.toUcs4();
    from = qBound<qsizetype>(0, from, chars.size());
    count = qBound<qsizetype>(0, count, chars.size() - from);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData() + from), count);
}

qsizetype characterCount(const QString& text) { return text.toUcs4().size(); }

// ---- Logic, text and information

void fnIf(const QString&, const Args& a, TRpEvResult& r)
{
    if (a.size() == 3 && a[0].kind == rkBoolean)
        r = a[0].boolValue ? a[1] : a[2];
    else
        r.setError(rpFormat(msg::WrongArguments, QStringLiteral("IF")));
}

void fnStr(const QString&, const Args& a, TRpEvResult& r)
{
    if (a.size() == 1 && a[0].kind != rkString && a[0].kind != rkError)
        r = TRpEvResult::string(a[0].toText());
    else
        r.setError(QString::fromLatin1(msg::ConversionError));
}

template <QString (*Convert)(const QString&)>
void fnCase(const QString& name, const Args& a, TRpEvResult& r)
{
    if (a.size() != 1) {
        r.setError(rpFormat(msg::MissingArgument, name.toUpper()));
    } else if (a[0].kind != rkString) {
        // Takes over the argument's text field: an error argument keeps its message.
        r.setError(a[0].strValue());
    } else {
        r = TRpEvResult::string(Convert(a[0].strValue()));
    }
}

QString upper(const QString& text) { return text.toUpper(); }
QString lower(const QString& text) { return text.toLower(); }
QString pretty(const QString& text)
{
    return characters(text, 0, 1).toUpper() + characters(text, 1, characterCount(text)).toLower();
}

void fnTime(const QString& name, const Args& a, TRpEvResult& r)
{
    if (a.empty())
        r = TRpEvResult::string(rpTimeText(lb::Clock::now().time()));
    else
        wrongArguments(name, r);
}

void fnDate(const QString& name, const Args& a, TRpEvResult& r)
{
    if (a.empty())
        r = TRpEvResult::string(lb::fmt::dateToStr(lb::Clock::today()));
    else
        wrongArguments(name, r);
}

void fnCopy(const QString& name, const Args& a, TRpEvResult& r)
{
    if (a.size() != 3 || a[0].kind != rkString || a[1].kind != rkInteger || a[2].kind != rkInteger) {
        wrongArguments(name, r);
        return;
    }
    const qint32 start = qMax(a[1].intValue, 1);
    r = TRpEvResult::string(characters(a[0].strValue(), start - 1, a[2].intValue));
}

template <bool Value>
void fnBoolean(const QString&, const Args& a, TRpEvResult& r)
{
    if (a.empty())
        r = TRpEvResult::boolean(Value);
    else
        r.setError(QString::fromLatin1(msg::TooManyArguments));
}

void fnTypeOf(const QString&, const Args& a, TRpEvResult& r)
{
    if (a.size() != 1) {
        r.setError(rpFormat(msg::WrongArguments, QStringLiteral("TypeOf")));
        return;
    }
    static const char* const names[] = {"INTEGER", "FLOAT", "STRING", "BOOLEAN", "ERROR"};
    r = TRpEvResult::string(QLatin1String(names[a[0].kind]));
}

void fnFormatNumeric(const QString& name, const Args& a, TRpEvResult& r)
{
    if (a.size() != 2 || a[0].kind != rkString || !isNumeric(a[1])) {
        wrongArguments(name, r);
        return;
    }
    try {
        r = TRpEvResult::string(lb::fmt::formatFloat(a[0].strValue(), asDouble(a[1])));
    } catch (const lb::Error&) {
        r.setError(QString::fromLatin1(msg::InvalidFormat));
    }
}

template <bool Right>
void fnSideStr(const QString& name, const Args& a, TRpEvResult& r)
{
    if (a.size() != 2 || a[0].kind != rkString || a[1].kind != rkInteger) {
        wrongArguments(name, r);
        return;
    }
    const QString& text = a[0].strValue();
    const qsizetype length = qMax<qint32>(a[1].intValue, 0);
    const qsizetype total = characterCount(text);
    r = TRpEvResult::string(Right ? characters(text, total - qMin(length, total), length) : characters(text, 0, length));
}

// ---- Numbers

// An integer part that the evaluator's 32-bit integer cannot hold is refused like int(1E20),
// not wrapped into another number.
void fnInt(const QString&, const Args& a, TRpEvResult& r)
{
    const double whole = a.size() == 1 && a[0].kind == rkDouble ? std::trunc(a[0].doubleValue) : 0.0;
    if (a.size() == 1 && a[0].kind == rkInteger)
        r = TRpEvResult::integer(a[0].intValue);
    else if (a.size() == 1 && a[0].kind == rkDouble && whole >= std::numeric_limits<qint32>::min()
             && whole <= std::numeric_limits<qint32>::max())
        r = TRpEvResult::integer(static_cast<qint32>(whole));
    else
        r.setError(rpFormat(msg::WrongArguments, QStringLiteral("INT")));
}

void fnFrac(const QString& name, const Args& a, TRpEvResult& r)
{
    if (a.size() == 1 && isNumeric(a[0]))
        r = TRpEvResult::number(a[0].kind == rkInteger ? 0.0 : a[0].doubleValue - std::trunc(a[0].doubleValue));
    else
        wrongArguments(name, r);
}

void fnSqrt(const QString&, const Args& a, TRpEvResult& r)
{
    if (a.size() == 1 && isNumeric(a[0]) && asDouble(a[0]) >= 0.0)
        r = TRpEvResult::number(std::sqrt(asDouble(a[0])));
    else
        r.setError(QString::fromLatin1(msg::InvalidSqrt));
}

void fnDiv(const QString&, const Args& a, TRpEvResult& r)
{
    qint32 x = 0;
    qint32 y = 0;
    auto whole = [](const TRpEvResult& v, qint32& out) {
        if (v.kind == rkInteger) {
            out = v.intValue;
            return true;
        }
        if (v.kind != rkDouble || !inIntegerRange(v.doubleValue))
            return false;
        out = wrap32(Round(v.doubleValue)); // a half goes to the even neighbour
        return true;
    };
    if (a.size() != 2 || !whole(a[0], x) || !whole(a[1], y)) {
        r.setError(rpFormat(msg::WrongArguments, QStringLiteral("DIV")));
        return;
    }
    if (y == 0) {
        r.setError(QString::fromLatin1(msg::DivisionByZero));
        return;
    }
    // In 64 bits, so that the smallest integer divided by -1 wraps instead of trapping.
    r = TRpEvResult::integer(wrap32(std::int64_t(x) / std::int64_t(y)));
}

void fnHypot(const QString& name, const Args& a, TRpEvResult& r)
{
    if (a.size() == 2 && a[0].kind == rkDouble && a[1].kind == rkDouble)
        r = TRpEvResult::number(std::sqrt(a[0].doubleValue * a[0].doubleValue + a[1].doubleValue * a[1].doubleValue));
    else
        wrongArguments(name, r);
}

void fnPower(const QString& name, const Args& a, TRpEvResult& r)
{
    if (a.size() == 2 && isNumeric(a[0]) && isNumeric(a[1]))
        r = TRpEvResult::number(std::pow(asDouble(a[0]), asDouble(a[1])));
    else
        wrongArguments(name, r);
}

// One numeric argument, a double result. Arguments outside the function's domain are not
// checked: the result is what the arithmetic gives (NaN, infinity).
template <double (*F)(double)>
void fnMath(const QString& name, const Args& a, TRpEvResult& r)
{
    if (a.size() == 1 && isNumeric(a[0]))
        r = TRpEvResult::number(F(asDouble(a[0])));
    else
        wrongArguments(name, r);
}

double mArcCos(double x) { return std::acos(x); }
double mCos(double x) { return std::cos(x); }
double mSin(double x) { return std::sin(x); }
double mTan(double x) { return std::tan(x); }
double mCotan(double x) { return 1.0 / std::tan(x); }
double mSecant(double x) { return 1.0 / std::cos(x); }
double mCosecant(double x) { return 1.0 / std::sin(x); }
double mRadToDeg(double x) { return x * 180.0 / Pi; }
double mRadToGrad(double x) { return x * 200.0 / Pi; }
double mRadToCycle(double x) { return x / (2.0 * Pi); }
double mDegToRad(double x) { return x * Pi / 180.0; }
double mDegToGrad(double x) { return x * 400.0 / 360.0; }
double mDegToCycle(double x) { return x / 360.0; }
double mGradToRad(double x) { return x * Pi / 200.0; }
double mGradToDeg(double x) { return x * 360.0 / 400.0; }
double mGradToCycle(double x) { return x / 400.0; }
double mCycleToRad(double x) { return x * 2.0 * Pi; }
double mCycleToDeg(double x) { return x * 360.0; }
double mCycleToGrad(double x) { return x * 400.0; }
double mCosh(double x) { return std::cosh(x); }
double mSinh(double x) { return std::sinh(x); }
double mTanh(double x) { return std::tanh(x); }
double mCoth(double x) { return 1.0 / std::tanh(x); }
double mSech(double x) { return 1.0 / std::cosh(x); }
double mCsch(double x) { return 1.0 / std::sinh(x); }
double mArcCot(double x) { return std::atan(1.0 / x); }
double mArcSec(double x) { return std::acos(1.0 / x); }
double mArcCsc(double x) { return std::asin(1.0 / x); }
double mArcCosh(double x) { return std::acosh(x); }
double mArcSinh(double x) { return std::asinh(x); }
double mArcTanh(double x) { return std::atanh(x); }
double mArcCoth(double x) { return std::atanh(1.0 / x); }
double mArcSech(double x) { return std::acosh(1.0 / x); }
double mArcCsch(double x) { return std::asinh(1.0 / x); }

std::unique_ptr<TRpEvElementFunction> element(const QString& name, Calculator calculator)
{
    return std::make_unique<TRpEvElementFunction>(name, calculator);
}

std::unique_ptr<TRpEvElementFunction> element(const QString& name, TRpEvElementAggregate::Kind kind)
{
    return std::make_unique<TRpEvElementAggregate>(kind, name);
}

// Registers a function under `name` with its argument letters and help text; `computes` is
// its Calculator, or the Kind of an aggregate.
template <typename Computes>
void add(TRpFunctionLibrary& library, const char* name, const char* arguments, const char* description,
         Computes computes)
{
    const QString registered = QString::fromLatin1(name);
    library.registerFunction({QString::fromLatin1(description), QString::fromLatin1(arguments),
                              [registered, computes] { return element(registered, computes); }, registered, Vendor});
}

} // namespace

QString rpTimeText(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

void registerBuiltinFunctions(TRpFunctionLibrary& library)
{
    using Kind = TRpEvElementAggregate::Kind;
    add(library, "IF", "5BVV", "IF(<Exp>, <X>, <Y>)|Returns <X> or <Y> depending on the boolean expression <Exp>", fnIf);
    add(library, "STR", "7N", "STR(<X>)|Convert a numeric <X> to a string", fnStr);
    add(library, "UPPER", "7S", "UPPER(<X>)|Converts a string to upper case letters", fnCase<upper>);
    add(library, "LOWER", "7S", "LOWER(<X>)|Converts a string to lower case letters", fnCase<lower>);
    add(library, "PRETTY", "7S", "PRETTY(<X>)|Makes the first character upper case and the rest lower case", fnCase<pretty>);
    add(library, "TIME", "1", "TIME|Return current time as a string", fnTime);
    add(library, "DATE", "1", "DATE|Return current date as a string", fnDate);
    add(library, "COPY", "7SNN", "COPY(<X>, <St>,<Len>)|Returns a substring of string X", fnCopy);
    add(library, "SUM", "3N", "SUM(<X>)|Sums the numeric <X>", Kind::Sum);
    add(library, "COUNT", "3", "COUNT|Increments for each iteration", Kind::Count);
    add(library, "MAX", "3V", "MAX(<X>)|Returns the highest <X>", Kind::Max);
    add(library, "MIN", "3N", "MIN( <V>) | Returns the lowest <X>", Kind::Min);
    add(library, "AVERAGE", "3N", "AVERAGE(<X>)|Returns the average of numeric <X>", Kind::Average);
    add(library, "TRUE", "5", "TRUE|boolean value", fnBoolean<true>);
    add(library, "FALSE", "5", "FALSE|boolean value", fnBoolean<false>);
    add(library, "INT", "2N", "INT(<X>)|Returns the integer part of <X>", fnInt);
    add(library, "FRAC", "2N", "FRAC(<X>)|Returns the fractional part of <X>", fnFrac);
    add(library, "SQRT", "2N", "SQRT(<X>)|Returns square root of <X>", fnSqrt);
    add(library, "DIV", "2NN", "DIV(<X>, <Y>) | Integer division of <X> by <Y>", fnDiv);
    add(library, "TYPEOF", "6N", "TYPEOF(<Exp>)|Returns the data type of <Exp>", fnTypeOf);
    add(library, "FORMATNUMERIC", "7SN", "FORMATNUMERIC(<F>,<N>)|Formats numeric <N> using the mask in <F>", fnFormatNumeric);
    add(library, "ARCCOS", "2N", "ARCCOS(<X>)|Returns the angle whose cosine is given", fnMath<mArcCos>);
    add(library, "COS", "2N", "COS(<X>)|Returns the cosine of the given angle", fnMath<mCos>);
    add(library, "SIN", "2N", "SIN(<X>)Returns the sine of the given angle", fnMath<mSin>);
    add(library, "TAN", "2N", "TAN(<X>)|Returns the tangent of the given angle", fnMath<mTan>);
    add(library, "COTAN", "2N", "COTAN(<X>)Returns the cotangent of the given angle", fnMath<mCotan>);
    add(library, "SECANT", "2N", "SECANT(<X>)| Returns the secant of the given angle", fnMath<mSecant>);
    add(library, "COSECANT", "2N", "COSECANT(<X>)Returns the cosecant of the given angle", fnMath<mCosecant>);
    add(library, "HYPOT", "2NN", "HYPOT(<X>, <Y>)Returns the hypoteneuse of the given lengths", fnHypot);
    add(library, "RADTODEG", "2N", "RADTODEG(<X>)| Converts a radian value to degrees of angle", fnMath<mRadToDeg>);
    add(library, "RADTOGRAD", "2N", "RADTOGRAD(<X>)| Converts a radian value to grad units", fnMath<mRadToGrad>);
    add(library, "RADTOCYCLE", "2N", "RADTOCYCLE(<X>)| Converts a radian value to cycle units", fnMath<mRadToCycle>);
    add(library, "DEGTORAD", "2N", "DEGTORAD(<X>)| Converts a degree value to radians", fnMath<mDegToRad>);
    add(library, "DEGTOGRAD", "2N", "DEGTOGRAD(<X>)| Converts a degree value to radians", fnMath<mDegToGrad>);
    add(library, "DEGTOCYCLE", "2N", "DEGTOCYCLE(<X>)| Converts a degree value to cycle units", fnMath<mDegToCycle>);
    add(library, "GRADTORAD", "2N", "GRADTORAD(<X>)| Converts a grad value to radians", fnMath<mGradToRad>);
    add(library, "GRADTODEG", "2N", "GRADTODEG(<X>)| Converts a grad value to degrees", fnMath<mGradToDeg>);
    add(library, "GRADTOCYCLE", "2N", "GRADTOCYCLE(<X>)| Converts a grad value to cycle units", fnMath<mGradToCycle>);
    add(library, "CYCLETORAD", "2N", "CYCLETORAD(<X>)| Converts a cycle value to radians", fnMath<mCycleToRad>);
    add(library, "CYCLETODEG", "2N", "CYCLETODEG(<X>)| Converts a cycle value to degrees", fnMath<mCycleToDeg>);
    add(library, "CYCLETOGRAD", "2N", "CYCLETOGRAD(<X>)| Converts a cycle value to grad units", fnMath<mCycleToGrad>);
    add(library, "COSH", "2N", "COSH(<X>)| Returns the hyperbolic cosine of an angle in radiansgrad units", fnMath<mCosh>);
    add(library, "SINH", "2N", "SINH(<X>)| Returns the hyperbolic sine of an angle in radiansgrad units", fnMath<mSinh>);
    add(library, "TANH", "2N", "TANH(<X>)| Returns the hyperbolic tangent of an angle in radiansgrad units", fnMath<mTanh>);
    add(library, "COTH", "2N", "COTH(<X>)| Returns the hyperbolic cotangent of an angle in radiansgrad units", fnMath<mCoth>);
    add(library, "SECH", "2N", "SECH(<X>)| Returns the hyperbolic secant of an angle in radiansgrad units", fnMath<mSech>);
    add(library, "CSCH", "2N", "CSCH(<X>)| Returns the hyperbolic cosecant of an angle in radiansgrad units", fnMath<mCsch>);
    add(library, "ARCCOT", "2N", "ARCCOT(<X>)| Returns the angle whose cotangent is given", fnMath<mArcCot>);
    add(library, "ARCSEC", "2N", "ARCSEC(<X>)| Returns the angle whose secant is given", fnMath<mArcSec>);
    add(library, "ARCCscH", "2N", "ARCCSCH(<X>)| Returns the angle whose hyperbolic cosecant is given", fnMath<mArcCsc>);
    add(library, "ARCCOSH", "2N", "ARCCOSH(<X>)| Returns the angle whose hyperbolic cosine is given", fnMath<mArcCosh>);
    add(library, "ARCSINH", "2N", "ARCSINH(<X>)| Returns the angle whose sine is given", fnMath<mArcSinh>);
    add(library, "ARCTANH", "2N", "ARCTANH(<X>)| Returns the angle whose hyperbolic tangent is given", fnMath<mArcTanh>);
    add(library, "ARCCOTH", "2N", "ARCCOTH(<X>)| Returns the angle whose hyperbolic cotangent is given", fnMath<mArcCoth>);
    add(library, "ARCSECH", "2N", "ARCSECH(<X>)| Returns the angle whose hyperbolic secant is given", fnMath<mArcSech>);
    // Found only by the expression builder's list: the name equals ARCCscH above.
    add(library, "ARCCSCH", "2N", "ARCCSCH(<X>)| Returns the angle whose hyperbolic cosecant is given", fnMath<mArcCsch>);
    add(library, "POWER", "2NN", "POWER(<X>, <Y>)| Returns the first argument raised to the power of the second", fnPower);
    add(library, "RIGHTSTR", "7SN", "RIGHTSTR(<STR>, <LEN>)| Returns the rightmost N characters of the string <S>", fnSideStr<true>);
    add(library, "LEFTSTR", "7SN", "LEFTSTR(<STR>, <LEN>)| Returns the leftmost N characters of the string <S>", fnSideStr<false>);
}

} // namespace lb::report
