#pragma once
// Runs an assignment's checks on a board.

#include "app/assignments/Assignment.h"
#include "app/assignments/AssignmentResult.h"

class GradingBoard;

class AssignmentRunner {
public:
    /// Runs every check of `assignment` on `board`, each run from Reset(), and gives what
    /// each check earned and the failed expectations with what the board gave.
    static AssignmentResult Grade(const Assignment& assignment, GradingBoard& board);
    /// One check, as Grade runs it.
    static AssignmentCheckResult Run(const AssignmentCheck& check, GradingBoard& board);
};
