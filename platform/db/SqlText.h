// SQL text helpers: LIKE patterns for prefix and substring searches, parameter names, identifiers.
#pragma once

#include <QString>
#include <QStringList>

namespace lb::db {

class SqlText {
public:
    // LIKE patterns for a bound parameter used as "column LIKE :p1 ESCAPE '\'": the user's text
    // with '%', '_' and '\' escaped, so that only the text itself matches, followed by '%'
    // (a prefix search) or enclosed in '%' (a substring search). Case-insensitive for ASCII.
    static QString likePrefix(const QString& text);
    static QString likeContains(const QString& text);

    // Names of the ":name" parameters of a statement, outside quotes and comments, each once,
    // in order of first appearance.
    static QStringList parameterNames(const QString& sql);

    // "name" with inner quotes doubled.
    static QString quoteIdentifier(const QString& name);

    // For a SELECT whose rows can be rows of one table: the text with `expression AS alias`
    // added last to its select list (so that "ORDER BY 1" keeps its meaning). Empty when the
    // statement is no plain SELECT ... FROM (DISTINCT, GROUP BY, a compound or JOIN at the top
    // level, or anything but a SELECT).
    static QString appendColumn(const QString& sql, const QString& expression, const QString& alias);
};

} // namespace lb::db
