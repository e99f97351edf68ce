#pragma once
// The pictures that present the program: the splash shown while it starts, the picture of
// the information window, the program's icon and the document icon of board files.

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
    /// The sizes at which desktops look for the program's icon.
    static constexpr int kAppIconSizes[] = {16, 32, 48, 64, 128, 256};
    /// The program's icon, `size` pixels square, with transparency: a piece of board with a
    /// wire from a socket to a lit lamp.
    static QImage AppIcon(int size);
};
