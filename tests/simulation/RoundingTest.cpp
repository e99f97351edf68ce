#include "app/simulation/Rounding.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const struct {
        double in;
        std::int32_t out;
    } cases[] = {
        {0.5, 0},           {1.5, 2},
        {2.5, 2},           {3.5, 4},
        {-0.5, 0},          {-2.5, -2},
        {-3.5, -4},         {2.4999999, 2},
        {2.5000001, 3},     {49.5, 50},
        {48.5, 48},         {4.5, 4},
        {-7.6, -8},         {1e20, INT32_MAX},
        {-1e20, INT32_MIN}, {std::numeric_limits<double>::infinity(), INT32_MAX},
        {std::nan(""), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
    }
}

} // namespace
