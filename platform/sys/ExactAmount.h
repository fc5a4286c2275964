// The one limit on stored money and quantities: beyond it a double no longer keeps whole cents.
#pragma once

#include <cmath>

namespace lb {

// 2^53 / 100 (about 9.0e13): at or beyond this magnitude a double cannot tell neighbouring
// cents apart, so no figure that is typed or computed may reach it before it is written.
inline constexpr double kMaxExactAmount = 9007199254740992.0 / 100;

// Whether `value` may be stored as money or a quantity: finite and below kMaxExactAmount in
// magnitude (NaN and the infinities are not).
inline bool isExactAmount(double value)
{
    return std::fabs(value) < kMaxExactAmount;
}

} // namespace lb
