// Record numbers: the ten-digit intno of master rows, document headers and lines, and the
// nextno counters.
#pragma once

#include <QString>

namespace lb::db {
class Connection;
}

namespace lb::core {

// The last ten characters of "0000000000" followed by the decimal number: 11 gives "0000000011".
QString BillNumberPadding(qint64 number);

// The number after a stored intno: its trimmed integer value + 1, padded; an empty text
// gives "0000000001". ConvertError when the text is not a whole number. Batch copies that
// number several rows in a row count on from the last number they gave.
QString nextIntnoAfter(const QString& intno);

// The next intno of a schema table (master data, document header or line table): the
// highest stored intno + 1, "0000000001" for an empty table. Rows whose intno is empty do
// not count. ConvertError when the highest intno is not a whole number; lb::Error for a table
// that the schema does not have or that has no intno column.
QString nextIntno(lb::db::Connection& connection, const QString& table);

// One step of the nextno counter `tablename` (the customer-product rows use "cproduct"):
// reads n from the row's intno, stores n + 1 and gives n padded to ten digits, in one
// transaction. lb::Error when the row is missing; ConvertError when its intno is not a number.
QString takeNextNo(lb::db::Connection& connection, const QString& tablename);

} // namespace lb::core
