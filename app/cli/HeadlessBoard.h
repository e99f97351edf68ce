#pragma once
// The main window's board without a window, for drawing a board: the same document reader,
// board objects, canvas, operate-mode clicks and tick, with a clock that advances exactly
// 10 ms per step, the pointer far from the board and no sound.

#include "app/board/FORM1.h"
#include "app/cli/CliOptions.h"
#include "platform/ui/ClockSource.h"
#include "platform/ui/PointerSource.h"

#include <QImage>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Prompter;
class SoundPlayer;

/// Owns a hidden main window and, while it lives, installs the process's clock, pointer,
/// sound player and prompter (messages go to standard error and are answered with No or
/// Cancel); the destructor puts back the prompter, clock and pointer that were there before
/// and the default sound player, so that a window may grade on one for a moment. One at a
/// time per process.
class HeadlessBoard {
public:
    /// The clock advances 1/kStepsPerSecond seconds (10 ms) before every step.
    static constexpr int kStepsPerSecond = 100;
    /// Where the pointer stands on the screen: far from the board, so that a sensor in its
    /// pointer mode sees no light.
    static constexpr QPoint kFarAway{-1000000, -1000000};

    HeadlessBoard();
    ~HeadlessBoard();
    HeadlessBoard(const HeadlessBoard&) = delete;
    HeadlessBoard& operator=(const HeadlessBoard&) = delete;

    /// Builds the board objects from the program's pictures. Passes PictureLoadError on.
    void Start();
    /// Puts the document at `path` on a board as a fresh start-up with `path` on the command
    /// line would show it. Returns the Dutch sentence the window would show when the file is
    /// missing or cannot be read (the board is then empty), else "".
    std::string Open(const std::string& path);
    /// Puts `document` on a board as Open puts a file's: a fresh start-up's board, the
    /// document applied, time at its start. For the pictures of a class page.
    void Show(const BoardDocument& document);
    /// Clicks and knob settings, in order, as in the operate mode: a press clicks the named
    /// control; a set clicks the knob's control, which opens the knob, moves the knob to the
    /// value and copies it into its setting as the tick does. The last knob set stays open.
    void Act(const std::vector<CliOptions::Action>& actions);
    /// Runs `count` ticks, the clock advancing 10 ms before each.
    void Run(std::int32_t count);
    /// The canvas painted at `scale` times the board's size, as the window shows it; a null
    /// image when the canvas cannot be that large.
    QImage Render(double scale);

    FORM1& Form() { return *form_; }

private:
    std::unique_ptr<Prompter> prompter_;
    std::unique_ptr<SoundPlayer> sound_;
    ManualClock clock_;
    ManualPointer pointer_;
    Prompter* previousPrompter_;
    ClockSource* previousClock_;
    PointerSource* previousPointer_;
    std::unique_ptr<FORM1> form_;
    std::int64_t steps_ = 0;
};
