// Rounding of report measures: halves go to the even neighbour.
#include "report/RpRound.h"

#include <gtest/gtest.h>

TEST(RpRound, HalvesGoToTheEvenNeighbour)
{
    const struct {
        double x;
        std::int64_t rounded;
    } cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},   {3.5, 4},     {-0.5, 0},  {-1.5, -2},
                 {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.5001, -3}, {37.8, 38}, {0.0, 0},
                 {1e9 + 0.5, 1000000000}};
    for (const auto& c : cases)
        EXPECT_EQ(c.rounded, lb::report::Round(c.x)) << c.x;
}
