#pragma once
// Per-user program settings: named text values grouped by application and section, kept in
// the registry under HKEY_CURRENT_USER\Software\VB and VBA Program Settings, where programs
// of this kind have always kept them.

#include "platform/registry/Registry.h"

#include <string>
#include <string_view>

class ProgramSettings {
public:
    /// The key of one application's section, relative to HKEY_CURRENT_USER.
    static std::string KeyPath(std::string_view appName, std::string_view section);

    /// The text of setting `key`, or `fallback` when it is not stored or is not text.
    static std::string GetSetting(std::string_view appName, std::string_view section,
                                  std::string_view key, std::string fallback = {});
    static std::string GetSetting(Registry& registry, std::string_view appName,
                                  std::string_view section, std::string_view key,
                                  std::string fallback = {});

    /// Stores setting `key`, making the application's section when needed.
    static RegistryStatus SaveSetting(std::string_view appName, std::string_view section,
                                      std::string_view key, std::string value);
    static RegistryStatus SaveSetting(Registry& registry, std::string_view appName,
                                      std::string_view section, std::string_view key,
                                      std::string value);
};
