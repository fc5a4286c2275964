// A table dataset: the whole table in rowid order.
#include "platform/db/Table.h"

#include "platform/db/SqlText.h"
#include "platform/sys/Errors.h"

namespace lb::db {

Table::Table(Connection& connection, QObject* parent)
    : DataSet(connection, parent)
{
}

void Table::setTableName(const QString& name)
{
    close();
    table_ = name;
}

DataSet::Source Table::source() const
{
    if (table_.isEmpty())
        throw DatabaseError(QStringLiteral("No table name given"));
    return Source{QStringLiteral("SELECT * FROM %1 ORDER BY _rowid_").arg(SqlText::quoteIdentifier(table_)), {}};
}

} // namespace lb::db
