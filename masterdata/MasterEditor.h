// The editor of one party-like record (customer, supplier, account, employee, warehouse).
#pragma once

#include "masterdata/MasterEditorConfig.h"
#include "platform/ui/WorkWindow.h"

#include <QPointer>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace lb::db {
class Query;
}

// Add mode ("T" in frmain->AddMode) proposes the next record number as the code; modify mode
// ("F") shows the current row of the list's dataset read-only until "修改" is ticked. Saving
// checks the code and the name (MasterRecordRules), writes, says "数据保存完毕！ " and leaves
// the editor in modify mode on the saved record. Closing enables the list again.
class MasterEditor : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    MasterEditor(MasterEditorConfig config, QWidget* list);

    // The box of that object name ("Edit2"); nullptr when there is none.
    QLineEdit* box(const QString& name) const;
    QCheckBox* CheckBox1 = nullptr;  // 修改
    QCheckBox* CheckBox2 = nullptr;  // 新增时复制上一记录
    QPushButton* Button1 = nullptr;  // 保存
    QPushButton* Button2 = nullptr;  // 新增
    QPushButton* Button5 = nullptr;  // 返回

    // The commands, by the names the windows of this family give them.
    void FormShow();
    void CheckBox1Click();
    void Button1Click();   // save
    void Button2Click();   // new
    void BitBtn1Click();   // first
    void BitBtn2Click();   // last
    void BitBtn3Click();   // prior
    void BitBtn4Click();   // next

protected:
    void showEvent(QShowEvent* event) override;

private:
    lb::db::Query& dataSet() const;
    void navigate(void (*move)(lb::db::Query&));
    void clearBoxes(bool keepTemplate);
    MasterRecordRules rules() const;

    MasterEditorConfig config_;
    std::vector<QLineEdit*> boxes_;
};
