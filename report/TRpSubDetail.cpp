// Sub-detail band: its settings live in its controller.
#include "report/TRpSubDetail.h"

#include "report/TCustomRpReport.h"
#include "report/TRpBand.h"
#include "report/TRpController.h"

namespace lb::report {

TRpSubDetail::TRpSubDetail(TCustomRpReport& report) : TRpControllerBand(report) {}

db::DataSet* TRpSubDetail::DataSet() const
{
    return Controller().DataSet();
}

void TRpSubDetail::SetDataSet(db::DataSet* dataSet)
{
    Controller().SetDataSet(dataSet);
}

bool TRpSubDetail::PrintBefore() const
{
    return Controller().PrintBefore;
}

void TRpSubDetail::SetPrintBefore(bool before)
{
    Controller().PrintBefore = before;
    Report().SortBands();
}

bool TRpSubDetail::PrintIfEmpty() const
{
    return Controller().PrintIfEmpty;
}

void TRpSubDetail::SetPrintIfEmpty(bool print)
{
    Controller().PrintIfEmpty = print;
}

TRpBand* TRpSubDetail::HeaderBand() const
{
    return dynamic_cast<TRpBand*>(Controller().Header());
}

TRpBand* TRpSubDetail::FooterBand() const
{
    return dynamic_cast<TRpBand*>(Controller().Footer());
}

void TRpSubDetail::SetHeaderBand(TRpBand* band)
{
    Controller().SetHeader(band);
    if (band)
        band->SetBandType(rbGroupHeader);
}

void TRpSubDetail::SetFooterBand(TRpBand* band)
{
    Controller().SetFooter(band);
    if (band)
        band->SetBandType(rbGroupFooter);
}

void TRpSubDetail::SetHasHeader(bool has)
{
    if (has && !HeaderBand()) {
        SetHeaderBand(Report().AddBand(rbGroupHeader));
    } else if (!has && HeaderBand()) {
        TRpBand* band = HeaderBand();
        Controller().SetHeader(nullptr);
        Report().RemoveBand(band);
    }
}

void TRpSubDetail::SetHasFooter(bool has)
{
    if (has && !FooterBand()) {
        SetFooterBand(Report().AddBand(rbGroupFooter));
    } else if (!has && FooterBand()) {
        TRpBand* band = FooterBand();
        Controller().SetFooter(nullptr);
        Report().RemoveBand(band);
    }
}

} // namespace lb::report
