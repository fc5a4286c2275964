// The configuration of every record list and editor of master data and stock, by window class.
#pragma once

#include "masterdata/MasterListConfig.h"

namespace lb::masterdata {

class MasterCatalog {
public:
    static MasterListConfig customerList();   // TFrcustomer with Tfrcustomeredit
    static MasterListConfig supplierList();   // TFrbranch with Tfrbranchedit
    static MasterListConfig accountList();    // TFrbank with Tfrbankedit
    static MasterListConfig employeeList();   // TFremployee with Tfremployeeedit
    static MasterListConfig storeList();      // TFrstore with Tfrstoreedit
    static MasterListConfig productList();    // TFrproduct (its editor is Tfrproductedit)
    static MasterListConfig stockList();      // TFrproductp with Tfrproductpedit

    // Opening balances: TFrcustomer_b, TFrbranch_b, TFrbank_b, TFrproduct_b with their editors.
    static MasterListConfig openingCustomerList();
    static MasterListConfig openingSupplierList();
    static MasterListConfig openingAccountList();
    static MasterListConfig openingProductList();

    // The configuration registered under a window class name; lb::Error for an unknown one.
    static MasterListConfig byKey(const QString& key);
    static QStringList keys();

    // The code rules of products: sphh, fifteen characters, no name check.
    static MasterTableRules productCodeRules();

    // The product column spgg is titled by the option bcbj: "条形码" or "规格型号".
    static QString specTitle();
};

} // namespace lb::masterdata
