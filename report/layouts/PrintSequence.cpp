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
    layout->Preview();
}

} // namespace lb::layouts
