#pragma once
// The buzzer's sounds. The ring is played looping, so it holds whole periods of its waveform
// and starts and ends on a zero crossing: the loop joins without a click.

#include <cstdint>
#include <vector>

class SoundMaker {
public:
    static constexpr std::uint32_t kSampleRate = 44100;
    /// Samples in one period of the buzz (441 Hz); the waveform repeats every two periods.
    static constexpr int kPeriod = 100;
    /// Number of periods in the ring (about 0.41 s).
    static constexpr int kPeriods = 180;

    /// A raspy buzz: kPeriods * kPeriod samples plus the closing zero. The first and the last
    /// sample are 0.
    static std::vector<std::int16_t> Ring();
    /// 100 ms of silence, which replaces the ring when the buzzer stops.
    static std::vector<std::int16_t> Silence();
};
