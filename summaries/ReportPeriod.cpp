// The report period the summaries remember, and the text of its two date boxes.
#include "summaries/ReportPeriod.h"

#include "platform/db/Query.h"
#include "platform/sys/Clock.h"
#include "platform/sys/TextFormat.h"

namespace lb::summaries {

const QString ReportPeriod::EmptyBox = QStringLiteral("    -  -  ");
const QDate ReportPeriod::ZeroDate(1899, 12, 30);

Period ReportPeriod::load(lb::db::Connection& connection)
{
    lb::db::Query row(connection);
    row.sql().add(QStringLiteral("select ksdate, jsdate from dateconfig order by rowid limit 1"));
    row.open();
    const auto date = [&](int column) {
        const QDate value = row.isEmpty() ? QDate() : row.field(column).asDate();
        return value.isValid() ? value : ZeroDate;
    };
    return {date(0), date(1)};
}

void ReportPeriod::store(lb::db::Connection& connection, const Period& period)
{
    lb::db::Query statement(connection);
    statement.sql().add(QStringLiteral("update dateconfig set ksdate=:p1, jsdate=:p2 where rowid=(select min(rowid) from dateconfig)"));
    statement.paramByName(QStringLiteral("p1")).setAsDate(period.from);
    statement.paramByName(QStringLiteral("p2")).setAsDate(period.to);
    if (statement.execSQL() > 0)
        return;
    statement.sql().setText(QStringLiteral("insert into dateconfig (ksdate, jsdate, bz) values (:p1, :p2, 0)"));
    statement.paramByName(QStringLiteral("p1")).setAsDate(period.from);
    statement.paramByName(QStringLiteral("p2")).setAsDate(period.to);
    statement.execSQL();
}

QDate ReportPeriod::parse(const QString& boxText)
{
    QString typed = boxText;
    typed.remove(QLatin1Char(' '));
    return lb::fmt::strToDate(typed.isEmpty() ? boxText : typed);
}

Period ReportPeriod::parse(const QString& fromText, const QString& toText)
{
    const QDate from = parse(fromText);
    return {from, parse(toText)};
}

bool ReportPeriod::isEmptyBox(const QString& boxText)
{
    return boxText.trimmed().isEmpty() || boxText == EmptyBox;
}

QString ReportPeriod::text(const QDate& date)
{
    return lb::fmt::dateToStr(date);
}

QString ReportPeriod::line(const Period& period)
{
    return QStringLiteral("汇总日期从") + text(period.from) + QStringLiteral("到") + text(period.to);
}

Period ReportPeriod::today()
{
    const QDate day = lb::Clock::today();
    return {day, day.addDays(1)};
}

} // namespace lb::summaries
