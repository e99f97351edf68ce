#pragma once
// The one-digit display of the pulse counter.

#include <cstdint>

class KaleidoATL;

/// The pulse counter's digit, 0 to 9. The evaluator counts and resets through Value,
/// SetValue and IncreaseValue only. The display draws its digit only once it has been given
/// its graphics control; until then the digit is stored and nothing is drawn.
class clsDisplay {
public:
    /// The digit shown, 0 to 9; 0 for a new display.
    std::int32_t Value() const { return value_; }
    /// Removes the digit shown, then shows value. Throws std::out_of_range for a value outside
    /// 0..9; the stored digit is then unchanged and no digit is shown until the next valid
    /// write.
    void SetValue(std::int32_t value);
    /// Goes to the next digit; 9 wraps to 0.
    void IncreaseValue();

private:
    /// Removes the digit's sprite, if any.
    void RemoveDigit();
    /// Shows the digit; does nothing while the display has no graphics control.
    void ShowDigit(std::int32_t digit);

    KaleidoATL* mag_ = nullptr;
    std::int32_t sprite_ = 0;
    std::int32_t value_ = 0;
};
