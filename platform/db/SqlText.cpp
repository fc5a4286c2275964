// SQL text helpers: a small scanner that skips quotes and comments.
#include "platform/db/SqlText.h"

#include <functional>

namespace lb::db {

namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Calls `onWord(word, start, depth)` for every bare word and `onParam(name)` for every
// ":name" of the text, skipping string literals, quoted identifiers and comments.
void scan(const QString& sql, const std::function<void(const QString&, qsizetype, int)>& onWord,
          const std::function<void(const QString&)>& onParam)
{
    const qsizetype n = sql.size();
    int depth = 0;
    qsizetype i = 0;
    auto skipTo = [&](QChar close) {
        ++i;
        while (i < n && sql[i] != close)
            ++i;
        ++i; // past the closing character; a doubled quote simply starts a new literal
    };
    while (i < n) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            skipTo(c);
        } else if (c == QLatin1Char('[')) {
            skipTo(QLatin1Char(']'));
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            while (i < n && sql[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else if (c == QLatin1Char('(')) {
            ++depth;
            ++i;
        } else if (c == QLatin1Char(')')) {
            --depth;
            ++i;
        } else if (c == QLatin1Char(':') && i + 1 < n && isWordStart(sql[i + 1])) {
            qsizetype end = i + 1;
            while (end < n && isWordChar(sql[end]))
                ++end;
            if (onParam)
                onParam(sql.mid(i + 1, end - i - 1));
            i = end;
        } else if (isWordStart(c)) {
            qsizetype end = i;
            while (end < n && isWordChar(sql[end]))
                ++end;
            if (onWord)
                onWord(sql.mid(i, end - i), i, depth);
            i = end;
        } else if (c.isDigit()) {
            while (i < n && (isWordChar(sql[i]) || sql[i] == QLatin1Char('.')))
                ++i;
        } else {
            ++i;
        }
    }
}

QString escapeLike(const QString& text)
{
    QString out;
    out.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

} // namespace

QString SqlText::likePrefix(const QString& text)
{
    return escapeLike(text) + QLatin1Char('%');
}

QString SqlText::likeContains(const QString& text)
{
    return QLatin1Char('%') + escapeLike(text) + QLatin1Char('%');
}

QStringList SqlText::parameterNames(const QString& sql)
{
    QStringList names;
    scan(sql, nullptr, [&](const QString& name) {
        for (const QString& known : names) {
            if (known.compare(name, Qt::CaseInsensitive) == 0)
                return;
        }
        names << name;
    });
    return names;
}

QString SqlText::quoteIdentifier(const QString& name)
{
    QString inner = name;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString SqlText::appendColumn(const QString& sql, const QString& expression, const QString& alias)
{
    qsizetype from = -1;
    bool plain = true;
    int words = 0;
    scan(sql, [&](const QString& word, qsizetype start, int depth) {
        ++words;
        const QString upper = word.toUpper();
        if (words == 1) {
            if (upper != QLatin1String("SELECT") || depth != 0)
                plain = false;
            return;
        }
        if (depth != 0)
            return;
        if (words == 2 && upper == QLatin1String("DISTINCT"))
            plain = false;
        if (from < 0 && upper == QLatin1String("FROM"))
            from = start;
        static const QStringList stoppers = {
            QStringLiteral("GROUP"), QStringLiteral("HAVING"), QStringLiteral("UNION"),
            QStringLiteral("INTERSECT"), QStringLiteral("EXCEPT"), QStringLiteral("JOIN"),
            QStringLiteral("WINDOW"), QStringLiteral("VALUES"),
        };
        if (stoppers.contains(upper))
            plain = false;
    }, nullptr);
    if (!plain || from < 0)
        return QString();
    return sql.left(from) + QStringLiteral(", ") + expression + QStringLiteral(" AS ") + quoteIdentifier(alias)
        + QLatin1Char(' ') + sql.mid(from);
}

} // namespace lb::db
