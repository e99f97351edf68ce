#pragma once
// Reading WAV files: the RIFF/WAVE container with PCM samples of any common layout. Pure
// C++, no Qt, so that it can be tested and fuzzed on plain bytes.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct WavFile {
    std::uint32_t sampleRate = 0;
    std::uint16_t channels = 0;
    /// Interleaved samples scaled to -1..1 (8-bit: (b - 128) / 128; 16-bit: s / 32768; ...).
    std::vector<float> samples;

    std::size_t Frames() const { return channels == 0 ? 0 : samples.size() / channels; }

    /// Decodes a whole file. Accepted: integer PCM in 1 to 4 bytes per sample, IEEE float in 4
    /// or 8 bytes, also in the extensible format, any number of channels (1 to 64) and any
    /// rate (1 Hz to 1 MHz). A data chunk that claims more bytes than the file holds is read
    /// as far as it goes, in whole frames. nullopt for anything else, for a file without a
    /// single frame, and for a file that is not WAV at all; *error (when given) then says
    /// why, in Dutch.
    static std::optional<WavFile> Parse(std::span<const std::uint8_t> bytes,
                                        std::string* error = nullptr);
};
