#pragma once
// The highlight drawn over the socket or control under the pointer.

#include "app/components/PictureLoader.h"

#include <QPointer>
#include <cstdint>

class KaleidoATL;

/// A highlight picture whose centre is put on a point of the board. Showing it again at the
/// place where it already shows costs nothing; hiding it always hides and redraws. Before
/// Constructor it does nothing. Its sprite leaves the board with the cursor.
class clsCursor {
public:
    clsCursor() = default;
    ~clsCursor();
    clsCursor(const clsCursor&) = delete;
    clsCursor& operator=(const clsCursor&) = delete;

    /// Loads "/images2/HighLight.bmp" and "/images2/HighLightMask.bmp" below the program's
    /// folder into `mag` and makes the hidden highlight sprite, never reported in pointer
    /// events, at level 10. Throws PictureLoadError when a picture cannot be loaded.
    void Constructor(KaleidoATL& mag);

    /// Shows the highlight with its top-left corner at (x − 16, y − 16); nothing happens
    /// when it already shows at this point.
    void ShowPoint(std::int32_t x, std::int32_t y);
    /// Hides the highlight; the next ShowPoint shows it wherever it is asked for.
    void Hide();

    /// The highlight's sprite; 0 before Constructor.
    std::int32_t Sprite() const { return sprite_; }

private:
    QPointer<KaleidoATL> mag_;
    PictureLoader loader_;
    std::int32_t sprite_ = 0;
    std::int32_t lastX_ = -100;
    std::int32_t lastY_ = -100;
    bool shown_ = false;
};
