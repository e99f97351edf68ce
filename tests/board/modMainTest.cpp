// The shared routines of the main module.

#include "app/board/modMain.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct ExtremesRow {
    std::vector<int> values;
    int max;
    int min;
};

TEST(modMain, ArrayMaxAndMinScanTheWholeArray) {
    const ExtremesRow rows[] = {
        {{7}, 7, 7},
        {{1, 5, 2}, 5, 1},
        {{-4, -9, 0}, 0, -9},
        {{3, 3, 3}, 3, 3},
        {{2, 1, 9, 9, -1, 4}, 9, -1},
    };
    for (const ExtremesRow& row : rows) {
        EXPECT_EQ(modMain::ArrayMax<int>(row.values), row.max);
        EXPECT_EQ(modMain::ArrayMin<int>(row.values), row.min);
    }
    const std::vector<float> levels = {0.5F, 2.25F, 1.0F};
    EXPECT_EQ(modMain::ArrayMax<float>(levels), 2.25F);
    EXPECT_EQ(modMain::ArrayMin<float>(levels), 0.5F);
}

TEST(modMain, AnEmptyArrayHasNoExtremes) {
    const std::vector<int> none;
    EXPECT_THROW(modMain::ArrayMax<int>(none), std::out_of_range);
    EXPECT_THROW(modMain::ArrayMin<int>(none), std::out_of_range);
}

} // namespace
