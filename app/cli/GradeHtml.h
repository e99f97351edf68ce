#pragma once
// The class page of --grade --html: one self-contained HTML page.

#include "app/assignments/Assignment.h"
#include "app/cli/GradedBoard.h"

#include <string>
#include <string_view>
#include <vector>

class GradeHtml {
public:
    /// The assignment's title and explanation; how many pupils passed each check; the groups
    /// of boards with identical (non-empty) wire sets, as possible copying; then per board the
    /// pupil, the mark, its picture (a data: URI), each check as passed or failed with its
    /// points and, for a failed check that is not hidden, what was expected, what the board
    /// gave and the hint. A board that was not read shows why. Every text from a file or
    /// file name is escaped.
    static std::string Page(const Assignment& assignment, const std::vector<GradedBoard>& boards);
    /// `text` with &, <, >, " and ' as HTML character references.
    static std::string Escape(std::string_view text);
    /// For each board, the indices of the other boards with the same non-empty wire set.
    static std::vector<std::vector<std::size_t>> Copies(const std::vector<GradedBoard>& boards);
};
