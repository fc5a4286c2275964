// The entry form of an open document: header boxes, line grid, tool bar, set up by a config.
#include "documents/DocumentEntryForm.h"

#include "core/FailureReport.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "core/Tfrpickdate.h"
#include "documents/DocumentEditing.h"
#include "documents/DocumentPosting.h"
#include "documents/DocumentPrinting.h"
#include "documents/HeaderPanel.h"
#include "masterdata/MasterListWindow.h"
#include "masterdata/TFrcproduct.h"
#include "masterdata/Tfrproductedit.h"
#include "platform/db/Query.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Errors.h"
#include "platform/sys/TextFormat.h"
#include "platform/ui/ControlEntry.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FocusChain.h"
#include "platform/ui/GuardSlot.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <map>
#include <optional>

using lb::masterdata::MasterListWindow;
using lb::masterdata::PickBox;
using lb::masterdata::TFrcproduct;
using lb::masterdata::Tfrproductedit;

namespace lb::documents {
namespace {

const QString generalFailure = QStringLiteral("该功能暂时不能执行，请重新操作！");
const QString unsavedDocument = QStringLiteral("单据不能保存！");
const QString carryOverRefusal = QStringLiteral("明细表中的第一行为上期结转行,不能删除或修改");

using Command = DocumentEntryForm::Command;

// The commands the tool bar and the pop-up menu can run, by the name of their configuration;
// nullptr for one the form does not have.
Command formCommand(const QString& name)
{
    static const std::map<QString, Command> commands = {
        {QStringLiteral("ToolButton1"), &DocumentEntryForm::ToolButton1Click},
        {QStringLiteral("ToolButton2"), &DocumentEntryForm::ToolButton2Click},
        {QStringLiteral("ToolButton3"), &DocumentEntryForm::ToolButton3Click},
        {QStringLiteral("ToolButton4"), &DocumentEntryForm::ToolButton4Click},
        {QStringLiteral("ToolButton5"), &DocumentEntryForm::ToolButton5Click},
        {QStringLiteral("ToolButton6"), &DocumentEntryForm::ToolButton6Click},
        {QStringLiteral("ToolButton7"), &DocumentEntryForm::ToolButton7Click},
        {QStringLiteral("ToolButton8"), &DocumentEntryForm::ToolButton8Click},
        {QStringLiteral("ToolButton9"), &DocumentEntryForm::ToolButton9Click},
        {QStringLiteral("N7"), &DocumentEntryForm::N7Click},
        {QStringLiteral("N8"), &DocumentEntryForm::N8Click},
        {QStringLiteral("posting"), &DocumentEntryForm::postByMode},
    };
    const auto found = commands.find(name);
    return found == commands.end() ? nullptr : found->second;
}

// The wait cursor for the time of a recalculation, whatever way it ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

// Held while 过帐 or 记帐 runs, once its question is answered. A posting that ends with the form
// still open was refused or failed (or a question on the way was answered 取消): the cursor goes
// back to the code box, wherever it was (a cell of the lines), so that the clerk types the next
// code there or goes on from there to mend the lines, the same in every form with a code box.
// That is the program's move: the party box it may leave is not looked up again, as the
// posting has just said what it found wrong with it.
class DocumentEntryForm::CursorAfterPosting {
public:
    explicit CursorAfterPosting(DocumentEntryForm& form) : form_(form) {}
    ~CursorAfterPosting()
    {
        // Not shown in a form without a code box, nor once the posting has closed the form.
        if (form_.Edit12->isVisible())
            form_.entry_->moveFocus(form_.Edit12);
    }
    CursorAfterPosting(const CursorAfterPosting&) = delete;
    CursorAfterPosting& operator=(const CursorAfterPosting&) = delete;

private:
    DocumentEntryForm& form_;
};

DocumentEntryForm::DocumentEntryForm(EntryFormConfig config, QWidget* owner)
    : DocumentWindow(config, owner, frmain), config_(std::move(config))
{
    QVBoxLayout* layout = buildHeader(config_, true);
    SpeedButton1 = panel_->partyButton();
    if (SpeedButton1)
        connect(SpeedButton1, &QToolButton::clicked, this, slot(&DocumentEntryForm::pickParty));
    buildCodeRow(layout);
    buildLines(config_, layout);
    wireGrid();
    auto* status = new QStatusBar(this);
    for (const QString& text : config_.statusPanels) {
        panels_.push_back(new QLabel(text, status));
        status->addWidget(panels_.back());
    }
    layout->addWidget(status);
    wireKeys();
}

DocumentEntryForm::~DocumentEntryForm()
{
    // A form destroyed without closing (the program ending) leaves no hook on the shared datasets.
    if (frdm) {
        lines().setOnNewRecord({});
        header().setAfterPost({});
    }
}

std::function<void()> DocumentEntryForm::commandNamed(const QString& name)
{
    const Command command = formCommand(name);
    if (!command)
        return {};
    return [this, command] { run(command); };
}

void DocumentEntryForm::run(Command command)
{
    // The clerk's typing first, outside any transaction, so that a failure of the command
    // cannot take it back, and before any question, whose box would take the cell as it takes
    // the window's activation. 退回 says a line it cannot store as it says the document it
    // cannot store; where a kind passes that failure on, so it does the line's.
    const bool back = command == &DocumentEntryForm::ToolButton7Click;
    if (back && !config_.backReportsUnsaved) {
        if (!takeTyping())
            return;
    } else if (!takeTypingOrSay(back ? unsavedDocument : generalFailure)) {
        return;
    }
    (this->*command)();
}

std::function<void()> DocumentEntryForm::slot(Command command)
{
    return lb::ui::guardSlot(this, [this, command] { run(command); });
}

void DocumentEntryForm::buildCodeRow(QVBoxLayout* layout)
{
    auto* codeRow = new QHBoxLayout;
    layout->addLayout(codeRow);
    // A box of the row after its label, both shown only where the form gives the box a hint.
    auto addBox = [this, codeRow](const char* name, const QString& label, const QString& hint) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setToolTip(hint);
        auto* caption = new QLabel(label, this);
        codeRow->addWidget(caption);
        codeRow->addWidget(edit);
        caption->setVisible(!hint.isEmpty());
        edit->setVisible(!hint.isEmpty());
        return edit;
    };
    Edit12 = addBox("Edit12", QStringLiteral("货品代码或条形码"), config_.codeBoxHint);
    if (config_.newProductButton) {
        Button1 = new QPushButton(QStringLiteral("新增商品"), this);
        Button1->setObjectName(QStringLiteral("Button1"));
        codeRow->addWidget(Button1);
        connect(Button1, &QPushButton::clicked, this, slot(&DocumentEntryForm::Button1Click));
    }
    Edit17 = addBox("Edit17", QStringLiteral("历史单号"), config_.historyBoxHint);
    codeRow->addStretch(1);
}

void DocumentEntryForm::wireGrid()
{
    DBGrid1->setToolTip(config_.gridHint);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, slot(&DocumentEntryForm::DBGrid1DblClick));
    connect(DBGrid1, &lb::ui::DataGrid::enterPressed, this, lb::ui::guardSlot(this, &DocumentEntryForm::gridEnter));
    connect(DBGrid1, &lb::ui::DataGrid::columnExited, this, lb::ui::guardSlot(this, &DocumentEntryForm::gridColumnExit));
}

