#pragma once
// The one place where measuring (the trace files, the measuring graph) reads a socket's value
// of the board's last step.

#include "app/measure/SocketReading.h"
#include "app/simulation/BoardModel.h"
#include "app/simulation/clsGraph.h"

#include <string_view>

/// The value `naam` had in the last step of `model`, in tenths of a volt; none when it had
/// none.
inline SocketReading MeasuredValue(const BoardModel& model, std::string_view naam) {
    const clsGraph& graph = model.Graph();
    if (!graph.PuntExists(naam)) {
        return std::nullopt;
    }
    return graph.GetPuntValueByName(naam, 0);
}
