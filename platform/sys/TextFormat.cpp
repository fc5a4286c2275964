// Number and date text: display masks, fixed-point and shortest forms, parsing of typed text.
#include "platform/sys/TextFormat.h"

#include "platform/sys/Errors.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace lb::fmt {

namespace {

// A non-negative decimal number 0.d1d2d3... x 10^exp, digits without trailing zeros;
// no digits means zero. All rounding works on this decimal text, never on the binary double,
// so that 2.675 rounds to 2.68 as a person reading "2.675" expects.
struct Decimal {
    std::string digits;
    int exp = 0;

    bool isZero() const { return digits.empty(); }

    // Digit at position i counted from the first significant digit; zeros beyond the end.
    char at(int i) const { return i >= 0 && i < int(digits.size()) ? digits[size_t(i)] : '0'; }

    void trim()
    {
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        if (digits.empty())
            exp = 0;
    }

    // Keeps `keep` significant digits, rounding half away from zero.
    void roundDigits(int keep)
    {
        if (keep >= int(digits.size()))
            return;
        if (keep < 0) {
            digits.clear();
            exp = 0;
            return;
        }
        const bool up = digits[size_t(keep)] >= '5';
        digits.resize(size_t(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[size_t(i)] == '9') {
                digits[size_t(i)] = '0';
                --i;
            }
            if (i >= 0) {
                ++digits[size_t(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++exp;
            }
        }
        trim();
    }

    // Keeps `decimals` digits after the decimal point.
    void roundDecimals(int decimals) { roundDigits(exp + decimals); }

    // Integer part without leading zeros ("" for values below 1).
    std::string integerDigits() const
    {
        std::string text;
        for (int i = 0; i < exp; ++i)
            text += at(i);
        return text;
    }

    // Exactly `count` digits after the decimal point (no rounding: round first).
    std::string fractionDigits(int count) const
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += at(exp + i);
        return text;
    }
};

// The magnitude of a finite double as its 15 significant digits: a computed 1.0049999999999999
// is taken as the 1.005 it stands for before any further rounding.
Decimal toDecimal(double value)
{
    Decimal d;
    value = std::fabs(value);
    if (value == 0)
        return d;
    // charconv, not printf: the C library's locale may write a decimal comma.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string text(buffer, written.ptr);
    const size_t e = text.find('e');
    d.digits = text.substr(0, 1) + text.substr(2, e - 2);
    d.exp = std::atoi(text.c_str() + e + 1) + 1;
    d.trim();
    return d;
}

QString nonFinite(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
}

// Scientific text of a rounded decimal: "1.5E20", "1E-7".
QString scientific(const Decimal& d)
{
    QString text = QString(QChar(d.at(0)));
    if (d.digits.size() > 1)
        text += '.' + QString::fromStdString(d.digits.substr(1));
    return text + 'E' + QString::number(d.exp - 1);
}

// Plain text of a rounded decimal: integer digits, then the fraction without trailing zeros.
QString plain(const Decimal& d)
{
    std::string integer = d.integerDigits();
    if (integer.empty())
        integer.push_back('0');
    const int fraction = std::max(0, int(d.digits.size()) - d.exp);
    std::string text = integer;
    if (fraction > 0) {
        text += '.';
        text += d.fractionDigits(fraction);
    }
    return QString::fromStdString(text);
}

// ---- display masks ----

// Splits a mask into its ';' sections; a ';' inside quotes is text.
QStringList splitSections(const QString& mask)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (const QChar c : mask) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            sections << current;
            current.clear();
            continue;
        }
        current += c;
    }
    sections << current;
    return sections;
}

bool isExponentAt(const QString& section, qsizetype i)
{
    return (section[i] == 'E' || section[i] == 'e') && i + 1 < section.size()
        && (section[i + 1] == '+' || section[i + 1] == '-');
}

// What one section of a mask asks for.
struct Layout {
    int integerPlaces = 0;  // "0" and "#" before the decimal point
    int forcedInteger = 0;  // integer places from the first "0" on
    int decimalPlaces = 0;  // "0" and "#" after the decimal point
    int forcedDecimals = 0; // decimal places up to the last "0"
    bool thousands = false;
    bool hasExponent = false;
};

