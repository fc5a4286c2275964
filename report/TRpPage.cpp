// Page defaults, paper size application and the band arrangement numbers.
#include "report/TRpPage.h"

#include "report/RpRound.h"

namespace lb::report {

TRpPage::TRpPage(double pixelsPerInch) : TRpUnitBase(pixelsPerInch, std::vector<double>(7, 0.0))
{
    const bool inches = InchSystem();
    const double margin = inches ? 127.0 : 100.0; // 0.5 inch or 10 mm
    for (int index : {BottomMarginIndex, TopMarginIndex, LeftMarginIndex, RightMarginIndex})
        values_[index] = margin;
    paperSize_ = TRpPaperSize::Custom;
    SetPaperSize(inches ? TRpPaperSize::Letter : TRpPaperSize::A4);
}

void TRpPage::SetColumns(int columns)
{
    if (columns > 0)
        columns_ = columns;
}

void TRpPage::SetOrientation(TPrinterOrientation orientation)
{
    orientation_ = orientation;
    SetPaperSize(paperSize_);
}

void TRpPage::SetPaperSize(TRpPaperSize size)
{
    paperSize_ = size;
    const std::optional<QSizeF> mm = PaperSizeMm(size);
    if (!mm)
        return;
    const bool landscape = orientation_ == TPrinterOrientation::Landscape;
    values_[WidthIndex] = (landscape ? mm->height() : mm->width()) * 10;
    values_[LengthIndex] = (landscape ? mm->width() : mm->height()) * 10;
}

TRpPage::BandArea TRpPage::Arrange(int zoom) const
{
    TRpPage pixels(*this);
    pixels.SetZoom(zoom);
    pixels.SetUnits(TRpUnit::Pixels);
    const auto px = [&pixels](double v) { return int(Round(v)); };
    const int reportWidth = px(pixels.Width());
    BandArea area;
    area.left = px(pixels.LeftMargin());
    area.top = px(pixels.TopMargin());
    area.fullWidth = reportWidth - px(pixels.LeftMargin() + pixels.RightMargin());
    area.columnWidth = (area.fullWidth - px(pixels.ColumnSpace()) * (columns_ - 1)) / columns_;
    return area;
}

} // namespace lb::report
