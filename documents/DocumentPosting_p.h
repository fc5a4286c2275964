// The statement runner of the document commands, apart so that its refusals can be tried.
#pragma once

#include "platform/db/Query.h"

#include <QString>
#include <vector>

namespace lb::documents {

// Runs one statement of a command, each of `values` bound to the parameter it names
// (lb::db::Query::execSQL with named values): a parameter left without a value, a name the text
// does not call a parameter and a parameter given two values raise lb::DatabaseError before the
// statement runs, rather than writing NULL where the value belongs.
void runStatement(lb::db::Connection& connection, const QString& sql, const std::vector<lb::db::NamedValue>& values);

} // namespace lb::documents
