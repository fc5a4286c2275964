// The codes of the main window's PickMode: who opened a record list as its picker, and the
// modes of the windows that read the same field.
#pragma once

namespace lb::core {

// A list writes into its opener by the code it finds at the moment of the pick. Openers that
// never open the same list share a number; the values are those the program has always used.
enum class PickCode {
    None = 0,                 // no picker: a list opened from the menu, or none open

    // The entry forms: their party, account, handler and product line pickers.
    SalesEntry = 1,           // Tfroutdetail
    PurchaseEntry = 2,        // Tfrindetail; the product list also fills an order's line under it
    PurchaseOrderEntry = 3,   // Tfrdhdetail
    SalesReturnEntry = 5,     // Tfroutbackdetail
    PurchaseReturnEntry = 6,  // Tfrinbackdetail
    ReceiptEntry = 13,        // Tfrgetdetail
    PaymentEntry = 14,        // Tfrputdetail

    // The summaries and statements: their party or account box.
    SalesSummary = 3,         // Tfrouttotal
    PurchaseSummary = 4,      // Tfrintotal
    CustomerSummary = 11,     // Tfrcusttotal
    CustomerStatement = 12,   // Tfrcusttotalist
    SupplierSummary = 12,     // Tfrbrantotal
    SupplierStatement = 11,   // Tfrbrantotalist
    CashBankJournal = 12,     // Tfrbanktotal

    SalesEntryPriceTable = 18,    // the customer price table as the sales form's price picker
    CustomerProductTable = 20,    // the product list adding rows to the customer price table
    PurchaseEntryNewProduct = 98, // the product editor opened by the purchase form's new-product command
    ProductListHistory = 99,      // the product history opened from the product list

    // The stock window's modes: the figure it shows and prints.
    StockTake = 0,
    StockGainLoss = 5,
    StockValue = 6,
};

} // namespace lb::core