void DocumentEntryForm::wireKeys()
{
    auto* chain = new lb::ui::FocusChain(this);
    auto widget = [this](const QString& name) -> QWidget* {
        if (name == QLatin1String("Edit12"))
            return Edit12;
        return box(name);
    };
    for (const auto& [from, to] : config_.enterChain) {
        if (widget(from) && widget(to))
            chain->link(widget(from), widget(to));
    }
    if (QLineEdit* edit = box(config_.enterToLines)) {
        connect(edit, &QLineEdit::returnPressed, this, lb::ui::guardSlot(this, [this] {
                    DBGrid1->setFocus();
                    if (lines().active())
                        lines().next();
                    DBGrid1->setSelectedIndex(config_.firstEntryColumn);
                }));
    }
    // Up and Down follow the tab order, which some forms set apart from the layout's order.
    QWidget* previous = nullptr;
    for (const QString& name : config_.tabOrder) {
        QWidget* next = name == QLatin1String("DBGrid1") ? DBGrid1 : widget(name);
        if (!next)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
    QList<QWidget*> arrows;
    for (const QString& name : config_.arrowBoxes) {
        if (QWidget* target = widget(name))
            arrows << target;
    }
    chain->setArrowKeys(arrows);
    for (const char* name : {"Edit2", "Edit6", "Edit10", "Edit16"}) {
        if (QLineEdit* edit = box(QString::fromLatin1(name)))
            edit->installEventFilter(this);
    }
    Edit12->installEventFilter(this);
    // Leaving the party box looks the party up; entering the code box goes to the last line,
    // which the next code fills, also when the cursor is put back there after a refusal while
    // a message box holds the window's activation.
    entry_ = new lb::ui::ControlEntry(this);
    if (QLineEdit* party = box(QStringLiteral("Edit2")))
        entry_->onExit(party, [this] { Edit2Exit(); });
    entry_->onEnter(Edit12, [this] { Edit12Enter(); });
    connect(Edit12, &QLineEdit::returnPressed, this, slot(&DocumentEntryForm::codeEntry));
    connect(Edit17, &QLineEdit::returnPressed, this, slot(&DocumentEntryForm::historyCopy));
}

bool DocumentEntryForm::eventFilter(QObject* watched, QEvent* event)
{
    Command command = nullptr;
    const QString name = watched->objectName();
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (name == QLatin1String("Edit2"))
            command = &DocumentEntryForm::pickParty;
        else if (name == QLatin1String("Edit10"))
            command = &DocumentEntryForm::pickAccount;
        else if (name == QLatin1String("Edit16"))
            command = &DocumentEntryForm::pickEmployee;
        else if (name == QLatin1String("Edit6"))
            command = &DocumentEntryForm::pickDate;
    } else if (event->type() == QEvent::KeyPress && watched == Edit12 && config_.codeDownColumn >= 0
               && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        DBGrid1->setFocus();
        DBGrid1->setSelectedIndex(config_.codeDownColumn);
        return true;
    }
    if (command) {
        lb::ui::LbApplication::guarded(this, [&] {
            run(command);
            return true;
        });
    }
    return DocumentWindow::eventFilter(watched, event);
}

