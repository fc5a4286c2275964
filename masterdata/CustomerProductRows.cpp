// Rows of a customer's own product and price list: the row counter, adding one, importing many.
#include "masterdata/CustomerProductRows.h"

#include "core/BillNumberPadding.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"

namespace lb::masterdata {

bool CustomerProductRows::contains(lb::db::Connection& connection, const QString& customerIntno,
                                   const QString& productIntno)
{
    lb::db::Query query(connection);
    query.sql().add(QStringLiteral("SELECT intno1 from cproduct where intno=:p1 and spintno=:p2"));
    query.paramByName(QStringLiteral("p1")).setAsString(customerIntno);
    query.paramByName(QStringLiteral("p2")).setAsString(productIntno);
    query.open();
    return !query.isEmpty();
}

bool CustomerProductRows::addProduct(lb::db::Connection& connection, lb::db::DataSet& customer,
                                     lb::db::DataSet& product, lb::db::DataSet& cproducts)
{
    const QString customerIntno = customer.fieldByName(QStringLiteral("intno")).asString();
    if (contains(connection, customerIntno, product.fieldByName(QStringLiteral("intno")).asString()))
        return false;
    {
        lb::db::Transaction transaction(connection);
        insertRow(connection, customerIntno, product, true);
        transaction.commit();
    }
    // A row added behind the dataset's back shows after the query runs again.
    cproducts.close();
    cproducts.open();
    cproducts.last();
    return true;
}

void CustomerProductRows::insertRow(lb::db::Connection& connection, const QString& customerIntno,
                                    lb::db::DataSet& product, bool all)
{
    const QString number = lb::core::takeNextNo(connection, QStringLiteral("cproduct"));
    lb::db::Query insert(connection);
    insert.sql().add(QStringLiteral("insert into cproduct(intno1,intno,spintno,sphh,spmc,name,spgg,spbzxh,sl_s,sl_j,dj_n,spmz,spzz)"));
    insert.sql().add(QStringLiteral("values(:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10,:p11,:p12,:p13)"));
    auto text = [&product](const char* name) { return product.fieldByName(QString::fromLatin1(name)).asString(); };
    auto value = [&product](const char* name) { return product.fieldByName(QString::fromLatin1(name)).asFloat(); };
    insert.paramByName(QStringLiteral("p1")).setAsString(number);
    insert.paramByName(QStringLiteral("p2")).setAsString(customerIntno);
    insert.paramByName(QStringLiteral("p3")).setAsString(text("intno"));
    insert.paramByName(QStringLiteral("p4")).setAsString(text("sphh"));
    insert.paramByName(QStringLiteral("p5")).setAsString(text("spmc"));
    insert.paramByName(QStringLiteral("p6")).setAsString(text("name"));
    insert.paramByName(QStringLiteral("p7")).setAsString(text("spgg"));
    insert.paramByName(QStringLiteral("p8")).setAsString(text("spbs"));
    insert.paramByName(QStringLiteral("p9")).setAsFloat(value("sl_s"));
    insert.paramByName(QStringLiteral("p10")).setAsFloat(value("sl_j"));
    // A single pick and the import of all products copy the wholesale price; the import of
    // the marked products copies the supermarket price instead.
    insert.paramByName(QStringLiteral("p11")).setAsFloat(all ? value("dj_n") : 0.0);
    insert.paramByName(QStringLiteral("p12")).setAsFloat(all ? 0.0 : value("spmz"));
    insert.paramByName(QStringLiteral("p13")).setAsFloat(0.0);
    insert.execSQL();
}

int CustomerProductRows::import(lb::db::Connection& connection, const QString& customerIntno, bool all)
{
    lb::db::Transaction transaction(connection);
    lb::db::Query products(connection);
    products.sql().add(all ? QStringLiteral("SELECT * from product order by rowid")
                           : QStringLiteral("SELECT * from product WHERE szbj=true order by rowid"));
    products.open();
    int added = 0;
    for (products.first(); !products.eof(); products.next()) {
        if (!all && contains(connection, customerIntno, products.fieldByName(QStringLiteral("intno")).asString()))
            continue;
        insertRow(connection, customerIntno, products, all);
        ++added;
    }
    transaction.commit();
    return added;
}

} // namespace lb::masterdata
