// Conversion to 44.1 kHz mono 8-bit.
#include "platform/wave/CaptureConverter.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<float> FromBytes(const Bytes& bytes) {
    std::vector<float> samples;
    for (std::uint8_t b : bytes) {
        samples.push_back((static_cast<float>(b) - 128.0f) / 128.0f);
    }
    return samples;
}

TEST(CaptureConverterTest, ConvertsRateChannelsAndSampleValues) {
    struct Row {
        const char* what;
        std::uint32_t rate;
        std::uint16_t channels;
        std::vector<float> input;
        Bytes expected;
    };
    const std::vector<Row> rows = {
        {"44.1 kHz mono 8-bit passes unchanged",
         44100,
         1,
         FromBytes({0, 1, 127, 128, 200, 255}),
         {0, 1, 127, 128, 200, 255}},
        {"stereo is averaged", 44100, 2, {1.0f, 0.0f, -0.5f, -0.5f}, {192, 64}},
        {"88.2 kHz keeps every second sample",
         88200,
         1,
         FromBytes({10, 20, 30, 40, 50, 60}),
         {10, 30, 50}},
        {"22.05 kHz interpolates between samples",
         22050,
         1,
         FromBytes({100, 140, 100}),
         {100, 120, 140, 120, 100}},
        {"clipped at both ends, NaN is silence", 44100, 1, {2.0f, -2.0f, NAN}, {255, 0, 128}},
    };
    for (const Row& row : rows) {
        CaptureConverter converter(row.rate, row.channels);
        Bytes out;
        converter.Push(row.input, out);
        EXPECT_EQ(out, row.expected) << row.what;
    }
}

TEST(CaptureConverterTest, ChunksOfAnySizeGiveTheSameSound) {
    std::vector<float> input;
    for (int i = 0; i < 480; ++i) {
        input.push_back(static_cast<float>((i * 37) % 200 - 100) / 128.0f);
    }
    CaptureConverter whole(48000, 1);
    Bytes once;
    whole.Push(input, once);

    CaptureConverter pieces(48000, 1);
    Bytes chunked;
    std::size_t at = 0;
    for (std::size_t size : {1u, 7u, 64u, 3u, 200u, 205u}) {
        pieces.Push(std::span<const float>(input).subspan(at, size), chunked);
        at += size;
    }
    ASSERT_EQ(at, input.size());
    EXPECT_EQ(chunked, once);
    EXPECT_EQ(once.size(), 441u); // 480 samples at 48 kHz: 10 ms
}

} // namespace
