#pragma once
// One named point of the board as the board picture needs it.

#include <string>

struct BoardSocket {
    std::string name;
    int x = 0;
    int y = 0;
    /// A wire may end here; otherwise it is a point the user operates (or a sensor body).
    bool connectable = false;
    /// 0 other, 1 input, 2 output, 3 relay contact.
    int soort = 0;
};
