// The buzzer's sound files: canonical 16-bit PCM mono WAV; the ring loops without a click,
// the silence is silent.

#include "tests/data/DataFile.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Wav {
    std::uint32_t rate = 0;
    std::vector<std::int16_t> samples;
};

// Checks the header field by field and returns the samples.
Wav ReadWav(const std::string& file) {
    const auto bytes = ReadDataFile(file);
    Wav wav;
    EXPECT_GE(bytes.size(), 44u) << file;
    if (bytes.size() < 44) {
        return wav;
    }
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF") << file;
    EXPECT_EQ(ReadLE(bytes, 4, 4), bytes.size() - 8) << file;
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ") << file;
    EXPECT_EQ(ReadLE(bytes, 16, 4), 16u) << file;
    EXPECT_EQ(ReadLE(bytes, 20, 2), 1u) << file << ": PCM";
    EXPECT_EQ(ReadLE(bytes, 22, 2), 1u) << file << ": mono";
    wav.rate = ReadLE(bytes, 24, 4);
    EXPECT_EQ(ReadLE(bytes, 28, 4), wav.rate * 2) << file << ": bytes per second";
    EXPECT_EQ(ReadLE(bytes, 32, 2), 2u) << file << ": block align";
    EXPECT_EQ(ReadLE(bytes, 34, 2), 16u) << file << ": bits";
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data") << file;
    const std::uint32_t size = ReadLE(bytes, 40, 4);
    EXPECT_EQ(size, bytes.size() - 44) << file;
    for (std::size_t at = 44; at + 1 < bytes.size(); at += 2) {
        wav.samples.push_back(static_cast<std::int16_t>(ReadLE(bytes, at, 2)));
    }
    return wav;
}

double Seconds(const Wav& wav) {
    return wav.rate == 0 ? 0.0 : static_cast<double>(wav.samples.size()) / wav.rate;
}

TEST(Sounds, RingLoopsWithoutAClick) {
    const Wav ring = ReadWav("Ringin.wav");
    ASSERT_GT(ring.samples.size(), 2u);
    EXPECT_GE(ring.rate, 22050u);
    EXPECT_GE(Seconds(ring), 0.2);
    EXPECT_LE(Seconds(ring), 1.0);
    const auto& s = ring.samples;
    EXPECT_EQ(s.front(), 0);
    EXPECT_EQ(s.back(), 0);
    // Across the loop the wave goes on in the direction it had: one zero crossing, no fold.
    EXPECT_LT(static_cast<int>(s[s.size() - 2]) * s[1], 0);
    int peak = 0;
    for (std::int16_t v : s) {
        peak = std::max(peak, std::abs(static_cast<int>(v)));
    }
    EXPECT_GT(peak, 8000) << "the ring must be heard";
    EXPECT_LT(peak, 32767) << "and not clip";
}

TEST(Sounds, SilenceIsShortAndSilent) {
    const Wav silence = ReadWav("SILENCE.wav");
    ASSERT_FALSE(silence.samples.empty());
    EXPECT_LE(Seconds(silence), 0.5);
    EXPECT_TRUE(std::all_of(silence.samples.begin(), silence.samples.end(),
                            [](std::int16_t v) { return v == 0; }));
}

} // namespace
