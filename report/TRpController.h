// The record controller: walks a dataset (or asks an event for records) and prints the
// level's header once, its groups, the detail band per record with the sub-levels, the footer.
#pragma once

#include "report/TRpCustomController.h"

#include <functional>

namespace lb::db {
class DataSet;
}

namespace lb::report {

class TRpCustomBand;

class TRpController : public TRpCustomController {
public:
    // Record source without a dataset: called before each detail; false ends the records.
    using TRpOnNeedDataEvent = std::function<void(TRpComponent* sender, bool& moreData)>;

    TRpController(TRpComponent* parent, TCustomRpReport* report);

    db::DataSet* DataSet() const { return dataSet_; }
    // Not owned.
    void SetDataSet(db::DataSet* dataSet) { dataSet_ = dataSet; }
    TRpCustomBand* Detail() const { return detail_; }
    void SetDetail(TRpCustomBand* band) { detail_ = band; }
    TRpCustomBand* Header() const { return header_; }
    void SetHeader(TRpCustomBand* band) { header_ = band; }
    TRpCustomBand* Footer() const { return footer_; }
    void SetFooter(TRpCustomBand* band) { footer_ = band; }
    TRpOnNeedDataEvent OnNeedData;

    // Records printed in the current run, and the report dataset's record count.
    int DetailNumber() const { return detailNumber_; }
    int RecordCount() const { return recordCount_; }

    void BuildBandLists() override;
    void Prepare() override;
    void Execute() override;
    void PrintEmpty() override;
    void RegisterBands(std::vector<TRpCustomBand*>& order) const override;

private:
    void AssignParameters();
    void PrintChangedFooters();
    // The report's column header band on its first page (the later pages print it themselves).
    void PrintFirstColumnHeader();

    db::DataSet* dataSet_ = nullptr;
    TRpCustomBand* detail_ = nullptr;
    TRpCustomBand* header_ = nullptr;
    TRpCustomBand* footer_ = nullptr;
    int detailNumber_ = 0;
    int recordCount_ = 0;
    bool parametersFromEnvironment_ = false;
};

} // namespace lb::report
