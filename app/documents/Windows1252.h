#pragma once
// Conversion between the program's UTF-8 strings and the single-byte Windows-1252 code that
// documents store, so that boards interchange with documents made on Windows machines.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class Windows1252 {
public:
    /// Replaces the contents of `out` with the Windows-1252 bytes of `utf8`, one per
    /// character. U+0081, U+008D, U+008F, U+0090 and U+009D give the unassigned bytes of the
    /// same value. Raises KistUtf8Error for invalid UTF-8 and KistCharacterError (naming the
    /// character) for a character with no code; `out` is then unspecified.
    static void Encode(std::string_view utf8, std::string& out);

    /// Appends the UTF-8 form of the `count` Windows-1252 bytes at `bytes` to `out`. Every
    /// byte has a character, so this never fails.
    static void AppendDecoded(const std::uint8_t* bytes, std::size_t count, std::string& out);
};
