// Rounding of report measures: to the nearest integer, a half going to the even neighbour.
#pragma once

#include <cstdint>

namespace lb::report {

// Round(2.5) = 2, Round(3.5) = 4, Round(-2.5) = -2; independent of the floating-point mode.
inline std::int64_t Round(double x)
{
    // The floor by truncation and a comparison, and no branch on the fraction: std::floor is a
    // library call on the processors the program is built for, and a long report rounds
    // millions of measures whose fractions no branch predicts.
    auto result = static_cast<std::int64_t>(x);
    result -= static_cast<double>(result) > x;
    const double fraction = x - static_cast<double>(result);
    result += (fraction > 0.5) | ((fraction == 0.5) & ((result & 1) != 0));
    return result;
}

} // namespace lb::report
