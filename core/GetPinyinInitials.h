// Pinyin initials of Chinese text, for the products' search codes.
#pragma once

#include <QString>

namespace lb::core {

// The initial of one character: the upper-case letter of its GB2312 level-1 range when the
// character's GBK code lies in one (B0A1..D7F9), otherwise the character itself (an ASCII
// character, a level-2 character, a full-width symbol, a character without a GBK code).
char32_t GetPinyinInitial(char32_t ch, bool upperCase = true);

// The initials of every character of the text, one per character. With upperCase false the
// letters from the table are lower-case; other characters are returned unchanged either way.
QString GetPinyinInitials(const QString& text, bool upperCase = true);

} // namespace lb::core
