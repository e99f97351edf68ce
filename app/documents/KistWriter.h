#pragma once
// The writing side of a chunk stream, shared by the file writer and the memory buffer, so
// that one document writer serves both. The encoding of every item is written once, here;
// the two streams differ only in where the bytes go and how a chunk's length is filled in.

#include <cstddef>
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
    void writeString(std::string_view s);
    /// Writes a 16-bit little-endian two's complement number.
    void writeInt(std::int16_t i);
    /// Writes a 32-bit little-endian two's complement number.
    void writeLong(std::int32_t l);
    /// Writes one byte: 0xFF for true, 0x00 for false.
    void writeBool(bool b);
    /// Writes a little-endian IEEE 754 single, bit for bit.
    void writeSingle(float s);

protected:
    /// Room for the next `count` bytes of the stream, which the caller fills at once. Raises
    /// KistWriteError when the stream cannot take them.
    virtual std::uint8_t* Put(std::size_t count) = 0;
};
