#pragma once
// The board an assignment is run on: the pupil's board, set and read by the names of the
// board's controls and sockets.

#include <cstdint>
#include <optional>
#include <string_view>

/// A pupil's board that a check can put back as saved, operate, step and read. Names are
/// those the assignment parser accepted for each use.
class GradingBoard {
public:
    virtual ~GradingBoard() = default;

    /// The pupil's board as saved (its wires and knob settings), with every push button off,
    /// every sensor dark, the counter at 0, no sound and time at its start.
    virtual void Reset() = 0;
    /// Push button "Drukknop 1" or "Drukknop 2" on or off.
    virtual void SetPushButton(std::string_view naam, bool on) = 0;
    /// Sensor mode: 0 dark, 1 lamp, 2 swinging light.
    virtual void SetSensor(std::string_view naam, std::int32_t mode) = 0;
    /// A knob's setting in tenths of a volt, 0 to 50.
    virtual void SetKnob(std::string_view naam, std::int32_t tenths) = 0;
    /// The sound sensor's level, 0 to 50.
    virtual void SetSound(std::int32_t level) = 0;
    /// Clicks a push button, a sensor or the counter's reset button, as in the operate mode.
    virtual void Press(std::string_view naam) = 0;
    /// One simulation step, 10 ms of the board's time.
    virtual void Step() = 0;

    /// LED 1 to 4 lit.
    virtual bool Led(std::int32_t number) const = 0;
    virtual bool Buzzer() const = 0;
    virtual std::int32_t Display() const = 0;
    /// A socket's value in tenths of a volt after the last step; none when it has none.
    virtual std::optional<std::int32_t> Value(std::string_view naam) const = 0;
};
