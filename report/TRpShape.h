// Lines and shapes on a band: rules, boxes, circles.
#pragma once

#include "report/TRpBrush.h"
#include "report/TRpPen.h"
#include "report/TRpPrintable.h"

namespace lb::report {

enum class TRpShapeType { rpsRectangle, rpsCircle, rpsVertLine, rpsHorLine, rpsTopAndBottom, rpsRightAndLeft, rpsRoundRect };

class TRpShape : public TRpPrintable {
public:
    TRpShapeType Shape = TRpShapeType::rpsRectangle;
    TRpPen Pen;
    TRpBrush Brush;
    // Corner ellipse of a rounded rectangle as a share of the width.
    float RoundFactor = 0.25f;

    void Print(double x, double y) override;
};

} // namespace lb::report
