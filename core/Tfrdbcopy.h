// The administrator's data tool "成批数据转换、删除、合并": free SQL, lists emptied, batch move.
#pragma once

#include "core/DataTool.h"
#include "platform/ui/WorkWindow.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTableWidget;

namespace lb::ui {
class DataGrid;
}

namespace lb::core {

// Opened by the main menu's hidden "数据处理" after the access code and the administrator
// check, with the main window disabled. Statements go through the data module's AQcom.
class Tfrdbcopy : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    explicit Tfrdbcopy(QWidget* owner = nullptr);

    void SqlExeClick();     // "SQlexe": runs the memo's statement
    void QueryClick();      // "查表": shows the memo's query in the grid
    void PackageClick();    // "package": empties the category and unit lists
    void MergeClick();      // "合并": the batch move into the destination table, then shown
    void ProcessClick();    // "处理": the destination's record numbers filled to ten digits, then shown
    // The destination table's fields and records in the grid (empty when there is no table).
    // lb::FileOpenError for a table that cannot be read.
    void showDestination();

    QPlainTextEdit* Memo1 = nullptr;
    QStackedWidget* grids = nullptr;          // the grid: the destination table or the query
    QTableWidget* destinationGrid = nullptr;  // shown when the window opens
    lb::ui::DataGrid* DBGrid1 = nullptr;      // the query of "查表"
    QLabel* Label1 = nullptr;
    QPushButton* sqlButton = nullptr;
    QPushButton* queryButton = nullptr;
    QPushButton* packageButton = nullptr;
    QPushButton* mergeButton = nullptr;
    QPushButton* processButton = nullptr;

protected:
    void onClosing() override;
    void showEvent(QShowEvent* event) override; // the first showing shows the destination table

private:
    bool shownOnce_ = false;
    // Shows why a text was not run; true when it may run.
    static bool accepted(lb::core::DataTool::Refusal refusal);
};

} // namespace lb::core
