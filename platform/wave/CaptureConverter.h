#pragma once
// Turns sound of any rate and channel count into the capture format of the controls:
// 44100 Hz, mono, unsigned 8-bit (silence 128). Streaming: chunks may come in any size.

#include <cstdint>
#include <span>
#include <vector>

class CaptureConverter {
public:
    static constexpr std::uint32_t kRate = 44100;

    /// `inputRate` > 0 and `channels` > 0.
    CaptureConverter(std::uint32_t inputRate, std::uint16_t channels);

    /// Converts whole frames of interleaved samples (-1..1) and appends the bytes to `out`.
    /// Channels are averaged and the rate is changed by linear interpolation; sound that is
    /// already 44.1 kHz mono comes out sample for sample.
    void Push(std::span<const float> interleaved, std::vector<std::uint8_t>& out);

    /// One sample (-1..1) as an unsigned 8-bit value, rounded and clipped; NaN is silence.
    static std::uint8_t ToByte(float sample);

private:
    std::uint32_t inputRate_;
    std::uint16_t channels_;
    /// Input samples (mono) seen so far, and output samples made so far.
    std::uint64_t inputCount_ = 0;
    std::uint64_t outputCount_ = 0;
    /// The last mono input sample of the previous chunk.
    float previous_ = 0.0f;
    std::vector<float> mono_;
};
