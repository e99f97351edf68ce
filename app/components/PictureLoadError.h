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
    /// The loader component itself could not be made: `component` names it, `reason` (Dutch)
    /// says why, with the class and library file.
    PictureLoadError(std::string file, std::string component, std::string reason)
        : std::runtime_error("cannot make " + component + " to load " + file + ": " + reason),
          file_(std::move(file)), component_(std::move(component)), reason_(std::move(reason)) {}

    /// Full path of the picture that could not be loaded.
    const std::string& File() const noexcept { return file_; }
    /// The component that could not be made; empty when the picture itself failed.
    const std::string& Component() const noexcept { return component_; }
    /// Why the component could not be made.
    const std::string& Reason() const noexcept { return reason_; }

private:
    std::string file_;
    std::string component_;
    std::string reason_;
};
