// The rules of the simulation step that need no board: the pulse generator's timing and the
// sensor signals' rounding.

#include "app/simulation/PulseGenerator.h"
#include "app/simulation/SensorRule.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

struct RemainderRow {
    float a;
    float b;
    float expected;
};

TEST(PulseGenerator, FloatRemainderDropsWholePeriodsTowardsZero) {
    const RemainderRow rows[] = {
        {5.0F, 2.0F, 1.0F},
        {-5.0F, 2.0F, -1.0F},
        {0.25F, 0.2F, 0.25F - 0.2F},
        {4.0F, 2.0F, 0.0F},
        // No NaN: a remainder by 0 or of an endless time leaves the time as it is.
        {3.0F, 0.0F, 3.0F},
        {std::numeric_limits<float>::infinity(), 0.2F, std::numeric_limits<float>::infinity()},
    };
    for (const RemainderRow& row : rows) {
        EXPECT_FLOAT_EQ(PulseGenerator::FloatRemainder(row.a, row.b), row.expected)
            << row.a << " by " << row.b;
    }
}

TEST(PulseGenerator, TogglesOnceWhenMoreThanAPeriodHasGathered) {
    PulseGenerator generator;
    // At setting 0 the time gathers and the level holds.
    generator.Advance(0, [] { return 30.0F; });
    EXPECT_EQ(generator.Level(), 0);
    // Turned up, the long gathered time gives one toggle, not one per period.
    generator.Advance(10, [] { return 30.0F; });
    EXPECT_EQ(generator.Level(), 50);
    generator.Advance(10, [] { return 30.15F; }); // less than a period
    EXPECT_EQ(generator.Level(), 50);
    generator.Advance(10, [] { return 30.45F; });
    EXPECT_EQ(generator.Level(), 0);
}

TEST(PulseGenerator, KeepsPulsingAcrossMidnight) {
    PulseGenerator generator;
    generator.Advance(10, [] { return 86399.9F; });
    generator.Advance(10, [] { return 0.05F; });
    EXPECT_GE(generator.PulseTime(), 0.0F);
    int toggles = 0;
    std::int32_t level = generator.Level();
    for (int i = 1; i <= 100; ++i) {
        const float t = 0.05F + float(i) * 0.01F;
        generator.Advance(10, [t] { return t; });
        toggles += generator.Level() != level ? 1 : 0;
        level = generator.Level();
    }
    EXPECT_NEAR(toggles, 5, 1);
}

struct LightRow {
    double dx;
    double dy;
    std::int32_t value;
};

TEST(SensorRule, PointerLightRoundsHalvesToEven) {
    const LightRow rows[] = {
        {3, 4, 48}, // 5 pixels: 47.5 rounds to 48
        {0, 97, 2}, // 1.5 rounds to 2
        {0, 98, 1}, //
        {0, 99, 0}, // 0.5 rounds to 0
        {1e9, 1e9, 0},
    };
    for (const LightRow& row : rows) {
        EXPECT_EQ(SensorRule::PointerLight(row.dx, row.dy), row.value)
            << "(" << row.dx << ", " << row.dy << ")";
    }
}

struct SwingRow {
    float t;
    std::int32_t value;
};

TEST(SensorRule, SwingingLightUsesThreePointOneFour) {
    const SwingRow rows[] = {
        {0.0F, 30},
        {1.2506F, 50}, // 2t/5·3.14 = π/2
        {3.7519F, 10}, // 3π/2
        // With π instead of 3.14 both would give 30.
        {62.5F, 31},
        {1000.0F, 18},
    };
    for (const SwingRow& row : rows) {
        EXPECT_EQ(SensorRule::SwingingLight(row.t), row.value) << row.t;
    }
}

} // namespace
