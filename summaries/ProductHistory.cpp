// The product history's rows: one product's posted movements, and the posted view of each.
#include "summaries/ProductHistory.h"

#include "documents/DocumentKinds.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/sys/TextFormat.h"

namespace lb::summaries {

using lb::documents::BillKind;
using lb::documents::DocumentKinds;

namespace {

// The trading kinds whose lines move a product, in the order the history gathers them, with
// the window class of each one's posted view and the column holding the price the line was
// made at: purchase lines price in dj_w and carry the product's selling price in dj_n.
struct Trading {
    BillKind kind;
    const char* view;
    const char* price;
};
const Trading trading[] = {
    {BillKind::Sales, "Tfrfoutdetail", "dj_n"},
    {BillKind::SalesReturn, "Tfrfoutbackdetail", "dj_n"},
    {BillKind::Purchase, "Tfrfindetail", "dj_w"},
    {BillKind::PurchaseReturn, "Tfrfinbackdetail", "dj_w"},
};

} // namespace

void ProductHistory::fill(lb::db::Connection& connection, const QString& productIntno)
{
    const QString columns = QStringLiteral(
        "intno,mainintno,spintno,sphh,spmc,remark,unit,sl_j,sl,%1,amount,deduck,pay,rest,billdate,billtype,billname,djh,customerid");
    lb::db::Transaction transaction(connection);
    lb::db::Query statement(connection);
    statement.sql().add(QStringLiteral("delete from custtotal"));
    statement.execSQL();
    for (const Trading& entry : trading) {
        statement.sql().clear();
        statement.sql().add(QStringLiteral("insert into custtotal(%1)").arg(columns.arg(QStringLiteral("dj_n"))));
        statement.sql().add(QStringLiteral("select %1 from %2")
                                .arg(columns.arg(QLatin1String(entry.price)), DocumentKinds::of(entry.kind).lineTable));
        statement.sql().add(QStringLiteral("where pass=true and cancel=false and spintno=:p1"));
        statement.paramByName(QStringLiteral("p1")).setAsString(productIntno);
        statement.execSQL();
    }
    transaction.commit();
}

void ProductHistory::openAll(lb::db::Query& rows, const QString& productIntno)
{
    rows.close();
    // Lines of one day in the order they were gathered.
    rows.sql().setText(QStringLiteral("SELECT * from custtotal where spintno=:p1 order by billdate, rowid"));
    rows.paramByName(QStringLiteral("p1")).setAsString(productIntno);
    rows.open();
}

void ProductHistory::openPeriod(lb::db::Query& rows, const QString& productIntno, const Period& period)
{
    rows.close();
    rows.sql().setText(QStringLiteral("select * from custtotal where\n"
                                      "billdate>=:p1 and billdate <=:p2 and spintno=:p3  order by billdate, rowid"));
    rows.paramByName(QStringLiteral("p1")).setAsDate(period.from);
    rows.paramByName(QStringLiteral("p2")).setAsDate(period.to);
    rows.paramByName(QStringLiteral("p3")).setAsString(productIntno);
    rows.open();
}

ProductHistory::View ProductHistory::viewOf(const QString& billtype)
{
    const qint64 number = lb::fmt::strToInt(billtype);
    for (const Trading& entry : trading) {
        if (number == qint64(entry.kind))
            return {QLatin1String(entry.view), DocumentKinds::of(entry.kind).headerTable};
    }
    return {};
}

const QStringList& ProductHistory::changingCommands()
{
    static const QStringList names{"ToolButton6", "ToolButton1", "ToolButton2"};
    return names;
}

} // namespace lb::summaries
