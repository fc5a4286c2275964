// Breaking label text into lines: words, CJK characters, long words, paragraphs, no wrapping.
#include "report/RpTextWrap.h"

#include <gtest/gtest.h>

namespace lb::report {
namespace {

// Every character one unit wide, CJK characters two.
double measure(const QString& text)
{
    double width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
        const char32_t code = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        width += RpIsCjk(code) ? 2 : 1;
        if (pair)
            ++i;
    }
    return width;
}

TEST(RpWrapText, LinesOfEachText)
{
    const struct {
        const char* text;
        double width;
        bool autoSize;
        bool wordWrap;
        QStringList lines;
    } cases[] = {
        {"hello world", 3, true, true, {"hello world"}},                 // AutoSize never wraps
        {"aa bb cc", 6, false, true, {"aa bb ", "cc"}},                  // the blank stays with its word
        {"ab 货品名称", 7, false, true, {"ab 货品", "名称"}},            // a line may break between CJK characters
        {"货品名称很长", 4, false, true, {"货品", "名称", "很长"}},
        {"x abc货", 6, false, true, {"x abc", "货"}},                    // also between Latin and CJK
        {"abcdefgh", 3, false, true, {"abc", "def", "gh"}},              // a long word goes on, nothing is lost
        {"a\U00020000b", 2, false, true, {"a", "\U00020000", "b"}},      // a surrogate pair stays whole
        {"ab\r\ncd", 10, false, true, {"ab", "cd"}},                     // carriage returns start paragraphs
        {"co-op ab", 4, false, true, {"co-", "op ", "ab"}},              // hyphens end words
        {"aa bb cc", 3, false, false, {"aa bb cc"}},                     // no wrapping: one line, clipped
        {"ab", 0, false, true, {"a", "b"}},                              // one character at least per line
        {"", 5, false, true, {""}},
    };
    for (const auto& c : cases) {
        QStringList lines;
        RpWrapText(QString::fromUtf8(c.text), c.width, c.autoSize, c.wordWrap, measure, lines);
        EXPECT_EQ(c.lines, lines) << c.text << " in " << c.width;
    }
}

} // namespace
} // namespace lb::report
