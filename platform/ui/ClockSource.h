#pragma once
// The time of day as the simulation reads it. Tests install their own source to steer ticks.

class ClockSource {
public:
    virtual ~ClockSource() = default;

    /// Seconds since local midnight, in single precision as the board's timing uses it.
    virtual float SecondsSinceMidnight() = 0;

    /// The installed source, or the system clock when none is installed.
    static ClockSource& Current();
    /// Installs `source` (not owned) for the whole process; nullptr restores the system clock.
    static void Install(ClockSource* source);
};

/// A clock that shows whatever the test sets.
class ManualClock : public ClockSource {
public:
    float SecondsSinceMidnight() override { return seconds; }
    float seconds = 0.0F;
};
