#include "tests/data/DataFile.h"

#include <QCoreApplication>
#include <fstream>
#include <iterator>

std::string DataFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

std::vector<std::uint8_t> ReadDataFile(const std::string& relative) {
    std::ifstream in(DataFolder() + "/" + relative, std::ios::binary);
    if (!in) {
        return {};
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t ReadLE(const std::vector<std::uint8_t>& bytes, std::size_t offset, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | bytes.at(offset + static_cast<std::size_t>(i));
    }
    return value;
}

BmpFile::BmpFile(const std::string& relative) : bytes_(ReadDataFile(relative)) {
    if (bytes_.size() < 54) {
        problem_ = relative + ": missing or shorter than its headers";
        return;
    }
    if (bytes_[0] != 'B' || bytes_[1] != 'M') {
        problem_ = relative + ": no BM signature";
        return;
    }
    offset_ = ReadLE(bytes_, 10, 4);
    width_ = static_cast<std::int32_t>(ReadLE(bytes_, 18, 4));
    height_ = static_cast<std::int32_t>(ReadLE(bytes_, 22, 4));
    bits_ = static_cast<int>(ReadLE(bytes_, 28, 2));
    stride_ = (static_cast<std::uint32_t>(width_) * 3 + 3) / 4 * 4;
    if (ReadLE(bytes_, 2, 4) != bytes_.size()) {
        problem_ = relative + ": file size field differs from the file's size";
    } else if (ReadLE(bytes_, 14, 4) != 40 || offset_ != 54) {
        problem_ = relative + ": not a 40-byte information header with pixels at 54";
    } else if (bits_ != 24 || ReadLE(bytes_, 30, 4) != 0) {
        problem_ = relative + ": not uncompressed 24-bit";
    } else if (width_ <= 0 || height_ <= 0 ||
               offset_ + stride_ * static_cast<std::uint32_t>(height_) != bytes_.size()) {
        problem_ = relative + ": pixel rows do not fill the file";
    } else {
        valid_ = true;
    }
}

QRgb BmpFile::Pixel(int x, int y) const {
    const std::size_t at = offset_ + stride_ * static_cast<std::size_t>(height_ - 1 - y) +
                           3 * static_cast<std::size_t>(x);
    return qRgb(bytes_.at(at + 2), bytes_.at(at + 1), bytes_.at(at));
}
