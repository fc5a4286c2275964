// The window "新增操作员": a new operator with number, name and password.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

// A top-level window without a Qt parent (its list is disabled while it shows); closing it by
// any path enables the list again and drops an unposted change of ATopcrl.
class TFropadd : public QWidget {
    Q_OBJECT
public:
    explicit TFropadd(QWidget* list);

    // Empties the four edits, shows the window and puts the focus on 编号.
    void showAdd();
    void Button1Click(); // "保存"

    QLineEdit* Edit3 = nullptr; // 编号, digits
    QLineEdit* Edit4 = nullptr; // 姓名
    QLineEdit* Edit1 = nullptr; // 密码, digits
    QLineEdit* Edit2 = nullptr; // 重输密码, digits
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr; // "取消"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* list_;
};
