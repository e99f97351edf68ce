#pragma once
// Writes a chunk stream to a file, through a buffer of its own so that items cost no system
// call each.

#include "app/documents/KistChunkStack.h"
#include "app/documents/KistWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class clsKistWFile final : public KistWriter {
public:
    clsKistWFile() = default;
    /// Closes the file if one is open, writing what is buffered; failures are ignored here,
    /// so a caller who must know that the file is complete calls CloseFile.
    ~clsKistWFile() override;
    clsKistWFile(const clsKistWFile&) = delete;
    clsKistWFile& operator=(const clsKistWFile&) = delete;

    /// Closes an open file (as CloseFile, so a failure to complete it is raised and the new
    /// file is not opened), then creates or empties `fname` (UTF-8) and opens it for writing
    /// at its first byte, with no chunk open. Raises KistOpenError, naming the file and the
    /// reason, when it cannot be opened.
    void OpenFile(const std::string& fname);
    /// Writes what is buffered and closes the file; FileNr() becomes 0. Raises
    /// KistWriteError, naming the file and the reason, when any write, the flush or the close
    /// failed (for example a full disk); the file is closed all the same.
    void CloseFile();
    void BeginChunk(std::int16_t i) override;
    void EndChunk() override;

    // Every write raises KistWriteError when no file is open or when the file could not be
    // written; once a write has failed, every later write and CloseFile raise it again.

    /// 0 when no file is open, otherwise a positive number that identifies this opening.
    int FileNr() const { return fileNr_; }
    /// The number of chunks begun and not yet ended.
    std::int32_t ChunkDepth() const { return chunks_.Depth(); }
    /// The file position of the length field of the open chunk at depth `d` (1 = outermost);
    /// 0 when no chunk is open at that depth.
    std::int64_t ChunkStarts(std::int32_t d) const { return chunks_.Start(d); }

private:
    // Room for `count` bytes at the end of the buffer, written out first when it is full.
    std::uint8_t* Put(std::size_t count) override;
    // Writes the buffer to the file; on failure remembers and raises the error.
    void Flush();
    // Overwrites the Long at file position `at`, which lies before the present position.
    void Patch(std::int64_t at, std::int32_t value);
    // The present file position: what is written plus what is buffered.
    std::int64_t Position() const { return written_ + static_cast<std::int64_t>(used_); }
    [[noreturn]] void Fail(const std::string& what, int error);
    void CheckWritable() const;

    std::FILE* file_ = nullptr;
    std::string name_;
    int fileNr_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::size_t used_ = 0;
    std::int64_t written_ = 0;
    // The first failure of a write to this file; empty while all went well.
    std::string failure_;
    KistChunkStack chunks_;
};
