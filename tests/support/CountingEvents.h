#pragma once
// What the evaluator tells, kept as the board's counter keeps it.

#include "app/simulation/GraphEvents.h"

#include <cstddef>
#include <cstdint>

/// Counts the digit 0 to 9 as the board's counter does and counts the colours told.
class CountingEvents : public GraphEvents {
public:
    std::int32_t digit = 0;
    std::size_t colorsTold = 0;
    std::int32_t lastColor = 0;

    void WireColored(std::size_t, std::int32_t color) override {
        ++colorsTold;
        lastColor = color;
    }
    void CounterReset() override { digit = 0; }
    void CounterStepped() override { digit = digit == 9 ? 0 : digit + 1; }
};
