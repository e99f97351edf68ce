#include "platform/registry/ProgramSettings.h"

#include <optional>

std::string ProgramSettings::KeyPath(std::string_view appName, std::string_view section) {
    std::string path = "Software\\VB and VBA Program Settings\\";
    path += appName;
    path += '\\';
    path += section;
    return path;
}

std::string ProgramSettings::GetSetting(std::string_view appName, std::string_view section,
                                        std::string_view key, std::string fallback) {
    return GetSetting(Registry::Instance(), appName, section, key, std::move(fallback));
}

std::string ProgramSettings::GetSetting(Registry& registry, std::string_view appName,
                                        std::string_view section, std::string_view key,
                                        std::string fallback) {
    std::optional<std::string> text =
        registry.GetString(RegistryRoot::CurrentUser, KeyPath(appName, section), key);
    return text ? std::move(*text) : std::move(fallback);
}

RegistryStatus ProgramSettings::SaveSetting(std::string_view appName, std::string_view section,
                                            std::string_view key, std::string value) {
    return SaveSetting(Registry::Instance(), appName, section, key, std::move(value));
}

RegistryStatus ProgramSettings::SaveSetting(Registry& registry, std::string_view appName,
                                            std::string_view section, std::string_view key,
                                            std::string value) {
    return registry.SetString(RegistryRoot::CurrentUser, KeyPath(appName, section), key,
                              std::move(value));
}
