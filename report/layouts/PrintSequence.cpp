// The one way every print command prints: make the layout, count its pages, fill its captions,
// preview it, free it.
#include "report/layouts/PrintSequence.h"

#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "platform/db/Table.h"
#include "platform/sys/Errors.h"
#include "report/TRpDBText.h"
#include "report/TRpLabel.h"
#include "report/TRpPrinter.h"
#include "report/TRpReport.h"
#include "report/layouts/LayoutCatalog.h"

#include <QPointer>
#include <vector>

namespace lb::layouts {

namespace {

template <class T>
T& control(report::TRpReport& layout, const QString& layoutName, const QString& name)
{
    T* found = layout.Find<T>(name);
    if (!found)
        throw Error(QStringLiteral("The layout %1 has no control %2").arg(layoutName, name));
    return *found;
}

// Holds back the grids and boxes of the datasets a layout walks while its pages are made: a
// grid that followed the walk would scroll and repaint at each of the run's yields, once for
// every row printed, which on a year's list costs far more than the print itself. A master
// that details follow keeps telling them, so its controls stay live. The controls follow the
// row the walk ends on afterwards.
class HeldControls {
public:
    explicit HeldControls(const report::TRpReport& layout)
    {
        for (db::DataSet* dataSet : layout.DataSets()) {
            if (dataSet->hasFollowers())
                continue;
            dataSet->disableControls();
            held_.push_back(dataSet);
        }
    }
    ~HeldControls()
    {
        for (const QPointer<db::DataSet>& dataSet : held_) {
            if (dataSet)
                dataSet->enableControls();
        }
    }
    HeldControls(const HeldControls&) = delete;
    HeldControls& operator=(const HeldControls&) = delete;

private:
    std::vector<QPointer<db::DataSet>> held_;
};

} // namespace

QString pageTotalWords(int pages)
{
    return QStringLiteral("共  %1 页").arg(pages);
}

void printLayout(const PrintJob& job)
{
    db::Table& company = *frdm->ATcompany;
    if (!company.active())
        company.open();
    const std::unique_ptr<report::TRpReport> layout = LayoutCatalog::make(job.layout);
    for (const auto& [name, caption] : job.captions)
        control<report::TRpLabel>(*layout, job.layout, name).SetCaption(caption);
    for (const auto& [name, field] : job.fields)
        control<report::TRpDBText>(*layout, job.layout, name).SetDataField(field);
    if (!job.summary) {
        if (report::TRpCustomBand* summary = layout->FirstBand(report::rbSummary))
            summary->Enabled = false;
    }

    const HeldControls held(*layout);
    if (job.pageTotal != PageTotal::None) {
        layout->Prepare();
        const int pages = layout->RpPrinter()->PageCount();
        if (frmain)
            frmain->ReportPageCount = pages;
        layout->FreeRpPrinter();
        control<report::TRpLabel>(*layout, job.layout, QStringLiteral("RpLabel22"))
            .SetCaption(job.pageTotal == PageTotal::Digits ? QString::number(pages) : pageTotalWords(pages));
    }
    if (auto* operatorName = layout->Find<report::TRpLabel>(QStringLiteral("RpLabel25")))
        operatorName->SetCaption(frmain ? frmain->OperatorName : QString());
    if (!job.heading.isEmpty()) {
        const QString name = company.isEmpty() ? QString() : company.fieldByName(QStringLiteral("name")).asString().trimmed();
        control<report::TRpLabel>(*layout, job.layout, QStringLiteral("RpLabel15")).SetCaption(name + job.heading);
    }
    layout->ReportTitle = QStringLiteral("朔栎打印预览");
    if (!job.title.isEmpty() || !job.heading.isEmpty())
        layout->DocumentTitle = job.title.isEmpty() ? job.heading : job.title;
    layout->Preview();
}

} // namespace lb::layouts
