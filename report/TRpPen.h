// The pen a shape outlines with.
#pragma once

#include "report/TRpFrame.h"

#include <QColor>

namespace lb::report {

struct TRpPen {
    int Style = TRpFrame::psSolid; // TRpFrame::PenStyle
    int Width = 1;                 // device pixels; 0 is one pixel at any scale
    QColor Color = Qt::black;

    bool operator==(const TRpPen&) const = default;
};

} // namespace lb::report
