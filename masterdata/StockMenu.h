// The stock menu's commands: stock-take, gain and loss, stock value, and the update from the count.
#pragma once

namespace lb::masterdata {

class MasterListWindow;

// Each opens the stock window TFrproductp over the main window in its mode (PickMode StockTake,
// StockGainLoss or StockValue), or, for the update, runs without a window.
class StockMenu {
public:
    static MasterListWindow* stockTake();   // "库存盘点", operator 999 only
    static MasterListWindow* gainAndLoss(); // "库存盈亏表"
    static MasterListWindow* stockValue();  // "库存资产表"
    static void updateStock();              // "更新库存量", operator 999 and password
    // Closing the stock window: the connection is made afresh and the company row reopened.
    static void closeStockWindow();
};

} // namespace lb::masterdata
