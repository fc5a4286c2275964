// Commands on the product table that need no window: marks, deletions, the price-column option.
#pragma once

#include <QString>

namespace lb::db {
class Connection;
class DataSet;
}

class ProductCommands {
public:
    // Flips the selection mark szbj of the current row (edit, negate, post). Nothing on an empty set.
    static void toggleMark(lb::db::DataSet& products);
    // Sets or clears the mark of every product.
    static void setAllMarks(lb::db::Connection& connection, bool marked);

    // Deletes the current product of `products` through the dataset (its before-delete
    // confirmation may stop it with lb::Abort) together with its rows in the customers' price
    // lists, in one transaction.
    static void deleteCurrent(lb::db::Connection& connection, lb::db::DataSet& products);
    // Deletes the marked products and their price-list rows in one transaction; returns the
    // products deleted.
    static int deleteMarked(lb::db::Connection& connection);

    // The option dateconfig.bz: true hides the purchase-price column of the product list.
    static bool purchasePriceHidden(lb::db::Connection& connection);
    // Negates the option and returns its new value.
    static bool togglePurchasePrice(lb::db::Connection& connection);

    // The volume a product's l, w and h give in sptj: l × w × h ÷ 1000000 × 35.32, each step
    // kept to four decimals as the fixed-point figure it is.
    static double volume(double l, double w, double h);
};
