// The report's controller takes the title, detail and summary bands for each run.
#include "report/TRpReport.h"

namespace lb::report {

TRpReport::TRpReport()
{
    auto controller = std::make_unique<TRpController>(this, this);
    controller->SetMaster(this);
    controller->PrintIfEmpty = controller_->PrintIfEmpty;
    controller_ = std::move(controller);
}

void TRpReport::BeforeBandLists()
{
    TRpController& controller = Controller();
    controller.SetDetail(FirstBand(rbDetail));
    controller.SetHeader(FirstBand(rbTitle));
    controller.SetFooter(FirstBand(rbSummary));
}

void TRpReport::RunController()
{
    BeforeBandLists();
    Controller().OnNeedData = OnNeedData;
    Controller().Execute();
}

} // namespace lb::report
