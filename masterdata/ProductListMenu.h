// The product list's pop-up commands: marks, sorting, the price column, imports, mass deletion.
#pragma once

#include "masterdata/MasterListConfig.h"

#include <vector>

namespace lb::masterdata {

class MasterListWindow;

class ProductListMenu {
public:
    // The items in menu order; the print and stock value print items are present and disabled
    // until the report layouts come.
    static std::vector<ListMenuItem> items();

    // Shows or hides the purchase-price column by the option and names N1 after what it does.
    static void applyPurchasePrice(MasterListWindow& list);
    static void togglePurchasePrice(MasterListWindow& list);          // N1
    static void importIntoCustomer(MasterListWindow& list, bool all); // N16 (all), N2 (marked)
    static void sort(MasterListWindow& list, bool byType);             // N17, N18
    static void setAllMarks(MasterListWindow& list, bool marked);      // N20, N19
    static void showMarked(MasterListWindow& list);                    // N3
    static void deleteMarked(MasterListWindow& list);                  // N25
    // N24: the product history of the current product, over the list; refused while the list
    // picks for a document.
    static void productHistory(MasterListWindow& list);
};

} // namespace lb::masterdata