Layout analyse(const QString& section)
{
    Layout layout;
    bool afterPoint = false;
    int firstZero = -1;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == '\'' || c == '"') {
            const qsizetype end = section.indexOf(c, i + 1);
            i = end < 0 ? section.size() : end;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++layout.decimalPlaces;
                if (c == '0')
                    layout.forcedDecimals = layout.decimalPlaces;
            } else {
                if (c == '0' && firstZero < 0)
                    firstZero = layout.integerPlaces;
                ++layout.integerPlaces;
            }
        } else if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            if (!afterPoint)
                layout.thousands = true;
        } else if (isExponentAt(section, i)) {
            layout.hasExponent = true;
            break; // the zeros after the exponent sign are its own digits
        }
    }
    if (firstZero >= 0)
        layout.forcedInteger = layout.integerPlaces - firstZero;
    return layout;
}

// Rounds the magnitude for a section; returns the decimal exponent for exponent masks.
int roundFor(const Layout& layout, Decimal& d)
{
    if (!layout.hasExponent) {
        d.roundDecimals(layout.decimalPlaces);
        return 0;
    }
    const int integerPlaces = std::max(1, layout.integerPlaces);
    d.roundDigits(integerPlaces + layout.decimalPlaces);
    if (d.isZero())
        return 0;
    const int exponent = d.exp - integerPlaces;
    d.exp = integerPlaces;
    return exponent;
}

QString applySection(const QString& section, const Layout& layout, const Decimal& d, int exponent,
                     bool negative)
{
    std::string integer = d.integerDigits();
    if (int(integer.size()) < layout.forcedInteger)
        integer.insert(0, size_t(layout.forcedInteger - int(integer.size())), '0');
    std::string fraction = d.fractionDigits(layout.decimalPlaces);
    while (int(fraction.size()) > layout.forcedDecimals && fraction.back() == '0')
        fraction.pop_back();

    const int count = int(integer.size());
    QString out;
    if (negative)
        out += '-';
    auto putDigit = [&](int index) {
        out += QChar(integer[size_t(index)]);
        const int fromRight = count - 1 - index;
        if (layout.thousands && fromRight > 0 && fromRight % 3 == 0)
            out += ',';
    };
    auto putAllInteger = [&] {
        for (int i = 0; i < count; ++i)
            putDigit(i);
    };

    bool afterPoint = false;
    int integerPlace = 0;
    int decimalPlace = 0;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == '\'' || c == '"') {
            const qsizetype end = section.indexOf(c, i + 1);
            out += section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1);
            i = end < 0 ? section.size() : end;
        } else if ((c == '0' || c == '#') && !afterPoint) {
            const int fromRight = layout.integerPlaces - 1 - integerPlace;
            if (integerPlace == 0)
                for (int k = 0; k < count - layout.integerPlaces; ++k)
                    putDigit(k); // more digits than places: all of them go before the first place
            if (fromRight < count)
                putDigit(count - 1 - fromRight);
            ++integerPlace;
        } else if (c == '0' || c == '#') {
            if (decimalPlace < int(fraction.size())) {
                // The point is written with the first decimal digit, so "0." and "#.##" show
                // whole numbers without a trailing point.
                if (decimalPlace == 0)
                    out += '.';
                out += QChar(fraction[size_t(decimalPlace)]);
            }
            ++decimalPlace;
        } else if (c == '.') {
            if (!afterPoint && layout.integerPlaces == 0)
                putAllInteger();
            afterPoint = true;
        } else if (c == ',') {
            continue;
        } else if (isExponentAt(section, i)) {
            out += c;
            const bool plus = section[i + 1] == '+';
            i += 2;
            int width = 0;
            while (i < section.size() && section[i] == '0' && width < 4) {
                ++width;
                ++i;
            }
            --i;
            if (exponent < 0)
                out += '-';
            else if (plus)
                out += '+';
            out += QString::number(std::abs(exponent)).rightJustified(width, '0');
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString formatFloat(const QString& mask, double value)
{
    if (mask.isEmpty())
        return floatToStr(value);
    if (!std::isfinite(value))
        return nonFinite(value);
    // Beyond 18 integer digits a mask would spell out digits a double does not hold (and a
    // grid column would widen to hundreds of them): such a value shows in its general form.
    if (std::fabs(value) >= 1e18)
        return floatToStr(value);

    const QStringList sections = splitSections(mask);
    const QString& positive = sections[0];
    const Layout positiveLayout = analyse(positive);
    Decimal d = toDecimal(value);
    int exponent = roundFor(positiveLayout, d);

    // A value that rounds to zero shows as zero: no "-0.00".
    if (d.isZero()) {
        if (sections.size() > 2 && !sections[2].isEmpty()) {
            Decimal zero;
            return applySection(sections[2], analyse(sections[2]), zero, 0, false);
        }
        return applySection(positive, positiveLayout, d, exponent, false);
    }
    if (value < 0 && sections.size() > 1 && !sections[1].isEmpty()) {
        const Layout layout = analyse(sections[1]);
        Decimal n = toDecimal(value);
        exponent = roundFor(layout, n);
        return applySection(sections[1], layout, n, exponent, false);
    }
    return applySection(positive, positiveLayout, d, exponent, value < 0);
}

QString floatToStr(double value)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    const Decimal d = toDecimal(value);
    if (d.isZero())
        return QStringLiteral("0");
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    // Plain text while the integer part fits the 15 digits and the value is at least 0.00001.
    if (d.exp > 15 || d.exp < -4)
        return sign + scientific(d);
    return sign + plain(d);
}

