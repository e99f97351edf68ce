#include "app/components/clsBordLines.h"

#include "app/components/clsLine.h"
#include "app/simulation/Rounding.h"
#include "sprite_control/KaleidoATL.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

constexpr std::int32_t kFrames = 32;
constexpr std::int32_t kFrameSide = 32;
/// Half a turn as the board has always reckoned it when choosing a frame. Against π it moves
/// the frame boundaries by a hair, so a wire keeps the frame it has always shown.
constexpr double kHalfTurn = 3.14;

std::int32_t Difference(std::int32_t from, std::int32_t to) {
    const std::int64_t d = static_cast<std::int64_t>(to) - from;
    if (d < std::numeric_limits<std::int32_t>::min() ||
        d > std::numeric_limits<std::int32_t>::max()) {
        throw std::overflow_error("wire from " + std::to_string(from) + " to " +
                                  std::to_string(to) + " is longer than a board can hold");
    }
    return static_cast<std::int32_t>(d);
}

/// The frame whose direction has the largest positive component along (ux, uy); the lowest
/// such frame among equals, and 0 when none is positive.
std::int32_t FrameFor(double ux, double uy) {
    float best = 0.0F;
    std::int32_t frame = 0;
    for (std::int32_t k = 0; k < kFrames; ++k) {
        const double a = kHalfTurn * 2 * k / kFrames;
        const double dot = ux * std::cos(a) + uy * std::sin(a);
        if (dot > best) {
            best = static_cast<float>(dot);
            frame = k;
        }
    }
    return frame;
}

} // namespace

void clsBordLines::Constructor(KaleidoATL& mag) {
    mag_ = &mag;
    for (std::int32_t i = 1; i <= 9; ++i) {
        lineBitmaps_[i] = loader_.Load(mag, "/images1/Line" + std::to_string(i) + ".bmp");
        lineMasks_[i] = loader_.Load(mag, "/images1/LineMask.bmp");
    }
    normalBitmaps_ = lineBitmaps_;
    colourBlindBitmaps_ = {};
    palette_ = WirePalette::Normal;
}

void clsBordLines::SetPalette(WirePalette palette) {
    if (!mag_ || palette == palette_) {
        return;
    }
    if (palette == WirePalette::ColourBlind && colourBlindBitmaps_[1] == 0) {
        std::array<std::int32_t, 10> loaded{};
        for (std::int32_t i = 1; i <= 8; ++i) {
            loaded[i] = loader_.Load(*mag_, "/images1/LineCB" + std::to_string(i) + ".bmp");
        }
        // The highlight looks the same in both palettes.
        loaded[9] = normalBitmaps_[9];
        colourBlindBitmaps_ = loaded;
    }
    lineBitmaps_ = palette == WirePalette::ColourBlind ? colourBlindBitmaps_ : normalBitmaps_;
    palette_ = palette;
}

void clsBordLines::DrawLine(std::int32_t GroupLID, std::int32_t X1, std::int32_t Y1,
                            std::int32_t X2, std::int32_t Y2, std::int32_t ColorNr) {
    if (Y1 == Y2 && X1 == X2) {
        return;
    }
    const std::int32_t dx = Difference(X1, X2);
    const std::int32_t dy = Difference(Y1, Y2);
    if (!mag_ || ColorNr < 1 || ColorNr > 9) {
        return;
    }
    const double len = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
    const std::int32_t frame = FrameFor(dx / len, dy / len);
    const auto n = static_cast<std::int64_t>(len / 10);
    for (std::int64_t part = 0; part < n; ++part) {
        const double t = (static_cast<double>(part) + 0.5) / static_cast<double>(n);
        const double x = X1 + t * dx;
        const double y = Y1 + t * dy;
        const std::int32_t s = mag_->CreateMaskedSprite(lineBitmaps_[ColorNr], lineMasks_[ColorNr]);
        mag_->MoveSprite(s, RoundHalfEven(x - 16), RoundHalfEven(y - 16));
        mag_->AddToGroup(s, GroupLID);
        mag_->SetSpriteFrameSize(s, kFrameSide, kFrameSide);
        mag_->SetSpriteFrameOffset(s, kFrameSide * frame, 0);
    }
}

std::shared_ptr<clsLine> clsBordLines::CreateLine() {
    auto line = std::make_shared<clsLine>();
    if (mag_) {
        line->Constructor(*this, *mag_);
    }
    return line;
}

std::int32_t clsBordLines::LineBitmap(std::int32_t i) const {
    return i >= 1 && i <= 9 ? lineBitmaps_[i] : 0;
}

std::int32_t clsBordLines::LineMask(std::int32_t i) const {
    return i >= 1 && i <= 9 ? lineMasks_[i] : 0;
}
