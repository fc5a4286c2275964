// The 59 built-in functions of report expressions.
#pragma once

#include <QString>
#include <QTime>

namespace lb::report {

class TRpFunctionLibrary;

// A time of day as TIME and the program-wide APPSTARTTIME show it ("08:30:05").
QString rpTimeText(const QTime& time);

// Registers the built-in functions in their fixed order (the expression builder lists them so).
void registerBuiltinFunctions(TRpFunctionLibrary& library);

} // namespace lb::report
