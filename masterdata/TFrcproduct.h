// The customer-product price table: customers on the left, the chosen customer's prices on the right.
#pragma once

#include "masterdata/ListSearch.h"
#include "masterdata/PickTarget.h"
#include "platform/ui/WorkWindow.h"

#include <QPointer>

class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace lb::ui {
class DataGrid;
}

namespace lb::masterdata {

class MasterListWindow;
class PickerLink;

// From the menu it maintains the price lists (rows are added through the product list,
// opened over it with PickMode CustomerProductTable and CustProductPick 7); from the sales form
// (PickMode SalesEntryPriceTable) a double-click on a price row copies product and price into
// the form's line and closes.
// Each command, and each close, first takes the price being typed into its row and stores it
// (WorkWindow::command, WorkWindow::takeTyping); a price that cannot be stored stays on screen,
// the command not run, the window open. Closing closes the product list opened for it first.
class TFrcproduct : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    explicit TFrcproduct(QWidget* owner);

    // The sales form's price command: PickMode SalesEntryPriceTable, the form disabled, the
    // table on the customer whose code the form's Edit2 holds.
    static TFrcproduct* openAsPicker(PickTarget& salesForm);

    lb::ui::DataGrid* DBGrid1 = nullptr; // customers
    lb::ui::DataGrid* DBGrid2 = nullptr; // prices
    QComboBox* ComboBox1 = nullptr;      // product option
    QLineEdit* Edit1 = nullptr;          // product text
    std::vector<QRadioButton*> modeButtons; // 快速, 模糊
    QComboBox* ComboBox2 = nullptr;      // customer option
    QLineEdit* Edit2 = nullptr;          // customer text
    QMenu* popupMenu = nullptr;          // N1
    MasterListWindow* productList() const { return productList_; }

    // The commands; the window connects each through command(), which takes the price being
    // typed first.
    void DBGrid2DblClick();  // price pick
    void Button4Click();     // 选取商品
    void Button3Click();     // 删除
    void N1Click();          // 删除该客户的全部商品表
    void Button5Click();     // 类型排序
    void Button2Click();     // 取消排序
    void DBGrid1CellClick(); // a customer chosen
    void Button6Click();     // product search
    void Button7Click();     // customer search

    static SearchConfig productSearch();
    static SearchConfig customerSearch();

protected:
    void showEvent(QShowEvent* event) override;
    void onClosing() override;

private:
    void reloadPrices(const QString& sql);

    QPointer<MasterListWindow> productList_;
    PickerLink* link_ = nullptr; // set when opened by the sales form; a child of this window
};

} // namespace lb::masterdata
