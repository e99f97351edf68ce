#include "sprite_control/DirtyRegion.h"

#include <algorithm>
#include <cstdint>

void DirtyRegion::Add(const QRect& rect) {
    if (!rect.isEmpty()) {
        rects_.push_back(rect);
    }
}

QRegion DirtyRegion::Take() {
    const std::vector<QRect> rects = std::move(rects_);
    rects_.clear();
    if (rects.size() <= kExactRects) {
        QRegion region;
        for (const QRect& r : rects) {
            region += r;
        }
        return region;
    }
    QRect all;
    for (const QRect& r : rects) {
        all |= r;
    }
    const int height = std::max(kBand, (all.height() + kMaxBands - 1) / kMaxBands);
    std::vector<QRect> bands(static_cast<std::size_t>((all.height() + height - 1) / height));
    for (const QRect& r : rects) {
        for (int band = (r.top() - all.top()) / height; band <= (r.bottom() - all.top()) / height;
             ++band) {
            const QRect stripe(all.left(), all.top() + band * height, all.width(), height);
            bands[static_cast<std::size_t>(band)] |= r & stripe;
        }
    }
    // Bands that fill most of the whole box are drawn as that box: each sprite once.
    std::int64_t area = 0;
    for (const QRect& box : bands) {
        area += std::int64_t{box.width()} * box.height();
    }
    if (2 * area > std::int64_t{all.width()} * all.height()) {
        return QRegion(all);
    }
    QRegion region;
    for (const QRect& box : bands) {
        region += box;
    }
    return region;
}
