#pragma once
// The one place where measuring (the trace files, the measuring graph) reads a socket's value
// of the board's last step.

#include "app/board/FORM1.h"
#include "app/measure/SocketReading.h"
#include "app/simulation/clsGraph.h"

#include <string_view>

/// The value `naam` had in the last step, in tenths of a volt; none when it had none (or
/// there is no board).
inline SocketReading MeasuredValue(const FORM1& form, std::string_view naam) {
    const clsGraph* graph = form.Graph();
    if (graph == nullptr || !graph->PuntExists(naam)) {
        return std::nullopt;
    }
    return graph->GetPuntValueByName(naam, 0);
}