QLineEdit* DocumentEntryForm::box(const QString& name) const
{
    if (name == QLatin1String("Edit12"))
        return Edit12;
    if (name == QLatin1String("Edit17"))
        return Edit17;
    return DocumentWindow::box(name);
}

QString DocumentEntryForm::statusText(int panel) const
{
    return panel < int(panels_.size()) ? panels_[size_t(panel)]->text() : QString();
}

QString DocumentEntryForm::text(const QString& boxName) const
{
    const QLineEdit* edit = box(boxName);
    return edit ? edit->text() : QString();
}

QString DocumentEntryForm::memoText() const
{
    return Memo1 ? Memo1->toPlainText() : QString();
}

lb::db::Query& DocumentEntryForm::header() const
{
    return *frdm->AQoutlist;
}

lb::db::Query& DocumentEntryForm::lines() const
{
    return *frdm->AQoutdetail;
}

QLineEdit* DocumentEntryForm::pickBox(PickBox which)
{
    switch (which) {
    case PickBox::Edit2: return box(QStringLiteral("Edit2"));
    case PickBox::Edit10: return box(QStringLiteral("Edit10"));
    case PickBox::Edit16: return box(QStringLiteral("Edit16"));
    case PickBox::Edit3:
    case PickBox::Edit9:
    case PickBox::None: break;
    }
    return nullptr;
}

lb::db::DataSet* DocumentEntryForm::pickHeader()
{
    DocumentEditing::standOn(header(), intno_);
    return &header();
}

lb::db::DataSet* DocumentEntryForm::pickLines()
{
    return &lines();
}

