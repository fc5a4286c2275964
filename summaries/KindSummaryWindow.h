// One window block for the six document-kind summaries, configured per kind.
#pragma once

#include "masterdata/PickTarget.h"
#include "summaries/KindSummary.h"
#include "summaries/KindSummaryConfig.h"
#include "summaries/SummaryWindow.h"

#include <vector>

class QStatusBar;

namespace lb::summaries {

// Opens on the remembered period's flow list ("流水帐"): the kind's counted lines in date order,
// the period's sums in the boxes under them. The sales and purchase summaries narrow both to
// the party in Edit2 (picked by a double-click) and the product code in Edit3, set the period
// to today with "今天", and group the lines by product with "分类汇总". "打印" prints what
// AQoutdetail and AQtotallist hold through the kind's layout.
class KindSummaryWindow : public SummaryWindow, public lb::masterdata::PickTarget {
    Q_OBJECT
public:
    KindSummaryWindow(KindSummaryConfig config, QWidget* owner);

    const KindSummaryConfig& config() const { return config_; }

    QLineEdit* Edit2 = nullptr;           // party code (sales and purchase)
    QLineEdit* Edit3 = nullptr;           // product code (sales and purchase)
    QPushButton* todayButton = nullptr;   // "今天"
    QPushButton* groupButton = nullptr;   // "分类汇总"
    std::vector<QLineEdit*> totalBoxes;   // in the order of config().totals
    QStatusBar* StatusBar1 = nullptr;

    void refreshClick();  // 流水帐 / 刷新
    void groupClick();    // 分类汇总
    // 打印: the rows and sums of the last run (after a new run where the kind asks for one),
    // headed by the company and the report's name, with the period they were made for.
    void reportClick();
    void todayClick();    // 今天
    void Edit2DblClick(); // the party picker

    // The filter of the party and product boxes, trimmed.
    lb::summaries::SummaryFilter filter() const;

    // PickTarget: the picker writes the party's code into Edit2.
    QWidget* pickWindow() override { return this; }
    QLineEdit* pickBox(lb::masterdata::PickBox box) override { return box == lb::masterdata::PickBox::Edit2 ? Edit2 : nullptr; }
    lb::db::DataSet* pickHeader() override { return nullptr; }
    lb::db::DataSet* pickLines() override { return nullptr; }

protected:
    void FormShow() override;
    void periodEntered() override { refreshClick(); }
    void onClosing() override;

private:
    void showSums();

    KindSummaryConfig config_;
    lb::summaries::Period printedPeriod_; // the period of the rows the grid and the sums hold
};

} // namespace lb::summaries
