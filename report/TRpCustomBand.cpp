// Band printing: forced breaks, the space check, background, control passes, frame, child.
#include "report/TRpCustomBand.h"

#include "report/RpRound.h"
#include "report/TCustomRpReport.h"
#include "report/TRpChildBand.h"
#include "report/TRpController.h"
#include "report/TRpPrintable.h"
#include "report/TRpPrinter.h"

#include <algorithm>

namespace lb::report {

namespace {

constexpr int kHeight = 0;
constexpr int kWidth = 1;
// Design pixels per tenth of a millimetre: a band with no pixel height prints nothing.
constexpr double kDesignPixels = 96.0 / 254;

} // namespace

TRpCustomBand::TRpCustomBand(TCustomRpReport& report) : report_(report)
{
    size_.SetUnits(report.Units());
    size_.SetZoom(report.Zoom());
    SetZoom(report.Zoom());
}

TRpCustomBand::~TRpCustomBand() = default;

TRpBandType TRpCustomBand::EffectiveBandType() const
{
    if (printingAsSet_)
        return printingAs_;
    const TRpCustomBand* band = this;
    for (int guard = 0; band && band->BandType() == rbChild && guard < 1000; ++guard)
        band = static_cast<const TRpChildBand*>(band)->ParentBand();
    return band && band->BandType() != rbChild ? band->BandType() : rbChild;
}

void TRpCustomBand::SetFont(const TRpFont& font)
{
    font_ = font;
    ParentFont = false;
}

const TRpFont& TRpCustomBand::EffectiveFont() const
{
    return ParentFont ? report_.Font : font_;
}

bool TRpCustomBand::SetLinkBand(TRpCustomBand* band)
{
    for (TRpCustomBand* linked = band; linked; linked = linked->LinkBand()) {
        if (linked == this)
            return false;
    }
    linkBand_ = band;
    return true;
}

TRpChildBand* TRpCustomBand::ChildBand() const
{
    // Asked after every band printed: the band type tells a child band, without the cost of a
    // dynamic_cast over every band of the report.
    for (TRpCustomBand* band : report_.BandList()) {
        if (band->BandType() != rbChild)
            continue;
        auto* child = static_cast<TRpChildBand*>(band);
        if (child->ParentBand() == this)
            return child;
    }
    return nullptr;
}

void TRpCustomBand::SetHasChild(bool has)
{
    TRpChildBand* child = ChildBand();
    if (has && !child) {
        report_.AddChildBand(this);
    } else if (!has && child) {
        if (TRpChildBand* grandChild = child->ChildBand())
            grandChild->SetParentBand(this);
        report_.RemoveBand(child);
    }
}

void TRpCustomBand::AddControl(std::unique_ptr<TRpPrintable> control, const QString& name)
{
    TRpPrintable* added = control.get();
    controls_.push_back(std::move(control));
    added->Attach(&report_, this);
    added->SetName(name.isEmpty() ? report_.UniqueName(QStringLiteral("RpControl")) : name);
}

bool TRpCustomBand::CanExpand(double extra) const
{
    return Round(size_.Values()[kHeight] + expandedHeight_ + extra) <= report_.AvailableSpace();
}

bool TRpCustomBand::ExpandTo(double total)
{
    if (total <= expandedHeight_)
        return true;
    if (!CanExpand(total - expandedHeight_))
        return false;
    expandedHeight_ = total;
    return true;
}

double TRpCustomBand::NeededHeight(bool withLinks) const
{
    double height = size_.Height();
    if (withLinks && linkBand_)
        height += linkBand_->NeededHeight(true);
    return height;
}

double TRpCustomBand::PrecalculatedHeight()
{
    const double bandHeight = size_.Values()[kHeight];
    double lowest = bandHeight;
    double below = 0;
    for (const auto& control : controls_) {
        if (!control->Enabled)
            continue;
        const double needed = control->NeededHeight();
        if (needed < 0)
            continue;
        const std::vector<double>& v = control->Size().Values();
        const double bottom = v[TRpPrintableSize::TopIndex] + needed;
        if (bottom > lowest) {
            lowest = bottom;
            below = bandHeight - v[TRpPrintableSize::TopIndex] - v[TRpPrintableSize::HeightIndex];
        }
    }
    return lowest + std::max(below, 0.0);
}

QRect TRpCustomBand::DeviceRect(double height) const
{
    const TRpPrinter& device = *report_.RpPrinter();
    const double x = report_.CurrentX();
    const double y = report_.CurrentY();
    return QRect(QPoint(device.ToDeviceX(x), device.ToDeviceY(y)),
                 QPoint(device.ToDeviceX(x + size_.Values()[kWidth]), device.ToDeviceY(y + height)));
}

void TRpCustomBand::CheckSpace(TRpBandType type)
{
    const double needed = double(Round(NeededHeight(true)));
    if (type != rbPageFooter && needed > report_.AvailableSpace()) {
        const TRpPage& page = report_.Page();
        const std::vector<double>& p = page.Values();
        const double usable = p[TRpPage::LengthIndex] - (p[TRpPage::BottomMarginIndex] + p[TRpPage::TopMarginIndex]);
        if (needed <= usable) {
            if (type == rbDetail)
                report_.SetOverflow(true);
            report_.AdvanceColumn();
            return;
        }
        // Taller than any page: it prints where it is.
    }
    if (report_.CurrentY() >= 0) {
        if (type == rbDetail)
            report_.SetOverflow(false);
        return;
    }
    if (type == rbDetail)
        report_.SetOverflow(true);
    report_.AdvanceColumn();
}

void TRpCustomBand::PrintControls()
{
    const double height = size_.Values()[kHeight];
    expandedHeight_ = 0;
    continued_ = false;
    bool allDone = true;
    do {
        allDone = true;
        for (const auto& control : controls_) {
            if (!control->Enabled)
                continue;
            if (!continued_ || !control->Finished())
                control->Print(report_.CurrentX(), report_.CurrentY());
            allDone = allDone && control->Finished();
        }
        if (Frame.HasLines()) {
            // The frame ends where the next band starts: a tenth of a millimetre further, its
            // bottom line would fall in the next band's first pixel row, which that band's
            // background paints over on stored pages.
            const QRect area = DeviceRect(double(Round(height + expandedHeight_)));
            TRpPrinter& device = *report_.RpPrinter();
            for (const QRect& line : Frame.LineRects(area, device.ScaleX(), device.ScaleY()))
                device.Canvas().FillRect(line, Frame.Color);
        }
        if (!allDone) {
            report_.SetOverflow(true);
            report_.AdvanceColumn();
            report_.SetOverflow(false);
            expandedHeight_ = 0;
            continued_ = true;
        }
    } while (!allDone);
    continued_ = false;
}

void TRpCustomBand::Print()
{
    const TRpBandType type = EffectiveBandType();
    bool printIt = Enabled;
    if (printIt && BeforePrint)
        BeforePrint(*this, printIt);
    if (printIt) {
        bool forced = false;
        const bool mayBreak = type != rbTitle && type != rbPageHeader && type != rbPageFooter && type != rbOverlay;
        if (mayBreak && report_.PageNumber() > 0) {
            if (ForceNewPage && !report_.Overflow()) {
                report_.NewPage();
                report_.SetOverflow(false);
                forced = true;
            } else if (ForceNewColumn) {
                report_.NewColumn();
                forced = true;
            }
        }
        if (!forced)
            CheckSpace(type);
        if (controller_ && controller_->Detail() == this)
            controller_->NotifyControls();
        if (KeepOnOnePage && PrecalculatedHeight() > report_.AvailableSpace())
            report_.AdvanceColumn();
        const double height = size_.Values()[kHeight];
        const bool visible = Round(height * kDesignPixels) != 0;
        if (!TransparentBand) {
            const QRect background = DeviceRect(PreCaluculateBandHeight ? PrecalculatedHeight() : height);
            if (visible)
                report_.RpPrinter()->Canvas().FillRect(background, Color);
        }
        if (visible)
            PrintControls();
        report_.SetCurrentY(report_.CurrentY() + double(Round(height + expandedHeight_)));
        expandedHeight_ = 0;
    } else if (!Enabled && controller_ && controller_->Detail() == this) {
        // A disabled detail still counts for the aggregates; one suppressed by BeforePrint not.
        controller_->NotifyControls();
    }
    if (AfterPrint)
        AfterPrint(*this, printIt);
    if (TRpChildBand* child = ChildBand()) {
        if (type == rbPageFooter)
            child->PrintAs(rbPageFooter);
        report_.PrintBand(child);
        child->EndPrintAs();
    }
    report_.SetOverflow(false);
}

} // namespace lb::report
