#include "app/components/clsLine.h"

#include <gtest/gtest.h>

namespace {

struct DistanceCase {
    const char* what;
    int x1, y1, x2, y2;
    int px, py;
    int expected;
};

TEST(clsLine, DistanceToTheNearestOfElevenSamplePoints) {
    const DistanceCase cases[] = {
        {"on a sample point", 0, 0, 100, 0, 30, 0, 0},
        {"between two samples of a 100-pixel wire", 0, 0, 100, 0, 15, 0, 5},
        {"beyond end 2", 0, 0, 100, 0, 103, 4, 5},
        {"2.5 rounds to 2", 0, 0, -5, -4, -4, 0, 2},
        {"3.5 rounds to 4", 0, 0, -10, -1, -5, 3, 4},
        {"both ends on one point", 7, 7, 7, 7, 10, 11, 5},
        {"drawn backwards", 100, 0, 0, 0, 15, 0, 5},
        {"sloped", 0, 0, 30, 40, 18, 24, 0},
    };
    for (const DistanceCase& c : cases) {
        clsLine w;
        w.SetAll(c.x1, c.y1, c.x2, c.y2, 1);
        EXPECT_EQ(w.Distance(c.px, c.py), c.expected) << c.what;
    }
}

TEST(clsLine, DistanceIgnoresTheValidFlagsAndCannotOverflow) {
    clsLine w;
    EXPECT_EQ(w.Distance(3, 4), 5); // both ends still at (0, 0)
    w.SetAll(-2147483647 - 1, 0, 2147483647, 0, 1);
    EXPECT_EQ(w.Distance(-1, 0), 0);
}

TEST(clsLine, EndsBecomeValidOneByOne) {
    clsLine w;
    EXPECT_EQ(w.Valid1(), 0);
    EXPECT_EQ(w.Valid2(), 0);
    EXPECT_EQ(w.Color(), 1);
    w.SetCoords(1, 10, 20);
    EXPECT_EQ(w.Valid1(), -1);
    EXPECT_EQ(w.Valid2(), 0);
    w.SetCoords(7, 30, 40); // any number other than 1 means end 2
    EXPECT_EQ(w.Valid2(), -1);
    EXPECT_EQ(w.X1(), 10);
    EXPECT_EQ(w.Y1(), 20);
    EXPECT_EQ(w.X2(), 30);
    EXPECT_EQ(w.Y2(), 40);
    w.SetHighlight(5);
    EXPECT_EQ(w.Highlight(), -1);
}

} // namespace
