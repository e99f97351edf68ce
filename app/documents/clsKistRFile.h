#pragma once
// Reads a chunk stream from a file, through a buffer of its own so that items cost no
// system call each.

#include "app/documents/KistReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class clsKistRFile final : public KistReader {
public:
    clsKistRFile() = default;
    /// Closes the file if one is open.
    ~clsKistRFile() override;
    clsKistRFile(const clsKistRFile&) = delete;
    clsKistRFile& operator=(const clsKistRFile&) = delete;

    /// Closes an open file, then opens `fname` (UTF-8) for reading at its first byte. Raises
    /// KistOpenError, naming the file and the reason, when it cannot be opened or is a folder;
    /// no file is open afterwards.
    void OpenFile(const std::string& fname);
    /// Closes the file if one is open; FileNr() becomes 0.
    void CloseFile();
    void GoIntoChunk() override;
    std::int16_t PeekChunkType() override;
    /// Raises KistReadError when the file ends before the terminating zero, or when no zero
    /// lies within kMaxStringBytes bytes.
    std::string readString() override;
    std::int16_t readInt() override;
    std::int32_t readLong() override;
    std::int32_t readBool() override;
    float readSingle() override;

    /// 0 when no file is open, otherwise a positive number that identifies this opening.
    int FileNr() const { return fileNr_; }

private:
    // Makes at least `count` unread bytes available in the buffer; KistReadError when the
    // file ends first or cannot be read.
    void Need(std::size_t count);
    // The `count` bytes at the position, which then moves past them.
    const std::uint8_t* Take(std::size_t count);
    // Reads more of the file into the buffer; false at the end of the file.
    bool Refill();
    [[noreturn]] void ThrowPastEnd(std::size_t count) const;
    void CheckOpen() const;

    std::FILE* file_ = nullptr;
    std::string name_;
    int fileNr_ = 0;
    std::vector<std::uint8_t> buffer_;
    // The unread bytes are buffer_[head_, tail_); buffer_[head_] is at file offset offset_.
    std::size_t head_ = 0;
    std::size_t tail_ = 0;
    std::uint64_t offset_ = 0;
};
