#include "app/components/clsDisplay.h"

#include <stdexcept>
#include <string>

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

void clsDisplay::RemoveDigit() {
    // The sprite itself is deleted through the graphics control once the display draws.
    sprite_ = 0;
}

void clsDisplay::ShowDigit(std::int32_t /*digit*/) {
    if (mag_ == nullptr) {
        return;
    }
    // Drawing joins here: a sprite of the digit's bitmap at (266, 282).
}
