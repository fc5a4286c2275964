// The editor of one party-like record (customer, supplier, account, employee, warehouse).
#pragma once

#include "masterdata/MasterEditorConfig.h"
#include "masterdata/RecordEditor.h"

#include <vector>

class QLineEdit;

namespace lb::masterdata {

// Add mode (frmain->AddMode set) proposes the next record number as the code; modify mode
// shows the current row of the list's dataset read-only until "修改" is ticked. Saving
// checks the code and the name (MasterRecordRules), writes, says "数据保存完毕！ " and leaves
// the editor in modify mode on the saved record. Closing enables the list again.
class MasterEditor : public RecordEditor {
    Q_OBJECT
public:
    MasterEditor(MasterEditorConfig config, QWidget* list);

    // The box of that object name ("Edit2"); nullptr when there is none.
    QLineEdit* box(const QString& name) const;

    void FormShow() override;
    void CheckBox1Click() override;
    void Button1Click() override;
    void Button2Click() override;

protected:
    lb::db::Query& records() const override;

private:
    void clearBoxes(bool keepTemplate);
    MasterRecordRules rules() const;

    MasterEditorConfig config_;
    std::vector<QLineEdit*> boxes_;
};

} // namespace lb::masterdata
