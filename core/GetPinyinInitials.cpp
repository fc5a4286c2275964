// Pinyin initials of Chinese text, for the products' search codes.
#include "core/GetPinyinInitials.h"

#include "platform/sys/Gbk.h"

#include <QList>
#include <array>

namespace lb::core {

namespace {

struct Range {
    int last; // last GBK code of the letter's range; each range starts after the previous one
    char letter;
};

// GB2312 level 1 is ordered by pinyin: each letter's characters fill one unbroken code range.
constexpr int FirstCode = 0xB0A1;
constexpr std::array<Range, 23> Ranges{{
    {0xB0C4, 'A'}, {0xB2C0, 'B'}, {0xB4ED, 'C'}, {0xB6E9, 'D'}, {0xB7A1, 'E'}, {0xB8C0, 'F'},
    {0xB9FD, 'G'}, {0xBBF6, 'H'}, {0xBFA5, 'J'}, {0xC0AB, 'K'}, {0xC2E7, 'L'}, {0xC4C2, 'M'},
    {0xC5B5, 'N'}, {0xC5BD, 'O'}, {0xC6D9, 'P'}, {0xC8BA, 'Q'}, {0xC8F5, 'R'}, {0xCBF9, 'S'},
    {0xCDD9, 'T'}, {0xCEF3, 'W'}, {0xD1B8, 'X'}, {0xD4D0, 'Y'}, {0xD7F9, 'Z'},
}};

} // namespace

char32_t GetPinyinInitial(char32_t ch, bool upperCase)
{
    const int code = lb::Gbk::code(ch);
    if (code < FirstCode)
        return ch;
    for (const auto& range : Ranges)
        if (code <= range.last)
            return char32_t(upperCase ? range.letter : range.letter - 'A' + 'a');
    return ch;
}

QString GetPinyinInitials(const QString& text, bool upperCase)
{
    QString result;
    for (char32_t ch : text.toUcs4()) {
        const char32_t initial = GetPinyinInitial(ch, upperCase);
        result += QString::fromUcs4(&initial, 1);
    }
    return result;
}

} // namespace lb::core
