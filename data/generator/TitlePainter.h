#pragma once
// The pictures that present the program: the splash shown while it starts, the picture of
// the information window, and the document icon of board files.

#include <QImage>
#include <vector>

class TitlePainter {
public:
    static constexpr int kSplashWidth = 400;
    static constexpr int kSplashHeight = 250;
    static constexpr int kAboutWidth = 400;
    static constexpr int kAboutHeight = 250;

    static QImage Splash();
    static QImage About();
    /// The document icon at 16, 32 and 48 pixels, with transparency.
    static std::vector<QImage> DocumentIcon();
};
