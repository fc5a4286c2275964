// The window "修改操作员密码": the logged-in operator's own name and password.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

// A top-level window without a Qt parent, over the current row of ATopcrl; closing it by any
// path enables the list again and drops an unposted change of ATopcrl.
class Tfropedit : public QWidget {
    Q_OBJECT
public:
    explicit Tfropedit(QWidget* list);

    // Empties the password edits, shows the current row's name, focuses 密码, shows the window.
    void showEdit();
    // Saves a changed password or name; the main window's OperatorName and OperatorPassword
    // follow the saved row.
    void Button1Click(); // "保存"

    QLineEdit* Edit3 = nullptr; // 操作员 (name)
    QLineEdit* Edit1 = nullptr; // 密码, digits
    QLineEdit* Edit2 = nullptr; // 重输密码, digits
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr; // "取消"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* list_;
};
