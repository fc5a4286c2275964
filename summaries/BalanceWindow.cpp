// One window block for the customer and supplier summaries and statements and the journal.
#include "summaries/BalanceWindow.h"

#include "core/Tfrdm.h"
#include "masterdata/MasterCatalog.h"
#include "masterdata/MasterListWindow.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "platform/ui/ControlEntry.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FocusChain.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/LbApplication.h"
#include "report/layouts/PrintSequence.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lb::summaries {

using lb::masterdata::MasterCatalog;
using lb::masterdata::MasterListWindow;
using lb::masterdata::PickBox;

BalanceWindow::BalanceWindow(BalanceConfig config, QWidget* owner)
    : SummaryWindow(config.key, config.caption, owner), config_(std::move(config)),
      partner_(new lb::db::Query(frdm->ADOCon, this))
{
    top_->addWidget(new QLabel(config_.codeLabel, this));
    codeBox = new QLineEdit(this);
    codeBox->setObjectName(config_.codeBox);
    codeBox->setToolTip(config_.codeHint);
    onDoubleClick(codeBox, [this] { codeDblClick(); });
    // Leaving the box for another control of this window looks the code up; a picker or a
    // message box taking the focus does not.
    (new lb::ui::ControlEntry(this))->onExit(codeBox, [this] { lookUp(); });
    top_->addWidget(codeBox);
    top_->addWidget(new QLabel(config_.nameLabel, this));
    nameBox = new QLineEdit(this);
    nameBox->setObjectName(config_.nameBox);
    top_->addWidget(nameBox);
    addButtons(QStringLiteral("刷新"), QStringLiteral("打印"));
    connect(refresh, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { refreshClick(); }));
    connect(report, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { reportClick(); }));

    focus_->link(codeBox, nameBox);
    connect(nameBox, &QLineEdit::returnPressed, this, lb::ui::guardSlot(this, [this] { refresh->click(); }));
    focus_->setArrowKeys({MaskEdit1, MaskEdit2, codeBox, nameBox});

    setGridColumns(config_.columns);
    DBGrid2->setDataSet(&shown());

    if (config_.memo) {
        auto* bottom = new QHBoxLayout;
        bottom->addWidget(new QLabel(config_.statement ? QStringLiteral("备注:") : QStringLiteral("备注："), this));
        DBMemo1 = new QPlainTextEdit(this);
        DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
        DBMemo1->setReadOnly(true);
        DBMemo1->setMaximumHeight(DBMemo1->fontMetrics().height() * 3 + 12);
        bottom->addWidget(DBMemo1, 1);
        layout_->addLayout(bottom);
    }
}

lb::db::Query& BalanceWindow::shown() const
{
    return config_.statement ? *frdm->AQoutlist : *frdm->AQoutdetail;
}

QLineEdit* BalanceWindow::pickBox(PickBox box)
{
    const bool ours = (box == PickBox::Edit9 && config_.codeBox == QLatin1String("Edit9"))
                      || (box == PickBox::Edit3 && config_.codeBox == QLatin1String("Edit3"));
    return ours ? codeBox : nullptr;
}

void BalanceWindow::FormShow()
{
    if (config_.specColumn >= 0)
        DBGrid2->setColumnTitle(config_.specColumn, MasterCatalog::specTitle());
    loadPeriod();
    codeBox->setText(QStringLiteral("1"));
    codeBox->setFocus();
    if (config_.runsOnShow)
        refreshClick();
}

void BalanceWindow::periodEntered()
{
    codeBox->setFocus();
}

bool BalanceWindow::findPartner(const QString& code)
{
    // A query of its own: the shared partner dataset may be showing every partner in a picker.
    lb::db::Query& partner = *partner_;
    partner.close();
    partner.sql().setText(QStringLiteral("SELECT * from %1 where id=:p1").arg(config_.partyTable));
    partner.paramByName(QStringLiteral("p1")).setAsString(code);
    partner.open();
    // An empty code names no partner, even where a row has an empty id.
    const bool found = !code.trimmed().isEmpty() && !partner.isEmpty()
                       && partner.fieldByName(QStringLiteral("id")).asString() == code;
    if (DBMemo1)
        DBMemo1->setPlainText(found ? partner.fieldByName(QStringLiteral("remark")).asString() : QString());
    return found;
}

bool BalanceWindow::lookUp()
{
    if (config_.padCode)
        codeBox->setText(QStringLiteral("0000000000%1").arg(codeBox->text().trimmed()).right(10));
    if (findPartner(codeBox->text())) {
        nameBox->setText(partner_->fieldByName(QStringLiteral("name")).asString());
        return true;
    }
    lb::ui::Dialogs::message(config_.notFound);
    return false;
}

void BalanceWindow::reportClick()
{
    lb::layouts::PrintJob job{config_.layoutClass, {}, lb::layouts::PageTotal::None, {}, {}};
    if (config_.printsPartner)
        job.captions = {{QStringLiteral("PartyId"), lastPartner_.id},
                        {QStringLiteral("PartyName"), lastPartner_.name},
                        {QStringLiteral("PartyTel"), lastPartner_.tel},
                        {QStringLiteral("PartyRemark"), lastPartner_.remark}};
    if (config_.printsSpecHeading)
        job.captions.emplace_back(QStringLiteral("RpLabel16"), MasterCatalog::specTitle());
    lb::layouts::printLayout(job);
}

void BalanceWindow::refreshClick()
{
    const lb::summaries::Period chosen = storePeriod();
    lookUp();
    const QString code = codeBox->text();
    if (!findPartner(code)) {
        lb::ui::Dialogs::message(config_.runNotFound);
        return;
    }
    const lb::db::Query& partner = *partner_;
    lb::summaries::BalanceRun run;
    run.code = code.trimmed();
    run.name = partner.fieldByName(QStringLiteral("name")).asString();
    run.opening = partner.fieldByName(QStringLiteral("rest")).asFloat();
    run.from = chosen.from;

    lb::db::Query& rows = shown();
    rows.close();
    BalanceWalk::refill(frdm->ADOCon, config_.walk, run);
    lastPartner_ = {run.code, run.name, partner.fieldByName(QStringLiteral("tel")).asString(),
                    partner.fieldByName(QStringLiteral("remark")).asString()};
    lastPeriod_ = chosen;

    BalanceWalk::show(rows, config_.walk, chosen);
}

void BalanceWindow::codeDblClick()
{
    MasterListWindow::openAsPicker(config_.pickList, config_.pickCode, *this);
}

void BalanceWindow::onClosing()
{
    frdm->AQoutlist->close();
    frdm->AQoutlist->sql().setText(config_.closingHeaderSql);
    lb::db::Query& partner = *config_.partyDataSet();
    partner.close();
    partner.sql().setText(config_.partyResetSql);
    frdm->AQoutdetail->close();
    frdm->ATcusttotal1->close();
    frdm->ATdateconfig->close();
    reconnect();
}

} // namespace lb::summaries
