// Number and date text: masks, fixed-point and general forms (the general form also against the
// standard library over random figures), parsing of typed text.
#include "platform/sys/Errors.h"
#include "platform/sys/ExactAmount.h"
#include "platform/sys/TextFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <iomanip>
#include <limits>
#include <random>
#include <string>

namespace {

struct MaskCase {
    const char* mask;
    double value;
    const char* expected;
};

void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.mask << " / " << c.value; }

class FormatFloatTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(FormatFloatTest, formatsAsTheMaskSays)
{
    const MaskCase& c = GetParam();
    EXPECT_EQ(QString::fromUtf8(c.expected), lb::fmt::formatFloat(QString::fromUtf8(c.mask), c.value));
}

// The masks the program sets on its fields, and the decimal rounding a user expects of them.
INSTANTIATE_TEST_SUITE_P(ProgramMasks, FormatFloatTest, ::testing::Values(
    MaskCase{"0.00", 0, "0.00"},
    MaskCase{"0.00", 1234.5, "1234.50"},
    MaskCase{"0.00", 2.675, "2.68"},          // binary 2.67499999... still rounds up
    MaskCase{"0.00", 1.005, "1.01"},
    MaskCase{"0.00", 0.125, "0.13"},          // half away from zero, not to even
    MaskCase{"0.00", -0.125, "-0.13"},
    MaskCase{"0.00", -2.675, "-2.68"},
    MaskCase{"0.00", 0.1 + 0.2, "0.30"},
    MaskCase{"0.00", -0.001, "0.00"},         // rounds to zero: no minus sign
    MaskCase{"0.00", 999.995, "1000.00"},
    MaskCase{"0.00", 1e15, "1000000000000000.00"},
    MaskCase{"0.000", 1.0005, "1.001"},
    MaskCase{"0.000", 12.3456, "12.346"},
    MaskCase{"#.##", 0, ""},                  // empty deduction shows nothing
    MaskCase{"#.##", 0.001, ""},
    MaskCase{"#.##", 1, "1"},
    MaskCase{"#.##", 1.5, "1.5"},
    MaskCase{"#.##", 12.345, "12.35"},
    MaskCase{"#.##", 0.5, ".5"},
    MaskCase{"#.##", -3.1, "-3.1"},
    MaskCase{"#.###", 8.0005, "8.001"},
    MaskCase{"#.###", 8.2, "8.2"},
    MaskCase{"0,.00", 1234567.891, "1,234,567.89"},
    MaskCase{"0,.00", 123.4, "123.40"},
    MaskCase{"0,.00", -1234.5, "-1,234.50"},
    MaskCase{"0,.00", 999999.999, "1,000,000.00"},
    MaskCase{"0,.", 1234.5, "1,235"},         // no decimals: no point
    MaskCase{"0,.", 0, "0"},
    MaskCase{"0.", 2.5, "3"},
    MaskCase{"0.", -2.5, "-3"},
    MaskCase{"0.", 0.4, "0"},
    MaskCase{"0.000000", 1.0 / 3, "0.333333"},
    MaskCase{"0.000000", 2.0 / 3, "0.666667"},
    MaskCase{"0,.000000", 1234.5678915, "1,234.567892"},
    MaskCase{"0", 123456789012.0, "123456789012"}));

