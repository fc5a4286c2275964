// The database error raised for a failing SQLite call.
#include "platform/db/SqliteError.h"

namespace lb::db {

namespace {

QString compose(int code, const QString& engineMessage, const QString& sql, const QString& params)
{
    QString text = QStringLiteral("%1 (code %2)").arg(engineMessage).arg(code);
    if (!sql.isEmpty())
        text += QStringLiteral("\nSQL: ") + sql;
    if (!params.isEmpty())
        text += QStringLiteral("\nParameters: ") + params;
    return text;
}

} // namespace

SqliteError::SqliteError(int code, const QString& engineMessage, const QString& sql, const QString& params, int systemError,
                         const QString& cause)
    : DatabaseError(compose(code, engineMessage, sql, params), cause)
    , code_(code)
    , systemError_(systemError)
    , engineMessage_(engineMessage)
    , sql_(sql)
    , params_(params)
{
}

} // namespace lb::db
