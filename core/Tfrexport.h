// The export window "导出Excel": choose product columns, write the marked products to a workbook.
#pragma once

#include "platform/ui/WorkWindow.h"

class QCheckBox;
class QPushButton;

namespace lb::ui {
class DataGrid;
}

namespace lb::core {

// Opened by the product list's "导出" with the list as its opener, which it disables while
// open. Each showing rebuilds the column choices (the work table export through AQexport) for
// the marked products; "导出" writes them with the chosen columns into a workbook file.
class Tfrexport : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    explicit Tfrexport(QWidget* owner = nullptr);

    // Flips the choice of the grid's current row.
    void toggleChoice();
    // "全选": every column chosen, or none.
    void CheckBox1Click();
    // "导出": asks for the file, then writes the workbook and opens it.
    void Button2Click();

    lb::ui::DataGrid* DBGrid1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;    // "全选"
    QPushButton* Button2 = nullptr;    // "导出"
    QPushButton* Button1 = nullptr;    // "关闭"

protected:
    void showEvent(QShowEvent* event) override;
    void onClosing() override;

private:
    bool gridKey(QKeyEvent* event);
    bool shownOnce_ = false;
};

} // namespace lb::core
