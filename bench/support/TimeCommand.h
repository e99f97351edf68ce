#pragma once
// Times one headless command over a class's worth of boards, in one process.

#include "app/cli/CliMain.h"

#include <benchmark/benchmark.h>
#include <sstream>
#include <string>
#include <vector>

/// Runs `args` followed by `files` once per iteration, from reading the files to the last
/// output line; stops with the command's error when it does not read every board.
inline void TimeCommand(benchmark::State& state, std::vector<std::string> args,
                        const std::vector<std::string>& files) {
    args.insert(args.end(), files.begin(), files.end());
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        if (CliMain::Execute(args, out, err) != CliMain::kAllRead) {
            state.SkipWithError(err.str().c_str());
            return;
        }
        benchmark::DoNotOptimize(out.str());
    }
    state.counters["boards"] = double(files.size());
}
