// Commands on the product table that need no window: marks, deletions, the price-column option.
#include "masterdata/ProductCommands.h"

#include "platform/db/Connection.h"
#include "platform/db/Query.h"

#include <cmath>

void ProductCommands::toggleMark(lb::db::DataSet& products)
{
    if (!products.active() || products.isEmpty())
        return;
    products.edit();
    lb::db::Field& mark = products.fieldByName(QStringLiteral("szbj"));
    mark.setAsBoolean(!mark.asBoolean());
    products.post();
}

void ProductCommands::setAllMarks(lb::db::Connection& connection, bool marked)
{
    lb::db::Query statement(connection);
    statement.sql().add(marked ? QStringLiteral("update product set szbj=true") : QStringLiteral("update product set szbj=false"));
    statement.execSQL();
}

void ProductCommands::deleteCurrent(lb::db::Connection& connection, lb::db::DataSet& products)
{
    if (!products.active() || products.isEmpty())
        return;
    lb::db::Transaction transaction(connection);
    lb::db::Query rows(connection);
    rows.sql().add(QStringLiteral("delete from cproduct where spintno=:p1"));
    rows.paramByName(QStringLiteral("p1")).setAsString(products.fieldByName(QStringLiteral("intno")).asString());
    rows.execSQL();
    products.deleteRecord(); // a declined confirmation throws and the guard rolls the rows back
    transaction.commit();
}

int ProductCommands::deleteMarked(lb::db::Connection& connection)
{
    lb::db::Transaction transaction(connection);
    lb::db::Query statement(connection);
    statement.sql().add(QStringLiteral("delete from cproduct where spintno in (select intno from product WHERE szbj=true)"));
    statement.execSQL();
    statement.sql().setText(QStringLiteral("delete from product WHERE szbj=true"));
    const int deleted = statement.execSQL();
    transaction.commit();
    return deleted;
}

bool ProductCommands::purchasePriceHidden(lb::db::Connection& connection)
{
    lb::db::Query option(connection);
    option.sql().add(QStringLiteral("SELECT bz from dateconfig"));
    option.open();
    return !option.isEmpty() && option.fieldByName(QStringLiteral("bz")).asBoolean();
}

bool ProductCommands::togglePurchasePrice(lb::db::Connection& connection)
{
    lb::db::Query option(connection);
    option.sql().add(QStringLiteral("SELECT * from dateconfig"));
    option.open();
    const bool hidden = !(!option.isEmpty() && option.fieldByName(QStringLiteral("bz")).asBoolean());
    option.edit(); // an empty table gets its one row here
    option.fieldByName(QStringLiteral("bz")).setAsBoolean(hidden);
    option.post();
    return hidden;
}

double ProductCommands::volume(double l, double w, double h)
{
    auto fixed4 = [](double value) { return std::round(value * 10000.0) / 10000.0; };
    return fixed4(fixed4(fixed4(fixed4(l * w) * h) / 1000000.0) * 35.32);
}
