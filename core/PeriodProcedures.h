// The database steps of month-end, year-end and system initialisation.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace lb::db {
class Query;
}

namespace lb::core {

// Each procedure runs its statements through `command` (the data module's AQcom) inside one
// transaction: when a statement fails, every earlier one is rolled back and the error
// (lb::DatabaseError) reaches the caller with the database as it was before.
class PeriodProcedures {
public:
    // Clears the month's totals: products sl_out_m, sl_in_m; customers and suppliers amount,
    // deduck, pay; accounts amount and pay. Running it twice changes nothing more.
    static void monthEnd(lb::db::Query& command);

    // Closes the year: the counters of nextno reset (see resetCounters); rest := balance and the
    // year's totals cleared for customers and suppliers (amount_y, deduck_y, pay_y) and accounts
    // (amount_y, pay_y); products rest := sl with sl_out_y, sl_in_y cleared; every row of the
    // fourteen document tables deleted. The month's totals stay.
    static void closeYear(lb::db::Query& command);

    // Starts the books afresh from the opening values: the counters reset; balance := rest and
    // every monthly and yearly total cleared (of accounts amount, pay, amount_y, pay_y); products
    // sl := rest with their four movement totals cleared; the document tables emptied.
    static void initialise(lb::db::Query& command);

    // The year of the annual backup folder: the year of the date 60 days before `today`.
    static QString annualBackupYear(const QDate& today);

    // The fourteen document tables in the order the year-end empties them.
    static const QStringList& documentTables();

private:
    // Every nextno row whose tablename, upper-cased, names none of the master tables (BANK,
    // CUSTOMER, BRANCH, EMPLOYEE, STORE, CPRODUCT, PRODUCT) gets intno "1"; "cproduct", the
    // counter the program draws from, keeps its value.
    static void resetCounters(lb::db::Query& command);
    static void emptyDocuments(lb::db::Query& command);
    static void run(lb::db::Query& command, const QString& sql);
};

} // namespace lb::core
