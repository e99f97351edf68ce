#include "app/components/clsVoltControl.h"

#include "app/simulation/Rounding.h"
#include "app/simulation/SocketTable.h"
#include "sprite_control/KaleidoATL.h"

#include <cmath>

namespace {

constexpr std::int32_t kStateShown = 0;
constexpr std::int32_t kStateHidden = 3;
constexpr std::int32_t kModeReported = 1;
constexpr std::int32_t kModeNeverReported = 4;
constexpr std::int32_t kLevel = 10;
constexpr std::int32_t kWhite = 0xFFFFFF;

// Dial geometry in dial pixels: value v lies at x = kScaleLeft + kPixelsPerStep·v.
constexpr std::int32_t kScaleLeft = 6;
constexpr std::int32_t kPixelsPerStep = 4;
constexpr std::int32_t kScaleBase = 33;
constexpr std::int32_t kSteps = 50;
constexpr std::int32_t kPointerY = 5;
constexpr std::int32_t kCloseBoxX = 197;
constexpr std::int32_t kCloseBoxSide = 16;

} // namespace

clsVoltControl::clsVoltControl(QObject* parent) : QObject(parent) {}

clsVoltControl::~clsVoltControl() {
    RemoveSprites();
}

void clsVoltControl::Constructor(KaleidoATL& newMag) {
    RemoveSprites();
    if (lMag_) {
        disconnect(lMag_, nullptr, this, nullptr);
    }
    lMag_ = &newMag;

    const std::int32_t dial = loader_.Load(newMag, "/images2/0-5V.bmp");
    for (std::int32_t i = 0; i <= kSteps; ++i) {
        const std::int32_t length = i % 10 == 0 ? 10 : 5;
        for (std::int32_t j = 0; j <= length; ++j) {
            newMag.SetPixelBitmap(dial, kScaleLeft + kPixelsPerStep * i, kScaleBase - j, kWhite);
        }
    }
    dialSprite_ = newMag.CreateSprite(dial);
    newMag.SetSpriteMode(dialSprite_, kModeReported);
    newMag.SetSpriteLevel(dialSprite_, kLevel);

    const std::int32_t pointer = loader_.Load(newMag, "/images2/VPointer.bmp");
    const std::int32_t pointerMask = loader_.Load(newMag, "/images2/VPointerMask.bmp");
    pointerSprite_ = newMag.CreateMaskedSprite(pointer, pointerMask);
    newMag.SetSpriteMode(pointerSprite_, kModeNeverReported);
    newMag.SetSpriteLevel(pointerSprite_, kLevel);
    newMag.AddToGroup(pointerSprite_, dialSprite_);

    closeBox_ = newMag.CreateGroup();
    newMag.AddToGroup(closeBox_, dialSprite_);
    newMag.MoveSprite(closeBox_, kCloseBoxX, 0);
    newMag.SetSpriteFrameSize(closeBox_, kCloseBoxSide, kCloseBoxSide);

    const std::int32_t readings = loader_.Load(newMag, "/images2/KnobValues.bmp");
    readingSprite_ = newMag.CreateSprite(readings);
    newMag.SetSpriteMode(readingSprite_, kModeNeverReported);
    newMag.SetSpriteLevel(readingSprite_, kLevel);
    newMag.SetSpriteFrameSize(readingSprite_, kReadingWidth, kReadingHeight);
    newMag.AddToGroup(readingSprite_, dialSprite_);
    newMag.MoveSprite(readingSprite_, kReadingX, kReadingY);
    ShowReading();

    dragging_ = false;
    closeRequested_ = false;
    shown_ = false;
    newMag.SetSpriteState(dialSprite_, kStateHidden);

    connect(&newMag, &KaleidoATL::PointerDown, this, &clsVoltControl::lMag_PointerDown);
    connect(&newMag, &KaleidoATL::PointerUp, this, &clsVoltControl::lMag_PointerUp);
    connect(&newMag, &KaleidoATL::PointerMove, this, &clsVoltControl::lMag_PointerMove);
}

