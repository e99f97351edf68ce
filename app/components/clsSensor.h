#pragma once
// One of the two analogue sensors, with its three modes shown as three pictures.

#include "app/components/PictureLoader.h"

#include <QPointer>
#include <cstdint>

class KaleidoATL;

/// A sensor whose mode (0 no signal, 1 the pointer as a light, 2 a swinging light) is shown
/// as one 48 × 48 frame of the strip "/images2/Sensors.bmp". Before Constructor it only
/// stores its mode. Its sprite leaves the board with the sensor.
class clsSensor {
public:
    clsSensor() = default;
    ~clsSensor();
    clsSensor(const clsSensor&) = delete;
    clsSensor& operator=(const clsSensor&) = delete;

    /// Loads the strip below the program's folder into `mag`, places the sensor with its
    /// top-left corner at (Xpos, Ypos) and shows mode 0. Throws PictureLoadError when the
    /// strip cannot be loaded.
    void Constructor(KaleidoATL& mag, std::int32_t Xpos, std::int32_t Ypos);

    /// Steps to the next mode: 0 to 1, 1 to 2, 2 to 0. A mode outside 0 to 2 steps to 0.
    void NextValue();

    /// The mode.
    std::int32_t Value() const { return value_; }
    /// Stores the mode and rebuilds the sprite showing frame `value` at level 8. A mode
    /// outside 0 to 2, which only a damaged document can hold, is stored and shown as no
    /// sprite at all.
    void SetValue(std::int32_t value);

    /// The sensor's sprite; 0 when none is shown.
    std::int32_t Sprite() const { return sprite_; }

private:
    void RemoveSprite();

    QPointer<KaleidoATL> mag_;
    PictureLoader loader_;
    std::int32_t sensorBitmap_ = 0;
    std::int32_t sprite_ = 0;
    std::int32_t value_ = 0;
    std::int32_t xpos_ = 0;
    std::int32_t ypos_ = 0;
};
