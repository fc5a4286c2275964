// The brush a shape is filled with.
#pragma once

#include <QColor>

namespace lb::report {

struct TRpBrush {
    enum Style { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

    int Style = bsSolid;
    QColor Color = Qt::white;

    bool operator==(const TRpBrush&) const = default;
};

} // namespace lb::report
