#include "app/simulation/SensorRule.h"

#include "app/simulation/Rounding.h"

#include <algorithm>
#include <cmath>

std::int32_t SensorRule::PointerLight(double dx, double dy) {
    const std::int32_t value = RoundHalfEven(50.0 - std::sqrt(dx * dx + dy * dy) / 2.0);
    return std::clamp(value, 0, 50);
}

std::int32_t SensorRule::SwingingLight(float t) {
    // The angle is gathered in single precision, as the clock is; the constant is 3.14.
    const float turns = 2.0F * t / 5.0F;
    const std::int32_t value = RoundHalfEven(std::sin(turns * 3.14) * 20.0 + 30.0);
    return std::clamp(value, 0, 50);
}

std::int32_t SensorRule::Value(std::int32_t mode, double dx, double dy, float t) {
    switch (mode) {
    case 1:
        return PointerLight(dx, dy);
    case 2:
        return SwingingLight(t);
    default:
        return 0;
    }
}
