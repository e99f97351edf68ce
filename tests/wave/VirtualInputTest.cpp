// The description of virtual inputs and the sound they make.
#include "platform/wave/VirtualInput.h"

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using Kind = VirtualInput::Kind;

TEST(VirtualInputTest, ParsesEntriesInOrderAndLeavesOutWhatCannotBeUsed) {
    // A FIFO is no sound file: opening it for reading would wait for a writer for ever.
    const std::string fifo =
        (std::filesystem::temp_directory_path() / ("vi_" + std::to_string(getpid()) + ".fifo"))
            .string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Should the reader wait after all, a writer comes and goes after 2 s to set it free.
    std::atomic<bool> parsed{false};
    std::atomic<bool> freed{false};
    std::thread guard([&] {
        for (int i = 0; i < 200 && !parsed; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        while (!parsed) {
            if (const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) {
                freed = true;
                close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    std::vector<std::string> errors;
    const std::vector<VirtualInput> inputs = VirtualInput::ParseList(
        "Mic=tone:440.5:100;;Stil=silence;Kapot=tone:440;Geen=noformat;=silence;los;"
        "Hoog=tone:30000:10;Luid=tone:440:128;X=ruis;Leeg=file:;Weg=file:/geen/bestand.wav;"
        "Fifo=file:" +
            fifo + ";Een naam die veel langer is dan eenendertig tekens=silence;",
        &errors);
    parsed = true;
    guard.join();
    std::filesystem::remove(fifo);
    EXPECT_FALSE(freed) << "reading the FIFO waited for a writer";

    ASSERT_EQ(inputs.size(), 4u);
    EXPECT_EQ(inputs[0].name, "Mic");
    EXPECT_EQ(inputs[0].kind, Kind::Tone);
    EXPECT_EQ(inputs[0].hz, 440.5);
    EXPECT_EQ(inputs[0].amplitude, 100);
    EXPECT_EQ(inputs[1].name, "Stil");
    EXPECT_EQ(inputs[1].kind, Kind::Silence);
    EXPECT_EQ(inputs[2].name, "Geen");
    EXPECT_EQ(inputs[2].kind, Kind::NoFormat);
    EXPECT_EQ(inputs[3].name, "Een naam die veel langer is dan");
    EXPECT_EQ(inputs[3].name.size(), 31u);

    const std::vector<std::string> refused = {
        "Kapot=tone:440",    "=silence", "los",        "Hoog=tone:30000:10",
        "Luid=tone:440:128", "X=ruis",   "Leeg=file:", "Weg=file:/geen/bestand.wav",
        "Fifo=file:" + fifo};
    ASSERT_EQ(errors.size(), refused.size());
    for (std::size_t i = 0; i < refused.size(); ++i) {
        EXPECT_NE(errors[i].find("'" + refused[i] + "'"), std::string::npos) << errors[i];
        EXPECT_EQ(errors[i].find('\n'), std::string::npos);
    }
}

TEST(VirtualInputTest, NamesAreCutAtACharacterBoundary) {
    // 30 ASCII bytes and then "é" (2 bytes): the name is cut before it.
    const std::string name = std::string(30, 'a') + "\xC3\xA9" + "b";
    const std::vector<VirtualInput> inputs = VirtualInput::ParseList(name + "=silence", nullptr);
    ASSERT_EQ(inputs.size(), 1u);
    EXPECT_EQ(inputs[0].name, std::string(30, 'a'));
}

TEST(VirtualInputTest, ToneIsASineAroundSilenceAndContinuesAcrossCalls) {
    const std::vector<VirtualInput> inputs = VirtualInput::ParseList("T=tone:11025:100", nullptr);
    ASSERT_EQ(inputs.size(), 1u);
    std::uint8_t first[3];
    std::uint8_t next[5];
    std::uint64_t position = 0;
    inputs[0].Generate(first, 3, position);
    inputs[0].Generate(next, 5, position);
    // A quarter period per sample: 0, +A, 0, -A, ...
    EXPECT_EQ(std::vector<std::uint8_t>(first, first + 3),
              (std::vector<std::uint8_t>{128, 228, 128}));
    EXPECT_EQ(std::vector<std::uint8_t>(next, next + 5),
              (std::vector<std::uint8_t>{28, 128, 228, 128, 28}));
    EXPECT_EQ(position, 8u);
}

TEST(VirtualInputTest, FilePlaysInALoopInTheCaptureFormat) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("vi_" + std::to_string(getpid()) + ".wav"))
            .string();
    {
        // 16-bit stereo at 44.1 kHz, three frames.
        const std::uint8_t file[] = {'R',  'I',  'F',  'F',  48,   0,    0,    0,    'W',  'A',
                                     'V',  'E',  'f',  'm',  't',  ' ',  16,   0,    0,    0,
                                     1,    0,    2,    0,    0x44, 0xAC, 0,    0,    0x10, 0xB1,
                                     2,    0,    4,    0,    16,   0,    'd',  'a',  't',  'a',
                                     12,   0,    0,    0,    0x00, 0x40, 0x00, 0x40, // +0.5, +0.5
                                     0x00, 0x80, 0x00, 0x80,                         // -1, -1
                                     0x00, 0x00, 0x00, 0x40};                        // 0, +0.5
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file), sizeof file);
    }
    std::vector<std::string> errors;
    const std::vector<VirtualInput> inputs = VirtualInput::ParseList("F=file:" + path, &errors);
    std::filesystem::remove(path);
    ASSERT_EQ(inputs.size(), 1u) << (errors.empty() ? "" : errors[0]);
    EXPECT_EQ(inputs[0].loop, (std::vector<std::uint8_t>{192, 0, 160}));
    std::uint8_t out[7];
    std::uint64_t position = 0;
    inputs[0].Generate(out, 7, position);
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 7),
              (std::vector<std::uint8_t>{192, 0, 160, 192, 0, 160, 192}));

    // 901,000 samples at 1 kHz would play for over 15 minutes before looping: refused.
    {
        std::vector<std::uint8_t> file = {
            'R', 'I', 'F', 'F', 0xAC, 0xBF, 0x0D, 0,   'W', 'A',  'V',  'E',  'f',  'm',  't',
            ' ', 16,  0,   0,   0,    1,    0,    1,   0,   0xE8, 0x03, 0,    0,    0xE8, 0x03,
            0,   0,   1,   0,   8,    0,    'd',  'a', 't', 'a',  0x88, 0xBF, 0x0D, 0};
        file.resize(file.size() + 901'000, 0x80);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()),
                   static_cast<std::streamsize>(file.size()));
    }
    errors.clear();
    EXPECT_TRUE(VirtualInput::ParseList("Traag=file:" + path, &errors).empty());
    std::filesystem::remove(path);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("te lang"), std::string::npos) << errors[0];
}

} // namespace
