#pragma once
// The check that no two outputs of the board are wired together.

#include "app/simulation/BoardWire.h"

#include <string>

class clsSnaps;

/// Groups the sockets joined by wires and reports groups that hold two or more outputs.
/// Holds no state; uses each wire's done mark as its visited mark.
class clsGraph2 {
public:
    /// The conflict report: one line per group with two or more outputs (kind 2 in snaps),
    /// in the order of the wire list, each output once in the order the walk meets it, in
    /// double quotes and joined by " en ", the line ending in CR LF. "" when there is no
    /// conflict. Clears every wire's done mark first and leaves every wire marked.
    std::string Check(BoardWires& lines, const clsSnaps& snaps) const;

    /// The names reached by a depth-first walk from puntnaam over wires not yet marked done,
    /// each preceded by "|" (empty items included), marking every wire it follows. Safe for
    /// chains of any length: the walk keeps its own stack.
    std::string Check2(BoardWires& lines, const std::string& puntnaam) const;
};
