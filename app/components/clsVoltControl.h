#pragma once
// The knob: a dial with a 0 to 5 volt scale and a pointer the user drags, shown beside the
// board control it is adjusting.

#include "app/components/PictureLoader.h"

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <string>

class KaleidoATL;

/// One knob serves the comparator, the variable voltage source and the pulse generator in
/// turn. Its value, 0 to 50 and not necessarily whole, is set by the caller and by the user
/// pressing on the dial and dragging along the scale; a press on the close box hides it at
/// the next Update. It listens to its canvas's pointer events itself. Before Constructor it
/// stores its value and draws nothing. Its sprites leave the board with the knob.
class clsVoltControl : public QObject {
    Q_OBJECT

public:
    /// Name of the board control the knob is adjusting: "Comparator Regelaar",
    /// "Var. Spanning Regelaar" or "Puls Generator Regelaar".
    std::string tag;

    explicit clsVoltControl(QObject* parent = nullptr);
    ~clsVoltControl() override;

    /// Loads the dial "/images2/0-5V.bmp" and draws its scale in white (51 ticks standing on
    /// row 33 at x = 6 + 4·i, eleven pixels tall at every tenth tick and six otherwise),
    /// loads the pointer "/images2/VPointer.bmp" with its mask and attaches it and a 16 × 16
    /// close box at (197, 0) to the dial; all at level 10, hidden. The reading of the setting
    /// ("/images2/KnobValues.bmp") is attached to the dial at (kReadingX, kReadingY). Then
    /// listens to newMag's pointer events. Throws PictureLoadError when a picture cannot be
    /// loaded.
    void Constructor(KaleidoATL& newMag);

    /// Shows the knob with the dial's top-left corner at (x, y) and forgets an earlier press
    /// on the close box.
    void Move(std::int32_t x, std::int32_t y);
    /// Takes the knob off the screen.
    void Hide();
    /// Whether the pointer is over the shown dial; false while the dial is hidden.
    bool InBound() const;
    /// Hides the knob when the user has pressed its close box since it was last shown.
    void Update();

    /// The setting, 0 to 50, fractions kept.
    double Value() const { return value_; }
    /// Stores value limited to 0..50 (NaN counts as 0) and puts the pointer over it, at
    /// x = 4·value − 1 (rounded half to even), y = 5 on the dial. The dial reads the setting
    /// the value gives (rounded half to even) as a number: volts, or pulses per second when
    /// the tag names the pulse generator.
    void SetValue(double value);
    /// Whether the knob is shown.
    bool Visible() const { return shown_; }

    /// Handlers of the canvas's pointer events. A press on the dial starts dragging; while
    /// dragging, a press or move that the canvas reports on no sprite (0) and that is not
    /// over the close box sets the value from the pointer's x. A press reported on no sprite
    /// over the close box asks for the knob to close. Presses and moves count only while the
    /// knob is shown; a release anywhere ends dragging.
    void lMag_PointerDown(int sprite, int button, int x, int y);
    void lMag_PointerUp(int sprite, int button, int x, int y);
    void lMag_PointerMove(int sprite, int x, int y);

    /// The dial's sprite, the pointer's sprite (attached to the dial) and the close box's
    /// group (attached to the dial); 0 before Constructor.
    std::int32_t DialSprite() const { return dialSprite_; }
    std::int32_t PointerSprite() const { return pointerSprite_; }
    std::int32_t CloseBox() const { return closeBox_; }
    /// The reading's sprite (attached to the dial); 0 before Constructor.
    std::int32_t ReadingSprite() const { return readingSprite_; }
    /// Where the reading lies on the dial, and the size of one reading in KnobValues.bmp:
    /// kReadingColumns to a row, the volt readings of settings 0 to 50 in the first
    /// kReadingRows rows, those of the pulse generator in the next kReadingRows.
    static constexpr std::int32_t kReadingX = 114;
    static constexpr std::int32_t kReadingY = 2;
    static constexpr std::int32_t kReadingWidth = 80;
    static constexpr std::int32_t kReadingHeight = 13;
    static constexpr std::int32_t kReadingColumns = 17;
    static constexpr std::int32_t kReadingRows = 3;

private:
    /// Sets the value under board x: (x − dial's left − 6) / 4.
    void SetFromPointer(std::int32_t x, std::int32_t y);
    void RemoveSprites();
    /// Shows the reading of the present value.
    void ShowReading();

    QPointer<KaleidoATL> lMag_;
    PictureLoader loader_;
    std::int32_t dialSprite_ = 0;
    std::int32_t pointerSprite_ = 0;
    std::int32_t closeBox_ = 0;
    std::int32_t readingSprite_ = 0;
    double value_ = 0.0;
    bool dragging_ = false;
    bool closeRequested_ = false;
    bool shown_ = false;
};