void DocumentEntryForm::FormShow()
{
    const Options options = readOptions();
    const QString& remark1 = options.remark1;
    booking_ = kind_.followsPostingMode && options.mode == PostingMode::StockOnly;
    // One of 记帐 and 过帐 shows, whatever button carries it.
    showCommands(config_.toolButtons, {QStringLiteral("ToolButton8")}, booking_);
    showCommands(config_.toolButtons, {QStringLiteral("ToolButton4")}, !booking_);

    // Rows the form appends belong to its document; the total boxes show what its header holds.
    lines().setOnNewRecord([this](lb::db::DataSet& rows) {
        rows.fieldByName(QStringLiteral("mainintno")).setAsString(intno_);
    });
    header().setAfterPost([this](lb::db::DataSet&) { showTotals(); });

    if (frmain->NewBillFlag) {
        intno_ = DocumentPosting::create(frdm->ADOCon, kind_, remark1);
        frmain->CurrentBillNo = intno_;
        showDocument(intno_);
        box(QStringLiteral("Edit1"))->setText(intno_);
        box(QStringLiteral("Edit2"))->setText(QStringLiteral("1"));
        for (const char* name : {"Edit3", "Edit4", "Edit9", "Edit16", "Edit11", "Edit13", "Edit14", "Edit15"})
            if (QLineEdit* edit = box(QString::fromLatin1(name)))
                edit->clear();
        for (const char* name : {"Edit5", "Edit7", "Edit8"})
            box(QString::fromLatin1(name))->setText(QStringLiteral("0"));
        box(QStringLiteral("Edit6"))->setText(lb::fmt::dateToStr(lb::Clock::today()));
        // The account box; where lines name the accounts, that box is the paper number.
        box(QStringLiteral("Edit10"))->setText(kind_.headerAccount ? DocumentKinds::CashAccountId : QString());
        if (Memo1)
            Memo1->setPlainText(remark1);
        lines().last(); // the blank line
        Edit12->clear();
    } else {
        intno_ = frmain->CurrentBillNo;
        showDocument(intno_);
        panel_->fill(header());
    }
    if (config_.recalcOnOpen) {
        try {
            recalculate();
        } catch (const lb::Abort&) {
            // The refusal was shown; the document shows as it is stored.
        }
    }
    box(QStringLiteral("Edit2"))->setFocus();
}

void DocumentEntryForm::showDocument(const QString& intno)
{
    lb::db::Query& rows = header();
    rows.close();
    rows.sql().setText(QStringLiteral("select * from %1 where intno=:p1").arg(kind_.headerTable));
    rows.paramByName(QStringLiteral("p1")).setAsString(intno);
    rows.open();
    DocumentEditing::standOn(rows, intno);
    lb::db::Query& items = lines();
    items.close();
    items.sql().setText(QStringLiteral("select * from %1 where mainintno=:p1 order by intno").arg(kind_.lineTable));
    items.paramByName(QStringLiteral("p1")).setAsString(intno);
    items.open();
}

void DocumentEntryForm::showTotals()
{
    panel_->showTotals(header());
}

void DocumentEntryForm::Edit2Exit()
{
    const auto party = DocumentEditing::lookUpParty(kind_, intno_, header(), lines(), text(QStringLiteral("Edit2")));
    if (!party) {
        lb::ui::Dialogs::message(kind_.texts.partyNotFound);
        return;
    }
    box(QStringLiteral("Edit3"))->setText(party->name);
    box(QStringLiteral("Edit4"))->setText(party->persondeal);
}

bool DocumentEntryForm::takeTypingOrSay(const QString& failure)
{
    try {
        return takeTyping();
    } catch (const std::exception& error) {
        failed(error, failure);
        return false;
    }
}

void DocumentEntryForm::recalculate()
{
    if (!takeTypingOrSay(generalFailure))
        throw lb::Abort();
    showRecalculation(storeRecalculation());
}

RecalcResult DocumentEntryForm::storeRecalculation()
{
    const WaitCursor wait;
    HeaderBoxes boxes;
    boxes.partyCode = text(QStringLiteral("Edit2"));
    boxes.billdate = text(QStringLiteral("Edit6"));
    boxes.remark1 = memoText();
    boxes.bankid = text(QStringLiteral("Edit10"));
    boxes.employeename = text(QStringLiteral("Edit16"));
    boxes.partyName = text(QStringLiteral("Edit3"));
    boxes.persondeal = text(QStringLiteral("Edit4"));
    boxes.djh = text(QStringLiteral("Edit10"));
    return DocumentEditing::recalculate(kind_, intno_, header(), lines(), boxes);
}

void DocumentEntryForm::showRecalculation(const RecalcResult& result)
{
    showRecalculation(result, Outcome());
}

