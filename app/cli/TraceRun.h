#pragma once
// tavsim --check --trace: the steps of a board with every probed socket's value recorded,
// written as CSV or as a value change dump.

#include "app/cli/CliOptions.h"

#include <string>
#include <vector>

class CheckBoard;

class TraceRun {
public:
    /// The sockets a trace records: `probes`, or every socket of the socket table in its order
    /// when none are named.
    static std::vector<std::string> Sockets(const std::vector<std::string>& probes);
    /// Runs options.ticks steps on `board` (opened and acted on), recording after each step
    /// the value of every socket of Sockets(options.probes), then writes the trace to
    /// options.trace in the format its extension names, replacing a file there only once the
    /// whole trace is on the disk. Returns the Dutch reason of a failed write, else "".
    static std::string Run(CheckBoard& board, const CliOptions& options);
};
