// The entry form of an open document: header boxes, line grid, tool bar, set up by a config.
#pragma once

#include "documents/DocumentWindow.h"
#include "documents/EntryFormConfig.h"
#include "masterdata/PickTarget.h"

#include <QPointer>
#include <functional>
#include <map>

class QLabel;
class QPushButton;
class QToolButton;

namespace lb::db {
class Query;
}

namespace lb::ui {
class ControlEntry;
}

namespace lb::documents {

struct Outcome;
struct RecalcResult;

// One window class serves the entry forms of the kinds; its configuration says which boxes,
// columns and keys it has. It works on the shared datasets of the data module: AQoutlist
// pointed at its one document (so that it never writes into another), AQoutdetail at that
// document's lines. NewBillFlag set makes a new document when the form is shown; otherwise it
// shows the document CurrentBillNo names. It is left through 退回 (which any other close runs:
// the cell being edited is taken, the document recalculated and stored) or ends itself after
// posting, booking and voiding; closing removes the blank lines of the kind and points
// AQoutlist back at the whole header table.
class DocumentEntryForm : public DocumentWindow, public lb::masterdata::PickTarget {
    Q_OBJECT
public:
    DocumentEntryForm(EntryFormConfig config, QWidget* owner);
    ~DocumentEntryForm() override;

    const EntryFormConfig& config() const { return config_; }

    QLineEdit* box(const QString& name) const override; // Edit1 to Edit17
    QLineEdit* Edit12 = nullptr;              // code or barcode entry
    QLineEdit* Edit17 = nullptr;              // history number
    QToolButton* SpeedButton1 = nullptr;      // the party picker
    QPushButton* Button1 = nullptr;           // 新增商品, where the form has it
    QString statusText(int panel) const;

    // The commands, by the names the windows of this family give them.
    using Command = void (DocumentEntryForm::*)();
    void FormShow() override;
    void Edit2Exit();         // party look-up
    void ToolButton1Click();  // 新增行
    void ToolButton2Click();  // 删除行
    void ToolButton3Click();  // 刷新
    void ToolButton4Click();  // 过帐
    void ToolButton8Click();  // 记帐
    void postByMode();        // the pop-up's 过帐: 过帐 or 记帐 as the tool bar offers
    void Button1Click();      // 新增商品
    void ToolButton5Click();  // 打印
    void N7Click();           // 打印设置
    void ToolButton6Click();  // 作废
    void ToolButton9Click();  // 转抄
    void ToolButton7Click();  // 退回
    void Edit12Enter();       // entering the code box
    void codeEntry();         // Enter in the code box
    void historyCopy();       // Enter in the history box
    void DBGrid1DblClick();   // product picker
    void N8Click();           // customer price picker
    void pickParty();         // double-click on the party box, the "…" button
    void pickAccount();       // double-click on Edit10
    void pickEmployee();      // double-click on Edit16
    void pickDate();          // double-click on Edit6
    void gridColumnExit(int column);
    void gridEnter();

    // PickTarget: the boxes and the shared datasets, the header put on this document first.
    QWidget* pickWindow() override { return this; }
    QLineEdit* pickBox(lb::masterdata::PickBox box) override;
    lb::db::DataSet* pickHeader() override;
    lb::db::DataSet* pickLines() override;

protected:
    std::function<void()> commandNamed(const QString& name) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void onClosing() override;

private:
    class CursorAfterPosting;

    // Runs one of the form's commands, whatever starts it (a button, its access key, a pop-up
    // item, a key in a box, a double-click, a close): the clerk's typing is taken first, and a
    // command whose typing cannot be taken does not run.
    void run(Command command);
    // run(command) as a guarded slot, to connect to a signal.
    std::function<void()> slot(Command command);

    // The code and history boxes (with 新增商品 where the form has it) below the header.
    void buildCodeRow(QVBoxLayout* layout);
    void wireGrid();
    void wireKeys();
    lb::db::Query& header() const;
    lb::db::Query& lines() const;
    // Points the shared datasets at document `intno`.
    void showDocument(const QString& intno);
    void showTotals();
    QString text(const QString& boxName) const;
    QString memoText() const;
    // The clerk's typing taken (WorkWindow::takeTyping: a cell being edited as leaving it takes
    // it, the focus kept in the grid, and a line still holding what could not be stored before
    // stored). False when the grid refused the cell (it said so) or the line could not be
    // stored, said with `failure` and its cause; what was typed then stays on screen.
    bool takeTypingOrSay(const QString& failure);
    // 刷新 with the boxes as they stand, the clerk's typing taken first; typing not taken, and a
    // refused recalculation (its message shown), stop the command that ran it (lb::Abort).
    void recalculate();
    // recalculate() in two steps, for a command that stores more in the same transaction and
    // tells the user only once that has ended: the stored recalculation (nothing shown), then
    // what it shows. The typing must have been taken before the transaction began.
    RecalcResult storeRecalculation();
    // With `posting`, the outcome of the posting that stored the recalculation with it, whose
    // refusal the recalculation's notices do not repeat.
    void showRecalculation(const RecalcResult& result);
    void showRecalculation(const RecalcResult& result, const Outcome& posting);
    // The entry form's guard: any failure, and a refusal, end with the general message.
    void guarded(const std::function<void()>& command);
    // A command that failed with `error`: logged with `message`, which the user is shown with
    // the error's cause.
    void failed(const std::exception& error, const QString& message);
    // Shows a refusal and stops the command (the guard then adds its message).
    [[noreturn]] void refuse(const QString& message);
    void removeBlankCurrentLine();
    // Shows `message` (the carry-over text when empty) when there is no line or the current one
    // is the carry-over line.
    bool refuseOnCarryOverLine(const QString& message = QString());
    // Reads the lines anew and after a failure the header too, the current line kept where it
    // was (a retry then finds the line it worked on, a blank one to remove among them).
    void rereadAfterFailure();
    void rereadLines();

    EntryFormConfig config_;
    lb::ui::ControlEntry* entry_ = nullptr; // entering the code box, leaving the party box
    std::vector<QLabel*> panels_;
    bool booking_ = false; // the posting mode offers 记帐 instead of 过帐
};

} // namespace lb::documents
