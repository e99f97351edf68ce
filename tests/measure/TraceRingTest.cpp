// The ring of the measuring graph: it holds the last ticks only, channels come and go without
// shifting the others' history, and a pause leaves a gap.

#include "app/measure/TraceRing.h"

#include <gtest/gtest.h>

namespace {

TEST(TraceRing, HoldsTheLastTicksOfEachChannel) {
    TraceRing ring(4);
    ring.Add("A");
    for (int t = 0; t < 6; ++t) {
        ring.Push({t * 10});
    }
    EXPECT_EQ(ring.Ticks(), 6);
    EXPECT_EQ(ring.FirstTick(), 2);
    EXPECT_EQ(ring.Value(0, 1), std::nullopt) << "overwritten";
    EXPECT_EQ(ring.Value(0, 2), 20);
    EXPECT_EQ(ring.Value(0, 5), 50);
    EXPECT_EQ(ring.Value(0, 6), std::nullopt) << "not yet";

    // A channel added now has nothing before it came; the first one keeps its history.
    ring.Add("B");
    ring.Push({60, 7});
    EXPECT_EQ(ring.Value(1, 5), std::nullopt);
    EXPECT_EQ(ring.Value(1, 6), 7);
    ring.Remove(0);
    EXPECT_EQ(ring.Channels(), 1U);
    EXPECT_EQ(ring.Name(0), "B");
    EXPECT_EQ(ring.Value(0, 6), 7);
    EXPECT_EQ(ring.Find("B"), 0U);
    EXPECT_EQ(ring.Find("A"), 1U);

    // A pause: no values for its ticks, and the time goes on.
    ring.Skip(2);
    ring.Push({9});
    EXPECT_EQ(ring.Ticks(), 10);
    EXPECT_EQ(ring.Value(0, 7), std::nullopt);
    EXPECT_EQ(ring.Value(0, 8), std::nullopt);
    EXPECT_EQ(ring.Value(0, 6), 7);
    EXPECT_EQ(ring.Value(0, 9), 9);
    ring.Skip(1000);
    EXPECT_EQ(ring.Ticks(), 1010);
    for (std::int64_t t = ring.FirstTick(); t < ring.Ticks(); ++t) {
        EXPECT_EQ(ring.Value(0, t), std::nullopt) << t;
    }
}

} // namespace
