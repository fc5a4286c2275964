// The report period the summaries remember, and the text of its two date boxes.
#pragma once

#include <QDate>
#include <QString>

namespace lb::db {
class Connection;
}

namespace lb::summaries {

// A span of bill dates, both ends counted.
struct Period {
    QDate from;
    QDate to;
};

// The one remembered period (table dateconfig) that every summary, statement and the product
// history open on and store before they run, so the next of them opens on the last one run.
class ReportPeriod {
public:
    // The text of a box nothing was typed into.
    static const QString EmptyBox; // "    -  -  "
    // What a missing period reads as.
    static const QDate ZeroDate;   // 1899-12-30

    // The stored period; the zero date for a missing row or value.
    static Period load(lb::db::Connection& connection);
    // Writes both dates into the row (a new row when the table has none); the product list's
    // option bz is left alone.
    static void store(lb::db::Connection& connection, const Period& period);

    // The date a box shows, blanks left by the mask ignored ("2024-3 -1 " is 1 March 2024);
    // lb::ConvertError for a box that holds no valid date, an empty one included.
    static QDate parse(const QString& boxText);
    // Both boxes, converted before anything uses either.
    static Period parse(const QString& fromText, const QString& toText);
    static bool isEmptyBox(const QString& boxText);
    // "yyyy-mm-dd".
    static QString text(const QDate& date);
    // The period line of the printed summaries: "汇总日期从" + from + "到" + to.
    static QString line(const Period& period);
    // "今天": today and tomorrow.
    static Period today();
};

} // namespace lb::summaries
