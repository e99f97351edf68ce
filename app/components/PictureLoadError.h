#pragma once
// The failure of loading one of the program's pictures.

#include <stdexcept>
#include <string>
#include <utility>

/// Thrown by a board component's Constructor when one of its pictures cannot be loaded. When
/// the loader component refused the file, it has already shown its own message; the start-up
/// reports which file is missing.
class PictureLoadError : public std::runtime_error {
public:
    PictureLoadError(std::string file, const std::string& reason)
        : std::runtime_error("cannot load picture " + file + ": " + reason),
          file_(std::move(file)) {}

    /// Full path of the picture that could not be loaded.
    const std::string& File() const noexcept { return file_; }

private:
    std::string file_;
};
