#pragma once
// The program's headless commands: tavsim --check, --render, --help and --version.

#include <ostream>
#include <string>
#include <vector>

class CliMain {
public:
    /// Exit statuses.
    static constexpr int kAllRead = 0;
    static constexpr int kNotRead = 1;
    static constexpr int kWrongArguments = 2;

    /// Whether the program's arguments ask for a headless command instead of the window.
    static bool IsCommand(int argc, const char* const* argv);
    /// Runs the command without any display: makes its own application on the offscreen
    /// platform, whatever DISPLAY and QT_QPA_PLATFORM say, with only a silent sound input
    /// (TAVSIM_WAVE_INPUTS). Returns the exit status.
    static int Run(int argc, char** argv);
    /// Runs the command given by `args` (the arguments after the program's name) in an
    /// application that already exists: JSON lines, help and version to `out`; messages and
    /// the usage line to `err`. Returns the exit status: kAllRead, kNotRead when a board
    /// could not be read (or a picture written, or the program's pictures loaded),
    /// kWrongArguments with a Dutch reason and the usage line.
    static int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};
