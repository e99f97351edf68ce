#pragma once
// A knob's setting as the user reads it: volts for the comparator and the variable voltage,
// pulses per second for the pulse generator.

#include "app/simulation/VoltText.h"

#include <cstdint>
#include <string>

/// Full pulses (high and low) per second at a pulse generator setting, in tenths: a toggle
/// every 10 / (4·setting + 10) s makes (0.2·setting + 0.5) pulses a second; setting 0 (or
/// below) makes none.
constexpr std::int32_t PulseRateTenths(std::int32_t setting) {
    return setting > 0 ? 2 * setting + 5 : 0;
}

/// "3,5 V" for a voltage knob at 35; "2,9 pulsen/s" for the pulse generator at 12.
inline std::string KnobText(bool pulseGenerator, std::int32_t setting) {
    if (!pulseGenerator) {
        return VoltText(setting);
    }
    const std::int32_t t = PulseRateTenths(setting);
    return std::to_string(t / 10) + "," + std::to_string(t % 10) + " pulsen/s";
}
