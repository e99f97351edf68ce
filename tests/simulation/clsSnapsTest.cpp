#include "app/simulation/clsSnaps.h"

#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <string>

namespace {

struct HitCase {
    int x;
    int y;
    const char* expected;
};

TEST(clsSnaps, HitTestIsAnOpenSquareAndOverlapsGoToTheEarlierEntry) {
    const clsSnaps snaps;
    const HitCase cases[] = {
        {98, 50, "Sensor 1 Uit Geel"},      // centre
        {107, 59, "Sensor 1 Uit Geel"},     // 9 away in both directions: still inside
        {89, 41, "Sensor 1 Uit Geel"},      // the same towards the top-left
        {108, 50, ""},                      // exactly 10 to the right: the edge is outside
        {98, 60, ""},                       // exactly 10 below
        {88, 50, ""},                       // exactly 10 to the left
        {44, 49, "Sensor 1"},               // radius 24
        {66, 72, "Sensor 1"},               // 22 and 23 away
        {68, 49, ""},                       // 24 away
        {78, 326, "AD-omzetter Uitgang 4"}, // overlap of Uitgang 4 and 2: the earlier entry
        {79, 344, "AD-omzetter Uitgang 4"},
        {77, 335, "AD-omzetter Uitgang 4"},
        {80, 335, "AD-omzetter Uitgang 2"}, // outside Uitgang 4
        {95, 335, "AD-omzetter Uitgang 2"}, // overlap of Uitgang 2 and 1
        {96, 335, "AD-omzetter Uitgang 2"},
        {97, 335, "AD-omzetter Uitgang 1"},
        {79, 325, ""},                    // above both squares
        {266, 72, "Comparator Regelaar"}, // the last entry
        {0, 0, ""},
        {-2147483647 - 1, 2147483647, ""}, // no overflow at the ends of the range
    };
    for (const HitCase& c : cases) {
        EXPECT_EQ(snaps.GetSnapName(c.x, c.y), c.expected) << "at (" << c.x << ", " << c.y << ")";
    }
}

struct LookupCase {
    const char* naam;
    int x;
    int y;
    int connectable;
    int soort;
};

TEST(clsSnaps, LookupsByNameAreExactAndGiveZeroForUnknownNames) {
    const clsSnaps snaps;
    const LookupCase cases[] = {
        {"Sensor 1", 44, 49, 0, 2},
        {"Geluids Sensor", 31, 145, 0, 2},
        {"Sensor 1 Uit Geel", 98, 50, -1, 2},
        {"sensor 1 uit geel", 0, 0, 0, 0}, // case-sensitive
        {"Sensor 1 Uit Geel ", 0, 0, 0, 0},
        {"Zoemer", 323, 197, -1, 1},
        {"Drukknop 1", 30, 180, 0, 0},
        {"Relais Uitgang 1 (in/uit)", 369, 285, -1, 3},
        {"Var. Spanning In Zwart", 31, 256, -1, 0},
        {"Pulsenteller Uitgang Collection", 0, 0, 0, 0},
        {"", 0, 0, 0, 0},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.naam);
        EXPECT_EQ(snaps.GetXbyName(c.naam), c.x);
        EXPECT_EQ(snaps.GetYbyName(c.naam), c.y);
        EXPECT_EQ(snaps.GetConnectablebyName(c.naam), c.connectable);
        EXPECT_EQ(snaps.GetSoortbyName(c.naam), c.soort);
    }
}

TEST(clsSnaps, TableHoldsFiftyFourUniqueEntriesThatEachHitThemselves) {
    const clsSnaps snaps;
    ASSERT_EQ(snaps.GetSnapCount(), 54);
    EXPECT_EQ(snaps.GetSnapItemName(0), "");
    EXPECT_EQ(snaps.GetSnapItemName(1), "Sensor 1");
    EXPECT_EQ(snaps.GetSnapItemName(54), "Comparator Regelaar");
    EXPECT_EQ(snaps.GetSnapItemName(55), "");
    EXPECT_EQ(snaps.GetSnapItemName(100), "");

    std::set<std::string> names;
    for (int i = 1; i <= snaps.GetSnapCount(); ++i) {
        const std::string naam = snaps.GetSnapItemName(i);
        EXPECT_TRUE(names.insert(naam).second) << "duplicate " << naam;
        EXPECT_EQ(snaps.GetSnapName(snaps.GetXbyName(naam), snaps.GetYbyName(naam)), naam);
    }
}

TEST(clsSnaps, PositionsOutsideTheTableThrow) {
    const clsSnaps snaps;
    EXPECT_THROW(snaps.GetSnapItemName(-1), std::out_of_range);
    EXPECT_THROW(snaps.GetSnapItemName(101), std::out_of_range);
}

TEST(clsSnaps, AddSnapRoundsTheRadiusHalfToEvenAndDefaultsTheRest) {
    clsSnaps snaps;
    snaps.AddSnap(1000, 1000, 2.5f, "half down");
    snaps.AddSnap(2000, 2000, 3.5f, "half up");
    snaps.AddSnap(3000, 3000, 1.0f);

    EXPECT_EQ(snaps.GetSnapName(1001, 1001), "half down");
    EXPECT_EQ(snaps.GetSnapName(1002, 1000), ""); // radius 2
    EXPECT_EQ(snaps.GetSnapName(2003, 2003), "half up");
    EXPECT_EQ(snaps.GetSnapName(2004, 2000), ""); // radius 4
    EXPECT_EQ(snaps.GetConnectablebyName("half up"), 0);
    EXPECT_EQ(snaps.GetSoortbyName("half up"), 0);
    EXPECT_EQ(snaps.GetSnapItemName(57), "");
    EXPECT_EQ(snaps.GetSnapName(3000, 3000), "");
}

TEST(clsSnaps, HundredAndFirstEntryThrowsAndLeavesTheTableAlone) {
    clsSnaps snaps;
    while (snaps.GetSnapCount() < clsSnaps::MaxSnaps) {
        snaps.AddSnap(0, 0, 1.0f, "extra " + std::to_string(snaps.GetSnapCount()));
    }
    EXPECT_THROW(snaps.AddSnap(5, 5, 1.0f, "too many"), std::out_of_range);
    EXPECT_EQ(snaps.GetSnapCount(), 100);
    EXPECT_EQ(snaps.GetSnapItemName(100), "extra 99");
    EXPECT_EQ(snaps.GetXbyName("too many"), 0);
}

} // namespace
