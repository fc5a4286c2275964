// Commands on the product table that need no window: marks, deletions, the price-column option.
#pragma once

#include <QString>
#include <optional>

namespace lb::db {
class Connection;
class DataSet;
}

namespace lb::masterdata {

class ProductCommands {
public:
    // Flips the selection mark szbj of the current row (edit, negate, post). Nothing on an empty
    // set. A post that fails takes the edit back, the row showing the stored mark, and throws.
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

    // The carton volume in cubic feet that a specification "a*b*c" (centimetres) gives:
    // a × b × c ÷ 28317, kept to the fifteen digits of its text form. nullopt for a text
    // without two "*"; lb::ConvertError when a piece is not a number.
    static std::optional<double> cartonVolume(const QString& spec);
    // sptj := the carton volume of every product with an opening quantity whose specification
    // holds one, in one transaction: a piece that is not a number changes no product and
    // throws lb::ConvertError. Returns the products changed.
    static int fillCartonVolumes(lb::db::Connection& connection);
};

} // namespace lb::masterdata
