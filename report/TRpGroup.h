// A group header band with a break expression; its footer band closes the group.
#pragma once

#include "report/TRpBand.h"
#include "report/TRpCustomBand.h"
#include "report/TRpEvaluator.h"

namespace lb::report {

class TRpGroup : public TRpCustomBand {
public:
    explicit TRpGroup(TCustomRpReport& report);
    ~TRpGroup() override;

    TRpBandType BandType() const override { return rbGroupHeader; }

    // A change of its value between two records breaks the group.
    QString Expression;
    // Printed again at the top of each new page or column that the group goes on over.
    bool ReprintOnNewPage = false;
    TRpBand* FooterBand() const { return footerBand_; }
    // The band becomes a group footer.
    void SetFooterBand(TRpBand* band);
    // The report or sub-detail band whose records the group breaks; anything else is ignored.
    TRpComponent* Master() const { return master_; }
    void SetMaster(TRpComponent* master);

    // Run state.
    TRpEvResult LastValue;
    bool HasValue = false;
    bool Changed = false;
    bool HeaderPrinted = false;
    int HeaderPage = 1;

    void Prepare();
    void Unprepare();
    // Evaluates the expression: Changed when the value differs from the last one (an error
    // value never counts as a change), and the new value is kept.
    void Check();
    // Evaluates and keeps the value, marking the group changed without comparing.
    void Reset();

private:
    TRpEvaluator evaluator_;
    TRpBand* footerBand_ = nullptr;
    TRpComponent* master_ = nullptr;
};

} // namespace lb::report
