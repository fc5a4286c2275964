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

    // Whether two names of fields or parameters are the same name, compared without case as the
    // program compares them; plain ASCII names, nearly all of them, without Unicode case folding.
    // Inline: a field is looked up by its name on every read of every row.
    static bool sameName(const QString& a, const QString& b)
    {
        if (a.size() != b.size()) // case folding keeps the length
            return false;
        for (qsizetype i = 0; i < a.size(); ++i) {
            const char16_t x = a[i].unicode();
            const char16_t y = b[i].unicode();
            if (x == y)
                continue;
            if (x >= 0x80 || y >= 0x80)
                return a.compare(b, Qt::CaseInsensitive) == 0;
            const char16_t lower = x | 0x20;
            if (lower != (y | 0x20) || lower < u'a' || lower > u'z')
                return false;
        }
        return true;
    }

    // "name" with inner quotes doubled.
    static QString quoteIdentifier(const QString& name);

    // For a SELECT whose rows can be rows of one table: the text with `expression AS alias`
    // added last to its select list (so that "ORDER BY 1" keeps its meaning). Empty when the
    // statement is no plain SELECT ... FROM (DISTINCT, GROUP BY, a compound or JOIN at the top
    // level, or anything but a SELECT).
    static QString appendColumn(const QString& sql, const QString& expression, const QString& alias);
};

} // namespace lb::db
