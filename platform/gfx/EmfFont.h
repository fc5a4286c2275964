// A logical font as a metafile stores it, and its text measures at the fixed page resolution.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

namespace lb::gfx {

// The fields of a logical font (LOGFONTW). Pages are laid out at 96 pixels per inch on every
// machine, so sizes here are pixels at that resolution and measuring never asks a screen.
struct EmfFont {
    static constexpr int kPixelsPerInch = 96;

    qint32 height = -13;     // negative: em height in pixels; positive: cell height (ascent + descent)
    qint32 width = 0;        // average character width; 0 lets the face choose
    qint32 escapement = 0;   // tenths of a degree; the engine writes 0
    qint32 orientation = 0;
    qint32 weight = 400;     // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    quint8 charSet = 1;      // DEFAULT_CHARSET
    quint8 outPrecision = 0;
    quint8 clipPrecision = 0;
    quint8 quality = 0;
    quint8 pitchAndFamily = 0;
    QString faceName;        // at most 31 characters are stored

    // A font of `points` (1/72 inch) as the engine's controls specify it.
    static EmfFont fromPoints(const QString& faceName, double points, bool bold = false,
                              bool italic = false, bool underline = false, bool strikeOut = false);

    // Installed families standing in for a Windows face name, preferred first: Chinese faces
    // (宋体, 黑体, SimSun, ...) to AR PL UMing, Latin faces to the Liberation family of the same
    // kind (Arial to Sans, Times New Roman to Serif, Courier New to Mono). Every list ends in a
    // family that holds the other script, so mixed text never depends on the system's fallback.
    static QStringList families(const QString& faceName);

    // The Qt font drawing this logical font at its pixel size, without hinting so that advances
    // are the same on every machine.
    QFont qFont() const;

    // Advance of each UTF-16 unit of `text` in whole pixels; rounding is carried along so the
    // sum equals the rounded width of the whole text. The second unit of a surrogate pair gets 0.
    std::vector<qint32> advances(const QString& text) const;
    // Width of `text` in pixels: the sum of its advances.
    int textWidth(const QString& text) const;
    // Height of a line in pixels: ascent plus descent, rounded.
    int textHeight() const;
    // Ascent in pixels (not rounded), the distance from the top of a line to its baseline.
    double ascent() const;

    bool operator==(const EmfFont&) const = default;
};

} // namespace lb::gfx
