// What the entry forms and the posted views share: a window without a close box, its tool bar,
// its first showing, and the options it reads.
#include "documents/DocumentWindow.h"

#include "core/Tfrdm.h"
#include "platform/ui/GuardSlot.h"

#include <QAction>
#include <QShowEvent>
#include <QToolBar>

DocumentWindow::DocumentWindow(const QString& key, const QString& caption, const QSize& size, QWidget* owner,
                               QWidget* centreOver)
    : lb::ui::WorkWindow(owner)
{
    setObjectName(key);
    setWindowTitle(caption);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint);
    resize(size);
    centreWhenShown(centreOver);
}

QToolBar* DocumentWindow::makeToolBar(const std::vector<CommandLook>& looks)
{
    auto* bar = new QToolBar(this);
    for (const CommandLook& look : looks)
        addCommand(bar, look);
    return bar;
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

QAction* DocumentWindow::action(const QString& name) const
{
    const auto found = actions_.find(name);
    return found == actions_.end() ? nullptr : found->second;
}

DocumentWindow::Options DocumentWindow::readOptions()
{
    lb::db::Table& options = *frdm->ATCONFIG;
    options.open();
    Options read{lb::documents::postingMode(options.fieldByName(QStringLiteral("tallybj")).asString()),
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
    FormShow();
}
