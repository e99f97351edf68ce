#pragma once
// A file that holds one fuzz input, for readers that only take a path. It lives in memory
// (/dev/shm) when the system has that, so that a run costs no disk writes, and is removed
// with the object.

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzTempFile {
public:
    /// A new empty file with a name of its own; aborts when none can be made.
    explicit FuzzTempFile(const char* suffix = "");
    ~FuzzTempFile();
    FuzzTempFile(const FuzzTempFile&) = delete;
    FuzzTempFile& operator=(const FuzzTempFile&) = delete;

    /// Replaces the contents with `size` bytes at `data`; aborts when that fails.
    void Write(const std::uint8_t* data, std::size_t size) const;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};
