#pragma once
// One row of a component library's class table.

#include "platform/com/IUnknown.h"

#include <string_view>

struct ClassEntry {
    CLSID clsid;
    /// Versioned ProgID, e.g. "KaleidPixload.KaleidPixload.1".
    std::string_view progId;
    /// Version-independent ProgID, e.g. "KaleidPixload.KaleidPixload".
    std::string_view versionIndependentProgId;
    /// e.g. "KaleidPixload Class".
    std::string_view description;
    /// The class's registry script (.rgs text, see RegistryScript); must outlive the module.
    std::string_view registryScript;
    /// Makes a new object holding one reference, or returns nullptr when it cannot.
    IUnknown* (*create)();
};
