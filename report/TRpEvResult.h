// The value of a report expression or of one of its elements: a kind and four separate value fields.
#pragma once

#include <QString>
#include <QtGlobal>

namespace lb::report {

enum TRpEvKind : quint8 { rkInteger = 0, rkDouble = 1, rkString = 2, rkBoolean = 3, rkError = 4 };

// The value fields are separate, not shared storage: setting one leaves the others as they
// were (a function that takes over "the text field" of an integer argument sees its old text).
// Every text is held to at most 255 bytes of the program's code page (GBK), cut only between
// characters. The text of an rkError result is its message.
struct TRpEvResult {
    TRpEvKind kind = rkInteger;
    qint32 intValue = 0;
    double doubleValue = 0.0;
    bool boolValue = false;

    const QString& strValue() const { return str_; }
    void setStrValue(const QString& text); // cut to 255 bytes

    static TRpEvResult integer(qint32 value);
    static TRpEvResult number(double value);
    static TRpEvResult string(const QString& text);
    static TRpEvResult boolean(bool value);
    static TRpEvResult error(const QString& message);

    // Makes this an error result with the message (other fields unchanged).
    void setError(const QString& message);

    // The value as text: integers in plain decimal, doubles in the 15-significant-digit form,
    // booleans "True"/"False", texts unchanged. An error result raises lb::Error
    // "Error in expression : <message>".
    QString toText() const;

private:
    QString str_;
};

// Cuts a text to at most `maxBytes` bytes of GBK without splitting a character.
QString rpFitText(const QString& text, int maxBytes = 255);
// Byte-wise comparison of two texts in the program's code page (unsigned bytes, then length):
// negative, zero or positive.
int rpCompareText(const QString& a, const QString& b);

} // namespace lb::report
