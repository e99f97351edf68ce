#pragma once
// Helpers of the chunk stream tests: a private temporary folder per test and whole-file
// byte access.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

/// A new, empty folder under the system's temporary folder, removed with its contents when
/// the object goes.
class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("tavsim-documents-" + std::to_string(random()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// The folder itself.
    std::string Path() const { return path_.string(); }
    /// A path inside the folder.
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}
