// Rounding of report measures: to the nearest integer, a half going to the even neighbour.
#pragma once

#include <cmath>
#include <cstdint>

namespace lb::report {

// Round(2.5) = 2, Round(3.5) = 4, Round(-2.5) = -2; independent of the floating-point mode.
inline std::int64_t Round(double x)
{
    const double floor = std::floor(x);
    const double fraction = x - floor;
    auto result = static_cast<std::int64_t>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0))
        ++result;
    return result;
}

} // namespace lb::report
