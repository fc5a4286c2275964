// What the entry forms and the posted views share: a window without a close box, left through
// 退回 whatever closes it, its tool bar, header boxes and line grid, its first showing, and the
// options it reads.
#include "documents/DocumentWindow.h"

#include "core/Tfrdm.h"
#include "documents/HeaderPanel.h"
#include "masterdata/MasterCatalog.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/GuardSlot.h"

#include <QAction>
#include <QMenu>
#include <QShowEvent>
#include <QToolBar>
#include <QVBoxLayout>

using lb::masterdata::MasterCatalog;

namespace lb::documents {

DocumentWindow::DocumentWindow(const DocumentWindowConfig& config, QWidget* owner, QWidget* centreOver)
    : lb::ui::WorkWindow(owner), kind_(DocumentKinds::of(config.kind))
{
    setObjectName(config.key);
    setWindowTitle(config.caption);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint);
    resize(config.size);
    centreWhenShown(centreOver);
}

QVBoxLayout* DocumentWindow::buildHeader(const DocumentWindowConfig& config, bool partyButton)
{
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QToolBar(this);
    for (const CommandLook& look : config.toolButtons) {
        // The button shows the caption with its access key ("过帐&O": O underlined, Alt+O
        // clicks it while the button is shown and enabled); it takes the caption from the
        // icon text, which the action would otherwise make without the "&".
        addCommand(bar, look)->setIconText(look.caption);
    }
    layout->addWidget(bar);
    panel_ = new HeaderPanel(config.boxes, config.boxesPerRow, partyButton, this);
    layout->addWidget(panel_);
    Memo1 = panel_->memo();
    return layout;
}

void DocumentWindow::buildLines(const DocumentWindowConfig& config, QVBoxLayout* layout)
{
    DBGrid1 = new lb::ui::DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns(config.columns);
    DBGrid1->setDataSet(frdm->AQoutdetail);
    layout->addWidget(DBGrid1, 1);
    specColumn_ = config.specColumn;
    popupMenu = new QMenu(this);
    for (const CommandLook& look : config.popupItems)
        addCommand(popupMenu, look);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, lb::ui::guardSlot(this, [this](const QPoint& at) {
                popupMenu->popup(DBGrid1->viewport()->mapToGlobal(at));
            }));
}

QAction* DocumentWindow::addCommand(QWidget* to, const CommandLook& look)
{
    auto* action = new QAction(look.caption, to);
    to->addAction(action);
    action->setObjectName(look.name);
    action->setToolTip(look.hint);
    std::function<void()> command = commandNamed(look.runs.isEmpty() ? look.name : look.runs);
    action->setEnabled(bool(command));
    if (command)
        connect(action, &QAction::triggered, this, lb::ui::guardSlot(this, [command] { command(); }));
    actions_.emplace(look.name, action);
    return action;
}

void DocumentWindow::showCommands(const std::vector<CommandLook>& looks, const QStringList& commands, bool visible)
{
    for (const CommandLook& look : looks) {
        if (commands.contains(look.runs.isEmpty() ? look.name : look.runs))
            action(look.name)->setVisible(visible);
    }
}

std::function<void()> DocumentWindow::wayOut()
{
    return commandNamed(QStringLiteral("ToolButton7"));
}

QAction* DocumentWindow::action(const QString& name) const
{
    const auto found = actions_.find(name);
    return found == actions_.end() ? nullptr : found->second;
}

QLineEdit* DocumentWindow::box(const QString& name) const
{
    return panel_->box(name);
}

DocumentWindow::Options DocumentWindow::readOptions()
{
    lb::db::Table& options = *frdm->ATCONFIG;
    options.open();
    Options read{postingMode(options.fieldByName(QStringLiteral("tallybj")).asString()),
                 options.fieldByName(QStringLiteral("remark1")).asString()};
    options.close();
    return read;
}

void DocumentWindow::showEvent(QShowEvent* event)
{
    lb::ui::WorkWindow::showEvent(event);
    if (shown_ || event->spontaneous())
        return;
    shown_ = true;
    if (specColumn_ >= 0)
        DBGrid1->setColumnTitle(specColumn_, MasterCatalog::specTitle());
    FormShow();
}

} // namespace lb::documents
