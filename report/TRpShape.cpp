// Shapes drawn in page pixels with the shape's pen and brush.
#include "report/TRpShape.h"

#include "report/TCustomRpReport.h"
#include "report/TRpPrinter.h"

namespace lb::report {

void TRpShape::Print(double x, double y)
{
    if (!IsPrinted())
        return;
    TRpPrinter& device = *RpPrinter();
    TRpCanvas& canvas = device.Canvas();
    canvas.SetPen(Pen);
    canvas.SetBrush(Brush);
    const QRect box = DeviceRect(x, y);
    const int l = box.left();
    const int t = box.top();
    const int r = box.right();
    const int b = box.bottom();
    switch (Shape) {
    case TRpShapeType::rpsRectangle: canvas.Rectangle(box); break;
    case TRpShapeType::rpsCircle: canvas.Ellipse(box); break;
    case TRpShapeType::rpsVertLine: canvas.Line(QPoint((l + r) / 2, t), QPoint((l + r) / 2, b)); break;
    case TRpShapeType::rpsHorLine: canvas.Line(QPoint(l, (t + b) / 2), QPoint(r, (t + b) / 2)); break;
    case TRpShapeType::rpsTopAndBottom:
        canvas.Line(QPoint(l, t), QPoint(r, t));
        canvas.Line(QPoint(l, b - 1), QPoint(r, b - 1));
        break;
    case TRpShapeType::rpsRightAndLeft:
        canvas.Line(QPoint(l, t), QPoint(l, b));
        canvas.Line(QPoint(r - 1, t), QPoint(r - 1, b));
        break;
    case TRpShapeType::rpsRoundRect: {
        const int corner = int((r - l) * RoundFactor);
        canvas.RoundRect(box, QSize(corner, corner));
        break;
    }
    }
}

} // namespace lb::report
