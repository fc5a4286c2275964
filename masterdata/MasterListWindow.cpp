// The record list window: grid, search row, add/modify/delete, pick and close, set up by a config.
#include "masterdata/MasterListWindow.h"

#include "core/Tfrdm.h"
#include "core/Tfrexport.h"
#include "core/Tfrmain.h"
#include "masterdata/CustomerProductRows.h"
#include "masterdata/MasterCatalog.h"
#include "masterdata/MasterEditor.h"
#include "masterdata/MasterRecordRules.h"
#include "masterdata/PickerLink.h"
#include "masterdata/ProductCommands.h"
#include "masterdata/ValueEditor.h"
#include "platform/db/Query.h"
#include "platform/sys/Errors.h"
#include "platform/ui/ControlEntry.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/Modal.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <map>

namespace lb::masterdata {

using lb::core::Tfrexport;

namespace {

std::map<QString, QPointer<MasterListWindow>>& instances()
{
    static std::map<QString, QPointer<MasterListWindow>> windows;
    return windows;
}

struct CommandLook {
    ListCommand command;
    const char* name;
    const char* caption;
    const char* hint = "";
};

const CommandLook commandLooks[] = {
    {ListCommand::Add, "ToolButton1", "  新增  ", "添加"},   {ListCommand::Modify, "ToolButton2", "修改"},
    {ListCommand::Delete, "ToolButton3", "删除"},    {ListCommand::Print, "ToolButton5", "打印"},
    {ListCommand::Pick, "ToolButton7", "选中"},      {ListCommand::Search, "ToolButton6", "查找"},
    {ListCommand::Export, "ToolButton18", "导出"},   {ListCommand::CountEntry, "ToolButton8", "盘点录入"},
    {ListCommand::Close, "ToolButton15", "退出"},
};

} // namespace

MasterListWindow::MasterListWindow(MasterListConfig config, QWidget* owner)
    : lb::ui::ListFrame(owner), config_(std::move(config)), picker_(frmain->PickMode != lb::core::PickCode::None)
{
    setObjectName(config_.key);
    setWindowTitle(config_.caption);
    buildToolBar();
    buildSearchRow();

    DBGrid1 = grid();
    DBGrid1->setToolTip(config_.gridHint);
    DBGrid1->setColumns(config_.columns);
    DBGrid1->setDataSet(&dataSet());
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, lb::ui::guardSlot(this, [this] { ToolButton7Click(); }));
    connect(DBGrid1, &lb::ui::DataGrid::enterPressed, this, lb::ui::guardSlot(this, [this] {
                if (picker_)
                    ToolButton7Click();
            }));
    DBGrid1->setKeyHook([this](QKeyEvent* event) { return gridKey(event); });
    if (config_.markColumn) {
        DBGrid1->setRowColor([this](int row) {
            lb::db::DataSet* rows = DBGrid1->dataSet();
            lb::db::Field* mark = rows ? rows->findField(QStringLiteral("szbj")) : nullptr;
            return mark && rows->rowValue(row, mark->column()).toBool() ? QColor(Qt::blue) : QColor();
        });
        connect(DBGrid1, &QAbstractItemView::clicked, this, lb::ui::guardSlot(this, [this](const QModelIndex& index) {
            lb::db::Field* field = DBGrid1->gridModel()->fieldAt(index.column());
            if (field && field->dataType() == lb::db::FieldType::Boolean)
                toggleMark();
        }));
    }

    if (!config_.menu.empty()) {
        popupMenu = new QMenu(this);
        for (const ListMenuItem& item : config_.menu) {
            QAction* action = popupMenu->addAction(item.caption);
            action->setObjectName(item.name);
            action->setVisible(item.visible);
            action->setEnabled(bool(item.run));
            if (item.run) {
                const auto run = item.run;
                connect(action, &QAction::triggered, this, lb::ui::guardSlot(this, [this, run] { run(*this); }));
            }
        }
        DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(DBGrid1, &QWidget::customContextMenuRequested, this, lb::ui::guardSlot(this, [this](const QPoint& at) {
                    popupMenu->popup(DBGrid1->viewport()->mapToGlobal(at));
                }));
    }

