// The operator log-in window, shown at start and by "更换操作员".
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lb::core {

// A successful log-in sets the main window's OperatorNo, OperatorName, OperatorPassword and
// caption. A wrong password, an unknown number or "取消" ends the whole program.
class TFrpassword : public QDialog {
    Q_OBJECT
public:
    // Fills the number list from opcrl in table order; starts on "999" with the factory password.
    explicit TFrpassword(QWidget* parent = nullptr);

    // Shows a new log-in window modally over `owner`. True when an operator logged in;
    // false when the program is ending (the main window has been told to terminate).
    static bool logIn(QWidget* owner);

    void BokClick();
    void Button2Click();

    QComboBox* ComboBox1 = nullptr; // operator number, typed or chosen
    QLineEdit* Edit1 = nullptr;     // password, masked, at most 6 characters
    QLabel* hintLabel = nullptr;    // "(预设密码" + factory password + ")"
    QPushButton* Bok = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override; // centred on the screen
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void endProgram();
    bool closed_ = false;
};

} // namespace lb::core
