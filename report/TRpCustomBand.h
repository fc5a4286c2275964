// Base of all bands: a horizontal strip of a report that prints its controls as a unit.
#pragma once

#include "report/TRpBandSize.h"
#include "report/TRpBandType.h"
#include "report/TRpBasePanel.h"
#include "report/TRpFont.h"

#include <QColor>
#include <QRect>

#include <functional>
#include <memory>
#include <vector>

namespace lb::report {

class TCustomRpReport;
class TRpChildBand;
class TRpController;
class TRpPrintable;

// Owned by its report; owns its controls. Printing happens at the report's current position
// (TCustomRpReport::PrintBand): forced breaks, the space check, background, the controls (in
// several passes when a stretching control goes on over the next column or page), the frame,
// then the child band.
class TRpCustomBand : public TRpBasePanel {
public:
    using TRpBandBeforePrintEvent = std::function<void(TRpCustomBand& band, bool& print)>;
    using TRpBandAfterPrintEvent = std::function<void(TRpCustomBand& band, bool printed)>;

    ~TRpCustomBand() override;

    virtual TRpBandType BandType() const = 0;
    // The type the band prints as: a child band prints as the first band up its chain that
    // is not a child.
    TRpBandType EffectiveBandType() const;

    TRpBandSize& Size() { return size_; }
    const TRpBandSize& Size() const { return size_; }
    QColor Color = Qt::white;
    bool Enabled = true;
    bool TransparentBand = false;
    bool ForceNewColumn = false;
    bool ForceNewPage = false;
    bool ParentFont = true;
    bool PreCaluculateBandHeight = false;
    bool KeepOnOnePage = false;
    bool AlignToBottom = false;
    TRpBandBeforePrintEvent BeforePrint;
    TRpBandAfterPrintEvent AfterPrint;

    const TRpFont& Font() const { return font_; }
    void SetFont(const TRpFont& font);
    const TRpFont& EffectiveFont() const;

    // Another band whose height counts when this band's space is checked; a value that would
    // make a cycle is refused (false).
    TRpCustomBand* LinkBand() const { return linkBand_; }
    bool SetLinkBand(TRpCustomBand* band);

    // The first child band of the report chained to this band.
    TRpChildBand* ChildBand() const;
    bool HasChild() const { return ChildBand() != nullptr; }
    // True creates a child band; false removes it, handing its own child to this band.
    void SetHasChild(bool has);

    // Controls, owned, in print order. The control takes the report's units and zoom.
    template <class T>
    T* Add(const QString& name = QString())
    {
        auto control = std::make_unique<T>();
        T* added = control.get();
        AddControl(std::move(control), name);
        return added;
    }
    void AddControl(std::unique_ptr<TRpPrintable> control, const QString& name);
    const std::vector<std::unique_ptr<TRpPrintable>>& Controls() const { return controls_; }

    TCustomRpReport& Report() const { return report_; }
    // The controller whose detail band this is, during a run.
    TRpController* Controller() const { return controller_; }
    void SetController(TRpController* controller) { controller_ = controller; }

    // Extra height granted to stretching controls in the current print (tenths of a mm).
    double ExpandedHeight() const { return expandedHeight_; }
    // Whether the band can grow by `extra` more on the current page.
    bool CanExpand(double extra) const;
    // Grows the band to `total` extra height for this print when the page has room (a
    // smaller total is already granted); false when it has not.
    bool ExpandTo(double total);
    // True while the band prints the rest of a stretching control at the top of a new
    // column or page.
    bool ContinuedPass() const { return continued_; }
    // Height with the linked band's, in the report's units.
    double NeededHeight(bool withLinks) const;
    // Height the band needs for its stretching controls' current text, in tenths of a mm.
    double PrecalculatedHeight();

    // Prints the band at the report's current position; called by TCustomRpReport::PrintBand.
    void Print();
    // The band's kind while it prints (a page footer's child prints as a page footer).
    void PrintAs(TRpBandType type) { printingAs_ = type; printingAsSet_ = true; }
    void EndPrintAs() { printingAsSet_ = false; }

protected:
    explicit TRpCustomBand(TCustomRpReport& report);

private:
    void CheckSpace(TRpBandType type);
    void PrintControls();
    QRect DeviceRect(double height) const;

    TCustomRpReport& report_;
    TRpBandSize size_;
    TRpFont font_;
    TRpCustomBand* linkBand_ = nullptr;
    std::vector<std::unique_ptr<TRpPrintable>> controls_;
    TRpController* controller_ = nullptr;
    double expandedHeight_ = 0;
    bool continued_ = false;
    TRpBandType printingAs_ = rbDetail;
    bool printingAsSet_ = false;
};

} // namespace lb::report