    for (const QString& text : config_.statusPanels)
        addStatusPanel(text);
    panelCount_ = int(config_.statusPanels.size());
    if (config_.showCount)
        addStatusPanel(QString());
    if (config_.maximised)
        setWindowState(Qt::WindowMaximized);
    else
        centre(*this, QSize(860, 520));
    instances()[config_.key] = this;
}

MasterListWindow::~MasterListWindow() = default;

void MasterListWindow::buildToolBar()
{
    for (const ListCommand command : config_.commands) {
        if (command == ListCommand::Spacer) {
            addToolSpacer(QStringLiteral("查找"));
            continue;
        }
        const auto look = std::find_if(std::begin(commandLooks), std::end(commandLooks),
                                       [command](const CommandLook& entry) { return entry.command == command; });
        const bool disabled = std::find(config_.disabledCommands.begin(), config_.disabledCommands.end(),
                                        command) != config_.disabledCommands.end();
        std::function<void()> run;
        if (!disabled)
            run = [this, command] { runCommand(command); };
        QAction* action = addTool(QString::fromLatin1(look->name), QString::fromUtf8(look->caption),
                                  QString::fromUtf8(look->hint), std::move(run));
        action->setVisible(std::find(config_.hiddenCommands.begin(), config_.hiddenCommands.end(), command)
                           == config_.hiddenCommands.end());
        commands_.emplace_back(command, action);
    }
}

void MasterListWindow::runCommand(ListCommand command)
{
    switch (command) {
    case ListCommand::Add: ToolButton1Click(); break;
    case ListCommand::Modify: ToolButton2Click(); break;
    case ListCommand::Delete: ToolButton3Click(); break;
    case ListCommand::Pick: ToolButton7Click(); break;
    case ListCommand::Search: ToolButton6Click(); break;
    case ListCommand::CountEntry: countEntry(); break;
    case ListCommand::Export: ToolButton18Click(); break;
    case ListCommand::Close: close(); break;
    case ListCommand::Print: ToolButton5Click(); break;
    case ListCommand::Spacer: break;
    }
}

void MasterListWindow::buildSearchRow()
{
    if (config_.search.options.empty())
        return;
    QStringList options;
    for (const SearchOption& option : config_.search.options)
        options << option.option;
    addSearchRow(options, config_.initialOption, QStringLiteral("选项"), QStringLiteral("Edit1"),
                 QStringLiteral("选项为空,输入内容模糊查找"));
    ComboBox1 = searchOption();
    Edit1 = searchText();
    if (!config_.modes.isEmpty()) {
        addSearchModes(config_.modes, config_.initialMode);
        modeButtons = searchModeButtons();
    }
    // Choosing an option does not search; it moves the focus to the search box. The input
    // method of Chinese options is the platform's own.
    connect(ComboBox1, &QComboBox::activated, this, lb::ui::guardSlot(this, [this] { Edit1->setFocus(); }));
    connect(Edit1, &QLineEdit::returnPressed, this, lb::ui::guardSlot(this, &MasterListWindow::ToolButton6Click));
    if (config_.searchOnType)
        connect(Edit1, &QLineEdit::textEdited, this, lb::ui::guardSlot(this, &MasterListWindow::ToolButton6Click));
    // Leaving the box is another control of the list taking the focus: a box or a window shown
    // over the list (an editor, a picker) takes only the activation for a while. The grid
    // taking the focus at the end of a search (Enter) is the search's own doing, not a leave.
    if (config_.searchOnLeave)
        (new lb::ui::ControlEntry(this))->onExit(Edit1, [this] {
            if (!searching_)
                ToolButton6Click();
        });
}

lb::db::Query& MasterListWindow::dataSet() const
{
    return *config_.dataSet();
}

MasterListWindow* MasterListWindow::instance(const QString& key)
{
    const auto found = instances().find(key);
    return found == instances().end() ? nullptr : found->second.data();
}

QAction* MasterListWindow::command(ListCommand command) const
{
    for (const auto& [which, action] : commands_) {
        if (which == command)
            return action;
    }
    return nullptr;
}

QAction* MasterListWindow::menuItem(const QString& name) const
{
    return popupMenu ? popupMenu->findChild<QAction*>(name) : nullptr;
}