// The rest of the mask language: sections, literals, forced digits, exponents.
INSTANTIATE_TEST_SUITE_P(MaskLanguage, FormatFloatTest, ::testing::Values(
    MaskCase{"#,##0.00", 1234567.5, "1,234,567.50"},
    MaskCase{"#,##0.00", 0.5, "0.50"},
    MaskCase{"000.0", 5.25, "005.3"},
    MaskCase{"0.0#", 1.5, "1.5"},
    MaskCase{"0.0#", 1.0, "1.0"},
    MaskCase{"0.0#", 1.257, "1.26"},
    MaskCase{"'¥'0.00", 3, "¥3.00"},
    MaskCase{"\"合计:\"0.00元", 12.5, "合计:12.50元"},
    MaskCase{"0.00;(0.00)", -5, "(5.00)"},
    MaskCase{"0.00;(0.00)", 5, "5.00"},
    MaskCase{"0.00;(0.00);零", 0, "零"},
    MaskCase{"0.00;;零", -1, "-1.00"},        // an empty negative section falls back to the first
    MaskCase{"0.00;;零", 0.001, "零"},
    MaskCase{"'a;b'0", 7, "a;b7"},
    MaskCase{"0.00E+00", 1234, "1.23E+03"},
    MaskCase{"0.00E+00", 0.000123, "1.23E-04"},
    MaskCase{"00.0E-0", 1234, "12.3E2"},
    MaskCase{"0.0E+00", 0, "0.0E+00"},
    MaskCase{"0.00E+00", 1.5e-300, "1.50E-300"},
    MaskCase{"0E+00000", 1234, "1E+0003"},    // placeholders past the exponent's four digits show nothing
    MaskCase{"0E+0 00", 1234, "1E+3 "},
    MaskCase{"000,000.00", 12.5, "000,012.50"},
    MaskCase{"0.00;(0.00);零", -0.001, "零"},
    MaskCase{"0;(0);z;extra", -3, "(3)"},     // sections past the third are ignored
    MaskCase{"0;(0);z;extra", 0, "z"},
    MaskCase{"0 '#0.0", 5, "5 #0.0"},         // an unclosed quote runs to the end
    MaskCase{"0'a;b", 5, "5a;b"},
    MaskCase{"0.0e-00", 1234, "1.2e03"},
    MaskCase{"0.0e-00", 0.00123, "1.2e-03"},
    MaskCase{"0.0E+0;(0.0E+0)", -0.00123, "(1.2E-3)"},
    MaskCase{"#,##0", 123456789012345678.0, "123,456,789,012,346,000"},
    MaskCase{"#,##0", -999999.5, "-1,000,000"},
    MaskCase{"", 1.5, "1.5"}));

// A mask's literals may make a text longer than any number's.
TEST(FormatFloat, longTextsKeepEveryCharacter)
{
    const QString literal(200, QChar(0x6C49));
    EXPECT_EQ(literal + QStringLiteral("1.50"), lb::fmt::formatFloat('\'' + literal + QStringLiteral("'0.00"), 1.5));
}

// Every figure is first taken as its 15 significant digits, the exact binary value rounded half
// to even, then rounded half away from zero as the mask asks.
INSTANTIATE_TEST_SUITE_P(FifteenDigits, FormatFloatTest, ::testing::Values(
    MaskCase{"0.00", -0.0, "0.00"},
    MaskCase{"0.00", 12345678901234.25, "12345678901234.20"},
    MaskCase{"0.00", 12345678901234.75, "12345678901234.80"},
    MaskCase{"0.0", 1234567890123.45, "1234567890123.5"},
    MaskCase{"0", 999999999999999.5, "1000000000000000"},
    MaskCase{"0", 123456789012345678.0, "123456789012346000"},
    MaskCase{"0.000000", 5e-7, "0.000001"},
    MaskCase{"0.000000", 4.9e-7, "0.000000"},
    MaskCase{"#,##0.00", 0.1 + 0.7, "0.80"},
    MaskCase{"0.00", 1e-13, "0.00"}));

// A mistyped huge quantity must not spell out hundreds of digits in a grid cell or a total.
TEST(FormatFloat, valuesBeyondEighteenIntegerDigitsShowInTheirGeneralForm)
{
    EXPECT_EQ(QString("500000000000000000.00"), lb::fmt::formatFloat("0.00", 5e17));
    EXPECT_EQ(QString("1E18"), lb::fmt::formatFloat("0.00", 1e18));
    EXPECT_EQ(QString("-3E301"), lb::fmt::formatFloat("0,.00", -3e301));
}

