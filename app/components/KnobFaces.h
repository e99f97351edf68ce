#pragma once
// The three knobs of the board, each drawn pointing at its setting.

#include "app/components/PictureLoader.h"

#include <QPointer>
#include <array>
#include <cstdint>
#include <string_view>

class KaleidoATL;

/// Lays a knob over each of the board's three knobs (comparator, variable voltage, pulse
/// generator) that points at the knob's setting, 0 to 50 over the scale's sweep. A knob is
/// drawn again only when its setting changes. Before Constructor it stores settings and draws
/// nothing; its sprites leave the board with it.
class KnobFaces {
public:
    /// One frame per setting in "/images2/KnobFaces.bmp" (with its mask), side by side.
    static constexpr std::int32_t kFrameSide = 21;
    static constexpr std::int32_t kSettings = 51;
    /// The knobs' sprites lie under the wires, which may cross them.
    static constexpr std::int32_t kLevel = 7;

    KnobFaces() = default;
    KnobFaces(const KnobFaces&) = delete;
    KnobFaces& operator=(const KnobFaces&) = delete;
    ~KnobFaces();

    /// Loads the pictures and lays the three knobs at setting 0, each centred on its control
    /// of the socket table. Throws PictureLoadError when a picture cannot be loaded.
    void Constructor(KaleidoATL& mag);

    /// Shows `setting` (limited to 0..50) on the knob named `knob` ("Comparator Regelaar",
    /// "Var. Spanning Regelaar" or "Puls Generator Regelaar"); nothing for another name or an
    /// unchanged setting.
    void Show(std::string_view knob, std::int32_t setting);
    /// The three settings at once, in the order comparator, variable voltage, pulse generator.
    void ShowAll(std::int32_t comparator, std::int32_t voltage, std::int32_t pulses);

    /// The setting the named knob shows; -1 for another name.
    std::int32_t Shown(std::string_view knob) const;
    /// The named knob's sprite; 0 for another name or before Constructor.
    std::int32_t Sprite(std::string_view knob) const;

private:
    static int Index(std::string_view knob);
    void Draw(std::size_t i);
    void RemoveSprites();

    QPointer<KaleidoATL> mag_;
    PictureLoader loader_;
    std::array<std::int32_t, 3> sprites_{};
    std::array<std::int32_t, 3> settings_{};
};
