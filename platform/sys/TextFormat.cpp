// Number and date text: display masks, fixed-point and shortest forms, parsing of typed text.
#include "platform/sys/TextFormat.h"

#include "platform/sys/Errors.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace lb::fmt {

namespace {

// Text being made, on the stack: a number's text is built here and copied once into its QString,
// so that making it allocates nothing but the result.
class TextBuffer {
public:
    void put(char16_t c) { text_.append(c); }
    void put(QStringView text) { text_.append(text.utf16(), text.size()); }
    // The decimal digits of a non-negative number, at least `width` of them.
    void putNumber(int number, int width)
    {
        char digits[12];
        int count = 0;
        do {
            digits[count++] = char('0' + number % 10);
            number /= 10;
        } while (number > 0);
        for (int i = count; i < width; ++i)
            put(u'0');
        while (count > 0)
            put(char16_t(digits[--count]));
    }
    QString take() const { return QString(reinterpret_cast<const QChar*>(text_.constData()), text_.size()); }

private:
    QVarLengthArray<char16_t, 96> text_;
};

// base^0 to base^(count - 1).
template <uint64_t base, size_t count>
constexpr std::array<uint64_t, count> powersOf()
{
    std::array<uint64_t, count> powers{};
    powers[0] = 1;
    for (size_t i = 1; i < count; ++i)
        powers[i] = powers[i - 1] * base;
    return powers;
}

// A non-negative decimal number 0.d1d2d3... x 10^exp, digits without trailing zeros;
// no digits means zero. All rounding works on these decimal digits, never on the binary double,
// so that 2.675 rounds to 2.68 as a person reading "2.675" expects.
struct Decimal {
    static constexpr int kDigits = 15; // significant digits a value is taken with
    std::array<char, kDigits> digits{};
    int count = 0;
    int exp = 0;

    bool isZero() const { return count == 0; }

    // Digit at position i counted from the first significant digit; zeros beyond the end.
    char at(int i) const { return i >= 0 && i < count ? digits[size_t(i)] : '0'; }

    void trim()
    {
        while (count > 0 && digits[size_t(count - 1)] == '0')
            --count;
        if (count == 0)
            exp = 0;
    }

    // Keeps `keep` significant digits, rounding half away from zero.
    void roundDigits(int keep)
    {
        if (keep >= count)
            return;
        if (keep < 0) {
            count = 0;
            exp = 0;
            return;
        }
        const bool up = digits[size_t(keep)] >= '5';
        count = keep;
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[size_t(i)] == '9')
                --i; // the nines become trailing zeros, which trim drops
            if (i >= 0) {
                ++digits[size_t(i)];
                count = i + 1;
            } else {
                digits[0] = '1';
                count = 1;
                ++exp;
            }
        }
        trim();
    }

    // Keeps `decimals` digits after the decimal point.
    void roundDecimals(int decimals) { roundDigits(exp + decimals); }

    // Takes the 15 digits of a 15-digit integer `whole` (10^15 when rounding carried) that
    // stands for whole x 10^-scale.
    void take(uint64_t whole, int scale)
    {
        if (whole == kPowersOfTen[kDigits]) {
            whole /= 10;
            --scale;
        }
        for (int i = kDigits - 1; i >= 0; --i) {
            digits[size_t(i)] = char('0' + whole % 10);
            whole /= 10;
        }
        count = kDigits;
        exp = kDigits - scale;
        trim();
    }

    static constexpr auto kPowersOfTen = powersOf<10, kDigits + 1>();
};

// 5^0 to 5^27, the powers of five that fit 64 bits.
constexpr auto kPowersOfFive = powersOf<5, 28>();

__extension__ using Uint128 = unsigned __int128;

// The 15 significant digits of a positive normal double from about 1e-13 to 1e15, the range of
// money and quantities, worked out exactly in integers: value = m x 2^e, so value x 10^s is
// m x 5^s x 2^(e+s), a 128-bit product shifted right, and what the shift drops decides the
// rounding, half to even as charconv rounds the exact value. False outside that range (subnormal
// values included).
bool exactDigits(double value, Decimal& d)
{
    const auto bits = std::bit_cast<uint64_t>(value);
    const int biased = int(bits >> 52) & 0x7ff;
    const uint64_t mantissa = (bits & ((uint64_t(1) << 52) - 1)) | (uint64_t(1) << 52);
    const int binaryExponent = biased - 1075;
    // With 2^k <= value < 2^(k+1), (k * 78913) >> 18 is floor(k log10 2), the value's decimal
    // exponent or one less: value x 10^scale has 15 integer digits, or 16 and then one scale
    // less has 15. Within the powers of five the shift lies between 3 and 71.
    for (int scale = 14 - (((biased - 1023) * 78913) >> 18);; --scale) {
        if (scale < 0 || scale >= int(kPowersOfFive.size()))
            return false;
        const int shift = -(binaryExponent + scale);
        const Uint128 product = Uint128(mantissa) * kPowersOfFive[size_t(scale)];
        uint64_t whole = uint64_t(product >> shift);
        if (whole >= Decimal::kPowersOfTen[Decimal::kDigits])
            continue;
        const Uint128 dropped = product & ((Uint128(1) << shift) - 1);
        const Uint128 half = Uint128(1) << (shift - 1);
        if (dropped > half || (dropped == half && (whole & 1) != 0))
            ++whole;
        d.take(whole, scale);
        return true;
    }
}

