#pragma once
// What a drawing of the board is told when the board model changes.

#include <cstddef>
#include <cstdint>

/// The window's components implement this to redraw; a board without a window has none.
/// Every function is told in the order the change happens, with the new value.
class BoardView {
public:
    /// Wire `index` of the model's list was given `color` (1 to 8) by a step.
    virtual void WireColored(std::size_t index, std::int32_t color) = 0;
    /// The counter's digit, 0 to 9.
    virtual void CounterChanged(std::int32_t digit) = 0;
    /// LED `k` (0 to 3) lit or dark after a step; told after every step.
    virtual void LedChanged(std::size_t k, bool on) = 0;
    /// The buzzer started or stopped sounding.
    virtual void BuzzerChanged(bool on) = 0;
    /// Push-button lamp `k` (0 or 1) on or off.
    virtual void PushButtonChanged(std::size_t k, bool on) = 0;
    /// Sensor `k` (0 or 1) in mode 0 (dark), 1 (lit by the pointer) or 2 (swinging light).
    virtual void SensorChanged(std::size_t k, std::int32_t mode) = 0;

protected:
    ~BoardView() = default;
};
