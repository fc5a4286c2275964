// The stock figures of the stock menu: gain and loss, stock value, and the update from the count.
#pragma once

namespace lb::db {
class Connection;
}

namespace lb::masterdata {

class StockCommands {
public:
    // sptj := counted minus book stock (ysl - sl) for every product.
    static void gainAndLoss(lb::db::Connection& connection);
    // sptj := purchase price × book stock for every product, and totallist holds one row with
    // the total stock (hjsl) and the total value (rest). One transaction.
    static void stockValue(lb::db::Connection& connection);
    // Book stock := counted stock for the marked products that have a count; products never
    // counted (ysl empty) keep their stock. Returns the products changed.
    static int updateFromCount(lb::db::Connection& connection);
};

} // namespace lb::masterdata
