#include "app/components/clsDisplay.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(clsDisplay, IncreaseValueWrapsFromNineToZero) {
    const int cases[][2] = {{0, 1}, {3, 4}, {8, 9}, {9, 0}};
    for (const auto& c : cases) {
        clsDisplay d;
        d.SetValue(c[0]);
        d.IncreaseValue();
        EXPECT_EQ(d.Value(), c[1]) << "from " << c[0];
    }
}

TEST(clsDisplay, DigitsOutsideZeroToNineAreRefused) {
    clsDisplay d;
    EXPECT_EQ(d.Value(), 0);
    d.SetValue(6);
    EXPECT_THROW(d.SetValue(10), std::out_of_range);
    EXPECT_THROW(d.SetValue(-1), std::out_of_range);
    EXPECT_EQ(d.Value(), 6);
}

} // namespace
