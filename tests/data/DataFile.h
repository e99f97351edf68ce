#pragma once
// Reads the generated data files for the tests, independently of the generator's writers:
// the fields are taken from the bytes at their documented offsets.

#include <QRgb>
#include <cstdint>
#include <string>
#include <vector>

/// The folder the generated files are in: the folder of the test program.
std::string DataFolder();
/// Whole content of DataFolder() + "/" + relative; empty when the file cannot be read.
std::vector<std::uint8_t> ReadDataFile(const std::string& relative);
/// Little-endian unsigned value of `width` bytes at `offset`.
std::uint32_t ReadLE(const std::vector<std::uint8_t>& bytes, std::size_t offset, int width);

/// A BMP file as the program's loader reads it: offset, width, height and bit depth from the
/// header, rows bottom-up with a stride padded to 4 bytes.
class BmpFile {
public:
    /// Loads `relative` below DataFolder(); Valid() tells whether it is a complete 24-bit BMP.
    explicit BmpFile(const std::string& relative);

    bool Valid() const { return valid_; }
    /// What is wrong with the file when it is not Valid().
    const std::string& Problem() const { return problem_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Bits() const { return bits_; }
    /// Pixel (x, y), y = 0 at the top, as 0xRRGGBB (alpha 0xFF).
    QRgb Pixel(int x, int y) const;

private:
    std::vector<std::uint8_t> bytes_;
    bool valid_ = false;
    std::string problem_;
    int width_ = 0;
    int height_ = 0;
    int bits_ = 0;
    std::uint32_t offset_ = 0;
    std::uint32_t stride_ = 0;
};
