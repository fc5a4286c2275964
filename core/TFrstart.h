// The quick-start window: the short guide shown at start and from the tool bar.
#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace lb::core {

// Modal. Its check box stores the option startbj at each click: ticked means the window is
// not shown at the next start.
class TFrstart : public QDialog {
    Q_OBJECT
public:
    explicit TFrstart(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;  // the guide, read-only
    QCheckBox* CheckBox1 = nullptr;   // "以后启动本系统时不要显示“如何开始”"
    QPushButton* Button1 = nullptr;   // "退出"

    // The guide's text.
    static QString guide();

    void CheckBox1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool shownOnce_ = false;
};

} // namespace lb::core
