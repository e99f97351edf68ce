#pragma once
// What grading one board against an assignment gave.

#include <cstdint>
#include <string>
#include <vector>

/// An expectation that did not hold.
struct AssignmentFailure {
    /// The run it belongs to ("rij 2: aan | uit => uit"), "" for a check's single run.
    std::string run;
    std::int32_t line = 0;
    /// What was expected, as written ("LED 1 = aan"), and what the board gave ("uit").
    std::string expected;
    std::string got;
};

struct AssignmentCheckResult {
    std::string name;
    bool passed = false;
    /// Points earned: all of the check's or none.
    std::int32_t points = 0;
    std::int32_t max = 0;
    std::string hint;
    bool hidden = false;
    std::vector<AssignmentFailure> failures;
};

struct AssignmentResult {
    std::vector<AssignmentCheckResult> checks;
    std::int32_t points = 0;
    std::int32_t max = 0;

    /// The Dutch mark 1 + 9 × points / max in tenths (10 to 100), rounded half up.
    std::int32_t GradeTenths() const {
        if (max <= 0) {
            return 10;
        }
        const std::int64_t p = points;
        const std::int64_t m = max;
        return static_cast<std::int32_t>((20 * m + 180 * p + m) / (2 * m));
    }
};
