// The administrator's data tool "成批数据转换、删除、合并": free SQL, lists emptied, batch move.
#pragma once

#include "core/DataTool.h"
#include "platform/ui/WorkWindow.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace lb::ui {
class DataGrid;
}

// Opened by the main menu's hidden "数据处理" after the access code and the administrator
// check, with the main window disabled. Statements go through the data module's AQcom.
class Tfrdbcopy : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    explicit Tfrdbcopy(QWidget* owner = nullptr);

    void SqlExeClick();     // "SQlexe": runs the memo's statement
    void QueryClick();      // "查表": shows the memo's query in the grid
    void PackageClick();    // "package": empties the category and unit lists
    void MergeClick();      // "合并": the batch move into the destination table
    void ProcessClick();    // "处理": the destination's record numbers filled to ten digits

    QPlainTextEdit* Memo1 = nullptr;
    lb::ui::DataGrid* DBGrid1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* sqlButton = nullptr;
    QPushButton* queryButton = nullptr;
    QPushButton* packageButton = nullptr;
    QPushButton* mergeButton = nullptr;
    QPushButton* processButton = nullptr;

protected:
    void onClosing() override;

private:
    // Shows why a text was not run; true when it may run.
    static bool accepted(lb::core::DataTool::Refusal refusal);
};
