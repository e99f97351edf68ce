#pragma once
// Numbers in the notations the trace files need: decimal comma for Dutch spreadsheets,
// decimal point for the value change dump.

#include <cstdint>
#include <string>

class DecimalText {
public:
    /// Tenths of a volt as volts with one decimal: 35 is "3,5" (or "3.5" with '.'), 0 is
    /// "0,0", -2 is "-0,2".
    static std::string Volts(std::int32_t tenths, char separator);
    /// Milliseconds as seconds with at least two and at most three decimals: 10 is "0,01",
    /// 1000 is "1,00", 15 is "0,015".
    static std::string Seconds(std::int64_t milliseconds, char separator);
};
