#include "data/generator/WirePainter.h"

#include "data/generator/PaintKit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kCentre = 16.5;

double Angle(int k) {
    return k * 2.0 * std::numbers::pi / WirePainter::kFrames;
}

bool IsWire(double segmentDistance) {
    return segmentDistance <= WirePainter::kOuterRadius;
}

// Colour across the wire at signed distance d from its axis: a round core with a soft light
// from above, and an outline; for the highlight a white core with a cyan glow instead.
QColor Across(int colourNr, double d, int k, WirePalette palette) {
    const double a = Angle(k);
    const QColor base = PaintKit::WireColour(colourNr, palette);
    const double ad = std::abs(d);
    if (colourNr == 9) {
        if (ad <= WirePainter::kCoreRadius) {
            return PaintKit::Mix(QColor(Qt::white), base, ad / WirePainter::kCoreRadius);
        }
        return QColor(0xFF11C8F0);
    }
    if (ad > WirePainter::kCoreRadius) {
        return base.darker(colourNr == 8 ? 190 : 210);
    }
    // The normal of the side at signed distance d points by d along (-sin a, cos a); light
    // comes from straight above (negative y).
    const double facing = -(d / WirePainter::kCoreRadius) * std::cos(a);
    const double shine =
        0.28 * std::max(0.0, facing) + 0.22 * (1.0 - ad / WirePainter::kCoreRadius);
    return PaintKit::Mix(base, QColor(Qt::white), shine);
}

} // namespace

double WirePainter::SegmentDistance(int k, double x, double y) {
    const double a = Angle(k);
    const double ux = std::cos(a);
    const double uy = std::sin(a);
    const double px = x - kCentre;
    const double py = y - kCentre;
    const double along = std::clamp(px * ux + py * uy, -kHalfLength, kHalfLength);
    return std::hypot(px - along * ux, py - along * uy);
}

double WirePainter::AcrossDistance(int k, double x, double y) {
    const double a = Angle(k);
    return -(x - kCentre) * std::sin(a) + (y - kCentre) * std::cos(a);
}

QImage WirePainter::Strip(int colourNr, int factor, WirePalette palette) {
    const int frame = kFrameSize * factor;
    QImage strip(frame * kFrames, frame, QImage::Format_RGB32);
    strip.fill(Qt::black);
    constexpr int kSub = 4; // samples per pixel side, to smooth the core's edge
    const double f = factor;
    for (int k = 0; k < kFrames; ++k) {
        for (int y = 0; y < frame; ++y) {
            for (int x = 0; x < frame; ++x) {
                if (!IsWire(SegmentDistance(k, (x + 0.5) / f, (y + 0.5) / f))) {
                    continue;
                }
                double r = 0;
                double g = 0;
                double b = 0;
                for (int sy = 0; sy < kSub; ++sy) {
                    for (int sx = 0; sx < kSub; ++sx) {
                        const double d = AcrossDistance(k, (x + (sx + 0.5) / kSub) / f,
                                                        (y + (sy + 0.5) / kSub) / f);
                        const QColor c = Across(colourNr, d, k, palette);
                        r += c.red();
                        g += c.green();
                        b += c.blue();
                    }
                }
                constexpr double n = kSub * kSub;
                // Black means "outside" to the mask; keep every wire pixel off it.
                const int ri = std::max(1, static_cast<int>(std::lround(r / n)));
                strip.setPixel(frame * k + x, y,
                               qRgb(ri, static_cast<int>(std::lround(g / n)),
                                    static_cast<int>(std::lround(b / n))));
            }
        }
    }
    return strip;
}

QImage WirePainter::Mask(int factor) {
    const int frame = kFrameSize * factor;
    const double f = factor;
    QImage mask(frame * kFrames, frame, QImage::Format_RGB32);
    mask.fill(Qt::white);
    for (int k = 0; k < kFrames; ++k) {
        for (int y = 0; y < frame; ++y) {
            for (int x = 0; x < frame; ++x) {
                if (IsWire(SegmentDistance(k, (x + 0.5) / f, (y + 0.5) / f))) {
                    mask.setPixel(frame * k + x, y, qRgb(0, 0, 0));
                }
            }
        }
    }
    return mask;
}
