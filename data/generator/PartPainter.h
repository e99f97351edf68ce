#pragma once
// The pictures of the parts that the program lays over the board: the lit lamp, the highlight
// cursor, the counter digits, the sensor modes, the knob's dial and its pointer. Masked
// pictures are black wherever their mask is white, and never black where it is black.

#include <QImage>
#include <QPoint>

class PartPainter {
public:
    /// Lamp picture: 32 x 32, the lit lens centred on pixel (16, 16); its place on the board
    /// is the top-left corner given to the lamp.
    static constexpr int kLampSize = 32;
    /// Radius of the lit lens; the board keeps a lamp's surroundings clear beyond it.
    static constexpr double kLampRadius = 11.5;
    /// Highlight cursor: 32 x 32, a ring around pixel (16, 16) that leaves the socket visible.
    static constexpr int kCursorSize = 32;
    static constexpr double kCursorInner = 9.2;
    static constexpr double kCursorOuter = 12.8;
    /// One digit of the counter display; the board leaves this much room at its place.
    static constexpr int kDigitWidth = 22;
    static constexpr int kDigitHeight = 32;
    /// One sensor frame; Sensors.bmp holds three side by side.
    static constexpr int kSensorFrame = 48;
    /// The knob's dial: the scale's ticks go at x = 6 + 4 i, rows 23 to 33 (drawn by the
    /// program), the close box at (197, 0) to (213, 16).
    static constexpr int kDialWidth = 214;
    static constexpr int kDialHeight = 48;
    /// The knob's pointer, placed at (4 v - 1, 5) on the dial: column 7 points at value v.
    static constexpr int kPointerWidth = 15;
    static constexpr int kPointerHeight = 31;

    /// The board's knobs at their settings: KnobFaces.bmp holds one kKnobFrame square frame
    /// per setting 0 to kKnobSettings - 1 side by side, the knob centred on pixel (10, 10) of
    /// its frame and pointing at the setting's place on its sweep; the mask is the knob's disc.
    static constexpr int kKnobFrame = 21;
    static constexpr int kKnobSettings = 51;
    /// The open scale's reading: KnobValues.bmp holds a kValueWidth x kValueHeight frame per
    /// setting, kValueColumns to a row, the settings of the volt knobs in the first
    /// kValueRows rows and those of the pulse generator in the next kValueRows; see
    /// ValueFrame.
    static constexpr int kValueWidth = 80;
    static constexpr int kValueHeight = 13;
    static constexpr int kValueColumns = 17;
    static constexpr int kValueRows = 3;
    /// Top-left corner, in pixels of the 1x picture, of the reading of `setting` (0 to 50).
    static QPoint ValueFrame(bool pulseGenerator, int setting) {
        return {kValueWidth * (setting % kValueColumns),
                kValueHeight * ((pulseGenerator ? kValueRows : 0) + setting / kValueColumns)};
    }

    // Every picture comes at `factor` times its size in board pixels, drawn afresh at that
    // resolution for sharp display on a scaled board.
    static QImage Lamp(int factor = 1);
    static QImage LampMask(int factor = 1);
    static QImage Cursor(int factor = 1);
    static QImage CursorMask(int factor = 1);
    /// Digit `digit` as a lit seven-segment display; throws std::invalid_argument unless it
    /// is 0 to 9.
    static QImage Digit(int digit, int factor = 1);
    /// The three sensor modes side by side: off, lit by the pointer, swinging light.
    static QImage Sensors(int factor = 1);
    static QImage Dial(int factor = 1);
    static QImage Pointer(int factor = 1);
    static QImage PointerMask(int factor = 1);
    static QImage KnobFaces(int factor = 1);
    static QImage KnobFacesMask(int factor = 1);
    /// Each reading right-aligned in its frame, light on the dial's face.
    static QImage KnobValues(int factor = 1);

private:
    /// Splits a drawing with transparency into a picture and its mask: pixels at least half
    /// covered belong to the part and are laid over `background`, the others become black in
    /// the picture and white in the mask.
    static QImage Picture(const QImage& drawing, QRgb background);
    static QImage Mask(const QImage& drawing);
    static QImage LampDrawing(int factor);
    static QImage CursorDrawing(int factor);
    static QImage PointerDrawing(int factor);
    static QImage KnobFacesDrawing(int factor);
};
