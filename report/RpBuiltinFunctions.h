// The 59 built-in functions of report expressions.
#pragma once

namespace lb::report {

class TRpFunctionLibrary;

// Registers the built-in functions in their fixed order (the expression builder lists them so).
void registerBuiltinFunctions(TRpFunctionLibrary& library);

} // namespace lb::report
