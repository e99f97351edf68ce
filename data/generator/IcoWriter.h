#pragma once
// Encodes icons as .ico files: a directory of images, each a 32-bit BMP picture (with the
// doubled height the format asks for) followed by its 1-bit transparency mask.

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

class IcoWriter {
public:
    /// The complete file with one entry per image, in the given order. Images must be square,
    /// 1 to 256 pixels; their alpha channel gives both the 32-bit alpha and the mask (a pixel
    /// with alpha below 128 is transparent). Throws std::invalid_argument otherwise.
    static std::vector<std::uint8_t> Encode(const std::vector<QImage>& images);
    /// Encodes and writes to `path`; throws std::runtime_error naming the file on failure.
    static void Write(const std::vector<QImage>& images, const std::string& path);
};
