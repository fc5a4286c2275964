// The functions that declare each printed layout, for the catalog that makes them by name.
#pragma once

#include "report/TRpPrintable.h"

namespace lb::report {
class TRpReport;
}

namespace lb::layouts {

// The alignments of the layouts' tables, short as the tables are wide.
inline constexpr report::TRpAlignment L = report::TRpAlignment::Left;
inline constexpr report::TRpAlignment R = report::TRpAlignment::Right;
inline constexpr report::TRpAlignment C = report::TRpAlignment::Center;

// Product, customer and supplier lists.
void productList(report::TRpReport& report);      // Tfrrproduct
void productsAcross(report::TRpReport& report);   // Tfrrproducts
void openingProducts(report::TRpReport& report);  // Tfrrproduct_b
void customerList(report::TRpReport& report);     // Tfrrcustomer
void supplierList(report::TRpReport& report);     // Tfrrbranch

// Documents.
void salesDocument(report::TRpReport& report);          // Tfrroutdetail
void purchaseDocument(report::TRpReport& report);       // Tfrrindetail
void receiptDocument(report::TRpReport& report);        // Tfrrgetdetail
void paymentDocument(report::TRpReport& report);        // Tfrrputdetail
void salesReturnDocument(report::TRpReport& report);    // Tfrroutbackdetail
void purchaseReturnDocument(report::TRpReport& report); // Tfrrinbackdetail
void purchaseOrderDocument(report::TRpReport& report);  // Tfrrdhdetail

// Summaries, statements and the journal.
void salesSummary(report::TRpReport& report);          // Tfrrouttotal
void salesReturnSummary(report::TRpReport& report);    // Tfrroutbacktotal
void purchaseSummary(report::TRpReport& report);       // Tfrrintotal
void purchaseReturnSummary(report::TRpReport& report); // Tfrrinbacktotal
void receiptSummary(report::TRpReport& report);        // Tfrrgettotal
void paymentSummary(report::TRpReport& report);        // Tfrrputtotal
void customerBalances(report::TRpReport& report);      // Tfrrcusttotal
void supplierBalances(report::TRpReport& report);      // Tfrrbrantotal
void customerStatement(report::TRpReport& report);     // Tfrrcusttotalist
void supplierStatement(report::TRpReport& report);     // Tfrrbrantotalist
void cashJournal(report::TRpReport& report);           // Tfrrbanktotal

} // namespace lb::layouts
