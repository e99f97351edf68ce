// The file writers of the data generator, checked byte for byte against files laid out by
// hand.

#include "data/generator/BmpWriter.h"
#include "data/generator/IcoWriter.h"
#include "data/generator/WavWriter.h"

#include <QImage>
#include <gtest/gtest.h>
#include <initializer_list>
#include <stdexcept>

namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<std::uint8_t> bytes;
    for (int v : values) {
        bytes.push_back(static_cast<std::uint8_t>(v));
    }
    return bytes;
}

TEST(BmpWriter, WritesRowsBottomUpPaddedToFourBytes) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(2, 0, qRgb(0, 0, 255));
    image.setPixel(0, 1, qRgb(255, 255, 255));
    image.setPixel(1, 1, qRgb(0, 0, 0));
    image.setPixel(2, 1, qRgb(0x10, 0x20, 0x30));
    const auto expected = Bytes({
        'B',  'M',           // signature
        78,   0,    0,    0, // file size: 54 + 2 rows of 12 bytes
        0,    0,    0,    0, // reserved
        54,   0,    0,    0, // offset of the pixels
        40,   0,    0,    0, // information header size
        3,    0,    0,    0, // width
        2,    0,    0,    0, // height, positive: bottom-up
        1,    0,             // planes
        24,   0,             // bits per pixel
        0,    0,    0,    0, // no compression
        24,   0,    0,    0, // pixel bytes
        0x13, 0x0B, 0,    0, // 2835 pixels per metre across
        0x13, 0x0B, 0,    0, // and down
        0,    0,    0,    0, // colours used
        0,    0,    0,    0, // important colours
        0xFF, 0xFF, 0xFF,    // bottom row: white,
        0,    0,    0,       // black,
        0x30, 0x20, 0x10,    // blue 30, green 20, red 10,
        0,    0,    0,       // padding to 12 bytes
        0,    0,    0xFF,    // top row: red,
        0,    0xFF, 0,       // green,
        0xFF, 0,    0,       // blue,
        0,    0,    0,       // padding
    });
    EXPECT_EQ(BmpWriter::Encode(image), expected);
}

TEST(BmpWriter, ReportsTheFileItCannotWrite) {
    QImage image(1, 1, QImage::Format_RGB32);
    try {
        BmpWriter::Write(image, "/nonexistent-folder/x.bmp");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent-folder/x.bmp"), std::string::npos);
    }
}

TEST(WavWriter, WritesCanonicalPcmMono) {
    const auto expected = Bytes({
        'R',  'I',  'F', 'F', //
        44,   0,    0,   0,   // RIFF size: 36 + 8 data bytes
        'W',  'A',  'V', 'E', //
        'f',  'm',  't', ' ', //
        16,   0,    0,   0,   // format chunk size
        1,    0,              // PCM
        1,    0,              // one channel
        0x40, 0x1F, 0,   0,   // 8000 samples per second
        0x80, 0x3E, 0,   0,   // 16000 bytes per second
        2,    0,              // block align
        16,   0,              // bits per sample
        'd',  'a',  't', 'a', //
        8,    0,    0,   0,   // data size
        0,    0,              // 0
        1,    0,              // 1
        0xFE, 0xFF,           // -2
        0xFF, 0x7F,           // 32767
    });
    EXPECT_EQ(WavWriter::Encode({0, 1, -2, 32767}, 8000), expected);
}

TEST(IcoWriter, WritesPictureAndMaskOfEachImage) {
    QImage image(2, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 0, 0, 0));
    image.setPixel(0, 1, qRgba(0, 255, 0, 128));
    image.setPixel(1, 1, qRgba(0, 0, 255, 255));
    const auto expected = Bytes({
        0,    0,                            // reserved
        1,    0,                            // icon
        1,    0,                            // one image
        2,    2,    0,    0,                // width, height, no palette, reserved
        1,    0,                            // planes
        32,   0,                            // bits per pixel
        64,   0,    0,    0,                // bytes of the image
        22,   0,    0,    0,                // offset of the image
        40,   0,    0,    0,                // information header size
        2,    0,    0,    0,                // width
        4,    0,    0,    0,                // height of picture and mask together
        1,    0,    32,   0,                // planes, bits per pixel
        0,    0,    0,    0,                // no compression
        24,   0,    0,    0,                // 16 picture bytes + 8 mask bytes
        0,    0,    0,    0,    0, 0, 0, 0, // resolution
        0,    0,    0,    0,    0, 0, 0, 0, // colours
        0,    0xFF, 0,    0x80,             // bottom row: half-covered green,
        0xFF, 0,    0,    0xFF,             // blue
        0,    0,    0xFF, 0xFF,             // top row: red,
        0,    0,    0,    0,                // transparent
        0,    0,    0,    0,                // mask, bottom row: both shown
        0x40, 0,    0,    0,                // top row: the second is transparent
    });
    EXPECT_EQ(IcoWriter::Encode({image}), expected);
}

} // namespace
