#pragma once
// The words for the board's states that assignments and the command line share: aan/uit,
// donker/lamp/wisselend, and voltages written with their unit in Dutch or English notation.

#include <cstdint>
#include <optional>
#include <string_view>

class StateWords {
public:
    /// A whole number written with digits only ("12"); nothing for anything else.
    static std::optional<std::int32_t> Whole(std::string_view text);
    /// A number with a decimal comma or point and at most `decimals` decimals, as a whole
    /// number of 10^-decimals ("2,5" with 2 decimals gives 250); nothing for anything else.
    static std::optional<std::int32_t> Fixed(std::string_view text, int decimals);
    /// A voltage from 0 to 5 V with its unit and at most one decimal ("3,5 V", "3.5V", "5 V"),
    /// in tenths of a volt; nothing for anything else ("3.5", "60 V", "2,55 V").
    static std::optional<std::int32_t> Volts(std::string_view text);
    /// "aan" 1, "uit" 0.
    static std::optional<std::int32_t> OnOff(std::string_view text);
    /// A sensor's mode: "donker" 0, "lamp" 1, "wisselend" 2.
    static std::optional<std::int32_t> SensorMode(std::string_view text);
};
