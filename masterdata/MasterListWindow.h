// The record list window: grid, search row, add/modify/delete, pick and close, set up by a config.
#pragma once

#include "core/PickCode.h"
#include "masterdata/MasterListConfig.h"
#include "platform/ui/ListFrame.h"

#include <QPointer>
#include <vector>

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QRadioButton;

namespace lb::ui {
class DataGrid;
}

namespace lb::masterdata {

class PickerLink;

// One window class serves every list of master data and stock; its configuration says which
// commands, columns, searches, deletion questions and pick write-back it has. Opened from the
// menu it disables the main window; opened as a picker it remembers its opener (a PickTarget)
// and the opener's current document line, and closes when the opener closes. A picker also
// picks the row with Enter, as a double-click does, and Esc leaves it as "退出" does. Tab
// reaches "选中" and "退出" in every list.
class MasterListWindow : public lb::ui::ListFrame {
    Q_OBJECT
public:
    MasterListWindow(MasterListConfig config, QWidget* owner);
    ~MasterListWindow() override;

    // The open list of a window class, or nullptr (one window of each class takes part in a pick).
    static MasterListWindow* instance(const QString& key);

    // Menu command: PickMode := None, the main window disabled, the list created, its dataset
    // opened with the SQL it holds (or `sql` when given), the list shown.
    static MasterListWindow* openFromMenu(const QString& key, QWidget* mainWindow, const QString& sql = QString());
    // Opener command: PickMode := code, the list created over the opener, its dataset opened,
    // the list shown modeless while the opener stays enabled.
    static MasterListWindow* openAsPicker(const QString& key, lb::core::PickCode code, PickTarget& target);

    const MasterListConfig& config() const { return config_; }
    lb::db::Query& dataSet() const;
    lb::ui::DataGrid* DBGrid1 = nullptr;
    QComboBox* ComboBox1 = nullptr;          // search option; nullptr without a search row
    QLineEdit* Edit1 = nullptr;              // search text
    std::vector<QRadioButton*> modeButtons;  // 快速/模糊 or 精确/模糊
    QMenu* popupMenu = nullptr;
    QAction* command(ListCommand command) const;
    QAction* menuItem(const QString& name) const;

    // The commands, by the names the windows of this family give them.
    void ToolButton1Click(); // add
    void ToolButton2Click(); // modify
    void ToolButton3Click(); // delete
    void ToolButton5Click(); // print
    void ToolButton6Click(); // search
    void ToolButton7Click(); // pick
    void countEntry();       // 盘点录入
    void ToolButton18Click(); // export: the export window over this list

    // The field of the grid's selected column; empty when none.
    QString selectedField() const;
    // Toggles the mark of the current row (mark column lists).
    void toggleMark();
    // Reopens the dataset with its current SQL (after a statement changed the rows).
    void reopen();
    // Replaces the dataset's SQL and opens it on its first row.
    void requery(const QString& sql);
    // The window that opened this list as a picker, or nullptr.
    PickTarget* pickTarget() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void onClosing() override;

private:
    void buildToolBar();
    void runCommand(ListCommand command);
    void buildSearchRow();
    void pickProduct();
    void openEditor(bool adding);
    void updateCount();
    bool gridKey(QKeyEvent* event);

    MasterListConfig config_;
    // Opened by a window that picks from it: its opener sets PickMode before making the list,
    // the menu opens its lists with PickMode None.
    const bool picker_;
    std::vector<std::pair<ListCommand, QAction*>> commands_;
    int panelCount_ = 0;
    bool searching_ = false; // a search runs: the focus it moves out of the search box is no leave
    PickerLink* link_ = nullptr; // set when opened as a picker; a child of this window
};

} // namespace lb::masterdata