TEST(FormatFloat, nonFiniteValuesHaveNames)
{
    EXPECT_EQ(QString("NAN"), lb::fmt::formatFloat("0.00", std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(QString("INF"), lb::fmt::formatFloat("0.00", std::numeric_limits<double>::infinity()));
    EXPECT_EQ(QString("-INF"), lb::fmt::formatFloat("0.00", -std::numeric_limits<double>::infinity()));
}

struct GeneralCase {
    double value;
    const char* expected;
};

void PrintTo(const GeneralCase& c, std::ostream* os) { *os << c.value; }

class FloatToStrTest : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(FloatToStrTest, givesFifteenSignificantDigits)
{
    EXPECT_EQ(QString(GetParam().expected), lb::fmt::floatToStr(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(General, FloatToStrTest, ::testing::Values(
    GeneralCase{0, "0"},
    GeneralCase{100, "100"},
    GeneralCase{0.1, "0.1"},
    GeneralCase{-2.5, "-2.5"},
    GeneralCase{0.1 + 0.2, "0.3"},
    GeneralCase{1.0 / 3, "0.333333333333333"},
    GeneralCase{2.0 / 3, "0.666666666666667"},
    GeneralCase{123456789012345.0, "123456789012345"},
    GeneralCase{1234567890123456.0, "1.23456789012346E15"},
    GeneralCase{1e20, "1E20"},
    GeneralCase{0.0001, "0.0001"},
    GeneralCase{0.00001, "0.00001"},
    GeneralCase{1e-6, "1E-6"},
    GeneralCase{-2.5e-6, "-2.5E-6"},
    GeneralCase{1e-7, "1E-7"},
    GeneralCase{-1.5e-9, "-1.5E-9"},
    GeneralCase{-0.0, "0"},
    GeneralCase{12345678901234.25, "12345678901234.2"}, // a tie at the 16th digit goes to even
    GeneralCase{12345678901234.75, "12345678901234.8"},
    GeneralCase{999999999999999.5, "1E15"},
    GeneralCase{999999999999999.4, "999999999999999"},
    GeneralCase{0.1 * 3, "0.3"},
    GeneralCase{1.0000000000000002, "1"},
    GeneralCase{123456.78901234567, "123456.789012346"},
    GeneralCase{1.2345678901234567e-13, "1.23456789012346E-13"},
    GeneralCase{5e-324, "4.94065645841247E-324"},
    GeneralCase{1.7976931348623157e308, "1.79769313486232E308"}));

// The shortest text that reads back as `value`, in fixed notation, as the standard library makes it.
std::string shortestText(double value)
{
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed).ptr);
}

// `value`'s exact binary value rounded half to even at its 15th significant digit, as the
// standard library makes it, without trailing zeros.
std::string fifteenDigits(double value)
{
    char buffer[64];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    const char* e = std::find(static_cast<const char*>(buffer), end, 'e');
    const int exponent = std::stoi(std::string(e + 1, end)); // "e+13", "e-03"
    std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                           std::max(0, 14 - exponent)).ptr);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

// The general form of random figures in money's range, from a thousandth to the limit, against
// the standard library's shortest text that reads back as the same double: the same text when
// that has at most 15 significant digits, else that of the exact value rounded at the 15th.
// Figures as typed (up to 15 significant digits), sums of two of them, and doubles of any bits;
// seeded, so that a failure repeats.
TEST(FloatToStr, matchesTheShortestTextOfTheStandardLibraryOverMoneysRange)
{
    std::mt19937_64 random(20260615);
    const auto between = [&random](qint64 low, qint64 high) { return std::uniform_int_distribution<qint64>(low, high)(random); };
    const auto typed = [&] {
        const int digits = int(between(1, 15));
        const double whole = double(between(qint64(std::pow(10, digits - 1)), qint64(std::pow(10, digits)) - 1));
        return whole / std::pow(10, between(std::max(0, digits - 13), digits + 2));
    };
    const double highest = std::log10(lb::kMaxExactAmount);
    for (int i = 0; i < 6000; ++i) {
        double value = 0;
        switch (i % 3) {
        case 0: value = typed(); break;
        case 1: value = typed(); value += typed(); break;
        default: value = std::pow(10, std::uniform_real_distribution<double>(-3, highest)(random)); break;
        }
        if (!lb::isExactAmount(value))
            continue;
        if (between(0, 1) == 1)
            value = -value;
        const std::string shortest = shortestText(value);
        std::string digits = shortest;
        std::erase_if(digits, [](char c) { return c == '-' || c == '.'; });
        const size_t significant = digits.size() - digits.find_first_not_of('0');
        const std::string expected = significant <= 15 ? shortest : fifteenDigits(value);
        ASSERT_EQ(QString::fromStdString(expected), lb::fmt::floatToStr(value))
            << std::setprecision(17) << value << ", shortest " << shortest;
    }
}

struct FixedCase {
    double value;
    int digits;
    const char* expected;
};

void PrintTo(const FixedCase& c, std::ostream* os) { *os << c.value << " / " << c.digits; }

class FloatToStrFixedTest : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FloatToStrFixedTest, usesPrecisionTen)
{
    const FixedCase& c = GetParam();
    EXPECT_EQ(QString(c.expected), lb::fmt::floatToStrFixed(c.value, 10, c.digits));
}

INSTANTIATE_TEST_SUITE_P(Fixed, FloatToStrFixedTest, ::testing::Values(
    FixedCase{0, 2, "0.00"},
    FixedCase{12.5, 2, "12.50"},
    FixedCase{2.675, 2, "2.68"},
    FixedCase{-2.675, 2, "-2.68"},
    FixedCase{-0.001, 2, "0.00"},
    FixedCase{0.005, 2, "0.01"},
    FixedCase{1234567.891, 2, "1234567.89"},
    FixedCase{123456789.987, 2, "123456790.00"}, // ten significant digits, then zeros
    FixedCase{9.5, 0, "10"},
    FixedCase{17, 0, "17"},
    FixedCase{-3.4, 0, "-3"},
    FixedCase{1.23456, 4, "1.2346"},
    FixedCase{12345678901.0, 2, "1.23456789E10"},
    FixedCase{-12345678901.0, 2, "-1.23456789E10"},
    FixedCase{1.5, 20, "1.50000000000000000000"},
    FixedCase{-1e-20, 2, "0.00"},
    FixedCase{-0.5, 0, "-1"}));

TEST(StrToFloat, acceptsTypedNumbers)
{
    EXPECT_EQ(12.5, lb::fmt::strToFloat("12.5"));
    EXPECT_EQ(-3.0, lb::fmt::strToFloat(" -3 "));
    EXPECT_EQ(0.5, lb::fmt::strToFloat(".5"));
    EXPECT_EQ(5.0, lb::fmt::strToFloat("5."));
    EXPECT_EQ(1500.0, lb::fmt::strToFloat("1.5e3"));
    EXPECT_EQ(0.015, lb::fmt::strToFloat("+1.5E-2"));
}

TEST(StrToFloat, refusesEverythingElseWithTheConversionMessage)
{
    for (const char* text : {"", " ", "abc", "1,5", "1.2.3", "1e", "-", ".", "12a", "1e999", "nan", "inf",
                             "１２"}) {
        double value = 42;
        EXPECT_FALSE(lb::fmt::tryStrToFloat(QString::fromUtf8(text), value)) << text;
        EXPECT_EQ(42.0, value) << text;
    }
    try {
        lb::fmt::strToFloat("12a");
        FAIL() << "no error";
    } catch (const lb::ConvertError& e) {
        EXPECT_EQ(QString("'12a' is not a valid floating point value"), e.message());
    }
}

// The application object takes the user's locale for the C library; typed and stored numbers
// use "." whatever that locale writes.
TEST(StrToFloat, ignoresTheLocaleOfTheCLibrary)
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    bool commaLocale = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name)) {
            commaLocale = true;
            break;
        }
    }
    if (!commaLocale)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    double value = 0;
    const bool parsed = lb::fmt::tryStrToFloat("12.5", value);
    const QString general = lb::fmt::floatToStr(2.5);
    const QString masked = lb::fmt::formatFloat("0,.00", 1234.005);
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_TRUE(parsed);
    EXPECT_EQ(12.5, value);
    EXPECT_EQ(QString("2.5"), general);
    EXPECT_EQ(QString("1,234.01"), masked);
}

