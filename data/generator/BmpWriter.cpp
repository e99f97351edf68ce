#include "data/generator/BmpWriter.h"

#include "data/generator/BinaryFile.h"

namespace {
constexpr std::uint32_t kHeaderSize = 14 + 40;
constexpr std::uint32_t kPixelsPerMetre = 2835; // 72 dots per inch
} // namespace

std::vector<std::uint8_t> BmpWriter::Encode(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<std::uint32_t>(rgb.width());
    const auto height = static_cast<std::uint32_t>(rgb.height());
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = stride * height;

    std::vector<std::uint8_t> bytes;
    bytes.reserve(kHeaderSize + pixelBytes);
    BinaryFile::PutTag(bytes, "BM");
    BinaryFile::Put(bytes, kHeaderSize + pixelBytes, 4);
    BinaryFile::Put(bytes, 0, 4); // two reserved words
    BinaryFile::Put(bytes, kHeaderSize, 4);

    BinaryFile::Put(bytes, 40, 4);
    BinaryFile::Put(bytes, width, 4);
    BinaryFile::Put(bytes, height, 4); // positive: bottom-up
    BinaryFile::Put(bytes, 1, 2);      // planes
    BinaryFile::Put(bytes, 24, 2);
    BinaryFile::Put(bytes, 0, 4); // no compression
    BinaryFile::Put(bytes, pixelBytes, 4);
    BinaryFile::Put(bytes, kPixelsPerMetre, 4);
    BinaryFile::Put(bytes, kPixelsPerMetre, 4);
    BinaryFile::Put(bytes, 0, 4); // colours used
    BinaryFile::Put(bytes, 0, 4); // important colours

    for (int y = rgb.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            bytes.push_back(static_cast<std::uint8_t>(qBlue(line[x])));
            bytes.push_back(static_cast<std::uint8_t>(qGreen(line[x])));
            bytes.push_back(static_cast<std::uint8_t>(qRed(line[x])));
        }
        for (std::uint32_t pad = width * 3; pad < stride; ++pad) {
            bytes.push_back(0);
        }
    }
    return bytes;
}

void BmpWriter::Write(const QImage& image, const std::string& path) {
    BinaryFile::Write(path, Encode(image));
}