void clsVoltControl::Move(std::int32_t x, std::int32_t y) {
    closeRequested_ = false;
    shown_ = true;
    if (!lMag_) {
        return;
    }
    lMag_->SetSpriteState(dialSprite_, kStateHidden);
    lMag_->UpdateSprite(dialSprite_);
    lMag_->SetSpriteState(dialSprite_, kStateShown);
    lMag_->MoveSprite(dialSprite_, x, y);
    lMag_->UpdateSprite(dialSprite_);
}

void clsVoltControl::Hide() {
    shown_ = false;
    if (!lMag_) {
        return;
    }
    lMag_->SetSpriteState(dialSprite_, kStateHidden);
    lMag_->UpdateSprite(dialSprite_);
}

bool clsVoltControl::InBound() const {
    if (!lMag_ || lMag_->GetSpriteState(dialSprite_) == kStateHidden) {
        return false;
    }
    return lMag_->IsPointerOver(dialSprite_);
}

void clsVoltControl::Update() {
    if (closeRequested_) {
        Hide();
    }
}

void clsVoltControl::SetValue(double value) {
    if (lMag_) {
        lMag_->SetSpriteState(pointerSprite_, kStateHidden);
        lMag_->UpdateSprite(pointerSprite_);
    }
    if (std::isnan(value) || value < 0) {
        value = 0;
    } else if (value > kSteps) {
        value = kSteps;
    }
    value_ = value;
    if (lMag_) {
        lMag_->SetSpriteState(pointerSprite_, kStateShown);
        lMag_->MoveSprite(pointerSprite_, RoundHalfEven(kPixelsPerStep * value_ - 1), kPointerY);
        lMag_->UpdateSprite(pointerSprite_);
        ShowReading();
    }
}

void clsVoltControl::ShowReading() {
    if (!lMag_ || readingSprite_ == 0) {
        return;
    }
    const std::int32_t setting = RoundHalfEven(value_);
    const bool pulses = tag == SocketName(Socket::PulseGeneratorKnob);
    const std::int32_t column = setting % kReadingColumns;
    const std::int32_t row = (pulses ? kReadingRows : 0) + setting / kReadingColumns;
    lMag_->SetSpriteFrameOffset(readingSprite_, kReadingWidth * column, kReadingHeight * row);
    lMag_->UpdateSprite(readingSprite_);
}

void clsVoltControl::SetFromPointer(std::int32_t x, std::int32_t /*y*/) {
    const double dialLeft = lMag_ ? lMag_->GetSpriteX(dialSprite_) : 0;
    SetValue((x - dialLeft - kScaleLeft) / kPixelsPerStep);
}

void clsVoltControl::lMag_PointerDown(int sprite, int /*button*/, int x, int y) {
    if (!shown_ || !lMag_) {
        return;
    }
    if (sprite == 0 && lMag_->IsPointerOver(closeBox_)) {
        closeRequested_ = true;
    }
    if (sprite != 0 && sprite == dialSprite_) {
        dragging_ = true;
    }
    if (sprite == 0 && dragging_) {
        SetFromPointer(x, y);
    }
}

void clsVoltControl::lMag_PointerUp(int /*sprite*/, int /*button*/, int /*x*/, int /*y*/) {
    dragging_ = false;
}

void clsVoltControl::lMag_PointerMove(int sprite, int x, int y) {
    if (!shown_ || !lMag_) {
        return;
    }
    if (!lMag_->IsPointerOver(closeBox_) && sprite == 0 && dragging_) {
        SetFromPointer(x, y);
    }
}

void clsVoltControl::RemoveSprites() {
    // The pointer and the close box are attached to the dial and go with it.
    if (dialSprite_ != 0 && lMag_) {
        lMag_->DeleteSprite(dialSprite_);
    }
    dialSprite_ = 0;
    pointerSprite_ = 0;
    closeBox_ = 0;
    readingSprite_ = 0;
}
