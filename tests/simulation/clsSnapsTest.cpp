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

struct EntryRow {
    const char* naam;
    int x;
    int y;
    int radius;
    int connectable;
    int soort;
};

// The whole table in its order, as the board is drawn and documents are read against it.
TEST(clsSnaps, EveryEntryInOrderWithPlaceRadiusConnectableAndKind) {
    const clsSnaps snaps;
    const EntryRow rows[] = {
        {"Sensor 1", 44, 49, 24, 0, 2},
        {"Sensor 2", 44, 102, 24, 0, 2},
        {"Geluids Sensor", 31, 145, 10, 0, 2},
        {"Sensor 1 Uit Geel", 98, 50, 10, -1, 2},
        {"Sensor 2 Uit Geel", 98, 101, 10, -1, 2},
        {"Geluids Sensor Uit Geel", 98, 144, 10, -1, 2},
        {"Drukknop 1 Uit Geel", 98, 179, 10, -1, 2},
        {"Drukknop 2 Uit Geel", 98, 214, 10, -1, 2},
        {"Var. Spanning Uit Geel", 98, 256, 10, -1, 2},
        {"Puls Generator Uit Geel", 98, 295, 10, -1, 2},
        {"Transistor In", 133, 41, 10, -1, 1},
        {"EN-poort Ingang 1", 133, 110, 10, -1, 1},
        {"EN-poort Ingang 2", 133, 145, 10, -1, 1},
        {"Geheugen Set (In)", 134, 180, 10, -1, 1},
        {"Geheugen Reset (In)", 134, 215, 10, -1, 1},
        {"Transistor Uit", 199, 41, 10, -1, 2},
        {"EN-poort Uit", 199, 128, 10, -1, 2},
        {"Geheugen Uit", 200, 198, 10, -1, 2},
        {"Comparator In", 222, 42, 10, -1, 1},
        {"Comparator Uit", 287, 41, 10, -1, 2},
        {"OF-poort Ingang 1", 222, 111, 10, -1, 1},
        {"OF-poort Ingang 2", 222, 145, 10, -1, 1},
        {"OF-poort Uit", 287, 128, 10, -1, 2},
        {"Invertor Ingang", 222, 197, 10, -1, 1},
        {"Invertor Uitgang", 288, 197, 10, -1, 2},
        {"LED 1 Ingang", 322, 41, 10, -1, 1},
        {"LED 2 Ingang", 322, 75, 10, -1, 1},
        {"LED 3 Ingang", 323, 110, 10, -1, 1},
        {"LED 4 Ingang", 323, 145, 10, -1, 1},
        {"Zoemer", 323, 197, 10, -1, 1},
        {"Relais Controle (In)", 323, 245, 10, -1, 1},
        {"Relais Ingang 1 (in/uit)", 368, 246, 10, -1, 3},
        {"Relais Ingang 2 (in/uit)", 393, 245, 10, -1, 3},
        {"Relais Uitgang 1 (in/uit)", 369, 285, 10, -1, 3},
        {"Relais Uitgang 2 (in/uit)", 394, 285, 10, -1, 3},
        {"Pulsenteller Uitgang 1", 288, 250, 10, -1, 2},
        {"Pulsenteller Uitgang 2", 266, 249, 10, -1, 2},
        {"Pulsenteller Uitgang 4", 244, 249, 10, -1, 2},
        {"Pulsenteller Uitgang 8", 222, 250, 10, -1, 2},
        {"Pulsenteller Tel pulsen (In)", 133, 249, 10, -1, 1},
        {"Pulsenteller Teller aan/uit (In)", 133, 281, 10, -1, 1},
        {"Pulsenteller Reset (In)", 134, 305, 10, -1, 1},
        {"AD-omzetter In", 30, 336, 10, -1, 1},
        {"AD-omzetter Uitgang 8", 51, 335, 10, -1, 2},
        {"AD-omzetter Uitgang 4", 70, 335, 10, -1, 2},
        {"AD-omzetter Uitgang 2", 87, 335, 10, -1, 2},
        {"AD-omzetter Uitgang 1", 104, 335, 10, -1, 2},
        {"Drukknop 1", 30, 180, 10, 0, 0},
        {"Drukknop 2", 29, 214, 10, 0, 0},
        {"Var. Spanning In Zwart", 31, 256, 10, -1, 0},
        {"Var. Spanning Regelaar", 63, 256, 10, 0, 0},
        {"Puls Generator Regelaar", 64, 296, 10, 0, 0},
        {"Pulsenteller Reset Drukknop", 200, 305, 10, 0, 0},
        {"Comparator Regelaar", 266, 72, 10, 0, 0},
    };
    ASSERT_EQ(snaps.GetSnapCount(), static_cast<int>(std::size(rows)));
    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
        const EntryRow& row = rows[i];
        SCOPED_TRACE(row.naam);
        EXPECT_EQ(snaps.GetSnapItemName(i + 1), row.naam);
        EXPECT_EQ(snaps.GetXbyName(row.naam), row.x);
        EXPECT_EQ(snaps.GetYbyName(row.naam), row.y);
        EXPECT_EQ(snaps.GetConnectablebyName(row.naam), row.connectable);
        EXPECT_EQ(snaps.GetSoortbyName(row.naam), row.soort);
        // The radius, seen through the hit test straight below the centre.
        EXPECT_EQ(snaps.GetSnapName(row.x, row.y + row.radius - 1), row.naam);
        EXPECT_NE(snaps.GetSnapName(row.x, row.y + row.radius), row.naam);
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
