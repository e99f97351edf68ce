#include "app/board/clsCursor.h"

#include "sprite_control/KaleidoATL.h"

namespace {

constexpr std::int32_t kStateShown = 0;
constexpr std::int32_t kStateHidden = 1;
constexpr std::int32_t kModeNeverReported = 4;
constexpr std::int32_t kLevel = 10;
/// The highlight picture's centre lies this far right of and below its top-left corner.
constexpr std::int32_t kCentre = 16;
/// The last position while hidden: no socket lies there.
constexpr std::int32_t kNowhere = -100;

} // namespace

clsCursor::~clsCursor() {
    if (sprite_ != 0 && mag_) {
        mag_->DeleteSprite(sprite_);
    }
}

void clsCursor::Constructor(KaleidoATL& mag) {
    if (sprite_ != 0 && mag_) {
        mag_->DeleteSprite(sprite_);
    }
    sprite_ = 0;
    shown_ = false;
    mag_ = &mag;
    const std::int32_t picture = loader_.Load(mag, "/images2/HighLight.bmp");
    const std::int32_t mask = loader_.Load(mag, "/images2/HighLightMask.bmp");
    sprite_ = mag.CreateMaskedSprite(picture, mask);
    mag.SetSpriteMode(sprite_, kModeNeverReported);
    mag.SetSpriteState(sprite_, kStateHidden);
    mag.SetSpriteLevel(sprite_, kLevel);
}

void clsCursor::ShowPoint(std::int32_t x, std::int32_t y) {
    if (sprite_ == 0 || !mag_) {
        return;
    }
    if (x == lastX_ && y == lastY_ && shown_) {
        return;
    }
    mag_->SetSpriteState(sprite_, kStateHidden);
    mag_->UpdateSprite(sprite_);
    mag_->SetSpriteState(sprite_, kStateShown);
    mag_->MoveSprite(sprite_, x - kCentre, y - kCentre);
    mag_->UpdateSprite(sprite_);
    lastX_ = x;
    lastY_ = y;
    shown_ = true;
}

void clsCursor::Hide() {
    if (sprite_ == 0 || !mag_) {
        return;
    }
    mag_->SetSpriteState(sprite_, kStateHidden);
    mag_->UpdateSprite(sprite_);
    lastX_ = kNowhere;
    lastY_ = kNowhere;
    shown_ = false;
}
