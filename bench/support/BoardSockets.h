#pragma once
// The sockets benchmarks wire their boards between.

#include "app/simulation/clsSnaps.h"

#include <cstdint>
#include <string>
#include <vector>

/// Every socket of a kind (1 inputs, 2 outputs) that a wire may end on, in table order.
inline std::vector<std::string> ConnectableSockets(const clsSnaps& snaps, std::int32_t soort) {
    std::vector<std::string> names;
    for (std::int32_t i = 1; i <= snaps.GetSnapCount(); ++i) {
        const std::string naam = snaps.GetSnapItemName(i);
        if (snaps.GetConnectablebyName(naam) != 0 && snaps.GetSoortbyName(naam) == soort) {
            names.push_back(naam);
        }
    }
    return names;
}
