#include "app/components/clsSensor.h"

#include "sprite_control/KaleidoATL.h"

namespace {

constexpr std::int32_t kFrameSide = 48;
constexpr std::int32_t kModes = 3;
constexpr std::int32_t kLevel = 8;
constexpr std::int32_t kStateHidden = 1;

} // namespace

clsSensor::~clsSensor() {
    RemoveSprite();
}

void clsSensor::Constructor(KaleidoATL& mag, std::int32_t Xpos, std::int32_t Ypos) {
    RemoveSprite();
    mag_ = &mag;
    sensorBitmap_ = loader_.Load(mag, "/images2/Sensors.bmp");
    xpos_ = Xpos;
    ypos_ = Ypos;
    SetValue(0);
}

void clsSensor::NextValue() {
    const bool known = value_ >= 0 && value_ < kModes;
    SetValue(known && value_ + 1 < kModes ? value_ + 1 : 0);
}

void clsSensor::SetValue(std::int32_t value) {
    RemoveSprite();
    // A frame outside the strip would show whatever lies beyond it; such a mode shows
    // nothing instead.
    if (mag_ && value >= 0 && value < kModes) {
        sprite_ = mag_->CreateSprite(sensorBitmap_);
        mag_->SetSpriteFrameSize(sprite_, kFrameSide, kFrameSide);
        mag_->MoveSprite(sprite_, xpos_, ypos_);
        mag_->SetSpriteFrameOffset(sprite_, kFrameSide * value, 0);
        mag_->SetSpriteLevel(sprite_, kLevel);
        mag_->UpdateSprite(sprite_);
    }
    value_ = value;
}

void clsSensor::RemoveSprite() {
    if (sprite_ != 0 && mag_) {
        mag_->SetSpriteState(sprite_, kStateHidden);
        mag_->UpdateSprite(sprite_);
        mag_->DeleteSprite(sprite_);
    }
    sprite_ = 0;
}
