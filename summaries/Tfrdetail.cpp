// The product history "明细表查询": one product's posted movements and the documents behind them.
#include "summaries/Tfrdetail.h"

#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "core/WindowRegistry.h"
#include "masterdata/MasterCatalog.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "platform/sys/Errors.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/GuardSlot.h"
#include "summaries/ProductHistory.h"

#include <QAction>
#include <QPushButton>

namespace lb::summaries {

using lb::core::WindowRegistry;
using lb::masterdata::MasterCatalog;

namespace {

const int specColumn = 4;

// Hides and disables every command of `view` with one of the names given.
void withdrawCommands(QWidget& view, const QStringList& names)
{
    for (const QString& name : names) {
        for (QAction* action : view.findChildren<QAction*>(name)) {
            action->setVisible(false);
            action->setEnabled(false);
        }
        for (QWidget* widget : view.findChildren<QWidget*>(name)) {
            widget->setVisible(false);
            widget->setEnabled(false);
        }
    }
}

} // namespace

Tfrdetail* Tfrdetail::open(QWidget* owner)
{
    lb::db::Query& products = *frdm->Aqproduct;
    if (!products.active() || products.isEmpty())
        throw lb::Abort();
    const QString product = products.fieldByName(QStringLiteral("intno")).asString();
    ProductHistory::fill(frdm->ADOCon, product);
    ProductHistory::openAll(*frdm->AQdetail, product);
    frmain->PickMode = lb::core::PickCode::ProductListHistory;
    return new Tfrdetail(product, owner);
}

Tfrdetail::Tfrdetail(QString productIntno, QWidget* owner)
    : SummaryWindow(QStringLiteral("Tfrdetail"), QStringLiteral("明细表查询"), owner), product_(std::move(productIntno))
{
    addButtons(QStringLiteral("刷新"), QStringLiteral("查明细单"));
    connect(refresh, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { refreshClick(); }));
    connect(report, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { reportClick(); }));
    const QColor red(Qt::red);
    setGridColumns({{"billdate", "日期"}, {"billname", "单据类型"}, {"sphh", "编号"}, {"spmc", "名称"}, {"spgg"},
                         {"unit", "单位"}, {"sl", "数量"}, {"dj_n", "单价"}, {"amount", "金额"}, {"deduck", "扣除金额"},
                         {"pay", "收款金额"}, {"rest", "累计结余"}, {"remark", "备注", 0, true, false, red}});
    DBGrid2->setDataSet(frdm->AQdetail);
}

void Tfrdetail::FormShow()
{
    DBGrid2->setColumnTitle(specColumn, MasterCatalog::specTitle());
    loadPeriod();
}

void Tfrdetail::refreshClick()
{
    ProductHistory::openPeriod(*frdm->AQdetail, product_, storePeriod());
}

void Tfrdetail::reportClick()
{
    lb::db::Query& rows = *frdm->AQdetail;
    if (!rows.active() || rows.isEmpty())
        return;
    const ProductHistory::View view = ProductHistory::viewOf(rows.fieldByName(QStringLiteral("billtype")).asString());
    if (view.windowClass.isEmpty() || !WindowRegistry::instance().hasWindow(view.windowClass))
        return;
    lb::db::Query& header = *frdm->AQoutlist;
    header.close();
    header.sql().setText(QStringLiteral("SELECT * from %1\nWHERE (intno=:p1)").arg(view.headerTable));
    header.paramByName(QStringLiteral("p1")).setAsString(rows.fieldByName(QStringLiteral("mainintno")).asString());
    header.open();
    if (header.isEmpty())
        return; // the document was voided since the history was filled
    frmain->CurrentBillNo = header.fieldByName(QStringLiteral("intno")).asString();
    lb::ui::WorkWindow* posted = WindowRegistry::instance().create(view.windowClass, this);
    withdrawCommands(*posted, ProductHistory::changingCommands());
    posted->showWork(true);
    // A view that sets its commands by the posting option on showing does not bring them back.
    withdrawCommands(*posted, ProductHistory::changingCommands());
}

void Tfrdetail::onClosing()
{
    if (frmain->PickMode == lb::core::PickCode::ProductListHistory)
        frmain->PickMode = lb::core::PickCode::None;
    frdm->AQoutlist->close();
    frdm->AQoutlist->sql().setText(QStringLiteral("SELECT * from outlist"));
    frdm->Aqcustomer->close();
    frdm->Aqcustomer->sql().setText(QStringLiteral("SELECT * from customer"));
    frdm->AQoutdetail->close();
    frdm->AQdetail->close();
    frdm->ATcusttotal1->close();
    frdm->ATdateconfig->close();
}

} // namespace lb::summaries