void DocumentEntryForm::showRecalculation(const RecalcResult& result, const Outcome& posting)
{
    if (result.outcome.refused) {
        lb::ui::Dialogs::message(result.outcome.message);
        throw lb::Abort();
    }
    if (result.party) {
        box(QStringLiteral("Edit3"))->setText(result.party->name);
        box(QStringLiteral("Edit4"))->setText(result.party->persondeal);
    }
    box(QStringLiteral("Edit9"))->setText(result.totals.remark);
    showTotals();
    // A posting refused for the party it cannot find says so itself, once.
    if (!result.party && !(posting.refused && posting.message == kind_.texts.partyNotFound))
        lb::ui::Dialogs::message(kind_.texts.partyNotFound);
}

void DocumentEntryForm::guarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const lb::Abort&) {
        lb::ui::Dialogs::message(generalFailure);
    } catch (const std::exception& error) {
        // The command's transaction has rolled back; the datasets show what is stored, and
        // the cause goes to the error log for whoever looks after the books.
        rereadAfterFailure();
        failed(error, generalFailure);
    }
}

void DocumentEntryForm::failed(const std::exception& error, const QString& message)
{
    lb::core::reportFailure(this, error, {message});
}

void DocumentEntryForm::refuse(const QString& message)
{
    lb::ui::Dialogs::message(message);
    throw lb::Abort();
}

void DocumentEntryForm::rereadAfterFailure()
{
    try {
        if (header().active())
            header().refresh();
        if (lines().active())
            rereadLines();
        showTotals();
    } catch (const std::exception&) {
        // The failure itself is what the user is told about; the next command re-reads.
    }
}

bool DocumentEntryForm::refuseOnCarryOverLine(const QString& message)
{
    if (!DocumentEditing::onCarryOverLine(lines()))
        return false;
    lb::ui::Dialogs::message(message.isEmpty() ? carryOverRefusal : message);
    return true;
}

void DocumentEntryForm::removeBlankCurrentLine()
{
    lb::db::Query& rows = lines();
    if (rows.active() && !rows.isEmpty() && rows.fieldByName(QStringLiteral("spmc")).asString().isEmpty())
        ToolButton2Click(); // asks; Cancel stops the command that called
}

void DocumentEntryForm::ToolButton1Click()
{
    guarded([this] {
        DocumentEditing::appendLine(kind_, intno_, lines());
        Edit12->clear();
        Edit12->setFocus();
    });
}

void DocumentEntryForm::ToolButton2Click()
{
    if (refuseOnCarryOverLine())
        return;
    if (config_.deleteAsks) {
        lines().deleteRecord(); // the data module asks "确实要删除当前记录吗?"
        return;
    }
    // Past the data module's question: delete the row and show the lines anew at its place.
    lb::db::Query remove(frdm->ADOCon);
    remove.sql().add(QStringLiteral("delete from %1 where intno=:p1 and mainintno=:p2").arg(kind_.lineTable));
    remove.paramByName(QStringLiteral("p1")).setAsString(lines().fieldByName(QStringLiteral("intno")).asString());
    remove.paramByName(QStringLiteral("p2")).setAsString(intno_);
    remove.execSQL();
    rereadLines();
}

void DocumentEntryForm::rereadLines()
{
    const int place = lines().recNo();
    lines().close();
    lines().open();
    if (!lines().isEmpty())
        lines().setRecNo(std::min(std::max(place, 1), lines().recordCount()));
}

void DocumentEntryForm::ToolButton3Click()
{
    recalculate();
}

void DocumentEntryForm::ToolButton5Click()
{
    if (config_.printRemovesBlankLine)
        removeBlankCurrentLine();
    recalculate();
    DocumentPrinting::print(kind_, intno_, lines());
}

void DocumentEntryForm::N7Click()
{
    frmain->choosePrinter(this);
}

