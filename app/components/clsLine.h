#pragma once
// One wire of the board: the two sockets it joins, its ends on the board and its colour.

#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class clsBordLines;
class KaleidoATL;

/// A wire between two sockets. The evaluator and the output-conflict check use only naam1,
/// naam2, done and Color; the rest serves the board's pointer interaction and drawing. A wire
/// draws itself only once it has been given its line drawer; until then every change is
/// stored and nothing is drawn. Once drawing, its sprites always show its present ends,
/// colour and highlight, and it has sprites only while both ends are valid. Its sprites
/// leave the board when the wire is destroyed, that is when its last owner drops it.
class clsLine {
public:
    /// Socket name at end 1; empty until set.
    std::string naam1;
    /// Socket name at end 2; empty until set.
    std::string naam2;
    /// Scratch mark of the evaluator and the conflict check; the wire never reads it.
    bool done = false;

    clsLine() = default;
    ~clsLine();
    clsLine(const clsLine&) = delete;
    clsLine& operator=(const clsLine&) = delete;

    /// Distance from (Xpos, Ypos) to the nearest of 11 evenly spaced points of the segment,
    /// both ends included, rounded to the nearest integer with halves to even. Ignores the
    /// valid flags.
    std::int32_t Distance(std::int32_t Xpos, std::int32_t Ypos) const;

    /// Gives the wire its line drawer and canvas: a new group for its sprites at level 8,
    /// colour 1, both ends invalid, no highlight. Nothing is drawn yet.
    void Constructor(clsBordLines& bl, KaleidoATL& mag);

    /// Sets colour and both ends, marks both ends valid and redraws.
    void SetAll(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2,
                std::int32_t ColorNr);
    /// groupNR 1 sets end 1, any other value end 2; marks that end valid and redraws.
    void SetCoords(std::int32_t groupNR, std::int32_t x, std::int32_t y);

    /// Colour number, 1 (full voltage) to 8 (none); 1 for a new wire.
    std::int32_t Color() const { return color_; }
    /// Stores a new colour and redraws; writing the present colour costs nothing.
    void SetColor(std::int32_t value);

    /// -1 while the wire is shown in the highlight look (colour 9), else 0.
    std::int32_t Highlight() const { return highlight_ ? -1 : 0; }
    /// Any non-zero value sets the highlight look; redraws when value differs from Highlight().
    void SetHighlight(std::int32_t value);

    std::int32_t X1() const { return x1_; }
    std::int32_t Y1() const { return y1_; }
    std::int32_t X2() const { return x2_; }
    std::int32_t Y2() const { return y2_; }
    /// -1 once end 1 has been given coordinates, else 0.
    std::int32_t Valid1() const { return valid1_ ? -1 : 0; }
    /// -1 once end 2 has been given coordinates, else 0.
    std::int32_t Valid2() const { return valid2_ ? -1 : 0; }

    /// The canvas group that holds every sprite of this wire; 0 before Constructor.
    std::int32_t GroupLID() const { return groupLID_; }

private:
    /// Replaces the wire's sprites by ones showing the present ends, colour and highlight.
    /// Does nothing while the wire has no line drawer.
    void Redraw();

    clsBordLines* bl_ = nullptr;
    QPointer<KaleidoATL> mag_;
    std::int32_t groupLID_ = 0;
    std::int32_t color_ = 1;
    bool highlight_ = false;
    std::int32_t x1_ = 0;
    std::int32_t y1_ = 0;
    std::int32_t x2_ = 0;
    std::int32_t y2_ = 0;
    bool valid1_ = false;
    bool valid2_ = false;
};

/// The board's finished wires in the order they were made.
using WireList = std::vector<std::shared_ptr<clsLine>>;
