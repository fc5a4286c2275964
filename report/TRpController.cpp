// The record loop of a report level.
#include "report/TRpController.h"

#include "platform/db/DataSet.h"
#include "platform/db/Query.h"
#include "report/TCustomRpReport.h"
#include "report/TRpChildBand.h"
#include "report/TRpGroup.h"
#include "report/TRpPrinter.h"
#include "report/TRpReport.h"

namespace lb::report {

namespace {

// The band followed by its chain of child bands.
void addWithChildren(TRpCustomBand* band, std::vector<TRpCustomBand*>& order)
{
    for (int guard = 0; band && guard < 1000; ++guard) {
        order.push_back(band);
        band = band->ChildBand();
    }
}

} // namespace

TRpController::TRpController(TRpComponent* parent, TCustomRpReport* report) : TRpCustomController(parent, report) {}

void TRpController::BuildBandLists()
{
    TRpCustomController::BuildBandLists();
    if (dataSet_ && dataSet_->active())
        report_->AddRunDataSet(dataSet_);
}

void TRpController::Prepare()
{
    TRpCustomController::Prepare();
    parametersFromEnvironment_ = false;
    if (auto* query = dynamic_cast<db::Query*>(dataSet_)) {
        const TRpEvEnvironment& environment = report_->Functions();
        for (const QString& name : query->paramNames()) {
            for (int i = 0; i < environment.count(); ++i) {
                if (environment.name(i).compare(name, Qt::CaseInsensitive) == 0)
                    parametersFromEnvironment_ = true;
            }
        }
    }
}

void TRpController::AssignParameters()
{
    auto& query = static_cast<db::Query&>(*dataSet_);
    query.close();
    const TRpEvEnvironment& environment = report_->Functions();
    for (const QString& name : query.paramNames()) {
        for (int i = 0; i < environment.count(); ++i) {
            if (environment.name(i).compare(name, Qt::CaseInsensitive) != 0)
                continue;
            const TRpEvResult value = environment.value(environment.name(i));
            switch (value.kind) {
            case rkInteger: query.paramByName(name).setAsInteger(value.intValue); break;
            case rkDouble: query.paramByName(name).setAsFloat(value.doubleValue); break;
            case rkString: query.paramByName(name).setAsString(value.strValue()); break;
            case rkBoolean: query.paramByName(name).setAsBoolean(value.boolValue); break;
            case rkError: break;
            }
        }
    }
    query.open();
}

void TRpController::PrintChangedFooters()
{
    for (auto group = groups_.rbegin(); group != groups_.rend(); ++group) {
        if ((*group)->Changed)
            PrintGroupFooter(*group);
    }
}

void TRpController::Execute()
{
    for (TRpGroup* group : groups_)
        group->HasValue = false;
    const bool active = dataSet_ && dataSet_->active();
    if ((!active && !OnNeedData) || !report_) {
        if (PrintIfEmpty)
            PrintEmpty();
        return;
    }
    TCustomRpReport& report = *report_;
    // The report's kind is looked up once, not for every record's progress.
    auto* rpReport = dynamic_cast<TRpReport*>(report_);
    bool more = true;
    if (active) {
        if (parametersFromEnvironment_)
            AssignParameters();
        dataSet_->first();
        more = !dataSet_->eof();
        recordCount_ = 1;
        if (rpReport) {
            db::DataSet* own = rpReport->DataSet();
            if (own && own->active())
                recordCount_ = own->recordCount();
        }
        if (!more && PrintIfEmpty)
            PrintEmpty();
    } else {
        OnNeedData(parent_, more);
    }
    detailNumber_ = 0;
    if (detail_)
        detail_->SetController(this);
    if (!more)
        return;
    report.Yield();
    if (report.Cancelled())
        return;
    const bool top = parent_ == report_;
    if (header_) {
        report.PrintBand(header_);
        if (top)
            report.SkipNextNewPage = true;
    }
    if (top)
        PrintFirstColumnHeader();
    CheckGroups();
    TRpPrinter* device = report.RpPrinter();
    while (more) {
        report.Yield();
        if (report.Cancelled() || (device && device->Cancelled()))
            return;
        ++detailNumber_;
        for (TRpGroup* group : groups_) {
            if (group->Changed)
                PrintGroupHeader(group);
        }
        RunBeforeList();
        report.PrintBand(detail_);
        RunAfterList();
        if (active) {
            dataSet_->next();
            more = !dataSet_->eof();
        } else {
            more = false;
            OnNeedData(parent_, more);
        }
        if (CheckGroups()) {
            if (active) {
                // The footers see the last record of their group.
                dataSet_->prior();
                PrintChangedFooters();
                dataSet_->next();
            } else {
                PrintChangedFooters();
            }
        }
        if (active && top && recordCount_ != 0 && device) {
            if (rpReport && rpReport->DataSet() == dataSet_)
                device->SetProgress(detailNumber_ * 100 / recordCount_);
        }
    }
    for (TRpGroup* group : groups_)
        group->Changed = !group->Changed;
    PrintChangedFooters();
    if (footer_) {
        if (report.CurrentY() < 0)
            report.StartPage();
        // A disabled footer prints nothing, so it starts no page or column either.
        if (footer_->Enabled && footer_->Size().Values()[0] > report.AvailableSpace())
            report.AdvanceColumn();
        report.PrintBand(footer_);
    }
}

void TRpController::PrintFirstColumnHeader()
{
    TCustomRpReport& report = *report_;
    if (report.PageNumber() >= 2)
        return;
    TRpCustomBand* columnHeader = report.ColumnHeaderBand();
    if (columnHeader && columnHeader->Enabled) {
        report.PrintBand(columnHeader);
        report.SkipNextNewPage = true;
    }
}

void TRpController::PrintEmpty()
{
    if (header_)
        report_->PrintBand(header_);
    // An empty list shows its column headings as a filled one does.
    if (parent_ == report_)
        PrintFirstColumnHeader();
    RunBeforeList();
    if (detail_)
        report_->PrintBand(detail_);
    RunAfterList();
    if (footer_)
        report_->PrintBand(footer_);
}

void TRpController::RegisterBands(std::vector<TRpCustomBand*>& order) const
{
    addWithChildren(header_, order);
    for (TRpGroup* group : groups_)
        addWithChildren(group, order);
    for (TRpCustomController* c : beforeList_)
        c->RegisterBands(order);
    addWithChildren(detail_, order);
    for (TRpCustomController* c : afterList_)
        c->RegisterBands(order);
    for (auto group = groups_.rbegin(); group != groups_.rend(); ++group)
        addWithChildren((*group)->FooterBand(), order);
    addWithChildren(footer_, order);
}

} // namespace lb::report