void DocumentEntryForm::ToolButton4Click()
{
    if (config_.confirmPosting && !lb::ui::Dialogs::confirm(QStringLiteral("单据确实要过帐吗?")))
        return;
    const CursorAfterPosting cursor(*this);
    guarded([this] {
        const QString party = text(QStringLiteral("Edit2"));
        const Outcome before = DocumentPosting::refuseBeforePosting(kind_, intno_, frdm->ADOCon, party, false);
        if (before.refused)
            refuse(before.message);
        if (config_.postingRemovesBlankLine)
            removeBlankCurrentLine();
        // A failure stores nothing of the recalculation either; a refusal keeps it, as 刷新 does.
        lb::db::Transaction transaction(frdm->ADOCon);
        const RecalcResult recalculated = storeRecalculation();
        const Outcome outcome = recalculated.outcome.refused
                                    ? Outcome()
                                    : DocumentPosting::post(frdm->ADOCon, kind_, intno_, party, text(QStringLiteral("Edit10")));
        transaction.commit();
        showRecalculation(recalculated, outcome);
        if (outcome.refused)
            refuse(outcome.message);
        for (const QString& notice : outcome.notices)
            lb::ui::Dialogs::message(notice);
        lines().close();
        leave();
    });
}

void DocumentEntryForm::ToolButton8Click()
{
    if (!lb::ui::Dialogs::confirm(QStringLiteral("单据确实要过帐吗?")))
        return;
    const CursorAfterPosting cursor(*this);
    const QString party = text(QStringLiteral("Edit2"));
    const Outcome before = DocumentPosting::refuseBeforePosting(kind_, intno_, frdm->ADOCon, party, true);
    if (before.refused) {
        lb::ui::Dialogs::message(before.message);
        return;
    }
    removeBlankCurrentLine();
    // A failure of the booking stores nothing of the recalculation either; a refusal keeps it.
    std::optional<lb::db::Transaction> transaction(std::in_place, frdm->ADOCon);
    const RecalcResult recalculated = storeRecalculation();
    Outcome outcome;
    try {
        if (!recalculated.outcome.refused)
            outcome = DocumentPosting::book(frdm->ADOCon, kind_, intno_, party);
        transaction->commit();
    } catch (const lb::DatabaseError& error) {
        transaction.reset();
        rereadAfterFailure();
        failed(error, generalFailure);
        return;
    }
    showRecalculation(recalculated, outcome);
    if (outcome.refused) {
        lb::ui::Dialogs::message(outcome.message);
        lb::ui::Dialogs::message(generalFailure);
        return;
    }
    for (const QString& notice : outcome.notices)
        lb::ui::Dialogs::message(notice);
    lines().close();
    leave();
}

void DocumentEntryForm::postByMode()
{
    // The pop-up's 过帐 posts the way the tool bar does: booking where the option says so.
    if (booking_)
        ToolButton8Click();
    else
        ToolButton4Click();
}

void DocumentEntryForm::Button1Click()
{
    Tfrproductedit::openForPurchase(this);
}

void DocumentEntryForm::ToolButton6Click()
{
    if (!lb::ui::Dialogs::confirm(QStringLiteral("单据确实要废弃吗?")))
        return;
    guarded([this] {
        (void)DocumentPosting::voidDocument(frdm->ADOCon, kind_, intno_, false);
        lines().close();
        leave();
    });
}

void DocumentEntryForm::ToolButton9Click()
{
    const QString copy = DocumentPosting::copy(frdm->ADOCon, kind_, intno_,
                                               {text(QStringLiteral("Edit2")), text(QStringLiteral("Edit3")), text(QStringLiteral("Edit4")),
                                                text(QStringLiteral("Edit9")), memoText(), text(QStringLiteral("Edit10")),
                                                text(QStringLiteral("Edit16"))});
    intno_ = copy;
    frmain->CurrentBillNo = copy;
    box(QStringLiteral("Edit1"))->setText(copy);
    box(QStringLiteral("Edit6"))->setText(lb::fmt::dateToStr(lb::Clock::today()));
    showDocument(copy);
    recalculate();
}

void DocumentEntryForm::ToolButton7Click()
{
    lb::db::Query& rows = lines();
    try {
        if (rows.active() && rows.isEmpty()) {
            // A document without a single line is no document.
            lb::db::Query remove(frdm->ADOCon);
            remove.sql().add(QStringLiteral("delete from %1 WHERE (intno=:p1)").arg(kind_.headerTable));
            remove.paramByName(QStringLiteral("p1")).setAsString(intno_);
            remove.execSQL();
        } else {
            if (rows.active())
                rows.first();
            recalculate();
        }
        if (header().active() && header().state() != lb::db::DataSetState::Browse)
            header().post();
    } catch (const lb::DatabaseError& error) {
        if (!config_.backReportsUnsaved)
            throw;
        // The store rolled back whole: the form stays open on the document as it is stored.
        rereadAfterFailure();
        failed(error, unsavedDocument);
        return;
    }
    leave();
}

