#include "app/components/clsLED.h"

#include "sprite_control/KaleidoATL.h"

namespace {

constexpr std::int32_t kStateHidden = 1;
constexpr std::int32_t kModeNeverReported = 4;

} // namespace

clsLED::~clsLED() {
    RemoveLight();
}

void clsLED::Constructor(KaleidoATL& mag, std::int32_t Xpos, std::int32_t Ypos) {
    RemoveLight();
    mag_ = &mag;
    lightBitmap_ = loader_.Load(mag, "/images2/RedLight.bmp");
    lightMask_ = loader_.Load(mag, "/images2/RedLightMask.bmp");
    SetValue(false);
    xpos_ = Xpos;
    ypos_ = Ypos;
}

void clsLED::SetValue(bool value) {
    RemoveLight();
    if (value && mag_) {
        sprite_ = mag_->CreateMaskedSprite(lightBitmap_, lightMask_);
        mag_->MoveSprite(sprite_, xpos_, ypos_);
        mag_->SetSpriteMode(sprite_, kModeNeverReported);
        mag_->UpdateSprite(sprite_);
    }
    value_ = value;
}

void clsLED::RemoveLight() {
    if (sprite_ != 0 && mag_) {
        mag_->SetSpriteState(sprite_, kStateHidden);
        mag_->UpdateSprite(sprite_);
        mag_->DeleteSprite(sprite_);
    }
    sprite_ = 0;
}
