// The product history's rows: one product's posted movements, and the posted view of each.
#pragma once

#include "summaries/ReportPeriod.h"

#include <QString>
#include <QStringList>

namespace lb::db {
class Connection;
class Query;
}

namespace lb::summaries {

class ProductHistory {
public:
    // custtotal is emptied and given the product's lines of posted, not reversed sales, sales
    // returns, purchases and purchase returns, in one transaction.
    static void fill(lb::db::Connection& connection, const QString& productIntno);
    // `rows` reopened on all of them, or on the period's, in bill-date order.
    static void openAll(lb::db::Query& rows, const QString& productIntno);
    static void openPeriod(lb::db::Query& rows, const QString& productIntno, const Period& period);

    // The window class of the posted view of a line whose kind code is `billtype`, and the
    // kind's header table; empty for a kind without one. lb::ConvertError for a code that is
    // not a number (an empty one included).
    struct View {
        QString windowClass; // "Tfrfoutdetail"
        QString headerTable; // "outlist"
    };
    static View viewOf(const QString& billtype);

    // Object names of the posted views' commands that change the document (冲数, 冲帐, 作废):
    // a view opened from the history offers none of them.
    static const QStringList& changingCommands();
};

} // namespace lb::summaries
