// The options window "系统选项设置": number formats, category and unit lists, company data,
// the front-desk data folder.
#pragma once

#include "platform/ui/WorkWindow.h"

#include <QString>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeView;
class QFileSystemModel;
class QWidget;

namespace lb::db {
class Query;
}
namespace lb::ui {
class DataGrid;
}

namespace lb::core {

// A work window: opened by the main menu's "系统设置" with the main window disabled, on top of
// the other windows, released when it closes. Reads and writes the options row (ATCONFIG), the
// company row (ATcompany) and the lists AQpackage and AQunits of the data module.
class Tfrconfig : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    explicit Tfrconfig(QWidget* owner = nullptr);

    // The display format for `decimals` decimals: "0,." or "0." followed by that many zeros
    // (with or without the thousands separator), six zeros at most.
    static QString numberFormat(qint64 decimals, bool thousandsSeparator);
    // The decimals a stored format stands for: its length less "0,." or "0."; 0 for a
    // format shorter than that.
    static int decimalsOf(const QString& format);
    // A folder path as the front-desk option stores it: trimmed, ending in "/".
    static QString folderWithSeparator(const QString& path);

    // Pages, in order.
    QTabWidget* PageControl1 = nullptr;

    // "数据格式设置". The integer-digit boxes are shown and refilled but never stored.
    QLineEdit* moneyDigits = nullptr;
    QLineEdit* moneyDecimals = nullptr;
    QComboBox* moneySeparator = nullptr;   // "是" / "否"
    QLineEdit* qtyDigits = nullptr;
    QLineEdit* qtyDecimals = nullptr;
    QLineEdit* priceDigits = nullptr;
    QLineEdit* priceDecimals = nullptr;
    QComboBox* priceSeparator = nullptr;   // "是" / "否"
    QLineEdit* weightDigits = nullptr;
    QLineEdit* weightDecimals = nullptr;
    QLineEdit* yearCode = nullptr;         // "yyyy" or "yy"
    QLineEdit* maskYear = nullptr;         // "0000" or "00"
    QComboBox* imeBox = nullptr;           // input method name
    QComboBox* specChoice = nullptr;       // hidden: "条形码" / "规格型号" (bcbj)
    QComboBox* entryChoice = nullptr;      // hidden: "用条形码" / "用货品代码" (bcszbj)
    QComboBox* tallyChoice = nullptr;      // hidden: "帐务结算" / "只结库存" (tallybj)

    // "商品类型设置" and "计量单位设置": one list page each.
    struct ListPage {
        lb::db::Query* list = nullptr;     // AQpackage or AQunits
        QString table;                     // "package" or "units"
        lb::ui::DataGrid* grid = nullptr;
        QLineEdit* name = nullptr;
    };
    ListPage packagePage;
    ListPage unitsPage;

    // "公司资料设定": boxes bound to ATcompany, and the default note of new documents.
    QLineEdit* companyName = nullptr;
    QLineEdit* companyTel = nullptr;
    QLineEdit* companyAddr = nullptr;
    QPlainTextEdit* remarkMemo = nullptr;

    // "前台数据位置".
    QComboBox* driveBox = nullptr;
    QTreeView* folderList = nullptr;
    QLineEdit* pathBox = nullptr;

    // Page handlers; the pages' buttons call them, and so do tests.
    void TabSheet1Show();                  // formats page shown: reads the options row
    // "确定" of the formats page: stores the formats and choices, re-applies the display
    // formats, copies the options to the main window and closes. A decimals box that holds no
    // whole number throws lb::ConvertError before anything is stored.
    void Button1Click();
    void listPageShow(ListPage& page);
    void listCellClick(ListPage& page);
    void listAdd(ListPage& page);          // "添加"
    void listSave(ListPage& page);         // "保存"
    void listDelete(ListPage& page);       // "删除" (the data module asks first)
    void listMove(ListPage& page, int step); // "上移" (-1), "下移" (+1)
    void companyPageShow();
    void companyOk();                      // "确定" of the company page
    void frontDeskPageShow();
    void frontDeskOk();                    // "确定" of the front-desk page

protected:
    void onClosing() override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildFormatsPage();
    QWidget* buildListPage(ListPage& page, lb::db::Query* list, const QString& table);
    QWidget* buildCompanyPage();
    QWidget* buildFrontDeskPage();
    void pageShown(int index);
    void showListRow(ListPage& page);
    void fillInputMethods();
    bool eventFilter(QObject* watched, QEvent* event) override;

    QFileSystemModel* folders_ = nullptr;
    bool shownOnce_ = false;
    bool companyLoaded_ = false;
};

} // namespace lb::core
