#pragma once
// The line --grade writes per board.

#include "app/cli/GradedBoard.h"

#include <string>

class GradeJson {
public:
    /// {"file", "ok", "points", "max", "grade", "checks": [{"name", "passed", "points", and
    /// for a failed check that is not hidden "failures": [{"run", "line", "expected", "got"}]
    /// and "hint"}]} on one line, without the line break; for a board that was not read
    /// {"file", "ok": false, "error"}. "grade" is a number with one decimal (8.2).
    static std::string Line(const GradedBoard& board);
    /// The mark in tenths as text with one decimal and `separator` ("8,2" or "8.2").
    static std::string Mark(std::int32_t tenths, char separator);
};
