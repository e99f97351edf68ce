#pragma once
// Small helpers shared by the canvas tests: solid bitmaps, masks and reading back pixels.

#include "sprite_control/KaleidoATL.h"

#include <QImage>
#include <QRect>
#include <cstdint>

namespace canvas_test {

constexpr std::int32_t Colour(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

constexpr std::int32_t kRed = Colour(255, 0, 0);
constexpr std::int32_t kGreen = Colour(0, 255, 0);
constexpr std::int32_t kBlue = Colour(0, 0, 255);
constexpr std::int32_t kBlack = 0;
constexpr std::int32_t kWhite = Colour(255, 255, 255);

/// Paints a rectangle of a bitmap in one colour.
inline void Fill(KaleidoATL& canvas, std::int32_t bitmap, const QRect& r, std::int32_t colour) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            canvas.SetPixelBitmap(bitmap, x, y, colour);
        }
    }
}

/// A w × h bitmap in one colour.
inline std::int32_t Solid(KaleidoATL& canvas, int w, int h, std::int32_t colour) {
    const std::int32_t b = canvas.CreateBitmap(w, h);
    Fill(canvas, b, QRect(0, 0, w, h), colour);
    return b;
}

/// The colour of a rendered pixel in the canvas's encoding.
inline std::int32_t At(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return Colour(qRed(p), qGreen(p), qBlue(p));
}

} // namespace canvas_test
