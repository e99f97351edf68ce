#pragma once
// Which voltage colours the user chose for the wires, kept in the per-user settings.

#include "app/simulation/WirePalette.h"
#include "platform/registry/Registry.h"

/// The choice lives under TAVLON2/WireColours/Value as "Normal" or "ColourBlind"; anything
/// else, or nothing, means the usual colours.
class WireColourSetting {
public:
    static constexpr const char* kSettingsApp = "TAVLON2";
    static constexpr const char* kSettingsSection = "WireColours";
    static constexpr const char* kSettingsKey = "Value";

    static WirePalette Load();
    static WirePalette Load(Registry& registry);
    /// Stores the choice; the status says why it could not be kept.
    static RegistryStatus Save(WirePalette palette);
    static RegistryStatus Save(Registry& registry, WirePalette palette);
};
