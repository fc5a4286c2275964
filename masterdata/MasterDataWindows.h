// Registers the windows and commands of master data and stock with the main window's registry.
#pragma once

namespace lb::masterdata {

// Called once at start-up (app/main.cpp): every list window by its class name ("TFrcustomer",
// "TFrproduct_b", ...) and the stock menu's commands ("StockTake", "StockGainLoss",
// "StockValue", "StockUpdate"). The registered windows are the menu's: creating one sets
// PickMode to None, so no code left by a window that is gone reaches a list.
void registerMasterDataWindows();

} // namespace lb::masterdata
