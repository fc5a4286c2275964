// What the entry forms and the posted views share: a window without a close box, its tool bar,
// its first showing, and the options it reads.
#pragma once

#include "documents/DocumentKinds.h"
#include "documents/EntryFormConfig.h"
#include "platform/ui/WorkWindow.h"

#include <QSize>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QToolBar;

class DocumentWindow : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    // A tool or pop-up item by its object name ("ToolButton4", "N8"); nullptr when the window
    // has none.
    QAction* action(const QString& name) const;
    // The first showing: the window loads its document (called once, by the show event).
    virtual void FormShow() = 0;

    // The options a document window reads when it is shown: the posting mode and the note
    // new documents start with.
    struct Options {
        lb::documents::PostingMode mode = lb::documents::PostingMode::Full;
        QString remark1;
    };
    static Options readOptions();

protected:
    // A window named `key` over `owner`, of `size`, centred over `centreOver` when shown; it
    // has no close box, as it is left through its commands.
    DocumentWindow(const QString& key, const QString& caption, const QSize& size, QWidget* owner, QWidget* centreOver);

    // The command a tool or pop-up item runs, by the name its look gives (its `runs`, else its
    // own name); empty for one the window does not have.
    virtual std::function<void()> commandNamed(const QString& name) = 0;
    // A tool bar of `looks`, left to right, and one tool or pop-up item: each runs its command
    // or is shown disabled without one.
    QToolBar* makeToolBar(const std::vector<CommandLook>& looks);
    QAction* addCommand(QWidget* to, const CommandLook& look);
    // Shows or hides every item of `looks` that runs one of `commands`, whatever its name.
    void showCommands(const std::vector<CommandLook>& looks, const QStringList& commands, bool visible);

    void showEvent(QShowEvent* event) override;

private:
    std::map<QString, QAction*> actions_;
    bool shown_ = false;
};
