// The paper of a report: size, margins, columns, orientation.
#pragma once

#include "report/TRpPaperSize.h"
#include "report/TRpUnitBase.h"

namespace lb::report {

// Measures are read and written in `Units`; stored "Values" are native in index order:
// BottomMargin, Length, TopMargin, Width, LeftMargin, RightMargin, ColumnSpace (0-2 vertical,
// 3-6 horizontal). An A4 page with 13 mm left margin stores 100 2970 100 2100 130 100 0.
class TRpPage : public TRpUnitBase {
public:
    enum Index { BottomMarginIndex, LengthIndex, TopMarginIndex, WidthIndex, LeftMarginIndex,
                 RightMarginIndex, ColumnSpaceIndex };

    // Where bands go, in whole pixels of the arrangement's zoom.
    struct BandArea {
        int left;        // every band's left edge
        int top;         // the first band's top edge
        int fullWidth;   // width of title, page header and footer, summary and overlay bands
        int columnWidth; // width of the other bands, one column; the column step of a run
    };

    // A metric system gets MM, A4 and margins of 10 mm; an inch system Inches, Letter and
    // margins of 0.5 inch. One column, no column space, ruler shown.
    explicit TRpPage(double pixelsPerInch = 96);

    // Value by index in `Units`.
    double Value(int index) const { return Get(index, index >= WidthIndex); }
    void SetValue(int index, double v) { Set(index, index >= WidthIndex, v); }

    double BottomMargin() const { return Value(BottomMarginIndex); }
    double Length() const { return Value(LengthIndex); }
    double TopMargin() const { return Value(TopMarginIndex); }
    double Width() const { return Value(WidthIndex); }
    double LeftMargin() const { return Value(LeftMarginIndex); }
    double RightMargin() const { return Value(RightMarginIndex); }
    double ColumnSpace() const { return Value(ColumnSpaceIndex); }

    int Columns() const { return columns_; }
    // Only values above 0 are taken.
    void SetColumns(int columns);
    TPrinterOrientation Orientation() const { return orientation_; }
    // Re-applies the paper size in the new orientation.
    void SetOrientation(TPrinterOrientation orientation);
    TRpPaperSize PaperSize() const { return paperSize_; }
    // A tabled size sets Width and Length (swapped in landscape); Default and Custom keep them.
    void SetPaperSize(TRpPaperSize size);
    bool Ruler() const { return ruler_; }
    void SetRuler(bool ruler) { ruler_ = ruler; }

    // The band arrangement at `zoom` percent: the report's pixel width less both margins, and
    // that split into `Columns` with the column space between them, each rounded as the
    // layout's pixel bounds are.
    BandArea Arrange(int zoom) const;

private:
    int columns_ = 1;
    TPrinterOrientation orientation_ = TPrinterOrientation::Portrait;
    TRpPaperSize paperSize_;
    bool ruler_ = true;
};

} // namespace lb::report
