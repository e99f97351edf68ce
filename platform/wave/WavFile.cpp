#include "platform/wave/WavFile.h"

#include <cmath>
#include <cstring>

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::uint16_t kMaxChannels = 64;
/// Below this, a file is no recording of sound, and bringing it to the capture rate would
/// make thousands of samples of each of its own.
constexpr std::uint32_t kMinRate = 1'000;
constexpr std::uint32_t kMaxRate = 1'000'000;

/// The last 14 bytes of the sub-format identifier of the extensible format; its first two
/// bytes are the plain format tag.
constexpr std::uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                             0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

std::optional<WavFile> Refuse(std::string* error, const char* why) {
    if (error != nullptr) {
        *error = why;
    }
    return std::nullopt;
}

struct Format {
    std::uint16_t tag = 0;
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bytesPerSample = 0;
};

float Decode(const std::uint8_t* p, const Format& f) {
    if (f.tag == kFormatFloat) {
        float value = 0.0f;
        if (f.bytesPerSample == 4) {
            const std::uint32_t bits = U32(p);
            std::memcpy(&value, &bits, sizeof value);
        } else {
            const std::uint64_t bits = U32(p) | (std::uint64_t{U32(p + 4)} << 32);
            double wide = 0.0;
            std::memcpy(&wide, &bits, sizeof wide);
            value = static_cast<float>(wide);
        }
        return std::isfinite(value) ? value : 0.0f;
    }
    switch (f.bytesPerSample) {
    case 1:
        return (static_cast<float>(p[0]) - 128.0f) / 128.0f;
    case 2:
        return static_cast<float>(static_cast<std::int16_t>(U16(p))) / 32768.0f;
    case 3: {
        const std::uint32_t raw =
            std::uint32_t{p[0]} << 8 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 24;
        return static_cast<float>(static_cast<std::int32_t>(raw)) / 2147483648.0f;
    }
    default:
        return static_cast<float>(static_cast<std::int32_t>(U32(p))) / 2147483648.0f;
    }
}

} // namespace

std::optional<WavFile> WavFile::Parse(std::span<const std::uint8_t> bytes, std::string* error) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return Refuse(error, "geen WAV-bestand (RIFF/WAVE ontbreekt)");
    }
    std::optional<Format> format;
    std::size_t at = 12;
    while (bytes.size() - at >= 8) {
        const std::uint8_t* chunk = bytes.data() + at;
        const std::uint32_t declared = U32(chunk + 4);
        const std::size_t room = bytes.size() - at - 8;
        const std::uint8_t* body = chunk + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (declared < 16 || declared > room) {
                return Refuse(error, "het fmt-blok is onvolledig");
            }
            Format f;
            f.tag = U16(body);
            f.channels = U16(body + 2);
            f.rate = U32(body + 4);
            f.blockAlign = U16(body + 12);
            const std::uint16_t bits = U16(body + 14);
            if (f.tag == kFormatExtensible) {
                if (declared < 40 || std::memcmp(body + 26, kSubFormatTail, 14) != 0) {
                    return Refuse(error, "onbekend uitgebreid formaat");
                }
                f.tag = U16(body + 24);
            }
            if (f.tag != kFormatPcm && f.tag != kFormatFloat) {
                return Refuse(error, "geen PCM-formaat");
            }
            if (f.channels == 0 || f.channels > kMaxChannels) {
                return Refuse(error, "onbruikbaar aantal kanalen");
            }
            if (f.rate < kMinRate || f.rate > kMaxRate) {
                return Refuse(error, "onbruikbare samplefrequentie");
            }
            if (f.blockAlign == 0 || f.blockAlign % f.channels != 0) {
                return Refuse(error, "blokgrootte past niet bij het aantal kanalen");
            }
            f.bytesPerSample = static_cast<std::uint16_t>(f.blockAlign / f.channels);
            const bool sizeFits = f.tag == kFormatPcm
                                      ? f.bytesPerSample >= 1 && f.bytesPerSample <= 4
                                      : f.bytesPerSample == 4 || f.bytesPerSample == 8;
            if (!sizeFits || bits == 0 || bits > 8u * f.bytesPerSample) {
                return Refuse(error, "onbruikbaar aantal bits per sample");
            }
            format = f;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format) {
                return Refuse(error, "het data-blok komt voor het fmt-blok");
            }
            // A file cut short, or written while streaming, claims more than it holds.
            const std::size_t size = declared < room ? declared : room;
            const std::size_t frames = size / format->blockAlign;
            if (frames == 0) {
                return Refuse(error, "het bestand bevat geen geluid");
            }
            WavFile file;
            file.sampleRate = format->rate;
            file.channels = format->channels;
            file.samples.resize(frames * format->channels);
            const std::uint8_t* p = body;
            for (float& sample : file.samples) {
                sample = Decode(p, *format);
                p += format->bytesPerSample;
            }
            return file;
        }
        // Chunks are padded to an even length.
        const std::size_t skip = std::size_t{declared} + (declared & 1u);
        if (skip >= room) {
            break;
        }
        at += 8 + skip;
    }
    return Refuse(error, format ? "het data-blok ontbreekt" : "het fmt-blok ontbreekt");
}
