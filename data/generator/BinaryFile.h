#pragma once
// Little-endian byte building and whole-file writing for the generated data files.

#include <cstdint>
#include <string>
#include <vector>

class BinaryFile {
public:
    /// Appends `value` as `width` little-endian bytes (width 1, 2 or 4).
    static void Put(std::vector<std::uint8_t>& bytes, std::uint32_t value, int width);
    /// Appends the characters of `tag` without a terminator ("RIFF", "BM").
    static void PutTag(std::vector<std::uint8_t>& bytes, const char* tag);
    /// Writes `bytes` as the whole content of `path`, replacing an existing file. Throws
    /// std::runtime_error naming the file when it cannot be written completely.
    static void Write(const std::string& path, const std::vector<std::uint8_t>& bytes);
};
