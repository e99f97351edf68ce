#pragma once
// The rectangles of the canvas that changed since the last repaint, gathered and handed out
// as the region to paint.

#include <QRect>
#include <QRegion>
#include <cstddef>
#include <vector>

/// Collects changed rectangles. A few are reported exactly; many (the staircase of a diagonal
/// wire) become one box per band of rows, since every clipped draw pays per rectangle and a
/// single box around a long diagonal is mostly pixels that did not change.
class DirtyRegion {
public:
    /// Up to this many changed rectangles are reported exactly.
    static constexpr std::size_t kExactRects = 8;
    /// Height in board pixels of the bands that more rectangles are simplified to, and the
    /// most bands there are (taller areas get taller bands).
    static constexpr int kBand = 32;
    static constexpr int kMaxBands = 32;

    /// Adds a rectangle; an empty one adds nothing.
    void Add(const QRect& rect);
    bool IsEmpty() const { return rects_.empty(); }
    /// The region covering every rectangle added since the last Take, and forgets them. When
    /// the bands fill most of their bounding box, that box.
    QRegion Take();

private:
    std::vector<QRect> rects_;
};
