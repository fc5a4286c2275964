// Word and character wrapping of label text.
#include "report/RpTextWrap.h"

#include <algorithm>

namespace lb::report {

bool RpIsCjk(char32_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF)     // radicals, punctuation, kana, CJK ideographs
           || (c >= 0xAC00 && c <= 0xD7AF)  // Hangul
           || (c >= 0xF900 && c <= 0xFAFF)  // compatibility ideographs
           || (c >= 0xFE30 && c <= 0xFE4F)  // compatibility forms
           || (c >= 0xFF00 && c <= 0xFFEF)  // full-width forms
           || (c >= 0x20000 && c <= 0x3FFFF); // extension ideographs
}

namespace {

// Length of the character at `at`: 2 for a surrogate pair, else 1.
qsizetype charLength(const QString& text, qsizetype at)
{
    return text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate() ? 2 : 1;
}

char32_t codeAt(const QString& text, qsizetype at)
{
    return charLength(text, at) == 2 ? QChar::surrogateToUcs4(text[at], text[at + 1]) : text[at].unicode();
}

QStringList words(const QString& paragraph)
{
    QStringList result;
    QString word;
    for (qsizetype i = 0; i < paragraph.size();) {
        const qsizetype length = charLength(paragraph, i);
        const char32_t code = codeAt(paragraph, i);
        if (RpIsCjk(code) && !word.isEmpty()) {
            result.append(word);
            word.clear();
        }
        word += paragraph.mid(i, length);
        i += length;
        if (code == U' ' || code == U'-' || RpIsCjk(code)) {
            result.append(word);
            word.clear();
        }
    }
    if (!word.isEmpty())
        result.append(word);
    return result;
}

void wrapParagraph(const QString& paragraph, double maxWidth, RpMeasure measure, QStringList& lines)
{
    // Most texts fit their control as they stand.
    if (measure(paragraph) <= maxWidth) {
        lines.append(paragraph);
        return;
    }
    QString line;
    for (const QString& word : words(paragraph)) {
        if (measure(line + word) <= maxWidth) {
            line += word;
            continue;
        }
        if (!line.isEmpty()) {
            lines.append(line);
            line.clear();
        }
        if (measure(word) <= maxWidth) {
            line = word;
            continue;
        }
        // Too wide for any line: as many characters as fit go on each line, at least one so
        // that the text always moves on.
        for (qsizetype i = 0; i < word.size();) {
            const qsizetype length = charLength(word, i);
            const QString character = word.mid(i, length);
            if (!line.isEmpty() && measure(line + character) > maxWidth) {
                lines.append(line);
                line.clear();
            }
            line += character;
            i += length;
        }
    }
    lines.append(line);
}

bool hasLineBreak(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c == u'\n' || c == u'\r'; });
}

} // namespace

bool RpIsOneLine(const QString& text, double maxWidth, bool autoSize, bool wordWrap, RpMeasure measure)
{
    return !hasLineBreak(text) && (autoSize || !wordWrap || measure(text) <= maxWidth);
}

void RpWrapText(const QString& text, double maxWidth, bool autoSize, bool wordWrap, RpMeasure measure,
                QStringList& lines)
{
    const auto add = [&](const QString& paragraph) {
        if (autoSize || !wordWrap)
            lines.append(paragraph);
        else
            wrapParagraph(paragraph, maxWidth, measure, lines);
    };
    // A field's text is one paragraph as a rule: printed for every record, it is taken as it
    // stands instead of copied and split.
    if (!hasLineBreak(text)) {
        add(text);
        return;
    }
    QString plain = text;
    plain.remove(QLatin1Char('\n'));
    for (const QString& paragraph : plain.split(QLatin1Char('\r')))
        add(paragraph);
}

} // namespace lb::report
