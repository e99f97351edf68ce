#pragma once
// Socket values as the user reads them: tenths of a volt in Dutch notation.

#include <cstdint>
#include <string>

/// "3,5 V" for 35, "0,0 V" for 0, "-0,2 V" for -2.
inline std::string VoltText(std::int32_t tenths) {
    const std::int64_t t = tenths;
    const std::int64_t size = t < 0 ? -t : t;
    return (t < 0 ? "-" : "") + std::to_string(size / 10) + "," + std::to_string(size % 10) + " V";
}
