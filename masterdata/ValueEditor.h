// The small modal editor of one number of the current row: opening balances and the stock count.
#pragma once

#include "masterdata/MasterEditorConfig.h"

#include <QDialog>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lb::masterdata {

// Shows the current row of the dataset in four boxes, the last one the number edited.
// "保存" checks the code (when configured) and the number before it edits the row, so a
// refusal leaves the row untouched; then writes and moves the focus to "下一条".
class ValueEditor : public QDialog {
    Q_OBJECT
public:
    ValueEditor(ValueEditorConfig config, QWidget* parent);

    QLineEdit* box(int index) const { return boxes_.at(std::size_t(index)); }
    QLabel* label(int index) const { return labels_.at(std::size_t(index)); }
    QPushButton* saveButton = nullptr;   // 保存
    QPushButton* cancelButton = nullptr; // 取消
    QPushButton* priorButton = nullptr;  // 上一条
    QPushButton* nextButton = nullptr;   // 下一条

    void fill();
    void save();
    void prior();
    void next();

protected:
    void showEvent(QShowEvent* event) override; // centred over the main window

private:
    ValueEditorConfig config_;
    std::vector<QLineEdit*> boxes_;
    std::vector<QLabel*> labels_;
};

} // namespace lb::masterdata
