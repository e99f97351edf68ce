#pragma once
// The shared look of the generated pictures: the colours of the board and its parts, the
// wire colours, and the fonts.

#include "app/simulation/WirePalette.h"

#include <QColor>
#include <QFont>
#include <QPointF>

class QPainter;
class QRectF;
class QString;

class PaintKit {
public:
    /// Board face between the panels.
    static constexpr QRgb kFace = 0xFFD3D9DF;
    /// Inside of every panel; also the background of the sensor pictures, which must blend in.
    static constexpr QRgb kPanel = 0xFFF4F5F2;
    static constexpr QRgb kPanelLine = 0xFF8E99A6;
    static constexpr QRgb kDivider = 0xFFC3CAD2;
    static constexpr QRgb kFrame = 0xFF2F3947;
    static constexpr QRgb kTitle = 0xFF1F2E45;
    static constexpr QRgb kLabel = 0xFF3A4656;
    static constexpr QRgb kTrace = 0xFF8C97A4;
    static constexpr QRgb kSymbol = 0xFF2B394D;

    static constexpr QRgb kSourceSocket = 0xFFF2C200;
    static constexpr QRgb kOutputSocket = 0xFFD8412F;
    static constexpr QRgb kInputSocket = 0xFF2F6CCB;
    static constexpr QRgb kContactSocket = 0xFF2E9A4E;
    static constexpr QRgb kReferenceSocket = 0xFF26282B;

    /// DejaVu Sans at `pixelSize`, antialiased and fully hinted so that small text stays sharp.
    static QFont Font(double pixelSize, bool bold, bool condensed = false);
    /// `a` moved towards `b` by `t` (0 gives a, 1 gives b).
    static QColor Mix(const QColor& a, const QColor& b, double t);
    /// The centre of board pixel (x, y), where lines and circles must be centred to be crisp.
    static QPointF Centre(int x, int y) { return {x + 0.5, y + 0.5}; }
    /// Draws `text` centred on `centre` (both directions, by the height of capital letters).
    static void CentredText(QPainter& p, const QPointF& centre, const QString& text);
    /// Draws `text` with its left end at `x` and centred vertically on `y`.
    static void LeftText(QPainter& p, double x, double y, const QString& text);
    /// Base colour of wire colour `colourNr`: 1 (full voltage) to 8 (none), 9 the highlight.
    static QColor WireColour(int colourNr, WirePalette palette = WirePalette::Normal);
    /// A rotary knob's cap, radius 9 around `centre`, with its index mark turned `turn` (0 to
    /// 1) of the way along its sweep: from down-left (0) over the top to down-right (1).
    static void KnobCap(QPainter& p, const QPointF& centre, double turn);
    /// A banana socket centred on `centre`: rim, coloured collar, metal hole.
    static void Socket(QPainter& p, const QPointF& centre, const QColor& colour,
                       double radius = 7.5);
};
