#include "app/components/clsLine.h"

#include "app/components/clsBordLines.h"
#include "app/simulation/Rounding.h"
#include "sprite_control/KaleidoATL.h"

#include <cmath>

clsLine::~clsLine() {
    if (mag_ && groupLID_ != 0) {
        mag_->DestroyGroup(groupLID_);
    }
}

void clsLine::Constructor(clsBordLines& bl, KaleidoATL& mag) {
    if (mag_ && groupLID_ != 0) {
        mag_->DestroyGroup(groupLID_);
    }
    bl_ = &bl;
    mag_ = &mag;
    groupLID_ = mag.CreateGroup();
    mag.SetSpriteLevel(groupLID_, 8);
    color_ = 1;
    highlight_ = false;
    valid1_ = false;
    valid2_ = false;
}

std::int32_t clsLine::Distance(std::int32_t Xpos, std::int32_t Ypos) const {
    // Differences are taken in double precision, so no pair of coordinates can overflow.
    const double dx = static_cast<double>(x2_) - x1_;
    const double dy = static_cast<double>(y2_) - y1_;
    std::int32_t m = 100000000;
    for (int i = 0; i <= 10; ++i) {
        const double px = x1_ + i * dx / 10;
        const double py = y1_ + i * dy / 10;
        const double d = std::sqrt((px - Xpos) * (px - Xpos) + (py - Ypos) * (py - Ypos));
        if (d < m) {
            m = RoundHalfEven(d);
        }
    }
    return m;
}

void clsLine::SetAll(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2,
                     std::int32_t ColorNr) {
    color_ = ColorNr;
    x1_ = X1;
    y1_ = Y1;
    x2_ = X2;
    y2_ = Y2;
    valid1_ = true;
    valid2_ = true;
    Redraw();
}

void clsLine::SetCoords(std::int32_t groupNR, std::int32_t x, std::int32_t y) {
    if (groupNR == 1) {
        x1_ = x;
        y1_ = y;
        valid1_ = true;
    } else {
        x2_ = x;
        y2_ = y;
        valid2_ = true;
    }
    Redraw();
}

void clsLine::SetColor(std::int32_t value) {
    if (value == color_) {
        return;
    }
    color_ = value;
    Redraw();
}

void clsLine::SetHighlight(std::int32_t value) {
    if (value == Highlight()) {
        return;
    }
    highlight_ = value != 0;
    Redraw();
}

void clsLine::Redraw() {
    if (bl_ == nullptr || !mag_) {
        return;
    }
    mag_->DeleteGroup(groupLID_);
    if (valid1_ && valid2_) {
        bl_->DrawLine(groupLID_, x1_, y1_, x2_, y2_, highlight_ ? 9 : color_);
    }
}
