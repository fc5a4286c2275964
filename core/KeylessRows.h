// The rows that interrupted entry leaves without a key, and their removal before compaction.
#pragma once

#include <QString>
#include <QStringList>

namespace lb::db {
class Query;
}

namespace lb::core {

class KeylessRows {
public:
    // Deletes, through `command` (AQcom) and in one transaction, every row whose key is the
    // empty text: intno of the document lines and headers (purchase orders excepted), of
    // products, suppliers, accounts, customers, employees and warehouses, and intno1 of the
    // customer price rows. A row whose key is null, or a line that has a key but no product
    // name yet, stays. A failing statement rolls all of them back and its error goes on.
    static void remove(lb::db::Query& command);

    // The statements, in the order they run.
    static QStringList statements();
};

} // namespace lb::core
