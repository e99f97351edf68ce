#pragma once
// A chunk stream in memory, written once by the document writer and read back any number of
// times, each time after ResetToStart. The undo history keeps one per recorded board.

#include "app/documents/KistChunkStack.h"
#include "app/documents/KistReader.h"
#include "app/documents/KistWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class clsKistRWRam final : public KistReader, public KistWriter {
public:
    /// The size of a new buffer, all zero bytes.
    static constexpr std::size_t kInitialSize = 64001;

    clsKistRWRam();

    /// Moves the position back to the first byte; the contents and the open chunks stay.
    void ResetToStart();
    void BeginChunk(std::int16_t i) override;
    void EndChunk() override;
    std::int16_t PeekChunkType() override;
    void GoIntoChunk() override;
    /// Reading where nothing was written yet, inside the buffer, gives zero bytes: 0, an
    /// empty string, false. A read beyond the buffer's present size raises KistReadError.
    std::string readString() override;
    std::int16_t readInt() override;
    std::int32_t readLong() override;
    std::int32_t readBool() override;
    float readSingle() override;
    /// Writing past the end of the buffer grows it; it fails (KistWriteError) only beyond
    /// what a 32-bit position can reach.

    /// The whole buffer, written bytes and the zero bytes after them.
    const std::vector<std::uint8_t>& Buffer() const { return buffer_; }
    /// The index of the next byte to read or write, shared by reading and writing.
    std::int32_t Pos() const { return static_cast<std::int32_t>(pos_); }
    /// The number of chunks begun and not yet ended.
    std::int32_t ChunkDepth() const { return chunks_.Depth(); }
    /// The index of the length field of the open chunk at depth `d` (1 = outermost); 0 when
    /// no chunk is open at that depth.
    std::int64_t ChunkStarts(std::int32_t d) const { return chunks_.Start(d); }

private:
    // The `count` bytes at the position, which then moves past them.
    const std::uint8_t* Take(std::size_t count);
    // Room for `count` bytes at the position, growing the buffer as needed; the position
    // moves past them.
    std::uint8_t* Put(std::size_t count) override;

    std::vector<std::uint8_t> buffer_;
    std::size_t pos_ = 0;
    KistChunkStack chunks_;
};
