// The stock figures of the stock menu: gain and loss, stock value, and the update from the count.
#include "masterdata/StockCommands.h"

#include "platform/db/Connection.h"
#include "platform/db/Query.h"

namespace lb::masterdata {

namespace {

int run(lb::db::Connection& connection, const QString& sql)
{
    lb::db::Query statement(connection);
    statement.sql().setText(sql);
    return statement.execSQL();
}

} // namespace

void StockCommands::gainAndLoss(lb::db::Connection& connection)
{
    run(connection, QStringLiteral("update product set sptj=ysl-sl"));
}

void StockCommands::stockValue(lb::db::Connection& connection)
{
    lb::db::Transaction transaction(connection);
    run(connection, QStringLiteral("update product set sptj=dj_w*sl"));
    run(connection, QStringLiteral("delete from totallist"));
    run(connection, QStringLiteral("insert into totallist(hjsl,rest)\nselect sum(sl),sum(sptj) from product"));
    transaction.commit();
}

int StockCommands::updateFromCount(lb::db::Connection& connection)
{
    return run(connection, QStringLiteral("update product set sl=ysl\nwhere szbj=true and ysl is not null"));
}

} // namespace lb::masterdata
