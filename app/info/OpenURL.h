#pragma once
// Opens a web address or document with the desktop.

#include <functional>
#include <string>

/// Asks the desktop to open `address` with its default application, without waiting for
/// it. True only when the desktop accepted the address; false for an empty or malformed
/// address or when no application could be started.
bool OpenURL(const std::string& address);

/// Replaces what OpenURL hands addresses to, so that tests can see the address without a
/// browser starting; an empty function restores the desktop.
void SetUrlOpener(std::function<bool(const std::string&)> opener);
