// The font of a report, band or printable control.
#pragma once

#include "platform/gfx/EmfFont.h"

#include <QColor>
#include <QString>

namespace lb::report {

// Sizes are points (1/72 inch). A layout that gives a font by its pixel height at 96 pixels per
// inch, as the program's layouts do ("宋体" 13 pixels high), uses SetPixelHeight.
struct TRpFont {
    QString Name = QStringLiteral("Arial");
    double Size = 10;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    QColor Color = Qt::black;

    void SetPixelHeight(int pixels) { Size = pixels * 72.0 / gfx::EmfFont::kPixelsPerInch; }
    // The logical font a page records for this font.
    gfx::EmfFont Emf() const { return gfx::EmfFont::fromPoints(Name, Size, Bold, Italic, Underline, StrikeOut); }

    bool operator==(const TRpFont&) const = default;
};

} // namespace lb::report
