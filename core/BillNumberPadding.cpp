// Record numbers: the ten-digit intno of master rows, document headers and lines, and the
// nextno counters.
#include "core/BillNumberPadding.h"

#include "core/Schema.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/sys/Errors.h"
#include "platform/sys/TextFormat.h"

namespace lb::core {

QString BillNumberPadding(qint64 number)
{
    return (QStringLiteral("0000000000") + QString::number(number)).right(10);
}

QString nextIntnoAfter(const QString& intno)
{
    const QString trimmed = intno.trimmed();
    if (trimmed.isEmpty())
        return BillNumberPadding(1);
    return BillNumberPadding(lb::fmt::strToInt(trimmed) + 1);
}

QString nextIntno(lb::db::Connection& connection, const QString& table)
{
    const TableDef& def = Schema::table(table);
    if (!def.find(QStringLiteral("intno")))
        throw lb::Error(QStringLiteral("Table '%1' has no record number").arg(def.name));
    lb::db::Query last(connection);
    // Ten-digit numbers order as text the way they order as numbers; empty ones sort first.
    last.sql().add(QStringLiteral("select intno from \"%1\" where intno<>'' order by intno desc limit 1").arg(def.name));
    last.open();
    const QString highest = last.isEmpty() ? QString() : last.fieldByName(QStringLiteral("intno")).asString();
    last.close();
    return nextIntnoAfter(highest);
}

QString takeNextNo(lb::db::Connection& connection, const QString& tablename)
{
    lb::db::Transaction transaction(connection);
    lb::db::Query counter(connection);
    counter.sql().add(QStringLiteral("select intno from nextno where tablename=:p1"));
    counter.paramByName(QStringLiteral("p1")).setAsString(tablename);
    counter.open();
    if (counter.isEmpty())
        throw lb::Error(QStringLiteral("Counter '%1' not found in nextno").arg(tablename));
    const qint64 n = lb::fmt::strToInt(counter.fieldByName(QStringLiteral("intno")).asString().trimmed());
    counter.close();

    lb::db::Query step(connection);
    step.sql().add(QStringLiteral("update nextno set intno=:p1 where tablename=:p2"));
    step.paramByName(QStringLiteral("p1")).setAsString(QString::number(n + 1));
    step.paramByName(QStringLiteral("p2")).setAsString(tablename);
    step.execSQL();
    transaction.commit();
    return BillNumberPadding(n);
}

} // namespace lb::core
