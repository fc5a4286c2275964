// The read-only view of a posted document, with its reversals, voiding and copying.
#include "documents/PostedDocumentView.h"

#include "core/FailureReport.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "documents/DocumentEditing.h"
#include "documents/DocumentListWindow.h"
#include "documents/DocumentPosting.h"
#include "documents/DocumentPrinting.h"
#include "documents/HeaderPanel.h"
#include "platform/db/Query.h"
#include "platform/sys/Errors.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FocusChain.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <map>

namespace lb::documents {

PostedDocumentView::PostedDocumentView(PostedViewConfig config, QWidget* owner)
    : DocumentWindow(config, owner, owner), config_(std::move(config))
{
    QVBoxLayout* layout = buildHeader(config_, false);
    panel_->setReadOnly(true);
    buildLines(config_, layout);
    DBGrid1->setReadOnly(true);

    auto* chain = new lb::ui::FocusChain(this);
    if (box(QStringLiteral("Edit6")) && box(QStringLiteral("Edit9")))
        chain->link(box(QStringLiteral("Edit6")), box(QStringLiteral("Edit9")));
}

PostedDocumentView::~PostedDocumentView() = default;

std::function<void()> PostedDocumentView::commandNamed(const QString& name)
{
    using Command = void (PostedDocumentView::*)();
    static const std::map<QString, Command> commands = {
        {QStringLiteral("ToolButton6"), &PostedDocumentView::ToolButton6Click},
        {QStringLiteral("ToolButton1"), &PostedDocumentView::ToolButton1Click},
        {QStringLiteral("ToolButton2"), &PostedDocumentView::ToolButton2Click},
        {QStringLiteral("ToolButton3"), &PostedDocumentView::ToolButton3Click},
        {QStringLiteral("ToolButton5"), &PostedDocumentView::ToolButton5Click},
        {QStringLiteral("ToolButton7"), &PostedDocumentView::ToolButton7Click},
        {QStringLiteral("discard"), &PostedDocumentView::discardClick},
    };
    const auto found = commands.find(name);
    if (found == commands.end())
        return {};
    return [this, command = found->second] { (this->*command)(); };
}

void PostedDocumentView::FormShow()
{
    intno_ = frmain->CurrentBillNo;
    lb::db::Query& header = *frdm->AQoutlist;
    header.close();
    header.sql().setText(QStringLiteral("select * from %1 where intno=:p1").arg(kind_.headerTable));
    header.paramByName(QStringLiteral("p1")).setAsString(intno_);
    header.open();
    DocumentEditing::standOn(header, intno_);
    // 冲数 after a full posting; 冲帐 and 作废 after a booking; whatever button carries them.
    const bool full = DocumentPosting::undoRoute(frdm->ADOCon, kind_, intno_) == PostingMode::Full;
    showCommands(config_.toolButtons, {QStringLiteral("ToolButton1"), QStringLiteral("ToolButton2")}, !full);
    showCommands(config_.toolButtons, {QStringLiteral("ToolButton6")}, full);
    panel_->fill(header);
    lb::db::Query& lines = *frdm->AQoutdetail;
    lines.close();
    lines.sql().setText(QStringLiteral("select * from %1 where mainintno=:p1 order by intno").arg(kind_.lineTable));
    lines.paramByName(QStringLiteral("p1")).setAsString(box(QStringLiteral("Edit1"))->text());
    lines.open();
}

void PostedDocumentView::ToolButton5Click()
{
    DocumentPrinting::print(kind_, intno_, *frdm->AQoutdetail);
}

void PostedDocumentView::generalFailure(const std::exception& error)
{
    try {
        frdm->AQoutlist->refresh();
        frdm->AQoutdetail->refresh();
    } catch (const std::exception&) {
        // What the user is told is the failure itself; the next showing reads anew.
    }
    lb::core::reportFailure(this, error, {QStringLiteral("该功能暂时不能执行，请重新操作！")});
}

void PostedDocumentView::ToolButton6Click()
{
    if (!lb::ui::Dialogs::confirm(QStringLiteral("确实要冲数该单据吗?")))
        return;
    // The money goes back into the account the posting moved, as the document stores it.
    const QString account = frdm->AQoutlist->fieldByName(QStringLiteral("bankid")).asString();
    const Outcome outcome = DocumentPosting::reverse(frdm->ADOCon, kind_, intno_, panel_->text(QStringLiteral("Edit2")), account);
    if (outcome.refused) {
        lb::ui::Dialogs::message(outcome.message);
        return;
    }
    for (const QString& notice : outcome.notices)
        lb::ui::Dialogs::message(notice);
    leave();
}

void PostedDocumentView::ToolButton1Click()
{
    if (!lb::ui::Dialogs::confirm(QStringLiteral("确实要冲数该单据吗?")))
        return;
    const QString party = panel_->text(QStringLiteral("Edit2"));
    const Outcome before = DocumentPosting::refuseBeforeUnbooking(frdm->ADOCon, kind_, intno_, party);
    if (before.refused) {
        lb::ui::Dialogs::message(before.message);
        return;
    }
    Outcome outcome;
    try {
        outcome = DocumentPosting::unbook(frdm->ADOCon, kind_, intno_, party);
    } catch (const lb::DatabaseError& error) {
        generalFailure(error);
        return;
    }
    if (outcome.refused) {
        lb::ui::Dialogs::message(outcome.message);
        lb::ui::Dialogs::message(QStringLiteral("该功能暂时不能执行，请重新操作！"));
        return;
    }
    for (const QString& notice : outcome.notices)
        lb::ui::Dialogs::message(notice);
    leave();
}

void PostedDocumentView::ToolButton2Click()
{
    // 作废 is offered in stock-only mode: the booking's stock moves go with the document.
    voidDocument(true);
}

void PostedDocumentView::discardClick()
{
    voidDocument(false);
}

void PostedDocumentView::voidDocument(bool unbookStock)
{
    if (!lb::ui::Dialogs::confirm(QStringLiteral("单据确实要废弃吗?")))
        return;
    Outcome outcome;
    try {
        outcome = DocumentPosting::voidDocument(frdm->ADOCon, kind_, intno_, unbookStock);
    } catch (const std::exception& error) {
        generalFailure(error);
        return;
    }
    if (outcome.refused) {
        lb::ui::Dialogs::message(outcome.message);
        return;
    }
    for (const QString& notice : outcome.notices)
        lb::ui::Dialogs::message(notice);
    leave();
}

void PostedDocumentView::ToolButton3Click()
{
    // The copy opens through the kind's list; a view opened from elsewhere has none to use.
    auto* list = qobject_cast<DocumentListWindow*>(opener());
    if (!list || list->config().kind != config_.kind) {
        lb::ui::Dialogs::message(config_.noListForCopy);
        return;
    }
    const QString copy = DocumentPosting::copy(frdm->ADOCon, kind_, intno_,
                                               {panel_->text(QStringLiteral("Edit2")), panel_->text(QStringLiteral("Edit3")),
                                                panel_->text(QStringLiteral("Edit4")), panel_->text(QStringLiteral("Edit9")),
                                                Memo1 ? Memo1->toPlainText() : QString(), panel_->text(QStringLiteral("Edit10")),
                                                panel_->text(QStringLiteral("Edit16"))});
    lb::db::Query& header = *frdm->AQoutlist;
    header.close();
    header.sql().setText(QStringLiteral("SELECT * from %1").arg(kind_.headerTable));
    header.open();
    header.locate(QStringLiteral("intno"), copy);
    // The view closes before the copy opens: closing a window gives the front to the list
    // behind it, and the entry form, opened after, comes in front of that and is the active
    // window. The form holds the shared datasets from here and gives the list back when it
    // closes.
    handedOver_ = true;
    leave();
    list->detailClick();
}

void PostedDocumentView::ToolButton7Click()
{
    lb::db::Query& header = *frdm->AQoutlist;
    if (header.active() && header.state() != lb::db::DataSetState::Browse)
        header.post();
    leave();
}

void PostedDocumentView::onClosing()
{
    if (handedOver_)
        return;
    lb::db::Query& header = *frdm->AQoutlist;
    header.close();
    header.sql().setText(QStringLiteral("SELECT * from %1").arg(kind_.headerTable));
    header.open();
    frdm->AQoutdetail->close();
}

} // namespace lb::documents
