// One window block for the six document-kind summaries, configured per kind.
#include "summaries/KindSummaryWindow.h"

#include "core/Tfrdm.h"
#include "masterdata/MasterCatalog.h"
#include "masterdata/MasterListWindow.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/FocusChain.h"
#include "platform/ui/GuardSlot.h"
#include "report/layouts/PrintSequence.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace lb::summaries {

using lb::masterdata::MasterCatalog;
using lb::masterdata::MasterListWindow;

KindSummaryWindow::KindSummaryWindow(KindSummaryConfig config, QWidget* owner)
    : SummaryWindow(config.key, config.caption, owner), config_(std::move(config))
{
    QList<QWidget*> arrows{MaskEdit1, MaskEdit2};
    if (config_.partyAndProduct) {
        todayButton = new QPushButton(QStringLiteral("今天"), this);
        todayButton->setObjectName(config_.kind == lb::documents::BillKind::Sales ? QStringLiteral("Button2") : QStringLiteral("Button1"));
        top_->addWidget(todayButton);
        connect(todayButton, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { todayClick(); }));
        top_->addWidget(new QLabel(config_.partyLabel, this));
        Edit2 = new QLineEdit(this);
        Edit2->setObjectName(QStringLiteral("Edit2"));
        Edit2->setToolTip(config_.partyHint);
        onDoubleClick(Edit2, [this] { Edit2DblClick(); });
        top_->addWidget(Edit2);
        top_->addWidget(new QLabel(QStringLiteral("货品号"), this));
        Edit3 = new QLineEdit(this);
        Edit3->setObjectName(QStringLiteral("Edit3"));
        top_->addWidget(Edit3);
        groupButton = new QPushButton(QStringLiteral("分类汇总"), this);
        groupButton->setObjectName(config_.kind == lb::documents::BillKind::Sales ? QStringLiteral("Button1") : QStringLiteral("Button2"));
        groupButton->setToolTip(QStringLiteral("按相同货品计算合计值"));
        top_->addWidget(groupButton);
        connect(groupButton, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { groupClick(); }));
        arrows << Edit2;
        if (config_.productArrows)
            arrows << Edit3;
    }
    addButtons(config_.refreshCaption, QStringLiteral("打印"));
    connect(refresh, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { refreshClick(); }));
    connect(report, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { reportClick(); }));

    setGridColumns(config_.columns);
    DBGrid2->setDataSet(frdm->AQoutdetail);

    auto* totals = new QHBoxLayout;
    for (const TotalBox& total : config_.totals) {
        totals->addWidget(new QLabel(total.label, this));
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Edit%1").arg(10 + int(totalBoxes.size())));
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignRight);
        totals->addWidget(box);
        totalBoxes.push_back(box);
        arrows << box;
    }
    totals->addStretch(1);
    layout_->addLayout(totals);
    focus_->setArrowKeys(arrows);

    if (!config_.statusText.isEmpty()) {
        StatusBar1 = new QStatusBar(this);
        StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
        StatusBar1->addWidget(new QLabel(config_.statusText, StatusBar1));
        StatusBar1->setSizeGripEnabled(false);
        layout_->addWidget(StatusBar1);
    }
}

void KindSummaryWindow::FormShow()
{
    if (config_.specColumn >= 0)
        DBGrid2->setColumnTitle(config_.specColumn, MasterCatalog::specTitle());
    loadPeriod();
    refreshClick();
}

SummaryFilter KindSummaryWindow::filter() const
{
    if (!config_.partyAndProduct)
        return {};
    return {Edit2->text().trimmed(), Edit3->text().trimmed()};
}

void KindSummaryWindow::refreshClick()
{
    const lb::summaries::Period chosen = storePeriod();
    frdm->AQtotallist->close();
    KindSummary::refreshSums(frdm->ADOCon, config_, chosen, filter());
    showSums();
    KindSummary::openFlow(*frdm->AQoutdetail, config_, chosen, filter());
    printedPeriod_ = chosen;
}

void KindSummaryWindow::reportClick()
{
    if (config_.printRefreshesFirst)
        refreshClick();
    lb::layouts::PrintJob job{config_.layoutClass, config_.titleWords, lb::layouts::PageTotal::None, {}, {}};
    job.captions.emplace_back(QStringLiteral("RpLabel7"), lb::summaries::ReportPeriod::line(printedPeriod_));
    if (config_.printsSpecHeading)
        job.captions.emplace_back(QStringLiteral("RpLabel16"), MasterCatalog::specTitle());
    lb::layouts::printLayout(job);
}

void KindSummaryWindow::groupClick()
{
    const lb::summaries::Period chosen = storePeriod();
    frdm->AQtotallist->close();
    KindSummary::refreshSums(frdm->ADOCon, config_, chosen, filter());
    showSums();
    KindSummary::group(frdm->ADOCon, *frdm->AQoutdetail, config_, chosen, filter());
    printedPeriod_ = chosen;
}

void KindSummaryWindow::showSums()
{
    lb::db::Query& sums = *frdm->AQtotallist;
    sums.close();
    sums.open();
    for (std::size_t i = 0; i < totalBoxes.size(); ++i) {
        const TotalBox& total = config_.totals[i];
        const QVariant value = sums.isEmpty() ? QVariant() : sums.fieldByName(total.column).value();
        totalBoxes[i]->setText(KindSummary::totalText(value, total.decimals));
    }
}

void KindSummaryWindow::todayClick()
{
    const lb::summaries::Period today = lb::summaries::ReportPeriod::today();
    MaskEdit1->setText(lb::summaries::ReportPeriod::text(today.from));
    MaskEdit2->setText(lb::summaries::ReportPeriod::text(today.to));
}

void KindSummaryWindow::Edit2DblClick()
{
    MasterListWindow::openAsPicker(config_.partyList, config_.partyPickCode, *this);
}

void KindSummaryWindow::onClosing()
{
    if (config_.closingResetsHeader) {
        const QString& table = lb::documents::DocumentKinds::of(config_.kind).headerTable;
        frdm->AQoutlist->reopen(QStringLiteral("SELECT * from %1").arg(table));
        frdm->AQoutlist->close();
    }
    frdm->AQoutdetail->close();
    frdm->ATdateconfig->close();
    reconnect();
}

} // namespace lb::summaries
