// Rows of a customer's own product and price list: the row counter, adding one, importing many.
#pragma once

#include <QString>

namespace lb::db {
class Connection;
class DataSet;
}

namespace lb::masterdata {

class CustomerProductRows {
public:
    // Whether the customer's list holds the product (by the whole table, not by the rows a
    // search of the price list shows).
    static bool contains(lb::db::Connection& connection, const QString& customerIntno, const QString& productIntno);

    // Adds the current row of `product` to the list of the current row of `customer` through
    // `cproducts` (the customer's rows): a counter step and the row in one transaction, then
    // the rows are refreshed. Returns false, adding nothing, when the customer has the product.
    static bool addProduct(lb::db::Connection& connection, lb::db::DataSet& customer, lb::db::DataSet& product,
                           lb::db::DataSet& cproducts);

    // Imports every product (all = true: wholesale price copied, other prices 0) or the marked
    // products not yet in the list (all = false: supermarket price copied, other prices 0)
    // into the customer's list. Each row takes its own counter step; the whole import is one
    // transaction. Returns the rows added.
    static int import(lb::db::Connection& connection, const QString& customerIntno, bool all);

private:
    static void insertRow(lb::db::Connection& connection, const QString& customerIntno, lb::db::DataSet& product,
                          bool all);
};

} // namespace lb::masterdata
