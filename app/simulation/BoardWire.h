#pragma once
// A wire of the board as data: the two sockets it joins and the colour of its voltage.

#include <cstdint>
#include <string>
#include <vector>

/// One finished wire. The window draws it; the evaluator and the output-conflict check read
/// its names, give it its colour and use its done mark.
struct BoardWire {
    /// Socket names at its two ends.
    std::string naam1;
    std::string naam2;
    /// Colour number, 1 (full voltage) to 8 (no voltage); a wire keeps its colour in a step in
    /// which it carries no value.
    std::int32_t color = 1;
    /// Scratch mark of the evaluator and the conflict check.
    bool done = false;
    /// The evaluator's numbers for the two names, -1 until it has looked them up. A wire's
    /// names do not change once it is made: a changed wire is a new wire.
    std::int32_t slot1 = -1;
    std::int32_t slot2 = -1;
};

/// The board's finished wires in the order they were made.
using BoardWires = std::vector<BoardWire>;
