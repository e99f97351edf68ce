#pragma once
// The signal an analogue sensor gives in each of its modes.

#include <cstdint>

/// Turns a sensor's mode into its output value, 0 to 50.
class SensorRule {
public:
    /// Mode 1, the pointer as a light: 50 − √(dx² + dy²) / 2, rounded to the nearest integer
    /// with halves to even and limited to 0..50, for the pointer (dx, dy) board pixels away
    /// from the sensor's centre. 50 on the centre and one pixel away, 0 from 99 pixels on.
    static std::int32_t PointerLight(double dx, double dy);
    /// Mode 2, a swinging light: sin(2·t / 5 · 3.14) · 20 + 30 at the clock t (seconds since
    /// midnight), rounded as above; between 10 and 50, a period of a little over 5 seconds.
    static std::int32_t SwingingLight(float t);
    /// The value for `mode`: 0 for mode 0 and for any mode outside 0..2, PointerLight(dx, dy)
    /// for mode 1, SwingingLight(t) for mode 2.
    static std::int32_t Value(std::int32_t mode, double dx, double dy, float t);
};
