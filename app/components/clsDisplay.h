#pragma once
// The one-digit display of the pulse counter.

#include "app/components/PictureLoader.h"

#include <QPointer>
#include <array>
#include <cstdint>

class KaleidoATL;

/// The pulse counter's digit, 0 to 9. The evaluator counts and resets through Value,
/// SetValue and IncreaseValue only. The display draws its digit only once it has been given
/// its graphics control; until then the digit is stored and nothing is drawn. Its digit
/// sprite leaves the board with the display.
class clsDisplay {
public:
    clsDisplay() = default;
    ~clsDisplay();
    clsDisplay(const clsDisplay&) = delete;
    clsDisplay& operator=(const clsDisplay&) = delete;

    /// Loads the ten digits "/images2/Display<i>.bmp" below the program's folder into `mag`,
    /// then shows digit 0. Throws PictureLoadError at the first picture that cannot be
    /// loaded.
    void Constructor(KaleidoATL& mag);

    /// The digit shown, 0 to 9; 0 for a new display.
    std::int32_t Value() const { return value_; }
    /// Removes the digit shown, then shows value with its top-left corner at (266, 282), also
    /// when it is the digit already shown. Throws std::out_of_range for a value outside
    /// 0..9; the stored digit is then unchanged and no digit is shown until the next valid
    /// write.
    void SetValue(std::int32_t value);
    /// Goes to the next digit; 9 wraps to 0.
    void IncreaseValue();

    /// The digit's sprite; 0 while none is shown.
    std::int32_t Sprite() const { return sprite_; }
    /// Bitmap handle of digit i (0 to 9); 0 for any other i or before Constructor.
    std::int32_t DigitBitmap(std::int32_t i) const;

private:
    /// Removes the digit's sprite, if any.
    void RemoveDigit();
    /// Shows the digit; does nothing while the display has no graphics control.
    void ShowDigit(std::int32_t digit);

    QPointer<KaleidoATL> mag_;
    PictureLoader loader_;
    std::array<std::int32_t, 10> digitBitmaps_{};
    std::int32_t sprite_ = 0;
    std::int32_t value_ = 0;
};
