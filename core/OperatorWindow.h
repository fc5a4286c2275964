// What the windows "新增操作员" and "修改操作员密码" share: their form, keys, password check and close.
#pragma once

#include <QList>
#include <QWidget>

class QFormLayout;
class QLineEdit;
class QPushButton;

namespace lb::core {

// A top-level window without a Qt parent (its list is disabled while it shows): edits in a
// form, then 密码 and 重输密码 (digits only, at most 6), then "保存" and "取消". Enter moves
// along the edits to "保存"; up and down move between the edits. Closing it by any path
// enables the list again and drops an unposted change of ATopcrl.
class OperatorWindow : public QWidget {
    Q_OBJECT
public:
    virtual void Button1Click() = 0; // "保存"

    QLineEdit* Edit1 = nullptr; // 密码, digits
    QLineEdit* Edit2 = nullptr; // 重输密码, digits
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr; // "取消"

protected:
    OperatorWindow(QWidget* list, const QString& caption);

    // Adds an edit above the password edits; the subclass's constructor adds them in order,
    // then calls finish().
    QLineEdit* addEdit(const QString& label, int maxLength, bool digitsOnly);
    void finish();
    // Shows the window centred over the main window and kept above its list.
    void showAboveList();

    // The trimmed password when both edits hold the same text and it is not empty; otherwise
    // shows "密码输入不合法!", empties and focuses the password edit and returns the empty text.
    QString checkedPassword();

    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* list_;
    QFormLayout* form_;
    QList<QWidget*> edits_;
};

} // namespace lb::core
