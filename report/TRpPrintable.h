// Base of the printable controls placed on bands: position, frame, the run's prepare, print
// and unprepare.
#pragma once

#include "report/TRpComponent.h"
#include "report/TRpFont.h"
#include "report/TRpFrame.h"
#include "report/TRpPrintableSize.h"

#include <QRect>

namespace lb::report {

class TCustomRpReport;
class TRpCustomBand;
class TRpPrinter;

enum class TRpAlignment { Left, Right, Center };

// Owned by its band (or by the report for a control placed on it directly). During a run the
// report calls Prepare once, Print for every print of the band with the band's position, and
// Unprepare once; positions are in the report's units, which a run switches to tenths of a
// millimetre.
class TRpPrintable : public TRpComponent {
public:
    ~TRpPrintable() override;

    bool Enabled = true;
    // Only a disabled control that is also invisible still takes part in printing.
    bool Visible = true;
    TRpFrame Frame;
    TRpPrintableSize& Size() { return size_; }
    const TRpPrintableSize& Size() const { return size_; }

    TRpAlignment Alignment() const { return alignment_; }
    void SetAlignment(TRpAlignment alignment);
    // Keeps the control at the band's left edge, right edge or centre (by Alignment).
    bool AlignToBand() const { return alignToBand_; }
    void SetAlignToBand(bool align);

    TCustomRpReport* ParentReport() const { return report_; }
    // The band the control is on; nullptr for a control placed on the report.
    TRpCustomBand* ParentBand() const { return band_; }
    bool IsPrinting() const { return printing_; }

    // Whether the control takes part in printing.
    bool IsPrinted() const { return Enabled || !Visible; }
    // The font of the control: its own, or with ParentFont the band's (or report's). Asked for
    // every control printed, so a reference to the font where it is kept, not a copy.
    virtual const TRpFont& EffectiveFont() const;

    virtual void Prepare();
    // Prints at the band's position (x, y), in the report's units.
    virtual void Print(double x, double y);
    // 0: a detail of the controller the control is registered with printed; 2: the band
    // changed size.
    virtual void Notice(int code);
    virtual void Unprepare();
    // False while a stretching control has lines left for the band's next print.
    virtual bool Finished() const { return true; }
    // Height the control needs for its current text, in the report's units, for a band that
    // precalculates its height; -1 when the control does not stretch.
    virtual double NeededHeight() { return -1; }

    // Called by the band or report taking the control.
    void Attach(TCustomRpReport* report, TRpCustomBand* band);

protected:
    TRpPrintable();
    TRpPrinter* RpPrinter() const { return printer_; }
    // The control's rectangle moved by (x, y) in page pixels, as GDI corners.
    QRect DeviceRect(double x, double y, double extraHeight = 0) const;
    // Draws the frame around `rect` (page pixels).
    void DrawFrame(const QRect& rect) const;
    void AlignNow();

private:
    TRpPrintableSize size_;
    TRpAlignment alignment_ = TRpAlignment::Left;
    bool alignToBand_ = false;
    TCustomRpReport* report_ = nullptr;
    TRpCustomBand* band_ = nullptr;
    TRpPrinter* printer_ = nullptr;
    bool printing_ = false;
};

} // namespace lb::report
