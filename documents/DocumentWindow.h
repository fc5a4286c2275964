// What the entry forms and the posted views share: a window without a close box, left through
// 退回 whatever closes it, its tool bar, header boxes and line grid, its first showing, and the
// options it reads.
#pragma once

#include "documents/DocumentKinds.h"
#include "documents/DocumentWindowConfig.h"
#include "platform/ui/WorkWindow.h"

#include <QString>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QToolBar;
class QVBoxLayout;

namespace lb::ui {
class DataGrid;
}

namespace lb::documents {

class HeaderPanel;

class DocumentWindow : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    const DocumentKind& kind() const { return kind_; }
    // The number of the document shown.
    const QString& documentNo() const { return intno_; }

    // A header box by its name; nullptr when the window has none.
    virtual QLineEdit* box(const QString& name) const;
    QPlainTextEdit* Memo1 = nullptr;        // the note, where the header has one
    lb::ui::DataGrid* DBGrid1 = nullptr;    // the lines, over AQoutdetail
    QMenu* popupMenu = nullptr;             // the line grid's pop-up menu

    // A tool or pop-up item by its object name ("ToolButton4", "N8"); nullptr when the window
    // has none.
    QAction* action(const QString& name) const;
    // The first showing: the window loads its document (called once, by the show event).
    virtual void FormShow() = 0;

    // The options a document window reads when it is shown: the posting mode and the note
    // new documents start with.
    struct Options {
        PostingMode mode = PostingMode::Full;
        QString remark1;
    };
    static Options readOptions();

protected:
    // A window of `config` (named by its key) over `owner`, centred over `centreOver` when
    // shown; it has no close box, as it is left through its commands.
    DocumentWindow(const DocumentWindowConfig& config, QWidget* owner, QWidget* centreOver);

    // The command a tool or pop-up item runs, by the name its look gives (its `runs`, else its
    // own name); empty for one the window does not have.
    virtual std::function<void()> commandNamed(const QString& name) = 0;
    // The window's way out is its 退回 (ToolButton7): every close runs it, and it ends the
    // window, or refuses and keeps it open; the commands that end the window leave() it.
    std::function<void()> wayOut() override;
    // The window's layout from the top: the tool bar of `config` and its header boxes (Edit2
    // with the party picker's "…" button where `partyButton`); the window adds what follows.
    // Called by the constructor of the derived window, whose commands the items run.
    QVBoxLayout* buildHeader(const DocumentWindowConfig& config, bool partyButton);
    // Next in `layout`, taking the room left: the line grid with the columns of `config` and
    // its pop-up menu. The first showing titles its specification column by the barcode option.
    void buildLines(const DocumentWindowConfig& config, QVBoxLayout* layout);
    // Shows or hides every item of `looks` that runs one of `commands`, whatever its name.
    void showCommands(const std::vector<CommandLook>& looks, const QStringList& commands, bool visible);

    void showEvent(QShowEvent* event) override;

    const DocumentKind& kind_;
    QString intno_;
    HeaderPanel* panel_ = nullptr;

private:
    // A tool or pop-up item: it runs its command, or is shown disabled without one.
    QAction* addCommand(QWidget* to, const CommandLook& look);

    std::map<QString, QAction*> actions_;
    int specColumn_ = -1;
    bool shown_ = false;
};

} // namespace lb::documents
