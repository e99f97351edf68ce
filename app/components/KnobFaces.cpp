#include "app/components/KnobFaces.h"

#include "app/simulation/SocketTable.h"
#include "sprite_control/KaleidoATL.h"

#include <algorithm>

namespace {

constexpr std::array<Socket, 3> kKnobs = {Socket::ComparatorKnob, Socket::VariableVoltageKnob,
                                          Socket::PulseGeneratorKnob};
/// The knob's centre lies on pixel (10, 10) of its frame.
constexpr std::int32_t kCentre = 10;

} // namespace

KnobFaces::~KnobFaces() {
    RemoveSprites();
}

void KnobFaces::Constructor(KaleidoATL& mag) {
    RemoveSprites();
    mag_ = &mag;
    const std::int32_t faces = loader_.Load(mag, "/images2/KnobFaces.bmp");
    const std::int32_t mask = loader_.Load(mag, "/images2/KnobFacesMask.bmp");
    for (std::size_t i = 0; i < kKnobs.size(); ++i) {
        const SocketEntry& knob = SocketOf(kKnobs[i]);
        sprites_[i] = mag.CreateMaskedSprite(faces, mask);
        mag.SetSpriteFrameSize(sprites_[i], kFrameSide, kFrameSide);
        mag.MoveSprite(sprites_[i], knob.x - kCentre, knob.y - kCentre);
        mag.SetSpriteLevel(sprites_[i], kLevel);
        Draw(i);
    }
}

int KnobFaces::Index(std::string_view knob) {
    for (std::size_t i = 0; i < kKnobs.size(); ++i) {
        if (knob == SocketName(kKnobs[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void KnobFaces::Show(std::string_view knob, std::int32_t setting) {
    const int i = Index(knob);
    if (i < 0) {
        return;
    }
    setting = std::clamp(setting, 0, kSettings - 1);
    if (settings_[std::size_t(i)] == setting) {
        return;
    }
    settings_[std::size_t(i)] = setting;
    Draw(std::size_t(i));
}

void KnobFaces::ShowAll(std::int32_t comparator, std::int32_t voltage, std::int32_t pulses) {
    Show(SocketName(Socket::ComparatorKnob), comparator);
    Show(SocketName(Socket::VariableVoltageKnob), voltage);
    Show(SocketName(Socket::PulseGeneratorKnob), pulses);
}

std::int32_t KnobFaces::Shown(std::string_view knob) const {
    const int i = Index(knob);
    return i < 0 ? -1 : settings_[std::size_t(i)];
}

std::int32_t KnobFaces::Sprite(std::string_view knob) const {
    const int i = Index(knob);
    return i < 0 ? 0 : sprites_[std::size_t(i)];
}

void KnobFaces::Draw(std::size_t i) {
    if (!mag_ || sprites_[i] == 0) {
        return;
    }
    mag_->SetSpriteFrameOffset(sprites_[i], kFrameSide * settings_[i], 0);
    mag_->UpdateSprite(sprites_[i]);
}

void KnobFaces::RemoveSprites() {
    for (std::int32_t& sprite : sprites_) {
        if (sprite != 0 && mag_) {
            mag_->DeleteSprite(sprite);
        }
        sprite = 0;
    }
}