TEST(StrToInt, parsesDigitsAndRefusesTheRest)
{
    EXPECT_EQ(10, lb::fmt::strToInt("0000000010"));
    EXPECT_EQ(-7, lb::fmt::strToInt(" -7"));
    qint64 value = 0;
    for (const char* text : {"", "1.5", "2.", "abc", "99999999999999999999", "+", "1 2"})
        EXPECT_FALSE(lb::fmt::tryStrToInt(text, value)) << text;
    try {
        lb::fmt::strToInt("2.");
        FAIL() << "no error";
    } catch (const lb::ConvertError& e) {
        EXPECT_EQ(QString("'2.' is not a valid integer value"), e.message());
    }
}

TEST(Dates, useYearMonthDayWithHyphens)
{
    EXPECT_EQ(QString("2024-03-05"), lb::fmt::dateToStr(QDate(2024, 3, 5)));
    EXPECT_EQ(QString(), lb::fmt::dateToStr(QDate()));
    EXPECT_EQ(QDate(2024, 3, 5), lb::fmt::strToDate("2024-03-05"));
    EXPECT_EQ(QDate(2024, 3, 5), lb::fmt::strToDate(" 2024-3-5 "));
    EXPECT_EQ(QDate(2024, 2, 29), lb::fmt::strToDate("2024-02-29"));
}

