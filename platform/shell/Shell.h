#pragma once
// Hands addresses and commands to the desktop.

#include <string>

class Shell {
public:
    /// Opens a web address or file with the desktop's default application. True when the
    /// desktop accepted it.
    static bool OpenAddress(const std::string& address);
    /// Starts a command line detached from the program. True when it could be started.
    static bool RunCommand(const std::string& commandLine);
};
