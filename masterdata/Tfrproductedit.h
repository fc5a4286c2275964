// The product editor: adds a product or changes the current row of Aqproduct.
#pragma once

#include "platform/ui/WorkWindow.h"

#include <QString>
#include <map>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lb::db {
class Query;
}

// Opened by the product list (owner: the list, which it disables) or by the purchase form's
// new-product command (PickMode 98). AddMode "T" adds, "F" shows the current product read-only
// until "修改" is ticked. The pinyin initials follow the name; saving refuses an empty or
// duplicate code, checks every number before it writes, stores the volume in sptj, and says
// "数据保存完毕！ ".
class Tfrproductedit : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    explicit Tfrproductedit(QWidget* owner);

    // The purchase form's new-product command: Aqproduct on all products, AddMode "T",
    // PickMode 98, the form disabled until the editor closes.
    static Tfrproductedit* openForPurchase(QWidget* purchaseForm);

    // The edit boxes by object name ("Edit7" code ... "Edit6" remark); nullptr for another name.
    QLineEdit* box(const QString& name) const;
    QComboBox* ComboBox3 = nullptr; // category (name)
    QComboBox* ComboBox1 = nullptr; // unit (spbs)
    QLabel* specLabel = nullptr;
    QCheckBox* CheckBox1 = nullptr; // 修改
    QCheckBox* CheckBox2 = nullptr; // 新增时复制上一记录
    QPushButton* Button1 = nullptr; // 保存
    QPushButton* Button2 = nullptr; // 新增
    QPushButton* Button5 = nullptr; // 返回

    void FormShow();
    void CheckBox1Click();
    void Button1Click();
    void Button2Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();

protected:
    void showEvent(QShowEvent* event) override;
    void onClosing() override;

private:
    void resetFields(bool keepUnitAndCategory);
    void navigate(void (*move)(lb::db::Query&));
    static int priceDecimals();

    std::map<QString, QLineEdit*> boxes_;
    std::map<QString, QString> carried_; // l, w, h, spds, spccxh, spnh as loaded
};
