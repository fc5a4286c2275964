// Commands on the product table that need no window: marks, deletions, the price-column option.
#include "masterdata/ProductCommands.h"

#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/sys/TextFormat.h"

#include <cmath>

namespace lb::masterdata {

void ProductCommands::toggleMark(lb::db::DataSet& products)
{
    if (!products.active() || products.isEmpty())
        return;
    products.edit();
    try {
        lb::db::Field& mark = products.fieldByName(QStringLiteral("szbj"));
        mark.setAsBoolean(!mark.asBoolean());
        products.post();
    } catch (...) {
        // A click the books cannot take is taken back, so that the row shows the mark that is
        // stored (what 更新库存量 goes by); the clerk clicks again.
        products.cancel();
        throw;
    }
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

std::optional<double> ProductCommands::cartonVolume(const QString& spec)
{
    const QString text = spec.trimmed();
    const qsizetype first = text.indexOf(QLatin1Char('*'));
    if (first < 0)
        return std::nullopt;
    const QString rest = text.mid(first + 1);
    const qsizetype second = rest.indexOf(QLatin1Char('*'));
    if (second < 0)
        return std::nullopt;
    const double volume = lb::fmt::strToFloat(text.left(first)) * lb::fmt::strToFloat(rest.left(second))
                          * lb::fmt::strToFloat(rest.mid(second + 1)) / 28317;
    return lb::fmt::strToFloat(lb::fmt::floatToStr(volume));
}

int ProductCommands::fillCartonVolumes(lb::db::Connection& connection)
{
    lb::db::Transaction transaction(connection);
    lb::db::Query products(connection);
    products.sql().add(QStringLiteral("select intno, spgg from product where rest<>0.0 and spgg is not null"));
    products.open();
    lb::db::Query update(connection);
    update.sql().add(QStringLiteral("update product set sptj=:p1 where intno=:p2"));
    int changed = 0;
    for (products.first(); !products.eof(); products.next()) {
        const std::optional<double> volume = cartonVolume(products.field(1).asString());
        if (!volume)
            continue;
        update.paramByName(QStringLiteral("p1")).setAsFloat(*volume);
        update.paramByName(QStringLiteral("p2")).setAsString(products.field(0).asString());
        update.execSQL();
        ++changed;
    }
    transaction.commit();
    return changed;
}

} // namespace lb::masterdata
