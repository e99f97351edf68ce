#pragma once
// An assignment ("opdracht") as the teacher wrote it: a title, an explanation and checks
// ("toetsen"). Each check is one or more runs; every run starts from the pupil's board as
// saved, with the push buttons off, the sensors dark, the counter at 0 and no sound, and is a
// list of steps done in order.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// What a step sets, clicks or reads. Names are the board's own, as the socket table has
/// them, plus "LED 1" to "LED 4", "Display" and "Geluid".
enum class AssignmentTarget {
    PushButton,  ///< "Drukknop 1", "Drukknop 2": aan/uit.
    Sensor,      ///< "Sensor 1", "Sensor 2": donker, lamp, wisselend.
    Knob,        ///< the three "… Regelaar" knobs: a voltage 0 to 5 V.
    Sound,       ///< "Geluid": the sound sensor's level, 0 to 50.
    ResetButton, ///< "Pulsenteller Reset Drukknop": only clicked.
    Led,         ///< "LED 1" to "LED 4": aan/uit.
    Buzzer,      ///< "Zoemer" with aan/uit: whether the buzzer sounds.
    Display,     ///< "Display": the counter's digit, 0 to 9.
    Socket,      ///< any socket of the table: a voltage, or no value.
};

/// One step of a run.
struct AssignmentStep {
    enum class Kind {
        Set,    ///< zet NAAM = WAARDE
        Press,  ///< druk NAAM
        Wait,   ///< wacht N stappen / wacht T s
        Expect, ///< verwacht NAAM = WAARDE, or verwacht NAAM wisselt N [tot M] keer
    };
    Kind kind = Kind::Wait;
    AssignmentTarget target = AssignmentTarget::Socket;
    /// The name as written (and as the board knows it).
    std::string naam;
    /// Set: 0/1 for a push button, the mode 0 to 2 for a sensor, tenths of a volt for a knob,
    /// the level for the sound. Wait: the number of steps. Expect: 0/1 for a lamp or the
    /// buzzer, the digit, or tenths of a volt for a socket.
    std::int32_t value = 0;
    /// Expect on a socket: the allowed difference in tenths of a volt.
    std::int32_t tolerance = 0;
    /// Expect on a socket: it must have no value ("geen waarde").
    bool noValue = false;
    /// Expect "wisselt": the fewest and most changes of the target during the last wait.
    std::optional<std::int32_t> changesAtLeast;
    std::optional<std::int32_t> changesAtMost;
    /// The line of the file the step comes from (a table row for its cells).
    std::int32_t line = 0;
    /// The text of the expectation, for the report ("LED 1 = aan").
    std::string text;
};

/// One run: from the pupil's board as saved, the steps in order.
struct AssignmentRun {
    /// What the report calls it: "rij 3" for a table row, "" for a check's single run.
    std::string label;
    std::vector<AssignmentStep> steps;
};

/// One check. It earns its points when every expectation of every run holds.
struct AssignmentCheck {
    std::string name;
    std::int32_t points = 1;
    std::string hint;
    /// The pupil sees only whether it passed.
    bool hidden = false;
    std::vector<AssignmentRun> runs;
    std::int32_t line = 0;
};

struct Assignment {
    std::string title;
    std::string explanation;
    std::vector<AssignmentCheck> checks;

    /// The sum of the checks' points.
    std::int32_t MaxPoints() const {
        std::int32_t sum = 0;
        for (const AssignmentCheck& check : checks) {
            sum += check.points;
        }
        return sum;
    }
};
