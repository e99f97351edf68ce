// The single-byte code that documents store strings in.

#include "app/documents/Windows1252.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(Windows1252, TheBlockFrom0x80To0x9F) {
    const std::string characters = "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F" // 0x80 to 0x8F
                                   "\u0090‘’“”•–—˜™š›œ\u009DžŸ";     // 0x90 to 0x9F
    std::string bytes;
    for (int b = 0x80; b <= 0x9F; ++b) {
        bytes.push_back(static_cast<char>(b));
    }
    std::string encoded;
    Windows1252::Encode(characters, encoded);
    EXPECT_EQ(encoded, bytes);
    std::string decoded;
    Windows1252::AppendDecoded(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                               decoded);
    EXPECT_EQ(decoded, characters);
}

TEST(Windows1252, EveryByteReadsAndWritesBack) {
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        std::string character;
        Windows1252::AppendDecoded(&byte, 1, character);
        std::string encoded;
        Windows1252::Encode(character, encoded);
        EXPECT_EQ(encoded, std::string(1, static_cast<char>(byte))) << b;
    }
}

} // namespace
