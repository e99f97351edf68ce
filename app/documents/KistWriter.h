#pragma once
// The writing side of a chunk stream, shared by the file writer and the memory buffer, so
// that one document writer serves both.

#include <cstdint>
#include <string_view>

class KistWriter {
public:
    virtual ~KistWriter() = default;

    /// Writes the chunk header: the type `i`, then a length that EndChunk fills in. At most
    /// 100 chunks can be open at once; a 101st raises KistNestingError and writes nothing.
    virtual void BeginChunk(std::int16_t i) = 0;
    /// Closes the innermost open chunk by filling in its length: the bytes after its length
    /// field up to the present position. Raises KistNestingError when no chunk is open.
    virtual void EndChunk() = 0;
    /// Writes the UTF-8 string `s` as one Windows-1252 byte per character, then a 0x00 byte.
    /// A character with no single-byte code raises KistCharacterError and invalid UTF-8
    /// raises KistUtf8Error; in both cases nothing of the string is written.
    virtual void writeString(std::string_view s) = 0;
    /// Writes a 16-bit little-endian two's complement number.
    virtual void writeInt(std::int16_t i) = 0;
    /// Writes a 32-bit little-endian two's complement number.
    virtual void writeLong(std::int32_t l) = 0;
    /// Writes one byte: 0xFF for true, 0x00 for false.
    virtual void writeBool(bool b) = 0;
    /// Writes a little-endian IEEE 754 single, bit for bit.
    virtual void writeSingle(float s) = 0;
};
