// The window "新增操作员": a new operator with number, name and password.
#pragma once

#include "core/OperatorWindow.h"

namespace lb::core {

class TFropadd : public OperatorWindow {
    Q_OBJECT
public:
    explicit TFropadd(QWidget* list);

    // Empties the four edits, shows the window and puts the focus on 编号.
    void showAdd();
    void Button1Click() override; // "保存"

    QLineEdit* Edit3 = nullptr; // 编号, digits
    QLineEdit* Edit4 = nullptr; // 姓名
};

} // namespace lb::core