TEST(Dates, refuseTextThatIsNoDate)
{
    for (const char* text : {"", "    -  -  ", "2023-02-29", "2024/03/05", "2024-13-01", "24-03-05",
                             "2024-03-05x", "2024-3", "2024--3-5", "2024-03-005"}) {
        QDate date(2000, 1, 1);
        EXPECT_FALSE(lb::fmt::tryStrToDate(text, date)) << text;
        EXPECT_EQ(QDate(2000, 1, 1), date) << text;
    }
    try {
        lb::fmt::strToDate("2023-02-29");
        FAIL() << "no error";
    } catch (const lb::ConvertError& e) {
        EXPECT_EQ(QString("'2023-02-29' is not a valid date"), e.message());
    }
}

TEST(Dates, dateTimesDropMidnight)
{
    EXPECT_EQ(QString("2024-03-05"), lb::fmt::dateTimeToStr(QDateTime(QDate(2024, 3, 5), QTime(0, 0))));
    EXPECT_EQ(QString("2024-03-05 09:07:03"),
              lb::fmt::dateTimeToStr(QDateTime(QDate(2024, 3, 5), QTime(9, 7, 3))));
    EXPECT_EQ(QDateTime(QDate(2024, 3, 5), QTime(9, 7, 3)), lb::fmt::strToDateTime("2024-03-05 09:07:03"));
    EXPECT_EQ(QDateTime(QDate(2024, 3, 5), QTime(0, 0)), lb::fmt::strToDateTime("2024-03-05"));
    EXPECT_EQ(QDateTime(QDate(2024, 3, 5), QTime(9, 7)), lb::fmt::strToDateTime("2024-03-05 9:07"));
    EXPECT_THROW(lb::fmt::strToDateTime("2024-03-05 25:00"), lb::ConvertError);
    EXPECT_THROW(lb::fmt::strToDateTime("x"), lb::ConvertError);
}

} // namespace
