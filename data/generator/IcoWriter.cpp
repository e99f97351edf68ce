#include "data/generator/IcoWriter.h"

#include "data/generator/BinaryFile.h"

#include <stdexcept>

namespace {

std::vector<std::uint8_t> EncodeEntry(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const auto size = static_cast<std::uint32_t>(image.width());
    const std::uint32_t maskStride = (size + 31) / 32 * 4;
    std::vector<std::uint8_t> bytes;
    BinaryFile::Put(bytes, 40, 4);
    BinaryFile::Put(bytes, size, 4);
    BinaryFile::Put(bytes, size * 2, 4); // picture and mask stacked
    BinaryFile::Put(bytes, 1, 2);
    BinaryFile::Put(bytes, 32, 2);
    BinaryFile::Put(bytes, 0, 4);
    BinaryFile::Put(bytes, size * size * 4 + maskStride * size, 4);
    BinaryFile::Put(bytes, 0, 4);
    BinaryFile::Put(bytes, 0, 4);
    BinaryFile::Put(bytes, 0, 4);
    BinaryFile::Put(bytes, 0, 4);
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            bytes.push_back(static_cast<std::uint8_t>(qBlue(line[x])));
            bytes.push_back(static_cast<std::uint8_t>(qGreen(line[x])));
            bytes.push_back(static_cast<std::uint8_t>(qRed(line[x])));
            bytes.push_back(static_cast<std::uint8_t>(qAlpha(line[x])));
        }
    }
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) < 128) {
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        bytes.insert(bytes.end(), row.begin(), row.end());
    }
    return bytes;
}

} // namespace

std::vector<std::uint8_t> IcoWriter::Encode(const std::vector<QImage>& images) {
    std::vector<std::vector<std::uint8_t>> entries;
    for (const QImage& image : images) {
        if (image.width() != image.height() || image.width() < 1 || image.width() > 256) {
            throw std::invalid_argument("icon images must be square, 1 to 256 pixels");
        }
        entries.push_back(EncodeEntry(image));
    }
    std::vector<std::uint8_t> bytes;
    BinaryFile::Put(bytes, 0, 2);
    BinaryFile::Put(bytes, 1, 2); // icon, not cursor
    BinaryFile::Put(bytes, static_cast<std::uint32_t>(images.size()), 2);
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto size = static_cast<std::uint32_t>(images[i].width());
        BinaryFile::Put(bytes, size == 256 ? 0 : size, 1);
        BinaryFile::Put(bytes, size == 256 ? 0 : size, 1);
        BinaryFile::Put(bytes, 0, 1); // no palette
        BinaryFile::Put(bytes, 0, 1);
        BinaryFile::Put(bytes, 1, 2);
        BinaryFile::Put(bytes, 32, 2);
        BinaryFile::Put(bytes, static_cast<std::uint32_t>(entries[i].size()), 4);
        BinaryFile::Put(bytes, offset, 4);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const auto& entry : entries) {
        bytes.insert(bytes.end(), entry.begin(), entry.end());
    }
    return bytes;
}

void IcoWriter::Write(const std::vector<QImage>& images, const std::string& path) {
    BinaryFile::Write(path, Encode(images));
}