void DocumentEntryForm::Edit12Enter()
{
    if (lines().active())
        lines().last();
}

void DocumentEntryForm::codeEntry()
{
    if (refuseOnCarryOverLine(config_.noLineRefusal))
        return;
    if (!config_.codeEntryByOption || frmain->EntryByProductCode) {
        const auto product = DocumentEditing::findProduct(frdm->ADOCon, kind_, Edit12->text());
        if (!product) {
            lb::ui::Dialogs::message(kind_.texts.codeNotFound);
            Edit12->selectAll();
            return;
        }
        DocumentEditing::fillFromProduct(kind_, lines(), *product);
    }
    recalculate();
    DBGrid1->setSelectedIndex(config_.firstEntryColumn);
    DBGrid1->setFocus();
}

void DocumentEntryForm::historyCopy()
{
    const Outcome outcome = DocumentPosting::copyLines(frdm->ADOCon, kind_, Edit17->text(), intno_);
    if (outcome.refused) {
        lb::ui::Dialogs::message(outcome.message);
        if (outcome.message == QStringLiteral("查无该历史单号！"))
            Edit17->selectAll();
        return;
    }
    // The lines were written past the dataset: read them anew, the last one current.
    lines().close();
    lines().open();
    lines().last();
}

void DocumentEntryForm::DBGrid1DblClick()
{
    if (refuseOnCarryOverLine(config_.noLineRefusal))
        return;
    if (lines().fieldByName(QStringLiteral("intno")).asString().isEmpty())
        return;
    const core::PickCode code = kind_.linePickCode != core::PickCode::None ? kind_.linePickCode : kind_.pickCode;
    MasterListWindow::openAsPicker(config_.linePicker, code, *this);
}

void DocumentEntryForm::N8Click()
{
    if (refuseOnCarryOverLine())
        return;
    if (lines().fieldByName(QStringLiteral("intno")).asString().isEmpty())
        return;
    TFrcproduct::openAsPicker(*this);
}

void DocumentEntryForm::pickParty()
{
    MasterListWindow::openAsPicker(config_.partyList, kind_.pickCode, *this);
}

void DocumentEntryForm::pickAccount()
{
    MasterListWindow::openAsPicker(QStringLiteral("TFrbank"), kind_.pickCode, *this);
}

void DocumentEntryForm::pickEmployee()
{
    MasterListWindow::openAsPicker(QStringLiteral("TFremployee"), kind_.pickCode, *this);
}

void DocumentEntryForm::pickDate()
{
    frpickdate->pickInto(*box(QStringLiteral("Edit6")));
}

void DocumentEntryForm::gridColumnExit(int column)
{
    if (std::find(config_.recalcColumns.begin(), config_.recalcColumns.end(), column) != config_.recalcColumns.end())
        recalculate();
}

void DocumentEntryForm::gridEnter()
{
    const int column = DBGrid1->selectedIndex();
    if (column == config_.newLineColumn) {
        recalculate();
        ToolButton1Click();
        return;
    }
    for (const auto& [from, to] : config_.enterMoves) {
        if (column == from) {
            DBGrid1->setSelectedIndex(to);
            return;
        }
    }
    if (column == config_.nextLineColumn) {
        lines().next();
        DBGrid1->setSelectedIndex(config_.firstEntryColumn);
        return;
    }
    // A column the clerk cannot type into is filled by the line's picker: Enter there opens it
    // as a double-click does, so that a receipt's or payment's account is chosen from the
    // keyboard too.
    if (column >= 0 && size_t(column) < config_.columns.size() && config_.columns[size_t(column)].readOnly)
        DBGrid1DblClick();
}

void DocumentEntryForm::onClosing()
{
    lines().setOnNewRecord({});
    header().setAfterPost({});
    lines().close();
    lb::db::Query& rows = header();
    rows.close();
    rows.sql().setText(QStringLiteral("SELECT * from %1").arg(kind_.headerTable));
    rows.open();
    DocumentEditing::removeBlankLines(frdm->ADOCon, kind_);
}

} // namespace lb::documents
