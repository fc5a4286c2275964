// The rows that interrupted entry leaves without a key, and their removal before compaction.
#include "core/KeylessRows.h"

#include "platform/db/Connection.h"
#include "platform/db/Query.h"

namespace lb::core {

QStringList KeylessRows::statements()
{
    QStringList list;
    for (const char* table : {"indetail", "inbackdetail", "outdetail", "outbackdetail", "getdetail", "putdetail",
                              "inlist", "inbacklist", "outlist", "outbacklist", "getlist", "putlist", "product"})
        list << QStringLiteral("delete from %1\nWHERE intno=''").arg(QLatin1String(table));
    list << QStringLiteral("delete from cproduct\nWHERE intno1=''");
    for (const char* table : {"branch", "bank", "customer", "employee", "store"})
        list << QStringLiteral("delete from %1\nWHERE intno=''").arg(QLatin1String(table));
    return list;
}

void KeylessRows::remove(lb::db::Query& command)
{
    lb::db::Transaction transaction(command.connection());
    for (const QString& statement : statements()) {
        command.close();
        command.sql().clear();
        for (const QString& line : statement.split(QLatin1Char('\n')))
            command.sql().add(line);
        command.execSQL();
        command.close();
    }
    transaction.commit();
}

} // namespace lb::core
