// The value of a report expression: constructors, text form, the 255-byte limit and text order.
#include "report/TRpEvResult.h"

#include "platform/sys/Errors.h"
#include "platform/sys/Gbk.h"
#include "platform/sys/TextFormat.h"
#include "report/TRpEvMessages.h"

namespace lb::report {

namespace {

// A result of `kind` with `value` in the field of that kind.
template <typename T>
TRpEvResult withValue(TRpEvKind kind, T TRpEvResult::*field, T value)
{
    TRpEvResult r;
    r.kind = kind;
    r.*field = value;
    return r;
}

} // namespace

TRpEvResult TRpEvResult::integer(qint32 value) { return withValue(rkInteger, &TRpEvResult::intValue, value); }
TRpEvResult TRpEvResult::number(double value) { return withValue(rkDouble, &TRpEvResult::doubleValue, value); }
TRpEvResult TRpEvResult::boolean(bool value) { return withValue(rkBoolean, &TRpEvResult::boolValue, value); }

void TRpEvResult::setStrValue(const QString& text)
{
    str_ = rpFitText(text);
}

TRpEvResult TRpEvResult::string(const QString& text)
{
    TRpEvResult r;
    r.kind = rkString;
    r.setStrValue(text);
    return r;
}

TRpEvResult TRpEvResult::error(const QString& message)
{
    TRpEvResult r;
    r.setError(message);
    return r;
}

void TRpEvResult::setError(const QString& message)
{
    kind = rkError;
    setStrValue(message);
}

QString TRpEvResult::toText() const
{
    switch (kind) {
    case rkInteger:
        return QString::number(intValue);
    case rkDouble:
        return lb::fmt::floatToStr(doubleValue);
    case rkString:
        return str_;
    case rkBoolean:
        return boolValue ? QStringLiteral("True") : QStringLiteral("False");
    case rkError:
        break;
    }
    throw lb::Error(rpFormat(msg::ErrorInExpression, str_));
}

QString rpFitText(const QString& text, int maxBytes)
{
    // A GBK character takes at most two bytes, so short texts need no counting.
    if (text.size() * 2 <= maxBytes)
        return text;
    int bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
        const char32_t ch = pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
        const int code = lb::Gbk::code(ch);
        // A character without a GBK code is written as '?', one byte.
        const int width = code > 0x7F ? 2 : 1;
        if (bytes + width > maxBytes)
            break;
        bytes += width;
        i += pair ? 2 : 1;
    }
    return text.left(i);
}

int rpCompareText(const QString& a, const QString& b)
{
    return lb::Gbk::compare(a, b);
}

} // namespace lb::report
