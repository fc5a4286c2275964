// Controller base: sub-levels, groups, registered controls and the group header rules.
#include "report/TRpCustomController.h"

#include "report/TCustomRpReport.h"
#include "report/TRpChildBand.h"
#include "report/TRpController.h"
#include "report/TRpControllerBand.h"
#include "report/TRpGroup.h"
#include "report/TRpPrintable.h"

#include <algorithm>

namespace lb::report {

TRpCustomController::TRpCustomController(TRpComponent* parent, TCustomRpReport* report)
    : parent_(parent), report_(report)
{
}

TRpCustomController::~TRpCustomController() = default;

void TRpCustomController::SetMaster(TRpComponent* master)
{
    if (master == nullptr || master == report_ || dynamic_cast<TRpControllerBand*>(master))
        master_ = master;
}

void TRpCustomController::RegisterControl(TRpPrintable* control)
{
    if (std::find(registered_.begin(), registered_.end(), control) == registered_.end())
        registered_.push_back(control);
}

void TRpCustomController::NotifyControls()
{
    for (TRpPrintable* control : registered_)
        control->Notice(0);
}

void TRpCustomController::BuildBandLists()
{
    beforeList_.clear();
    afterList_.clear();
    groups_.clear();
    for (TRpCustomBand* band : report_->AllBands()) {
        if (auto* controllerBand = dynamic_cast<TRpControllerBand*>(band)) {
            if (controllerBand->Master() != parent_)
                continue;
            TRpController& controller = controllerBand->Controller();
            (controller.PrintBefore ? beforeList_ : afterList_).push_back(&controller);
            controller.BuildBandLists();
        } else if (auto* group = dynamic_cast<TRpGroup*>(band)) {
            if (group->Master() == parent_)
                groups_.push_back(group);
        }
    }
}

void TRpCustomController::Prepare()
{
    registered_.clear();
    for (TRpCustomController* c : beforeList_)
        c->Prepare();
    for (TRpCustomController* c : afterList_)
        c->Prepare();
    for (TRpGroup* group : groups_)
        group->Prepare();
}

void TRpCustomController::Unprepare()
{
    for (TRpCustomController* c : beforeList_)
        c->Unprepare();
    for (TRpCustomController* c : afterList_)
        c->Unprepare();
    for (TRpGroup* group : groups_)
        group->Unprepare();
}

void TRpCustomController::Execute()
{
    if (PrintIfEmpty)
        PrintEmpty();
}

void TRpCustomController::PrintEmpty()
{
    RunBeforeList();
    RunAfterList();
}

void TRpCustomController::RunBeforeList()
{
    for (TRpCustomController* c : beforeList_)
        c->Execute();
}

void TRpCustomController::RunAfterList()
{
    for (TRpCustomController* c : afterList_)
        c->Execute();
}

void TRpCustomController::RegisterBands(std::vector<TRpCustomBand*>& order) const
{
    for (TRpGroup* group : groups_)
        order.push_back(group);
    for (TRpCustomController* c : beforeList_)
        c->RegisterBands(order);
    for (TRpCustomController* c : afterList_)
        c->RegisterBands(order);
}

bool TRpCustomController::CheckGroups()
{
    bool broke = false;
    for (TRpGroup* group : groups_) {
        if (broke) {
            group->Reset();
        } else {
            group->Check();
            broke = group->Changed;
        }
    }
    return broke;
}

void TRpCustomController::PrintGroupHeader(TRpGroup* group)
{
    report_->PrintBand(group);
    group->HeaderPrinted = true;
    group->HeaderPage = report_->PageNumber();
}

void TRpCustomController::PrintGroupFooter(TRpGroup* group)
{
    if (group->FooterBand())
        report_->PrintBand(group->FooterBand());
    group->HeaderPrinted = false;
}

void TRpCustomController::ReprintGroupHeaders()
{
    for (TRpGroup* group : groups_) {
        if (group->Changed)
            return;
    }
    for (TRpCustomController* c : beforeList_)
        c->ReprintGroupHeaders();
    const int page = report_->PageNumber();
    bool marked = false;
    for (TRpGroup* group : groups_) {
        if (marked) {
            group->Reset();
        } else if (group->ReprintOnNewPage && group->HeaderPrinted && group->HeaderPage != page) {
            group->Changed = true;
            group->HeaderPage = page;
            marked = true;
        }
    }
    if (marked) {
        for (TRpGroup* group : groups_) {
            if (group->Changed)
                PrintGroupHeader(group);
        }
    }
    for (TRpCustomController* c : afterList_)
        c->ReprintGroupHeaders();
}

} // namespace lb::report
