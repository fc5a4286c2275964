// The operator list "操作员管理": add, delete, and change the logged-in operator's password.
#pragma once

#include "platform/ui/WorkWindow.h"

#include <QPointer>
#include <memory>

namespace lb::ui {
class DataGrid;
}
class QToolButton;

namespace lb::core {

class TFropadd;
class Tfropedit;

// Opened from the main menu over ATopcrl (opened by the constructor); owns its two companion
// windows, which it shows while it is disabled. Closing it closes ATopcrl.
class Tfropcrl : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    explicit Tfropcrl(QWidget* opener = nullptr);
    ~Tfropcrl() override;

    void ToolButton1Click(); // "新增"
    void ToolButton2Click(); // "删除"
    void ToolButton3Click(); // "修改密码"
    void ToolButton7Click(); // "退回"

    // Moves ATopcrl, and with it the grid, to the given 0-based row.
    void selectRow(int row);

    lb::ui::DataGrid* DBGrid1 = nullptr; // bh and xm of ATopcrl, read-only
    TFropadd* addWindow() const { return add_.get(); }
    Tfropedit* editWindow() const { return edit_.get(); }

protected:
    void onClosing() override;

private:
    std::unique_ptr<TFropadd> add_;
    std::unique_ptr<Tfropedit> edit_;
};

} // namespace lb::core

extern QPointer<lb::core::Tfropcrl> fropcrl;
