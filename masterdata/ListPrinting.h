// The print commands of the product, customer and supplier lists, the opening-balance lists and
// the stock window.
#pragma once

#include <QString>

namespace lb::masterdata {

class MasterListWindow;

// Each command puts the list's dataset on the rows it prints, then runs the one print sequence
// with the layout and the captions its window needs.
class ListPrinting {
public:
    // Product list "打印": every product (a search in force is dropped), no totals.
    static void products(MasterListWindow& list);
    // Product list "多栏打印": every product, three to a line.
    static void productsAcross(MasterListWindow& list);
    // Product list "库存资产表": stock × purchase price per product, smallest first, with totals.
    static void stockValue(MasterListWindow& list);
    // Stock window "打印", by its mode (PickMode): gain and loss, stock value, else the count.
    static void stockWindow(MasterListWindow& list);
    // Customer or supplier list "打印": every row of `table` in the layout `layout`.
    static void parties(MasterListWindow& list, const QString& table, const QString& layout);
    // Opening-balance lists of customers and suppliers: the rows with an opening or current
    // balance; the list keeps showing them.
    static void openingParties(MasterListWindow& list, const QString& table, const QString& layout);
    // Opening stock list (its button is never shown): the products with an opening quantity,
    // their carton volumes worked out first.
    static void openingProducts(MasterListWindow& list);
};

} // namespace lb::masterdata
