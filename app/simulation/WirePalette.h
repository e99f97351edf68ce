#pragma once
// The colours a wire takes by its voltage, in two palettes: the usual one, hot to cold, and
// one whose eight colours stay apart for the common red-green colour blindness (they differ
// in lightness and along blue-yellow, which such eyes still see).

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

enum class WirePalette { Normal, ColourBlind };

/// Base colours 0xRRGGBB of colour numbers 1 (full voltage) to 8 (no voltage) and 9 (the
/// highlight of a wire about to be deleted), at index colourNr - 1.
inline constexpr std::array<std::uint32_t, 9> kNormalWireColours = {
    0xE0221E, 0xF57819, 0xF4D428, 0xA0CD32, 0x2DAA50, 0x14A0AA, 0x3264D7, 0x4E5666, 0xB8F4FF};
/// Yellow, gold, rust, pink, sky blue, green, blue and near-black; the highlight as usual.
inline constexpr std::array<std::uint32_t, 9> kColourBlindWireColours = {
    0xF9FF68, 0xD4A300, 0xBD4611, 0xC07BA5, 0x52BEFF, 0x279269, 0x194EC4, 0x272515, 0xB8F4FF};

/// The base colour of `colourNr` (1 to 9, limited to that range) in `palette`.
constexpr std::uint32_t WireColour(WirePalette palette, int colourNr) {
    const auto& colours =
        palette == WirePalette::ColourBlind ? kColourBlindWireColours : kNormalWireColours;
    const int i = colourNr < 1 ? 0 : colourNr > 9 ? 8 : colourNr - 1;
    return colours[static_cast<std::size_t>(i)];
}

/// How a palette is named where it is stored: "Normal" and "ColourBlind".
constexpr std::string_view WirePaletteName(WirePalette palette) {
    return palette == WirePalette::ColourBlind ? "ColourBlind" : "Normal";
}

/// The palette stored as `name`; none for any other text.
constexpr std::optional<WirePalette> WirePaletteNamed(std::string_view name) {
    if (name == "ColourBlind") {
        return WirePalette::ColourBlind;
    }
    if (name == "Normal") {
        return WirePalette::Normal;
    }
    return std::nullopt;
}
