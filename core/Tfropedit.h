// The window "修改操作员密码": the logged-in operator's own name and password.
#pragma once

#include "core/OperatorWindow.h"

namespace lb::core {

// Works on the current row of ATopcrl.
class Tfropedit : public OperatorWindow {
    Q_OBJECT
public:
    explicit Tfropedit(QWidget* list);

    // Empties the password edits, shows the current row's name, focuses 密码, shows the window.
    void showEdit();
    // Saves a changed password or name; the main window's OperatorName and OperatorPassword
    // follow the saved row.
    void Button1Click() override; // "保存"

    QLineEdit* Edit3 = nullptr; // 操作员 (name)
};

} // namespace lb::core
