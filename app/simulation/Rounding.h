#pragma once
// Conversion of computed values to whole numbers, as the board's rules round them.

#include <cmath>
#include <cstdint>

/// Rounds to the nearest integer with halves going to the even neighbour: 2.5 gives 2,
/// 3.5 gives 4, -2.5 gives -2. Relies on the default floating-point rounding mode. Values
/// beyond the 32-bit range are limited to it and NaN gives 0, so no input is undefined.
inline std::int32_t RoundHalfEven(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    const double r = std::nearbyint(v);
    if (r >= 2147483647.0) {
        return INT32_MAX;
    }
    if (r <= -2147483648.0) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(r);
}
