#pragma once
// The pictures of the sound input chooser: its background, with a sunken track for each level
// bar, and the bar itself.

#include <QImage>

class WaveInputsPainter {
public:
    /// The window's background in the board's colours, WaveInputsLayout::kWidth × kHeight.
    static QImage Background();
    /// A full-scale level bar, kBarWidth × kBarHeight, running through the wire colours from
    /// a low level (green) to full (red).
    static QImage Bar();
};
