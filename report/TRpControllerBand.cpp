// Controller band: its own controller, whose detail band it is.
#include "report/TRpControllerBand.h"

#include "report/TCustomRpReport.h"
#include "report/TRpController.h"

namespace lb::report {

TRpControllerBand::TRpControllerBand(TCustomRpReport& report)
    : TRpCustomBand(report), controller_(std::make_unique<TRpController>(this, &report))
{
    controller_->SetDetail(this);
    controller_->SetMaster(&report);
}

TRpControllerBand::~TRpControllerBand() = default;

TRpComponent* TRpControllerBand::Master() const
{
    return controller_->Master();
}

bool TRpControllerBand::SetMaster(TRpComponent* master)
{
    for (TRpComponent* up = master; up; ) {
        if (up == this)
            return false;
        auto* band = dynamic_cast<TRpControllerBand*>(up);
        up = band ? band->Master() : nullptr;
    }
    controller_->SetMaster(master);
    return true;
}

} // namespace lb::report
