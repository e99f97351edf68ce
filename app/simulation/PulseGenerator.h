#pragma once
// The board's pulse generator: a level that toggles between 0 and 50 at a rate set by its
// knob, timed by the clock of the simulation step.

#include <cstdint>

/// Toggles its level at most once per step, when more than one period has gathered since the
/// last toggle; a full pulse (high and low) lasts two periods. All timing is in single
/// precision, seconds since midnight.
class PulseGenerator {
public:
    /// a − b·Fix(a / b) in single precision, Fix dropping the fraction towards zero. Gives a
    /// when b is 0 or a / b is not finite, so that no NaN enters the timing.
    static float FloatRemainder(float a, float b);
    /// Seconds between toggles at a knob setting: 10 / (4·setting + 10).
    static float Period(std::int32_t setting);

    /// Advances the generator by one step. `readClock` gives the clock in seconds since
    /// midnight; it is read once to gather the time passed and once more to remember the
    /// step's clock. At a setting above 0, once more than Period(setting) has gathered, the
    /// level toggles and the gathered time keeps only the remainder. At setting 0 the level
    /// stays and the time keeps gathering. A clock that went back (midnight) adds no time.
    template <typename ReadClock> void Advance(std::int32_t setting, ReadClock&& readClock) {
        const float now = readClock();
        Gather(now);
        lastClock_ = readClock();
        Toggle(setting);
    }

    /// 0 or 50; 0 for a new generator.
    std::int32_t Level() const { return level_; }
    /// Time gathered since the last toggle, seconds.
    float PulseTime() const { return pulseTime_; }
    /// The clock as remembered by the last step; 0 for a new generator.
    float LastClock() const { return lastClock_; }

private:
    void Gather(float now);
    void Toggle(std::int32_t setting);

    std::int32_t level_ = 0;
    float pulseTime_ = 0.0F;
    float lastClock_ = 0.0F;
};
