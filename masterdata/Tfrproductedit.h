// The product editor: adds a product or changes the current row of Aqproduct.
#pragma once

#include "masterdata/RecordEditor.h"

#include <QString>
#include <map>

class QComboBox;
class QLabel;
class QLineEdit;

namespace lb::masterdata {

// Opened by the product list (owner: the list, which it disables) or by the purchase form's
// new-product command (PickMode PurchaseEntryNewProduct). With AddMode it adds, else it shows
// the current product read-only until "修改" is ticked. The pinyin initials follow the name;
// saving refuses an empty or duplicate code, checks every number before it writes, stores the
// volume in sptj, and says "数据保存完毕！ ".
class Tfrproductedit : public RecordEditor {
    Q_OBJECT
public:
    explicit Tfrproductedit(QWidget* owner);

    // The purchase form's new-product command: Aqproduct on all products, AddMode set,
    // PickMode PurchaseEntryNewProduct, the form disabled until the editor closes.
    static Tfrproductedit* openForPurchase(QWidget* purchaseForm);

    // The edit boxes by object name ("Edit7" code ... "Edit6" remark); nullptr for another name.
    QLineEdit* box(const QString& name) const;
    QComboBox* ComboBox3 = nullptr; // category (name)
    QComboBox* ComboBox1 = nullptr; // unit (spbs)
    QLabel* specLabel = nullptr;
    QLabel* statusText = nullptr;   // the status bar's hint

    void FormShow() override;
    void CheckBox1Click() override;
    void Button1Click() override;
    void Button2Click() override;

protected:
    lb::db::Query& records() const override;
    void onClosing() override;
    // The edit box with the focus is drawn aqua; it takes the window's colour back on leaving.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void resetFields(bool keepUnitAndCategory);
    static int priceDecimals();

    std::map<QString, QLineEdit*> boxes_;
    std::map<QString, QString> carried_; // l, w, h, spds, spccxh, spnh as loaded
};

} // namespace lb::masterdata
