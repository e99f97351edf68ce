#pragma once
// Encodes pictures as uncompressed 24-bit BMP files, the format the program's picture loader
// reads: a 14-byte file header, a 40-byte information header, then the rows bottom-up.

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

class BmpWriter {
public:
    /// The complete file. Rows are stored bottom-up, three bytes per pixel (blue, green,
    /// red), each row padded with zero bytes to a multiple of 4. Alpha is dropped.
    static std::vector<std::uint8_t> Encode(const QImage& image);
    /// Encodes `image` and writes it to `path`; throws std::runtime_error naming the file on
    /// failure.
    static void Write(const QImage& image, const std::string& path);
};
