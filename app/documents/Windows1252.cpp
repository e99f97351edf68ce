#include "app/documents/Windows1252.h"

#include "app/documents/KistError.h"

#include <array>
#include <cstdio>

namespace {

// The characters of bytes 0x80 to 0x9F. The five codes Windows-1252 leaves unassigned stand
// for the control characters of the same value, so that every byte reads and writes back.
constexpr std::array<char32_t, 32> kC1Block{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

char32_t CharacterOf(std::uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kC1Block[byte - 0x80];
    }
    return byte;
}

// The byte of `c`, or -1 when Windows-1252 has none.
int ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<int>(c);
    }
    for (std::size_t i = 0; i < kC1Block.size(); ++i) {
        if (kC1Block[i] == c) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

[[noreturn]] void ThrowInvalidUtf8(std::size_t at) {
    throw KistUtf8Error("cannot write a string that is not valid UTF-8 (bad byte at offset " +
                        std::to_string(at) + ")");
}

[[noreturn]] void ThrowNoCode(std::string_view utf8, std::string_view character, char32_t c) {
    char codePoint[16];
    std::snprintf(codePoint, sizeof codePoint, "U+%04X", static_cast<unsigned>(c));
    throw KistCharacterError("cannot write \"" + std::string(utf8) + "\": the character '" +
                             std::string(character) + "' (" + codePoint +
                             ") has no Windows-1252 code");
}

// Decodes the multi-byte sequence that starts at utf8[i] (a byte of 0x80 or above), rejecting
// overlong forms, surrogates and values beyond U+10FFFF; `length` receives its byte count.
char32_t DecodeSequence(std::string_view utf8, std::size_t i, std::size_t& length) {
    const auto byteAt = [&](std::size_t k) { return static_cast<std::uint8_t>(utf8[k]); };
    const std::uint8_t lead = byteAt(i);
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
        if (lead == 0xE0) {
            low = 0xA0;
        } else if (lead == 0xED) {
            high = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;
        }
    } else {
        ThrowInvalidUtf8(i);
    }
    if (utf8.size() - i < length) {
        ThrowInvalidUtf8(i);
    }
    for (std::size_t k = 1; k < length; ++k) {
        const std::uint8_t b = byteAt(i + k);
        if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) {
            ThrowInvalidUtf8(i + k);
        }
        c = (c << 6) | (b & 0x3F);
    }
    return c;
}

} // namespace

void Windows1252::Encode(std::string_view utf8, std::string& out) {
    out.clear();
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        std::size_t length = 0;
        const char32_t c = DecodeSequence(utf8, i, length);
        const int byte = ByteOf(c);
        if (byte < 0) {
            ThrowNoCode(utf8, utf8.substr(i, length), c);
        }
        out.push_back(static_cast<char>(byte));
        i += length;
    }
}

void Windows1252::AppendDecoded(const std::uint8_t* bytes, std::size_t count, std::string& out) {
    for (std::size_t i = 0; i < count; ++i) {
        if (bytes[i] < 0x80) {
            out.push_back(static_cast<char>(bytes[i]));
        } else {
            AppendUtf8(CharacterOf(bytes[i]), out);
        }
    }
}
