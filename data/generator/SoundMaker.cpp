#include "data/generator/SoundMaker.h"

#include <algorithm>
#include <cmath>
#include <numbers>

std::vector<std::int16_t> SoundMaker::Ring() {
    // Harmonics of the buzz (number, strength), all sines so that every period starts at 0,
    // and a slow swell over two periods that makes it rattle like a real buzzer.
    constexpr std::pair<int, double> harmonics[] = {{1, 1.0},  {2, 0.35}, {3, 0.45}, {4, 0.12},
                                                    {5, 0.28}, {7, 0.18}, {9, 0.10}, {11, 0.06}};
    constexpr int cycle = 2 * kPeriod;
    std::vector<double> shape(cycle);
    for (int n = 0; n < cycle; ++n) {
        const double phase = 2 * std::numbers::pi * n / kPeriod;
        double v = 0;
        for (const auto& [k, a] : harmonics) {
            v += a * std::sin(k * phase);
        }
        shape[static_cast<std::size_t>(n)] =
            v * (0.8 + 0.2 * std::cos(std::numbers::pi * n / kPeriod));
    }
    const double peak = std::abs(*std::max_element(
        shape.begin(), shape.end(), [](double a, double b) { return std::abs(a) < std::abs(b); }));
    const double scale = 0.6 * 32767 / peak;

    const int total = kPeriods * kPeriod + 1;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(total));
    for (int n = 0; n < total; ++n) {
        const double v = shape[static_cast<std::size_t>(n % cycle)] * scale;
        samples[static_cast<std::size_t>(n)] = static_cast<std::int16_t>(std::lround(v));
    }
    return samples;
}

std::vector<std::int16_t> SoundMaker::Silence() {
    return std::vector<std::int16_t>(kSampleRate / 10, 0);
}