MasterListWindow* MasterListWindow::openFromMenu(const QString& key, QWidget* mainWindow, const QString& sql)
{
    frmain->PickMode = lb::core::PickCode::None;
    auto* list = new MasterListWindow(MasterCatalog::byKey(key), mainWindow);
    lb::db::Query& rows = list->dataSet();
    if (!sql.isEmpty()) {
        rows.close();
        rows.sql().setText(sql);
    }
    rows.open();
    list->showWork(true);
    return list;
}

MasterListWindow* MasterListWindow::openAsPicker(const QString& key, lb::core::PickCode code, PickTarget& target)
{
    frmain->PickMode = code;
    auto* list = new MasterListWindow(MasterCatalog::byKey(key), target.pickWindow());
    list->link_ = new PickerLink(*list, target);
    list->dataSet().open();
    list->showWork(false);
    return list;
}

PickTarget* MasterListWindow::pickTarget() const
{
    return link_ ? link_->target() : nullptr;
}

void MasterListWindow::showEvent(QShowEvent* event)
{
    lb::ui::WorkWindow::showEvent(event);
    if (event->spontaneous())
        return; // a window the desktop restores keeps its search
    if (config_.onShow)
        config_.onShow(*this);
    if (config_.searchOnShow)
        ToolButton6Click();
    else
        updateCount();
}

