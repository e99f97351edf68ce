#pragma once
// tavsim --grade: every check of an assignment on every board given, as JSON Lines, and
// optionally as a gradebook (CSV) and a class page (HTML).

#include "app/cli/CliOptions.h"

#include <ostream>

class GradeCommand {
public:
    /// Scale of the board pictures on the class page.
    static constexpr double kPictureScale = 1.0;

    /// Reads the assignment (a malformed one is reported on `err` and nothing is graded:
    /// CliMain::kWrongArguments), grades each board in order and writes its line to `out`,
    /// then writes the CSV and HTML files through DurableFile. Returns CliMain::kAllRead, or
    /// kNotRead when a board could not be read or a file could not be written (the others
    /// are still graded and written).
    static int Run(const CliOptions& options, std::ostream& out, std::ostream& err);
};
