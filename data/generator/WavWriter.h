#pragma once
// Encodes sounds as canonical 16-bit PCM mono WAV files (RIFF header, "fmt " and "data"
// chunks, 44 bytes before the samples), which every sound player takes.

#include <cstdint>
#include <string>
#include <vector>

class WavWriter {
public:
    /// The complete file for `samples` played at `sampleRate` samples per second.
    static std::vector<std::uint8_t> Encode(const std::vector<std::int16_t>& samples,
                                            std::uint32_t sampleRate);
    /// Encodes and writes to `path`; throws std::runtime_error naming the file on failure.
    static void Write(const std::vector<std::int16_t>& samples, std::uint32_t sampleRate,
                      const std::string& path);
};
