#include "app/components/clsDisplay.h"

#include "sprite_control/KaleidoATL.h"

#include <stdexcept>
#include <string>

namespace {

constexpr std::int32_t kDigitX = 266;
constexpr std::int32_t kDigitY = 282;

} // namespace

clsDisplay::~clsDisplay() {
    RemoveDigit();
}

void clsDisplay::Constructor(KaleidoATL& mag) {
    RemoveDigit();
    mag_ = &mag;
    for (std::int32_t i = 0; i <= 9; ++i) {
        digitBitmaps_[i] = loader_.Load(mag, "/images2/Display" + std::to_string(i) + ".bmp");
    }
    SetValue(0);
}

void clsDisplay::SetValue(std::int32_t value) {
    RemoveDigit();
    if (value < 0 || value > 9) {
        throw std::out_of_range("clsDisplay::SetValue: digit " + std::to_string(value) +
                                " is outside 0..9");
    }
    ShowDigit(value);
    value_ = value;
}

void clsDisplay::IncreaseValue() {
    SetValue(value_ + 1 == 10 ? 0 : value_ + 1);
}

std::int32_t clsDisplay::DigitBitmap(std::int32_t i) const {
    return i >= 0 && i <= 9 ? digitBitmaps_[i] : 0;
}

void clsDisplay::RemoveDigit() {
    if (sprite_ != 0 && mag_) {
        mag_->DeleteSprite(sprite_);
    }
    sprite_ = 0;
}

void clsDisplay::ShowDigit(std::int32_t digit) {
    if (!mag_) {
        return;
    }
    sprite_ = mag_->CreateSprite(digitBitmaps_[digit]);
    mag_->MoveSprite(sprite_, kDigitX, kDigitY);
}
