#pragma once
// The arguments of the headless commands: which command, the number of steps, the clicks and
// knob settings made before the first step, the scale of a picture and the files.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

/// A wrong argument; what() is the Dutch reason, without the usage line.
class CliUsageError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

class CliOptions {
public:
    enum class Command { Check, Render, Grade, Help, Version };

    /// Something done to the board before the first step, in the order given.
    struct Action {
        enum class Kind {
            /// A click on a push button, a sensor or the counter's reset button.
            Press,
            /// The knob of a control opened and set to `value`, in tenths of a volt.
            Set,
            /// A push button's lamp set on (`value` 1) or off (0), or a sensor's mode set to
            /// `value` (0 to 2), without clicking.
            State,
        };
        Kind kind = Kind::Press;
        std::string naam;
        double value = 0.0;
        friend bool operator==(const Action&, const Action&) = default;
    };

    static constexpr std::int32_t kDefaultTicks = 100;
    static constexpr std::int32_t kMaxTicks = 1000000;
    static constexpr double kDefaultScale = 2.0;
    static constexpr double kMaxScale = 8.0;

    Command command = Command::Help;
    std::int32_t ticks = kDefaultTicks;
    std::vector<Action> actions;
    double scale = kDefaultScale;
    /// --render: the wires in the colours for red-green colour blindness (--colour-blind).
    bool colourBlind = false;
    /// --check and --grade: the boards; --render: the board and the picture to write.
    std::vector<std::string> files;
    /// --check --trace: the file (".csv" or ".vcd") that gets every step's value of the
    /// sockets `probes` (none named: every socket); "" for no trace. With a trace, `files`
    /// holds exactly one board.
    std::string trace;
    std::vector<std::string> probes;
    /// --grade: the assignment, and the gradebook (CSV) and class page (HTML) to write, ""
    /// for none.
    std::string assignment;
    std::string csv;
    std::string html;

    /// Whether `first`, the program's first argument, names a headless command rather than
    /// a document for the window: --check, --render, --grade, --help or --version.
    static bool IsCommand(std::string_view first);
    /// Reads the arguments after the program's name. Throws CliUsageError for an unknown
    /// option, a missing or malformed value, a name that no control of that kind has, a
    /// value out of range, or the wrong number of files (one board only with --trace).
    static CliOptions Parse(const std::vector<std::string>& args);
    /// The Dutch usage lines, one per command, each ending in a line break.
    static std::string Usage();
    /// The Dutch help text of --help.
    static std::string Help();

    /// The controls --press may name, and the knobs --set may name.
    static const std::vector<std::string_view>& PressNames();
    static const std::vector<std::string_view>& KnobNames();
};
