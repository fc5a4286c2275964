// GBK tables built once through iconv, and the conversions and ordering built on them.
#include "platform/sys/Gbk.h"

#include <QList>
#include <iconv.h>
#include <stdexcept>
#include <vector>

namespace lb {

namespace {

struct Tables {
    std::vector<quint16> toCode = std::vector<quint16>(0x10000, 0);   // BMP code point -> GBK code
    std::vector<char16_t> fromCode = std::vector<char16_t>(0x10000, 0); // GBK code -> BMP code point

    Tables()
    {
        iconv_t cd = iconv_open("UTF-16LE", "GBK");
        if (cd == iconv_t(-1))
            throw std::runtime_error("The system has no GBK converter");
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F)
                    continue;
                char in[2] = {char(lead), char(trail)};
                char out[8] = {};
                char* inPtr = in;
                char* outPtr = out;
                size_t inLeft = 2;
                size_t outLeft = sizeof out;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || sizeof out - outLeft != 2)
                    continue;
                const char16_t unit = char16_t(quint8(out[0]) | (quint8(out[1]) << 8));
                const int gbk = (lead << 8) | trail;
                fromCode[size_t(gbk)] = unit;
                if (toCode[unit] == 0)
                    toCode[unit] = quint16(gbk);
            }
        }
        iconv_close(cd);
    }
};

const Tables& tables()
{
    static const Tables instance;
    return instance;
}

// Sort key of one character: GBK codes keep their byte order (one-byte ASCII below every lead
// byte), characters without a code come after all of them.
quint32 sortKey(char32_t ch)
{
    const int gbk = Gbk::code(ch);
    return gbk >= 0 ? quint32(gbk) : 0x10000u + quint32(ch);
}

// Decodes one UTF-8 character at `pos`, advancing it; malformed bytes read as themselves + 0x110000
// so that they still order deterministically.
char32_t nextUtf8(const unsigned char* text, int length, int& pos)
{
    const unsigned char c = text[pos];
    int extra = 0;
    char32_t value = 0;
    if (c < 0x80) {
        ++pos;
        return c;
    } else if ((c & 0xE0) == 0xC0) {
        extra = 1;
        value = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        value = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        value = c & 0x07;
    } else {
        ++pos;
        return 0x110000u + c;
    }
    if (pos + extra >= length) {
        ++pos;
        return 0x110000u + c;
    }
    for (int i = 1; i <= extra; ++i) {
        const unsigned char cc = text[pos + i];
        if ((cc & 0xC0) != 0x80) {
            ++pos;
            return 0x110000u + c;
        }
        value = (value << 6) | (cc & 0x3F);
    }
    pos += extra + 1;
    return value;
}

} // namespace

int Gbk::code(char32_t ch)
{
    if (ch < 0x80)
        return int(ch);
    if (ch > 0xFFFF)
        return -1;
    const quint16 gbk = tables().toCode[ch];
    return gbk ? int(gbk) : -1;
}

QByteArray Gbk::toGbk(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const char32_t ch : text.toUcs4()) {
        const int gbk = code(ch);
        if (gbk < 0)
            out.append('?');
        else if (gbk < 0x80)
            out.append(char(gbk));
        else {
            out.append(char(gbk >> 8));
            out.append(char(gbk & 0xFF));
        }
    }
    return out;
}

QString Gbk::fromGbk(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    const Tables& t = tables();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 c = quint8(bytes[i]);
        if (c < 0x80) {
            out.append(QChar(c));
            continue;
        }
        if (c >= 0x81 && c <= 0xFE && i + 1 < bytes.size()) {
            const char16_t unit = t.fromCode[size_t((c << 8) | quint8(bytes[i + 1]))];
            if (unit) {
                out.append(QChar(unit));
                ++i;
                continue;
            }
        }
        out.append(QChar(0xFFFD));
    }
    return out;
}

int Gbk::compareUtf8(const char* a, int aLength, const char* b, int bLength, LatinCase latinCase)
{
    const auto* ua = reinterpret_cast<const unsigned char*>(a);
    const auto* ub = reinterpret_cast<const unsigned char*>(b);
    const bool fold = latinCase == LatinCase::Ignore;
    const auto folded = [fold](unsigned char c) { return fold && c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : int(c); };
    int i = 0;
    int j = 0;
    while (i < aLength && j < bLength) {
        if (ua[i] < 0x80 && ub[j] < 0x80) {
            const int ca = folded(ua[i]);
            const int cb = folded(ub[j]);
            if (ca != cb)
                return ca < cb ? -1 : 1;
            ++i;
            ++j;
            continue;
        }
        const quint32 ka = sortKey(nextUtf8(ua, aLength, i));
        const quint32 kb = sortKey(nextUtf8(ub, bLength, j));
        if (ka != kb)
            return ka < kb ? -1 : 1;
    }
    if (i < aLength)
        return 1;
    if (j < bLength)
        return -1;
    return 0;
}

int Gbk::compare(const QString& a, const QString& b, LatinCase latinCase)
{
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return compareUtf8(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()), latinCase);
}

} // namespace lb
