// Logical fonts: Windows face names mapped to installed families, and pixel measures at 96 dpi.
#include "platform/gfx/EmfFont.h"

#include <QFontMetricsF>
#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <utility>

namespace lb::gfx {

namespace {

const QString kChinese = QStringLiteral("AR PL UMing CN");
const QString kSans = QStringLiteral("Liberation Sans");
const QString kSerif = QStringLiteral("Liberation Serif");
const QString kMono = QStringLiteral("Liberation Mono");

bool isChineseFace(const QString& face)
{
    for (QChar c : face) {
        if (c.unicode() > 0x7F)
            return true;
    }
    static const QStringList latinNamesOfChineseFaces = {
        "simsun", "nsimsun", "simhei", "kaiti", "kaiti_gb2312", "fangsong", "fangsong_gb2312",
        "microsoft yahei", "mingliu", "pmingliu", "ms song", "song", "ar pl uming cn"};
    return latinNamesOfChineseFaces.contains(face.trimmed().toLower());
}

} // namespace

EmfFont EmfFont::fromPoints(const QString& faceName, double points, bool bold, bool italic,
                            bool underline, bool strikeOut)
{
    EmfFont font;
    font.faceName = faceName;
    font.height = -static_cast<qint32>(std::lround(points * kPixelsPerInch / 72.0));
    font.weight = bold ? 700 : 400;
    font.italic = italic;
    font.underline = underline;
    font.strikeOut = strikeOut;
    font.charSet = isChineseFace(faceName) ? 134 : 1;
    return font;
}

QStringList EmfFont::families(const QString& faceName)
{
    if (isChineseFace(faceName))
        return {kChinese, kSans};
    const QString face = faceName.trimmed().toLower();
    static const QStringList serifFaces = {"times new roman", "times", "georgia", "ms serif",
                                           "garamond", "book antiqua", "liberation serif"};
    static const QStringList monoFaces = {"courier new", "courier", "lucida console", "consolas",
                                          "fixedsys", "terminal", "liberation mono"};
    if (serifFaces.contains(face))
        return {kSerif, kChinese};
    if (monoFaces.contains(face))
        return {kMono, kChinese};
    return {kSans, kChinese};
}

QFont EmfFont::qFont() const
{
    QFont font;
    font.setFamilies(families(faceName));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    font.setWeight(QFont::Weight(std::clamp(weight == 0 ? 400 : int(weight), 1, 1000)));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    // A damaged page may ask for any height: keep it to what a page can show, and compute in
    // 64 bits so that no height overflows on the way.
    constexpr qint64 largestPixelSize = 2048; // about twice the height of an A4 page at 96 dpi
    const int em = int(std::clamp<qint64>(std::abs(qint64(height)), 1, largestPixelSize));
    font.setPixelSize(em);
    if (height > 0) {
        // A positive height is the whole cell; shrink the em so ascent plus descent fits it.
        const QFontMetricsF metrics(font);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0)
            font.setPixelSize(int(std::clamp<qint64>(std::llround(double(em) * em / cell), 1, largestPixelSize)));
    }
    return font;
}

namespace {

// Measures of one logical font, with the advance of each character asked once: a report lays
// out thousands of texts in a handful of fonts, and building a font and asking its metrics
// again for every text costs more than the rest of the page.
struct Measures {
    explicit Measures(const QFont& font) : metrics(font), ascent(metrics.ascent()), descent(metrics.descent())
    {
        latin.fill(-1);
    }
    QFontMetricsF metrics;
    double ascent;
    double descent;
    // The digits and letters of codes and figures, most of what a list prints, by index;
    // -1 until asked. Other characters in the hash.
    std::array<double, 128> latin;
    QHash<char32_t, double> advance;

    double advanceOf(const QString& text, qsizetype at, bool pair)
    {
        const char32_t code = pair ? QChar::surrogateToUcs4(text[at], text[at + 1]) : text[at].unicode();
        if (code < latin.size()) {
            double& width = latin[code];
            if (width < 0)
                width = metrics.horizontalAdvance(text.mid(at, 1));
            return width;
        }
        const auto found = advance.constFind(code);
        if (found != advance.constEnd())
            return *found;
        const double width = metrics.horizontalAdvance(text.mid(at, pair ? 2 : 1));
        advance.insert(code, width);
        return width;
    }

    // The advances of `text`, rounding carried along. The last text's are kept: a report
    // measures a line to lay it out and then writes it, and the second time costs a comparison.
    const std::vector<qint32>& advancesOf(const QString& text)
    {
        if (text == lastText)
            return lastAdvances;
        lastText = text;
        lastAdvances.assign(size_t(text.size()), 0);
        double position = 0;
        qint64 placed = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            position += advanceOf(text, i, pair);
            const qint64 end = std::llround(position);
            lastAdvances[size_t(i)] = static_cast<qint32>(end - placed);
            placed = end;
            if (pair)
                ++i;
        }
        return lastAdvances;
    }

    QString lastText;
    std::vector<qint32> lastAdvances;
};

// The measures of the fonts used last, per thread (fonts are not shared between threads).
Measures& measuresOf(const EmfFont& font)
{
    constexpr size_t kKept = 16;
    thread_local std::vector<std::pair<EmfFont, std::unique_ptr<Measures>>> kept;
    for (size_t i = 0; i < kept.size(); ++i) {
        if (kept[i].first == font) {
            if (i != 0)
                std::swap(kept[i], kept[0]);
            return *kept[0].second;
        }
    }
    if (kept.size() == kKept)
        kept.pop_back();
    kept.insert(kept.begin(), {font, std::make_unique<Measures>(font.qFont())});
    return *kept[0].second;
}

} // namespace

std::vector<qint32> EmfFont::advances(const QString& text) const
{
    return measuresOf(*this).advancesOf(text);
}

int EmfFont::textWidth(const QString& text) const
{
    // The advances carry their rounding along, so they add up to the rounded whole.
    qint64 width = 0;
    for (qint32 advance : measuresOf(*this).advancesOf(text))
        width += advance;
    return int(width);
}

int EmfFont::textHeight() const
{
    const Measures& measures = measuresOf(*this);
    return int(std::lround(measures.ascent + measures.descent));
}

double EmfFont::ascent() const
{
    return measuresOf(*this).ascent;
}

} // namespace lb::gfx
