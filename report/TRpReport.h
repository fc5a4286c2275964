// The report component of the program's layouts: a report whose controller walks its dataset
// with the title as header, the detail band and the summary as footer.
#pragma once

#include "report/TCustomRpReport.h"
#include "report/TRpController.h"

namespace lb::report {

class TRpReport : public TCustomRpReport {
public:
    TRpReport();

    TRpController& Controller() const { return static_cast<TRpController&>(*controller_); }
    // The dataset whose rows drive the detail band (not owned).
    db::DataSet* DataSet() const { return Controller().DataSet(); }
    void SetDataSet(db::DataSet* dataSet) { Controller().SetDataSet(dataSet); }
    // Record source when the report has no active dataset.
    TRpController::TRpOnNeedDataEvent OnNeedData;

protected:
    void RunController() override;
    // The title, detail and summary bands become the controller's header, detail and footer.
    void BeforeBandLists() override;
};

} // namespace lb::report
