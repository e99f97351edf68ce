#pragma once
// The board's line drawer: the wire bitmaps, and the sprites that draw one wire segment.

#include "app/components/PictureLoader.h"
#include "app/simulation/WirePalette.h"

#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>

class clsLine;
class KaleidoATL;

/// One per board. Owns the wire bitmaps and makes the wires; it must outlive the wires it
/// made, since they draw through it. Before Constructor it draws nothing.
class clsBordLines {
public:
    /// Loads, for colour numbers 1 to 9, "/images1/Line<i>.bmp" and then a copy of
    /// "/images1/LineMask.bmp" below the program's folder into `mag`. Throws PictureLoadError
    /// at the first picture that cannot be loaded; those loaded before keep their handles.
    void Constructor(KaleidoATL& mag);

    /// Adds to group GroupLID the sprites that draw the segment from (X1, Y1) to (X2, Y2) in
    /// colour ColorNr (1 to 9): ⌊length / 10⌋ sprites of 32 × 32, centred on the middles of
    /// as many equal parts of the segment, all showing the frame of the strip whose direction
    /// is closest to the segment's. Draws nothing for a colour outside 1 to 9 or a segment of
    /// one point; never deletes sprites. Throws std::overflow_error when a difference of
    /// coordinates does not fit 32 bits.
    void DrawLine(std::int32_t GroupLID, std::int32_t X1, std::int32_t Y1, std::int32_t X2,
                  std::int32_t Y2, std::int32_t ColorNr);

    /// Draws from now on in the voltage colours (1 to 8) of `palette`; the highlight stays.
    /// The colour-blind strips "/images1/LineCB<i>.bmp" are loaded the first time they are
    /// needed; when one cannot be loaded, PictureLoadError is passed on and the drawer keeps
    /// the palette it had. Wires already drawn keep their look until they are drawn again.
    void SetPalette(WirePalette palette);
    WirePalette Palette() const { return palette_; }

    /// A new wire, given this drawer and its canvas; no sprites yet.
    std::shared_ptr<clsLine> CreateLine();

    /// Bitmap handle of colour number i (1 to 9); 0 for any other i or before Constructor.
    std::int32_t LineBitmap(std::int32_t i) const;
    /// Mask handle used with colour number i, as LineBitmap.
    std::int32_t LineMask(std::int32_t i) const;

private:
    QPointer<KaleidoATL> mag_;
    PictureLoader loader_;
    std::array<std::int32_t, 10> lineBitmaps_{};
    std::array<std::int32_t, 10> lineMasks_{};
    /// The strips of both palettes; those of the colour-blind one 0 until first used.
    std::array<std::int32_t, 10> normalBitmaps_{};
    std::array<std::int32_t, 10> colourBlindBitmaps_{};
    WirePalette palette_ = WirePalette::Normal;
};