// The magnitude of a finite double as its 15 significant digits: a computed 1.0049999999999999
// is taken as the 1.005 it stands for before any further rounding.
Decimal toDecimal(double value)
{
    Decimal d;
    value = std::fabs(value);
    if (value == 0 || exactDigits(value, d))
        return d;
    // Far from money's range: charconv, not printf (the C library's locale may write a decimal
    // comma), "d.dddddddddddddde+dd".
    char buffer[40];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, Decimal::kDigits - 1).ptr;
    const char* e = std::find(static_cast<const char*>(buffer), end, 'e');
    uint64_t whole = 0;
    for (const char* c = buffer; c != e; ++c)
        if (*c != '.')
            whole = whole * 10 + uint64_t(*c - '0');
    int exponent = 0;
    for (const char* c = e + 2; c < end; ++c)
        exponent = exponent * 10 + (*c - '0');
    d.take(whole, Decimal::kDigits - 1 - (e[1] == '-' ? -exponent : exponent));
    return d;
}

QString nonFinite(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
}

// Scientific text of a rounded decimal: "1.5E20", "1E-7".
void putScientific(TextBuffer& out, const Decimal& d)
{
    out.put(char16_t(d.at(0)));
    if (d.count > 1) {
        out.put(u'.');
        for (int i = 1; i < d.count; ++i)
            out.put(char16_t(d.at(i)));
    }
    out.put(u'E');
    if (d.exp - 1 < 0)
        out.put(u'-');
    out.putNumber(std::abs(d.exp - 1), 1);
}

// The integer digits of a rounded decimal, "0" for values below 1.
void putIntegerPart(TextBuffer& out, const Decimal& d)
{
    if (d.exp <= 0)
        out.put(u'0');
    for (int i = 0; i < d.exp; ++i)
        out.put(char16_t(d.at(i)));
}

// Exactly `count` digits after the decimal point (no rounding: round first).
void putFraction(TextBuffer& out, const Decimal& d, int count)
{
    for (int i = 0; i < count; ++i)
        out.put(char16_t(d.at(d.exp + i)));
}

// ---- display masks ----

// The sections of a mask separated by ';' (a ';' inside quotes is text): how many there are and
// the first three (positive; negative; zero), views into the mask.
struct Sections {
    std::array<QStringView, 3> text;
    int count = 0;

    explicit Sections(QStringView mask)
    {
        qsizetype start = 0;
        char16_t quote = 0;
        for (qsizetype i = 0; i < mask.size(); ++i) {
            const char16_t c = mask[i].unicode();
            if (quote != 0) {
                if (c == quote)
                    quote = 0;
            } else if (c == u'\'' || c == u'"') {
                quote = c;
            } else if (c == u';') {
                add(mask.sliced(start, i - start));
                start = i + 1;
            }
        }
        add(mask.sliced(start));
    }

    bool has(int index) const { return count > index && !text[size_t(index)].isEmpty(); }

private:
    void add(QStringView section)
    {
        if (count < int(text.size()))
            text[size_t(count)] = section;
        ++count;
    }
};

bool isExponentAt(QStringView section, qsizetype i)
{
    return (section[i] == u'E' || section[i] == u'e') && i + 1 < section.size()
        && (section[i + 1] == u'+' || section[i + 1] == u'-');
}

