// Number and date text: display masks, fixed-point and shortest forms, parsing of typed text.
// The one place where numbers are rounded, and only when text is made.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace lb::fmt {

// Display masks: "0" and "#" digit placeholders, "." decimal point, "," anywhere in the integer
// part turns on thousands separators, up to three sections separated by ';' (positive;negative;
// zero), quoted literals, an exponent "E+00" or "E-0" ("e" as well; up to four "0" are its digits,
// digit places after them show nothing). Takes the value's 15 significant digits, then rounds
// them half away from zero. "#.##" shows 0 as empty text.
// An empty mask, or a value of 19 integer digits or more, gives floatToStr(value).
QString formatFloat(const QString& mask, double value);

// The general text form of a number: at most 15 significant digits, no trailing zeros,
// exponent form for very large or very small values ("100", "0.1", "1E20").
QString floatToStr(double value);

// Fixed-point text with `precision` significant digits and `digits` decimals
// (precision 10 as the program uses it); falls back to exponent form past the precision.
QString floatToStrFixed(double value, int precision, int digits);

// Parses typed text as a number: optional blanks, sign, digits, one '.', an exponent.
// ConvertError "'x' is not a valid floating point value" on anything else, empty text included.
double strToFloat(const QString& text);
bool tryStrToFloat(const QString& text, double& value);
// Integer text; ConvertError "'x' is not a valid integer value".
qint64 strToInt(const QString& text);
bool tryStrToInt(const QString& text, qint64& value);

// Dates in the program's format "yyyy-mm-dd"; ConvertError "'x' is not a valid date".
QString dateToStr(const QDate& date);
QDate strToDate(const QString& text);
bool tryStrToDate(const QString& text, QDate& date);
// "yyyy-mm-dd hh:nn:ss"; a time of midnight gives the date alone.
QString dateTimeToStr(const QDateTime& value);
// A date and time by a display mask: y, m, d, h, n (minutes), s and z runs ("yy", "yyyy", "m",
// "mm", "d", "dd", "h", "hh", "n", "nn", "s", "ss", "z", "zzz"; an "m" right after an "h" run
// is minutes), "c" for dateTimeToStr, '/' and ':' as the separators "-" and ":", quoted
// literals; other characters stand as they are. An empty mask is "c".
QString formatDateTime(const QString& mask, const QDateTime& value);
QDateTime strToDateTime(const QString& text);

} // namespace lb::fmt
