// Reading WAV files, on annotated bytes.
#include "platform/wave/WavFile.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

void PutId(Bytes& b, const char* id) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(id[i]));
    }
}

/// "RIFF" <size> "WAVE", a 16-byte fmt chunk, and a data chunk holding `data`.
Bytes Wav(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t blockAlign,
          std::uint16_t bits, const Bytes& data) {
    Bytes b;
    PutId(b, "RIFF");
    Put32(b, static_cast<std::uint32_t>(4 + 24 + 8 + data.size()));
    PutId(b, "WAVE");
    PutId(b, "fmt ");
    Put32(b, 16);                // chunk size
    Put16(b, tag);               // format tag
    Put16(b, channels);          // channels
    Put32(b, rate);              // samples per second
    Put32(b, rate * blockAlign); // bytes per second
    Put16(b, blockAlign);        // block align
    Put16(b, bits);              // bits per sample
    PutId(b, "data");
    Put32(b, static_cast<std::uint32_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

TEST(WavFileTest, DecodesEveryPcmLayoutToScaledSamples) {
    struct Row {
        const char* what;
        Bytes file;
        std::uint32_t rate;
        std::uint16_t channels;
        std::vector<float> samples;
    };
    const std::vector<Row> rows = {
        {"8-bit mono",
         Wav(1, 1, 44100, 1, 8, {0x80, 0x00, 0xFF, 0xC0}),
         44100,
         1,
         {0.0f, -1.0f, 127.0f / 128.0f, 0.5f}},
        {"16-bit stereo",
         Wav(1, 2, 48000, 4, 16, {0x00, 0x80, 0xFF, 0x7F, 0x00, 0x40, 0x00, 0x00}),
         48000,
         2,
         {-1.0f, 32767.0f / 32768.0f, 0.5f, 0.0f}},
        {"24-bit mono",
         Wav(1, 1, 8000, 3, 24, {0x00, 0x00, 0xC0, 0x00, 0x00, 0x40}),
         8000,
         1,
         {-0.5f, 0.5f}},
        {"32-bit integer", Wav(1, 1, 22050, 4, 32, {0x00, 0x00, 0x00, 0x80}), 22050, 1, {-1.0f}},
        {"32-bit float", Wav(3, 1, 44100, 4, 32, {0x00, 0x00, 0x00, 0x3F}), 44100, 1, {0.5f}},
        {"64-bit float",
         Wav(3, 1, 44100, 8, 64, {0, 0, 0, 0, 0, 0, 0xE0, 0xBF}),
         44100,
         1,
         {-0.5f}},
        {"float NaN is silence",
         Wav(3, 1, 44100, 4, 32, {0x00, 0x00, 0xC0, 0x7F}),
         44100,
         1,
         {0.0f}},
        {"12 bits in a 16-bit container", Wav(1, 1, 44100, 2, 12, {0x00, 0x40}), 44100, 1, {0.5f}},
    };
    for (const Row& row : rows) {
        std::string error;
        const std::optional<WavFile> wav = WavFile::Parse(row.file, &error);
        ASSERT_TRUE(wav) << row.what << ": " << error;
        EXPECT_EQ(wav->sampleRate, row.rate) << row.what;
        EXPECT_EQ(wav->channels, row.channels) << row.what;
        EXPECT_EQ(wav->samples, row.samples) << row.what;
    }
}

TEST(WavFileTest, ReadsTheExtensibleFormatAndSkipsOtherChunks) {
    Bytes b;
    PutId(b, "RIFF");
    Put32(b, 0); // RIFF size (not consulted)
    PutId(b, "WAVE");
    PutId(b, "LIST");
    Put32(b, 3); // odd size: one padding byte follows
    b.insert(b.end(), {'a', 'b', 'c', 0});
    PutId(b, "fmt ");
    Put32(b, 40);
    Put16(b, 0xFFFE); // extensible
    Put16(b, 1);      // channels
    Put32(b, 44100);
    Put32(b, 88200);
    Put16(b, 2);  // block align
    Put16(b, 16); // container bits
    Put16(b, 22); // extra bytes
    Put16(b, 16); // valid bits
    Put32(b, 4);  // channel mask
    Put16(b, 1);  // sub-format: PCM, then the fixed tail of the identifier
    b.insert(b.end(),
             {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71});
    PutId(b, "data");
    Put32(b, 1000); // claims more than the file holds: 2 whole frames and half a frame
    b.insert(b.end(), {0x00, 0x40, 0x00, 0xC0, 0x11});

    std::string error;
    const std::optional<WavFile> wav = WavFile::Parse(b, &error);
    ASSERT_TRUE(wav) << error;
    EXPECT_EQ(wav->samples, (std::vector<float>{0.5f, -0.5f}));
}

TEST(WavFileTest, RefusesWhatItCannotRead) {
    Bytes dataFirst;
    PutId(dataFirst, "RIFF");
    Put32(dataFirst, 12);
    PutId(dataFirst, "WAVE");
    PutId(dataFirst, "data");
    Put32(dataFirst, 0);
    Bytes fmtOnly = Wav(1, 1, 44100, 1, 8, {});
    fmtOnly.resize(36); // cut after the fmt chunk

    const std::vector<std::pair<const char*, Bytes>> rows = {
        {"empty", {}},
        {"not RIFF", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}},
        {"no fmt and no data", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
        {"data before fmt", dataFirst},
        {"no data chunk", fmtOnly},
        {"ADPCM", Wav(2, 1, 44100, 1, 4, {0x80})},
        {"no channels", Wav(1, 0, 44100, 1, 8, {0x80})},
        {"rate 0", Wav(1, 1, 0, 1, 8, {0x80})},
        {"rate 999: no sound recording", Wav(1, 1, 999, 1, 8, {0x80})},
        {"block align not a multiple of channels", Wav(1, 2, 44100, 3, 8, {0x80, 0x80, 0x80})},
        {"5 bytes per sample", Wav(1, 1, 44100, 5, 40, {1, 2, 3, 4, 5})},
        {"2-byte float", Wav(3, 1, 44100, 2, 16, {0, 0})},
        {"bits wider than the container", Wav(1, 1, 44100, 1, 16, {0x80})},
        {"no whole frame", Wav(1, 2, 44100, 4, 16, {1, 2, 3})},
    };
    for (const auto& [what, file] : rows) {
        std::string error;
        EXPECT_FALSE(WavFile::Parse(file, &error)) << what;
        EXPECT_FALSE(error.empty()) << what;
    }
}

} // namespace
