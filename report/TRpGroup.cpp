// Group break evaluation.
#include "report/TRpGroup.h"

#include "report/TCustomRpReport.h"
#include "report/TRpControllerBand.h"

namespace lb::report {

TRpGroup::TRpGroup(TCustomRpReport& report) : TRpCustomBand(report), master_(&report) {}

TRpGroup::~TRpGroup() = default;

void TRpGroup::SetFooterBand(TRpBand* band)
{
    footerBand_ = band;
    if (band)
        band->SetBandType(rbGroupFooter);
}

void TRpGroup::SetMaster(TRpComponent* master)
{
    if (master == &Report() || dynamic_cast<TRpControllerBand*>(master))
        master_ = master;
}

void TRpGroup::Prepare()
{
    evaluator_.setDataSets(Report().AllDataSets());
    evaluator_.setEnvironment(&Report().Functions());
    evaluator_.prepare(Expression);
    HasValue = false;
    HeaderPage = 1;
    HeaderPrinted = false;
    Changed = false;
}

void TRpGroup::Unprepare()
{
    evaluator_.setDataSets({});
    evaluator_.unprepare();
}

void TRpGroup::Check()
{
    Changed = false;
    const TRpEvResult value = evaluator_.value();
    if (!HasValue) {
        LastValue = value;
        Changed = true;
        HasValue = true;
        return;
    }
    if (value.kind == rkError)
        return;
    if (value.kind != LastValue.kind) {
        Changed = true;
    } else {
        switch (value.kind) {
        case rkInteger: Changed = value.intValue != LastValue.intValue; break;
        case rkDouble: Changed = value.doubleValue != LastValue.doubleValue; break;
        case rkString: Changed = value.strValue() != LastValue.strValue(); break;
        case rkBoolean: Changed = value.boolValue != LastValue.boolValue; break;
        case rkError: break;
        }
    }
    if (Changed)
        LastValue = value;
}

void TRpGroup::Reset()
{
    LastValue = evaluator_.value();
    Changed = true;
    HasValue = true;
}

} // namespace lb::report
