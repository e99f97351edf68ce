#include "app/board/WireColourSetting.h"

#include "platform/registry/ProgramSettings.h"

WirePalette WireColourSetting::Load() {
    return Load(Registry::Instance());
}

WirePalette WireColourSetting::Load(Registry& registry) {
    const std::string name =
        ProgramSettings::GetSetting(registry, kSettingsApp, kSettingsSection, kSettingsKey);
    return WirePaletteNamed(name).value_or(WirePalette::Normal);
}

RegistryStatus WireColourSetting::Save(WirePalette palette) {
    return Save(Registry::Instance(), palette);
}

RegistryStatus WireColourSetting::Save(Registry& registry, WirePalette palette) {
    return ProgramSettings::SaveSetting(registry, kSettingsApp, kSettingsSection, kSettingsKey,
                                        std::string(WirePaletteName(palette)));
}
