#pragma once
// The board of --check and of grading: the board model alone, with no window, canvas or
// picture, a clock that advances exactly 10 ms per step, the pointer far from the board and
// no sound unless one is set.

#include "app/cli/CliOptions.h"
#include "app/simulation/BoardModel.h"
#include "app/simulation/clsSnaps.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CheckBoard {
public:
    /// The clock advances 1/kStepsPerSecond seconds (10 ms) before every step.
    static constexpr int kStepsPerSecond = 100;

    /// What the board shows after the steps.
    struct Outcome {
        std::array<bool, 4> leds{};
        bool buzzer = false;
        std::int32_t display = 0;
        /// The text the window shows for wired-together outputs; "" when there are none.
        std::string conflict;
        struct Wire {
            std::string from;
            std::string to;
            std::int32_t colour = 0;
        };
        /// In the order of the wire list.
        std::vector<Wire> wires;
        /// Every socket of the socket table that has a value after the last step, in the
        /// table's order.
        std::vector<std::pair<std::string, std::int32_t>> values;
    };

    /// Puts the document at `path` on a fresh board, as a start-up with `path` on the
    /// command line would show it. Returns the Dutch sentence the window would show when the
    /// file is missing or cannot be read (the board is then empty), else "".
    std::string Open(const std::string& path);
    /// Makes a fresh board hold `document`, as Open does with a document read from a file.
    void Show(const BoardDocument& document);
    /// Clicks, knob settings and states, in order, as in the operate mode.
    void Act(const std::vector<CliOptions::Action>& actions);
    /// Runs `count` steps, the clock advancing 10 ms before each.
    void Run(std::int32_t count);
    /// The sound sensor's level for the coming steps, 0 to 50; 0 after Open and Show.
    void SetSound(std::int32_t level) { sound_ = level; }
    /// Where a sensor lit by the pointer sees the light, in board pixels; none is far from
    /// every sensor, as after Open and Show.
    void SetPointer(std::optional<BoardModel::Point> at) { pointer_ = at; }
    /// Steps run since Open or Show.
    std::int64_t Steps() const { return steps_; }
    Outcome Result();

    BoardModel& Model() { return model_; }
    const BoardModel& Model() const { return model_; }
    const clsSnaps& Snaps() const { return snaps_; }

private:
    BoardModel model_;
    clsSnaps snaps_;
    std::int64_t steps_ = 0;
    std::int32_t sound_ = 0;
    std::optional<BoardModel::Point> pointer_;
};
