#pragma once
// The lines --check writes: one JSON object per board.

#include "app/cli/CheckBoard.h"

#include <string>
#include <string_view>

class CheckJson {
public:
    /// {"file", "ok": true, "leds", "buzzer", "display", "conflict", "wires", "values"} on
    /// one line, without the line break.
    static std::string Line(std::string_view file, const CheckBoard::Outcome& outcome);
    /// {"file", "ok": false, "error"} on one line, without the line break.
    static std::string ErrorLine(std::string_view file, std::string_view error);
    /// `text` as a JSON string with its quotes. Bytes that are no UTF-8 become U+FFFD, so that
    /// any file name gives valid JSON.
    static std::string String(std::string_view text);
};
