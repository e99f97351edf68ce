#pragma once
// A lamp of the board: the four LEDs and the lamps of the two push buttons.

#include "app/components/PictureLoader.h"

#include <QPointer>
#include <cstdint>

class KaleidoATL;

/// A red lamp at a fixed place. Once given its canvas it has exactly one sprite while lit
/// and none while dark; before that it only stores its value. Its sprite leaves the board
/// with the lamp.
class clsLED {
public:
    clsLED() = default;
    ~clsLED();
    clsLED(const clsLED&) = delete;
    clsLED& operator=(const clsLED&) = delete;

    /// Loads "/images2/RedLight.bmp" and "/images2/RedLightMask.bmp" below the program's
    /// folder into `mag`, switches the lamp off and places it with its top-left corner at
    /// (Xpos, Ypos). Throws PictureLoadError when a picture cannot be loaded.
    void Constructor(KaleidoATL& mag, std::int32_t Xpos, std::int32_t Ypos);

    /// Whether the lamp is lit.
    bool Value() const { return value_; }
    /// Lights or darkens the lamp. Every write rebuilds a lit lamp's sprite, also when the
    /// value does not change; a dark lamp written dark leaves the board as it is.
    void SetValue(bool value);

    /// The lit lamp's sprite; 0 while dark.
    std::int32_t Sprite() const { return sprite_; }

private:
    void RemoveLight();

    QPointer<KaleidoATL> mag_;
    PictureLoader loader_;
    std::int32_t lightBitmap_ = 0;
    std::int32_t lightMask_ = 0;
    std::int32_t sprite_ = 0;
    bool value_ = false;
    std::int32_t xpos_ = 0;
    std::int32_t ypos_ = 0;
};