QString floatToStrFixed(double value, int precision, int digits)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    Decimal d = toDecimal(value);
    d.roundDigits(std::min(precision, d.exp + digits));
    if (d.exp > precision)
        return (value < 0 ? QStringLiteral("-") : QString()) + scientific(d);
    std::string integer = d.integerDigits();
    if (integer.empty())
        integer.push_back('0');
    std::string text = (value < 0 && !d.isZero() ? "-" : "") + integer;
    if (digits > 0) {
        text += '.';
        text += d.fractionDigits(digits);
    }
    return QString::fromStdString(text);
}

namespace {

// The number grammar: blanks, sign, digits with at most one '.', optional exponent, blanks.
bool isNumberText(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    int digits = 0;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        int exponentDigits = 0;
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    return i == t.size();
}

ConvertError convertError(const QString& text, const char* what)
{
    return ConvertError(QStringLiteral("'%1' is not a valid %2").arg(text, QLatin1String(what)));
}

} // namespace

bool tryStrToFloat(const QString& text, double& value)
{
    if (!isNumberText(text))
        return false;
    // charconv, not strtod: the C library's locale may expect a decimal comma. It takes no '+'.
    const std::string latin = text.trimmed().toStdString();
    const size_t from = latin[0] == '+' ? 1 : 0;
    double parsed = 0;
    const auto result = std::from_chars(latin.data() + from, latin.data() + latin.size(), parsed);
    if (result.ec != std::errc() || result.ptr != latin.data() + latin.size() || !std::isfinite(parsed))
        return false; // out of range
    value = parsed;
    return true;
}

double strToFloat(const QString& text)
{
    double value = 0;
    if (!tryStrToFloat(text, value))
        throw convertError(text, "floating point value");
    return value;
}