// Where the quoted literal opening at `i` ends: its closing quote, or the section's end.
qsizetype literalEnd(QStringView section, qsizetype i)
{
    const qsizetype end = section.indexOf(section[i], i + 1);
    return end < 0 ? section.size() : end;
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

Layout analyse(QStringView section)
{
    Layout layout;
    bool afterPoint = false;
    int firstZero = -1;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == u'\'' || c == u'"') {
            i = literalEnd(section, i);
        } else if (c == u'0' || c == u'#') {
            if (afterPoint) {
                ++layout.decimalPlaces;
                if (c == u'0')
                    layout.forcedDecimals = layout.decimalPlaces;
            } else {
                if (c == u'0' && firstZero < 0)
                    firstZero = layout.integerPlaces;
                ++layout.integerPlaces;
            }
        } else if (c == u'.') {
            afterPoint = true;
        } else if (c == u',') {
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

// A rounded decimal written through one section of a mask, in one pass over the section.
class SectionWriter {
public:
    SectionWriter(const Layout& layout, const Decimal& d)
        : layout_(layout), d_(d), shownInteger_(std::max(0, d.exp)),
          count_(std::max(shownInteger_, layout.forcedInteger)), fraction_(layout.decimalPlaces)
    {
        while (fraction_ > layout.forcedDecimals && d.at(d.exp + fraction_ - 1) == '0')
            --fraction_;
    }

    QString write(QStringView section, int exponent, bool negative)
    {
        if (negative)
            out_.put(u'-');
        bool afterPoint = false;
        int integerPlace = 0;
        int decimalPlace = 0;
        for (qsizetype i = 0; i < section.size(); ++i) {
            const QChar c = section[i];
            if (c == u'\'' || c == u'"') {
                const qsizetype end = literalEnd(section, i);
                out_.put(section.sliced(i + 1, end - i - 1));
                i = end;
            } else if ((c == u'0' || c == u'#') && !afterPoint) {
                if (integerPlace == 0)
                    for (int k = 0; k < count_ - layout_.integerPlaces; ++k)
                        putDigit(k); // more digits than places: all of them go before the first place
                // Places past the section's integer places (after an exponent) have no digit.
                const int fromRight = layout_.integerPlaces - 1 - integerPlace;
                if (fromRight >= 0 && fromRight < count_)
                    putDigit(count_ - 1 - fromRight);
                ++integerPlace;
            } else if (c == u'0' || c == u'#') {
                if (decimalPlace < fraction_) {
                    // The point is written with the first decimal digit, so "0." and "#.##"
                    // show whole numbers without a trailing point.
                    if (decimalPlace == 0)
                        out_.put(u'.');
                    out_.put(char16_t(d_.at(d_.exp + decimalPlace)));
                }
                ++decimalPlace;
            } else if (c == u'.') {
                if (!afterPoint && layout_.integerPlaces == 0)
                    for (int k = 0; k < count_; ++k)
                        putDigit(k);
                afterPoint = true;
            } else if (c == u',') {
                continue;
            } else if (isExponentAt(section, i)) {
                out_.put(c.unicode());
                const bool plus = section[i + 1] == u'+';
                i += 2;
                int width = 0;
                while (i < section.size() && section[i] == u'0' && width < 4) {
                    ++width;
                    ++i;
                }
                --i;
                if (exponent < 0)
                    out_.put(u'-');
                else if (plus)
                    out_.put(u'+');
                out_.putNumber(std::abs(exponent), width);
            } else {
                out_.put(c.unicode());
            }
        }
        return out_.take();
    }

private:
    // Integer digit `index` of `count_`, the shown digits padded with leading zeros to the
    // forced places, with a thousands separator after it where one belongs.
    void putDigit(int index)
    {
        const int padding = count_ - shownInteger_;
        out_.put(char16_t(index < padding ? '0' : d_.at(index - padding)));
        const int fromRight = count_ - 1 - index;
        if (layout_.thousands && fromRight > 0 && fromRight % 3 == 0)
            out_.put(u',');
    }

    const Layout& layout_;
    const Decimal& d_;
    const int shownInteger_; // the value's own integer digits
    const int count_;        // integer digits written
    int fraction_;           // decimal digits written
    TextBuffer out_;
};

QString applySection(QStringView section, const Layout& layout, const Decimal& d, int exponent, bool negative)
{
    return SectionWriter(layout, d).write(section, exponent, negative);
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

    const Sections sections(mask);
    const QStringView positive = sections.text[0];
    const Layout positiveLayout = analyse(positive);
    Decimal d = toDecimal(value);
    const int exponent = roundFor(positiveLayout, d);

    // A value that rounds to zero shows as zero: no "-0.00".
    if (d.isZero()) {
        if (sections.has(2))
            return applySection(sections.text[2], analyse(sections.text[2]), Decimal{}, 0, false);
        return applySection(positive, positiveLayout, d, exponent, false);
    }
    if (value < 0 && sections.has(1)) {
        const Layout layout = analyse(sections.text[1]);
        Decimal n = toDecimal(value);
        const int negativeExponent = roundFor(layout, n);
        return applySection(sections.text[1], layout, n, negativeExponent, false);
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
    TextBuffer out;
    if (value < 0)
        out.put(u'-');
    // Plain text while the integer part fits the 15 digits and the value is at least 0.00001.
    if (d.exp > 15 || d.exp < -4) {
        putScientific(out, d);
    } else {
        putIntegerPart(out, d);
        if (d.count > d.exp) {
            out.put(u'.');
            putFraction(out, d, d.count - d.exp);
        }
    }
    return out.take();
}

QString floatToStrFixed(double value, int precision, int digits)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    Decimal d = toDecimal(value);
    d.roundDigits(std::min(precision, d.exp + digits));
    TextBuffer out;
    if (d.exp > precision) {
        if (value < 0)
            out.put(u'-');
        putScientific(out, d);
        return out.take();
    }
    if (value < 0 && !d.isZero())
        out.put(u'-');
    putIntegerPart(out, d);
    if (digits > 0) {
        out.put(u'.');
        putFraction(out, d, digits);
    }
    return out.take();
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
