#pragma once
// The wire strips: for each wire colour a row of 32 frames of 32 x 32, frame k showing a short
// stretch of wire in the direction k * 11.25 degrees (from +x towards +y, y downward),
// centred on pixel (16, 16). The program draws a wire as a chain of these stretches, one
// every 10 to 15 pixels, so each stretch is long enough to overlap its neighbours, and its
// colour depends only on the distance across the wire, so overlaps join without seams.

#include "app/simulation/WirePalette.h"

#include <QImage>

class WirePainter {
public:
    static constexpr int kFrameSize = 32;
    static constexpr int kFrames = 32;
    /// Half the length of the straight part of a stretch; round caps add kOuterRadius.
    static constexpr double kHalfLength = 5.5;
    /// Pixels whose centre lies within this distance of the stretch's axis segment are wire.
    static constexpr double kOuterRadius = 2.45;
    /// The coloured core; the band between the core and kOuterRadius is the outline.
    static constexpr double kCoreRadius = 1.5;

    /// The strip of colour `colourNr` (1 to 9) of `palette`, 1024 x 32. Outside the wire every
    /// pixel is black; wire pixels are never pure black.
    static QImage Strip(int colourNr, int factor = 1, WirePalette palette = WirePalette::Normal);
    /// At `factor` > 1 the strips and the mask are `factor` times as large, the same wire
    /// drawn at that resolution.
    /// The shared mask, 1024 x 32: black exactly on the wire pixels of every strip, white
    /// elsewhere.
    static QImage Mask(int factor = 1);

private:
    /// Distance from the centre of pixel (x, y) of frame k to the stretch's axis segment.
    static double SegmentDistance(int k, double x, double y);
    /// Signed distance of point (x, y) of frame k from the stretch's infinite axis line.
    static double AcrossDistance(int k, double x, double y);
};