bool tryStrToInt(const QString& text, qint64& value)
{
    const QString t = text.trimmed();
    qsizetype i = (!t.isEmpty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
    if (i == t.size())
        return false;
    for (; i < t.size(); ++i)
        if (!t[i].isDigit() || t[i].unicode() >= 128)
            return false;
    bool ok = false;
    const qint64 parsed = t.toLongLong(&ok);
    if (!ok)
        return false; // out of range
    value = parsed;
    return true;
}

qint64 strToInt(const QString& text)
{
    qint64 value = 0;
    if (!tryStrToInt(text, value))
        throw convertError(text, "integer value");
    return value;
}

QString dateToStr(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

namespace {

// "yyyy-m-d" with one- or two-digit month and day, as typed or as stored.
bool parseDate(const QString& text, QDate& date)
{
    const QStringList parts = text.trimmed().split('-');
    if (parts.size() != 3 || parts[0].size() != 4 || parts[1].isEmpty() || parts[1].size() > 2
        || parts[2].isEmpty() || parts[2].size() > 2)
        return false;
    int numbers[3] = {};
    for (int i = 0; i < 3; ++i) {
        qint64 n = 0;
        if (parts[i][0] == '+' || parts[i][0] == '-' || !tryStrToInt(parts[i], n))
            return false;
        numbers[i] = int(n);
    }
    const QDate parsed(numbers[0], numbers[1], numbers[2]);
    if (!parsed.isValid())
        return false;
    date = parsed;
    return true;
}

} // namespace

bool tryStrToDate(const QString& text, QDate& date) { return parseDate(text, date); }

QDate strToDate(const QString& text)
{
    QDate date;
    if (!parseDate(text, date))
        throw convertError(text, "date");
    return date;
}

QString dateTimeToStr(const QDateTime& value)
{
    if (!value.isValid())
        return QString();
    if (value.time() == QTime(0, 0))
        return dateToStr(value.date());
    return dateToStr(value.date()) + ' ' + value.time().toString(QStringLiteral("hh:mm:ss"));
}

QString formatDateTime(const QString& mask, const QDateTime& value)
{
    if (mask.isEmpty())
        return dateTimeToStr(value);
    const QDate date = value.date();
    const QTime time = value.time();
    const auto padded = [](int number, qsizetype width) { return QString::number(number).rightJustified(width, '0'); };
    QString text;
    bool afterHour = false;
    for (qsizetype i = 0; i < mask.size();) {
        const QChar c = mask[i];
        if (c == '"' || c == '\'') {
            const qsizetype end = mask.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? mask.size() : end;
            text += mask.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < mask.size() && mask[i + run].toLower() == c.toLower())
            ++run;
        const QChar k = c.toLower();
        if (k == 'y') {
            text += run <= 2 ? padded(date.year() % 100, 2) : padded(date.year(), 4);
        } else if (k == 'm' && afterHour) {
            text += run >= 2 ? padded(time.minute(), 2) : QString::number(time.minute());
        } else if (k == 'm') {
            text += run >= 2 ? padded(date.month(), 2) : QString::number(date.month());
        } else if (k == 'd') {
            text += run >= 2 ? padded(date.day(), 2) : QString::number(date.day());
        } else if (k == 'h') {
            text += run >= 2 ? padded(time.hour(), 2) : QString::number(time.hour());
        } else if (k == 'n') {
            text += run >= 2 ? padded(time.minute(), 2) : QString::number(time.minute());
        } else if (k == 's') {
            text += run >= 2 ? padded(time.second(), 2) : QString::number(time.second());
        } else if (k == 'z') {
            text += run >= 3 ? padded(time.msec(), 3) : QString::number(time.msec());
        } else if (k == 'c') {
            text += dateTimeToStr(value);
        } else if (c == '/') {
            text += QString(run, '-');
        } else {
            text += mask.mid(i, run);
        }
        if (k.isLetter())
            afterHour = k == 'h';
        i += run;
    }
    return text;
}

QDateTime strToDateTime(const QString& text)
{
    const QString t = text.trimmed();
    const qsizetype blank = t.indexOf(' ');
    QDate date;
    if (!parseDate(blank < 0 ? t : t.left(blank), date))
        throw convertError(text, "date and time");
    if (blank < 0)
        return QDateTime(date, QTime(0, 0));
    const QString timeText = t.mid(blank + 1).trimmed();
    QTime time = QTime::fromString(timeText, QStringLiteral("H:m:s"));
    if (!time.isValid())
        time = QTime::fromString(timeText, QStringLiteral("H:m"));
    if (!time.isValid())
        throw convertError(text, "date and time");
    return QDateTime(date, time);
}

} // namespace lb::fmt
