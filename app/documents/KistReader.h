#pragma once
// The reading side of a chunk stream, shared by the file reader and the memory buffer, so
// that one document reader serves both. Every read raises KistReadError, without moving
// the position, when the bytes it needs are not there; it never waits and never invents data.

#include <cstddef>
#include <cstdint>
#include <string>

class KistReader {
public:
    /// The most bytes a string may take in a stream, its terminating zero included. Socket
    /// names are some 40 characters; a string without its zero within this many bytes is
    /// damage, and refused before anything further is read.
    static constexpr std::size_t kMaxStringBytes = 1000;

    virtual ~KistReader() = default;

    /// Steps over the header (type and length) of the chunk at the present position, whatever
    /// its type, so that the next read is that chunk's first payload item.
    virtual void GoIntoChunk() = 0;
    /// The type of the chunk at the present position; the position does not change, so two
    /// calls in a row give the same value.
    virtual std::int16_t PeekChunkType() = 0;
    /// Reads a zero-terminated Windows-1252 string and returns it as UTF-8; the terminating
    /// zero is consumed. Codes 0x81, 0x8D, 0x8F, 0x90 and 0x9D become U+0081 etc. Raises
    /// KistReadError when no zero lies within kMaxStringBytes bytes, without looking further.
    virtual std::string readString() = 0;
    /// Reads a 16-bit little-endian two's complement number.
    virtual std::int16_t readInt() = 0;
    /// Reads a 32-bit little-endian two's complement number.
    virtual std::int32_t readLong() = 0;
    /// Reads one byte: -1 (true) when it is 0xFF, 0 (false) for every other byte.
    virtual std::int32_t readBool() = 0;
    /// Reads a little-endian IEEE 754 single, bit for bit.
    virtual float readSingle() = 0;
};