void MasterListWindow::keyPressEvent(QKeyEvent* event)
{
    if (picker_ && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    lb::ui::ListFrame::keyPressEvent(event);
}

void MasterListWindow::updateCount()
{
    if (config_.showCount)
        setStatusText(panelCount_, QStringLiteral("记录数:") + QString::number(dataSet().recordCount()));
}

QString MasterListWindow::selectedField() const
{
    lb::db::Field* field = DBGrid1->selectedField();
    return field ? field->fieldName() : QString();
}

void MasterListWindow::ToolButton6Click()
{
    if (!ComboBox1)
        return;
    const QScopedValueRollback<bool> searching(searching_, true);
    lb::db::Query& rows = dataSet();
    if (config_.markColumn) {
        frmain->SortMode = 0;
        // A mark being set is kept before the rows are replaced.
        if (rows.state() == lb::db::DataSetState::Edit)
            rows.post();
    }
    const bool fuzzy = modeButtons.size() > 1 && modeButtons[1]->isChecked();
    const auto plan = ListSearch::plan(config_.search, ComboBox1->currentText(), Edit1->text(), fuzzy, selectedField());
    if (plan) {
        if (plan->boxText) {
            const QSignalBlocker quiet(Edit1);
            Edit1->setText(*plan->boxText);
        }
        ListSearch::run(rows, *plan);
    }
    updateCount();
    if (config_.focusGridAfterSearch)
        DBGrid1->setFocus();
}

void MasterListWindow::ToolButton1Click()
{
    frmain->AddMode = true;
    openEditor(true);
}

void MasterListWindow::ToolButton2Click()
{
    lb::db::Query& rows = dataSet();
    if (!rows.active() || rows.isEmpty())
        return;
    frmain->AddMode = false;
    frmain->EditIntno = rows.fieldByName(QStringLiteral("intno")).asString();
    openEditor(false);
}

void MasterListWindow::openEditor(bool adding)
{
    if (config_.openEditor) {
        config_.openEditor(*this, adding);
    } else if (config_.editor) {
        auto* editor = new MasterEditor(*config_.editor, this);
        editor->showWork(true);
    } else if (config_.valueEditor && !adding) {
        ValueEditor editor(*config_.valueEditor, this);
        lb::ui::Modal::exec(editor);
        raise();
    }
}

void MasterListWindow::countEntry()
{
    lb::db::Query& rows = dataSet();
    if (!rows.active() || rows.isEmpty() || !config_.valueEditor)
        return;
    ValueEditor editor(*config_.valueEditor, this);
    lb::ui::Modal::exec(editor);
    raise();
}

void MasterListWindow::ToolButton18Click()
{
    (new Tfrexport(this))->showWork();
}

void MasterListWindow::ToolButton3Click()
{
    lb::db::Query& rows = dataSet();
    if (!rows.active() || rows.isEmpty())
        return;
    const DeletePolicy& policy = config_.deletion;
    if (policy.products) {
        if (rows.fieldByName(QStringLiteral("sl")).asFloat() != 0
            && !lb::ui::Dialogs::confirm(QStringLiteral("该商品库存量不为0,是否要删除?")))
            return;
        ProductCommands::deleteCurrent(frdm->ADOCon, rows);
        updateCount();
        return;
    }
    if (!policy.balanceQuestion.isEmpty() && rows.fieldByName(QStringLiteral("balance")).asFloat() != 0
        && !lb::ui::Dialogs::confirm(policy.balanceQuestion))
        return;
    if (policy.ownQuestion.isEmpty()) {
        rows.deleteRecord(); // the data module asks "确实要删除当前记录吗?"
        updateCount();
        return;
    }
    if (!lb::ui::Dialogs::confirm(policy.ownQuestion))
        return;
    if (policy.alsoDeleteRowsOf.isEmpty())
        rows.deleteRecord();
    else
        MasterRecordRules::deleteWithRows(frdm->ADOCon, rows, policy.alsoDeleteRowsOf);
    updateCount();
}

void MasterListWindow::ToolButton5Click()
{
    if (config_.print)
        config_.print(*this);
}

void MasterListWindow::ToolButton7Click()
{
    if (config_.pickList == PickList::Product) {
        pickProduct();
        return;
    }
    if (frmain->PickMode == lb::core::PickCode::None)
        return;
    if (config_.pickList && link_)
        link_->apply(*config_.pickList, frmain->PickMode, dataSet(), selectedField());
    close();
}

void MasterListWindow::pickProduct()
{
    lb::db::Query& rows = dataSet();
    if (!rows.active() || rows.isEmpty())
        return; // nothing to pick: the list stays open and nothing is written
    if (frmain->CustProductPick == 7) {
        if (!frdm->Aqcustomer->active() || frdm->Aqcustomer->isEmpty())
            throw lb::Abort(); // no customer to add the product to
        if (!CustomerProductRows::addProduct(frdm->ADOCon, *frdm->Aqcustomer, rows, *frdm->Aqcproduct)) {
            lb::ui::Dialogs::message(QStringLiteral("该商品已存在,不能再添加！ "));
            throw lb::Abort();
        }
        close();
        return;
    }
    const lb::core::PickCode code = frmain->PickMode;
    if (code == lb::core::PickCode::None) {
        ToolButton2Click();
        return;
    }
    if (!PickWriteBack::find(PickList::Product, code))
        return;
    if (link_)
        link_->apply(PickList::Product, code, rows, selectedField());
    close();
}

void MasterListWindow::toggleMark()
{
    ProductCommands::toggleMark(dataSet());
}

void MasterListWindow::requery(const QString& sql)
{
    lb::db::Query& rows = dataSet();
    rows.close();
    rows.sql().setText(sql);
    rows.open();
    rows.first();
    updateCount();
}

void MasterListWindow::reopen()
{
    lb::db::Query& rows = dataSet();
    rows.close();
    rows.open();
    updateCount();
}

bool MasterListWindow::gridKey(QKeyEvent* event)
{
    lb::db::Query& rows = dataSet();
    if (config_.markColumn && event->key() == Qt::Key_Space) {
        lb::db::Field* field = DBGrid1->selectedField();
        if (field && field->dataType() == lb::db::FieldType::Boolean) {
            // A key hook is no slot: a mark the books cannot take is said here, not thrown
            // through Qt's key handling.
            lb::ui::LbApplication::guarded(this, [this] {
                toggleMark();
                return true;
            });
            return true;
        }
    }
    if (config_.removeBlankRows && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && rows.active()
        && !rows.isEmpty() && rows.fieldByName(QStringLiteral("intno")).asString().isEmpty()) {
        rows.deleteRecord();
        return true;
    }
    return false;
}

void MasterListWindow::onClosing()
{
    if (instances()[config_.key] == this)
        instances().erase(config_.key);
    // The product list opened by the customer price table for a sales form leaves that
    // table's code standing; every other list ends its pick here.
    if (!(config_.pickList == PickList::Product && frmain->PickMode == lb::core::PickCode::SalesEntryPriceTable))
        frmain->PickMode = lb::core::PickCode::None;
    if (config_.pickList == PickList::Product && frmain->CustProductPick == 7)
        frmain->CustProductPick = 0;
    if (lb::db::Query* rows = config_.dataSet(); rows && rows->active()) {
        if (rows->state() != lb::db::DataSetState::Browse)
            rows->cancel();
        rows->close();
    }
    if (config_.onClose)
        config_.onClose(*this);
}

} // namespace lb::masterdata
