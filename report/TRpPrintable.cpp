// Printable control base: alignment to the band, device rectangle and frame.
#include "report/TRpPrintable.h"

#include "report/TCustomRpReport.h"
#include "report/TRpCustomBand.h"
#include "report/TRpPrinter.h"

namespace lb::report {

TRpPrintable::TRpPrintable() = default;

TRpPrintable::~TRpPrintable() = default;

void TRpPrintable::Attach(TCustomRpReport* report, TRpCustomBand* band)
{
    report_ = report;
    band_ = band;
    if (report_) {
        size_.SetUnits(report_->Units());
        size_.SetZoom(report_->Zoom());
    }
    AlignNow();
}

void TRpPrintable::SetAlignment(TRpAlignment alignment)
{
    alignment_ = alignment;
    AlignNow();
}

void TRpPrintable::SetAlignToBand(bool align)
{
    alignToBand_ = align;
    AlignNow();
}

void TRpPrintable::AlignNow()
{
    if (!alignToBand_)
        return;
    const std::vector<double>& values = size_.Values();
    std::vector<double> moved = values;
    if (alignment_ == TRpAlignment::Left) {
        moved[TRpPrintableSize::LeftIndex] = 0;
    } else if (band_) {
        const double free = band_->Size().Values()[1] - values[TRpPrintableSize::WidthIndex];
        moved[TRpPrintableSize::LeftIndex] = alignment_ == TRpAlignment::Right ? free : free / 2;
    }
    size_.SetValues(moved);
}

const TRpFont& TRpPrintable::EffectiveFont() const
{
    static const TRpFont unattached;
    if (band_)
        return band_->EffectiveFont();
    return report_ ? report_->Font : unattached;
}

void TRpPrintable::Prepare()
{
    printing_ = true;
    printer_ = report_ ? report_->RpPrinter() : nullptr;
}

void TRpPrintable::Print(double x, double y)
{
    if (!IsPrinted() || !report_)
        return;
    DrawFrame(DeviceRect(x, y));
}

void TRpPrintable::Notice(int code)
{
    if (code == 2)
        AlignNow();
}

void TRpPrintable::Unprepare()
{
    printing_ = false;
}

QRect TRpPrintable::DeviceRect(double x, double y, double extraHeight) const
{
    const TRpPrinter& device = *printer_;
    const double left = x + size_.Left();
    const double top = y + size_.Top();
    return QRect(QPoint(device.ToDeviceX(left), device.ToDeviceY(top)),
                 QPoint(device.ToDeviceX(left + size_.Width()), device.ToDeviceY(top + size_.Height() + extraHeight)));
}

void TRpPrintable::DrawFrame(const QRect& rect) const
{
    if (!Frame.HasLines() || !printer_)
        return;
    TRpCanvas& canvas = printer_->Canvas();
    for (const QRect& line : Frame.LineRects(rect, printer_->ScaleX(), printer_->ScaleY()))
        canvas.FillRect(line, Frame.Color);
}

} // namespace lb::report
