#include "sprite_control/SpriteScene.h"

#include <QPainter>
#include <QPointF>
#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <unordered_map>

namespace {

/// Places, frame offsets and sizes are kept within this range, so that no sum of them can
/// overflow a rectangle's integer corners.
constexpr std::int32_t kCoordLimit = 1 << 28;

std::int32_t ClampCoord(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -kCoordLimit, kCoordLimit));
}

/// The board pixel that contains a point, or none for a point far outside any board.
std::optional<QPoint> PixelAt(const QPointF& p) {
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || std::abs(p.x()) > kCoordLimit ||
        std::abs(p.y()) > kCoordLimit) {
        return std::nullopt;
    }
    return QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

QRgb RgbFromColour(std::int32_t colour) {
    const auto c = static_cast<std::uint32_t>(colour);
    return qRgb(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu),
                static_cast<int>((c >> 16) & 0xFFu));
}

std::int32_t ColourFromRgb(QRgb rgb) {
    return qRed(rgb) + 256 * qGreen(rgb) + 65536 * qBlue(rgb);
}

/// Opacity that a mask pixel gives: 255 for black, 0 for white, in between for grey.
int AlphaFromMask(QRgb m) {
    const int grey = (qRed(m) * 77 + qGreen(m) * 150 + qBlue(m) * 29) >> 8;
    return 255 - grey;
}

std::uint64_t CompositeKey(std::int32_t bitmap, std::int32_t mask) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(bitmap)) << 32) |
           static_cast<std::uint32_t>(mask);
}

} // namespace

// ---- bitmaps -------------------------------------------------------------------------------

std::int32_t SpriteScene::CreateBitmap(std::int32_t w, std::int32_t h) {
    if (w > kMaxBitmapSide || h > kMaxBitmapSide) {
        return 0;
    }
    Bitmap bitmap;
    if (w > 0 && h > 0) {
        bitmap.image = QImage(w, h, QImage::Format_RGB32);
        if (bitmap.image.isNull()) {
            return 0;
        }
        bitmap.image.fill(Qt::white);
    }
    const std::int32_t handle = NewHandle();
    bitmaps_.emplace(handle, std::move(bitmap));
    return handle;
}

bool SpriteScene::SetPixelBitmap(std::int32_t bitmap, std::int32_t x, std::int32_t y,
                                 std::int32_t colour) {
    // A picture is loaded a pixel at a time; the bitmap of the last call is kept at hand.
    // Bitmaps are never removed, and their places in the map stay put as it grows.
    if (bitmap != lastPixelBitmap_ || lastPixel_ == nullptr) {
        auto it = bitmaps_.find(bitmap);
        if (it == bitmaps_.end()) {
            return false;
        }
        lastPixelBitmap_ = bitmap;
        lastPixel_ = &it->second;
    }
    Bitmap& b = *lastPixel_;
    if (x < 0 || y < 0 || x >= b.image.width() || y >= b.image.height()) {
        return true;
    }
    reinterpret_cast<QRgb*>(b.image.scanLine(y))[x] = RgbFromColour(colour);
    ++b.version;
    if (!b.changed) {
        b.changed = true;
        changedBitmaps_.push_back(bitmap);
    }
    return true;
}

std::int32_t SpriteScene::PixelBitmap(std::int32_t bitmap, std::int32_t x, std::int32_t y) const {
    auto it = bitmaps_.find(bitmap);
    if (it == bitmaps_.end()) {
        return -1;
    }
    const QImage& image = it->second.image;
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) {
        return -1;
    }
    return ColourFromRgb(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]);
}

std::int32_t SpriteScene::BitmapWidth(std::int32_t bitmap) const {
    auto it = bitmaps_.find(bitmap);
    return it == bitmaps_.end() ? 0 : it->second.image.width();
}

std::int32_t SpriteScene::BitmapHeight(std::int32_t bitmap) const {
    auto it = bitmaps_.find(bitmap);
    return it == bitmaps_.end() ? 0 : it->second.image.height();
}

// ---- sprites -------------------------------------------------------------------------------

std::int32_t SpriteScene::NewHandle() {
    // Handles count up and wrap after the largest 32-bit value, skipping any still in use;
    // 0 is never given out.
    for (;;) {
        const std::int32_t h = nextHandle_;
        nextHandle_ = h == std::numeric_limits<std::int32_t>::max() ? 1 : h + 1;
        if (!bitmaps_.contains(h) && !sprites_.contains(h) && !groups_.contains(h)) {
            return h;
        }
    }
}

std::int32_t SpriteScene::CreateSprite(std::int32_t bitmap) {
    if (!bitmaps_.contains(bitmap)) {
        return 0;
    }
    return AddSprite(bitmap, 0);
}

std::int32_t SpriteScene::CreateMaskedSprite(std::int32_t bitmap, std::int32_t mask) {
    if (!bitmaps_.contains(bitmap) || !bitmaps_.contains(mask)) {
        return 0;
    }
    return AddSprite(bitmap, mask);
}

std::int32_t SpriteScene::AddSprite(std::int32_t bitmap, std::int32_t mask) {
    const std::int32_t handle = NewHandle();
    SpriteData s;
    s.bitmap = bitmap;
    s.mask = mask;
    s.serial = nextSerial_++;
    order_.emplace(OrderKey{s.level, s.serial}, handle);
    sprites_.emplace(handle, std::move(s));
    Touch(handle);
    return handle;
}

void SpriteScene::DeleteSprite(std::int32_t item) {
    if (sprites_.contains(item)) {
        RemoveSprite(item);
    } else if (groups_.contains(item)) {
        RemoveGroup(item);
    }
}

void SpriteScene::RemoveSprite(std::int32_t sprite) {
    auto it = sprites_.find(sprite);
    if (it == sprites_.end()) {
        return;
    }
    const std::vector<std::int32_t> children = std::move(it->second.children);
    it->second.children.clear();
    for (std::int32_t child : children) {
        if (sprites_.contains(child)) {
            RemoveSprite(child);
        } else {
            RemoveGroup(child);
        }
    }
    it = sprites_.find(sprite);
    if (it == sprites_.end()) {
        return;
    }
    SpriteData& s = it->second;
    if (auto g = groups_.find(s.group); g != groups_.end()) {
        std::erase(g->second.members, sprite);
    }
    Detach(sprite, s.parent);
    order_.erase(OrderKey{s.level, s.serial});
    if (!s.painted.rect.isEmpty()) {
        vacated_.push_back(s.painted);
    }
    sprites_.erase(it);
    extent_.reset();
}

void SpriteScene::Detach(std::int32_t item, std::int32_t parent) {
    if (SpriteData* p = FindSprite(parent)) {
        std::erase(p->children, item);
    }
}

void SpriteScene::MoveSprite(std::int32_t item, std::int32_t x, std::int32_t y) {
    x = ClampCoord(x);
    y = ClampCoord(y);
    if (SpriteData* s = FindSprite(item)) {
        if (s->x != x || s->y != y) {
            s->x = x;
            s->y = y;
            Touch(item);
        }
    } else if (auto g = groups_.find(item); g != groups_.end()) {
        g->second.x = x;
        g->second.y = y;
    }
}

void SpriteScene::SetSpriteState(std::int32_t sprite, std::int32_t state) {
    SpriteData* s = FindSprite(sprite);
    if (s == nullptr || s->state == state) {
        return;
    }
    const bool visibilityChanges = (s->state == 0) != (state == 0);
    s->state = state;
    if (visibilityChanges) {
        Touch(sprite);
    }
}

std::int32_t SpriteScene::GetSpriteState(std::int32_t sprite) const {
    const SpriteData* s = FindSprite(sprite);
    return s == nullptr ? 0 : s->state;
}

void SpriteScene::SetSpriteMode(std::int32_t sprite, std::int32_t mode) {
    if (SpriteData* s = FindSprite(sprite)) {
        s->mode = mode;
    }
}

void SpriteScene::SetLevel(std::int32_t sprite, SpriteData& s, std::int32_t level) {
    if (s.level == level) {
        return;
    }
    order_.erase(OrderKey{s.level, s.serial});
    s.level = level;
    order_.emplace(OrderKey{s.level, s.serial}, sprite);
    Touch(sprite);
}

void SpriteScene::SetSpriteLevel(std::int32_t item, std::int32_t level) {
    if (SpriteData* s = FindSprite(item)) {
        SetLevel(item, *s, level);
    } else if (auto g = groups_.find(item); g != groups_.end()) {
        g->second.level = level;
        for (std::int32_t member : g->second.members) {
            if (SpriteData* m = FindSprite(member)) {
                SetLevel(member, *m, level);
            }
        }
    }
}

void SpriteScene::SetSpriteFrameSize(std::int32_t item, std::int32_t w, std::int32_t h) {
    const QSize size(ClampCoord(w), ClampCoord(h));
    if (SpriteData* s = FindSprite(item)) {
        s->frameSize = size;
        Touch(item);
    } else if (auto g = groups_.find(item); g != groups_.end()) {
        g->second.area = size;
    }
}

void SpriteScene::SetSpriteFrameOffset(std::int32_t sprite, std::int32_t x, std::int32_t y) {
    if (SpriteData* s = FindSprite(sprite)) {
        s->frameOffset = QPoint(ClampCoord(x), ClampCoord(y));
        Touch(sprite);
    }
}

// ---- groups --------------------------------------------------------------------------------

std::int32_t SpriteScene::CreateGroup() {
    const std::int32_t handle = NewHandle();
    groups_.emplace(handle, GroupData{});
    return handle;
}

bool SpriteScene::AddToGroup(std::int32_t item, std::int32_t parent) {
    if (item == parent) {
        return false;
    }
    if (auto g = groups_.find(parent); g != groups_.end()) {
        SpriteData* s = FindSprite(item);
        if (s == nullptr) {
            return false;
        }
        if (s->group != parent) {
            if (auto old = groups_.find(s->group); old != groups_.end()) {
                std::erase(old->second.members, item);
            }
            s->group = parent;
            g->second.members.push_back(item);
        }
        if (g->second.level) {
            SetLevel(item, *s, *g->second.level);
        }
        return true;
    }

    SpriteData* p = FindSprite(parent);
    if (p == nullptr) {
        return false;
    }
    for (const SpriteData* a = p; a != nullptr; a = FindSprite(a->parent)) {
        if (a->parent == item) {
            return false; // item is already an ancestor of parent
        }
    }
    std::int32_t* itemParent = nullptr;
    if (SpriteData* s = FindSprite(item)) {
        itemParent = &s->parent;
    } else if (auto g = groups_.find(item); g != groups_.end()) {
        itemParent = &g->second.parent;
    } else {
        return false;
    }
    if (*itemParent != parent) {
        Detach(item, *itemParent);
        *itemParent = parent;
        p->children.push_back(item);
        if (sprites_.contains(item)) {
            Touch(item);
        }
    }
    return true;
}

void SpriteScene::DeleteGroup(std::int32_t group) {
    if (groups_.contains(group)) {
        RemoveMembers(group);
    }
}

void SpriteScene::RemoveMembers(std::int32_t group) {
    auto g = groups_.find(group);
    const std::vector<std::int32_t> members = std::move(g->second.members);
    g->second.members.clear();
    for (std::int32_t member : members) {
        if (SpriteData* s = FindSprite(member)) {
            s->group = 0;
            RemoveSprite(member);
        }
    }
}

void SpriteScene::RemoveGroup(std::int32_t group) {
    if (!groups_.contains(group)) {
        return;
    }
    RemoveMembers(group);
    // A member may have carried the group away with it, when the group was attached to it.
    auto g = groups_.find(group);
    if (g == groups_.end()) {
        return;
    }
    Detach(group, g->second.parent);
    groups_.erase(g);
}

// ---- geometry ------------------------------------------------------------------------------

const SpriteScene::SpriteData* SpriteScene::FindSprite(std::int32_t h) const {
    auto it = sprites_.find(h);
    return it == sprites_.end() ? nullptr : &it->second;
}

SpriteScene::SpriteData* SpriteScene::FindSprite(std::int32_t h) {
    auto it = sprites_.find(h);
    return it == sprites_.end() ? nullptr : &it->second;
}

bool SpriteScene::Shown(const SpriteData& s) const {
    for (const SpriteData* a = &s; a != nullptr; a = FindSprite(a->parent)) {
        if (a->state != 0) {
            return false;
        }
    }
    return true;
}

QPoint SpriteScene::Place(const SpriteData& s) const {
    std::int64_t x = 0;
    std::int64_t y = 0;
    for (const SpriteData* a = &s; a != nullptr; a = FindSprite(a->parent)) {
        x += a->x;
        y += a->y;
    }
    return QPoint(ClampCoord(x), ClampCoord(y));
}

QPoint SpriteScene::GroupPlace(const GroupData& g) const {
    const SpriteData* p = FindSprite(g.parent);
    const QPoint base = p == nullptr ? QPoint() : Place(*p);
    return QPoint(ClampCoord(std::int64_t{base.x()} + g.x),
                  ClampCoord(std::int64_t{base.y()} + g.y));
}

QSize SpriteScene::FrameSize(const SpriteData& s) const {
    if (s.frameSize) {
        return *s.frameSize;
    }
    auto b = bitmaps_.find(s.bitmap);
    return b == bitmaps_.end() ? QSize(0, 0) : b->second.image.size();
}

QRect SpriteScene::ShownPart(const SpriteData& s) const {
    auto b = bitmaps_.find(s.bitmap);
    if (b == bitmaps_.end()) {
        return {};
    }
    const QRect window = QRect(s.frameOffset, FrameSize(s)) & b->second.image.rect();
    if (window.isEmpty()) {
        return {};
    }
    return window.translated(Place(s) - s.frameOffset);
}

QRect SpriteScene::DrawnRect(const SpriteData& s) const {
    return Shown(s) ? ShownPart(s) : QRect();
}

SpriteScene::Drawn SpriteScene::DrawnState(const SpriteData& s) const {
    Drawn d;
    d.rect = DrawnRect(s);
    if (d.rect.isEmpty()) {
        return d;
    }
    d.bitmap = s.bitmap;
    d.mask = s.mask;
    d.bitmapVersion = bitmaps_.at(s.bitmap).version;
    d.maskVersion = s.mask != 0 ? bitmaps_.at(s.mask).version : 0;
    d.source = d.rect.topLeft() - Place(s) + s.frameOffset;
    d.level = s.level;
    d.serial = s.serial;
    return d;
}

bool SpriteScene::SameLook(const Drawn& a, const Drawn& b) {
    if (a.rect.isEmpty() || b.rect.isEmpty()) {
        return a.rect.isEmpty() && b.rect.isEmpty();
    }
    return a.rect == b.rect && a.bitmap == b.bitmap && a.mask == b.mask &&
           a.bitmapVersion == b.bitmapVersion && a.maskVersion == b.maskVersion &&
           a.source == b.source && a.level == b.level;
}

std::size_t SpriteScene::LookHash(const Drawn& d) {
    if (d.rect.isEmpty()) {
        return 0;
    }
    std::size_t h = 0;
    for (const std::uint64_t part :
         {std::uint64_t(std::uint32_t(d.rect.x())), std::uint64_t(std::uint32_t(d.rect.y())),
          std::uint64_t(std::uint32_t(d.rect.width())),
          std::uint64_t(std::uint32_t(d.rect.height())), std::uint64_t(std::uint32_t(d.bitmap)),
          std::uint64_t(std::uint32_t(d.mask)), d.bitmapVersion, d.maskVersion,
          std::uint64_t(std::uint32_t(d.source.x())), std::uint64_t(std::uint32_t(d.source.y())),
          std::uint64_t(std::uint32_t(d.level))}) {
        h = (h ^ std::hash<std::uint64_t>{}(part)) * 0x100000001b3ULL;
    }
    return h;
}

bool SpriteScene::KeepsOrder(
    const Drawn& old, const Drawn& now,
    const std::vector<std::pair<std::uint64_t, std::uint64_t>>& replaced) const {
    // Only sprites of the same level made between the two can be drawn in a different order
    // relative to the new one than to the old one.
    const auto end = order_.lower_bound(OrderKey{now.level, now.serial});
    for (auto it = order_.upper_bound(OrderKey{old.level, old.serial}); it != end; ++it) {
        const SpriteData& between = sprites_.at(it->second);
        if (!DrawnRect(between).intersects(now.rect)) {
            continue;
        }
        const auto r = std::find_if(replaced.begin(), replaced.end(),
                                    [&](const auto& pair) { return pair.first == between.serial; });
        // A replacement of a sprite older than `old` stays below, as its original did.
        if (r == replaced.end() || r->second > old.serial) {
            return false;
        }
    }
    return true;
}

const QImage& SpriteScene::Picture(const SpriteData& s) const {
    return Picture(s.bitmap, s.mask);
}

const QImage& SpriteScene::Picture(std::int32_t bitmap, std::int32_t maskBitmap) const {
    const Bitmap& pic = bitmaps_.at(bitmap);
    const QImage& picture = pic.image;
    if (maskBitmap == 0) {
        return picture;
    }
    const Bitmap& mask = bitmaps_.at(maskBitmap);
    Composite& c = composites_[CompositeKey(bitmap, maskBitmap)];
    if (!c.image.isNull() && c.bitmapVersion == pic.version && c.maskVersion == mask.version &&
        c.image.size() == picture.size()) {
        return c.image;
    }
    // Built once per pair of bitmaps and again only after one of them changed.
    c.image = QImage(picture.size(), QImage::Format_ARGB32_Premultiplied);
    const QImage& m = mask.image;
    for (int y = 0; y < c.image.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const auto* msk =
            y < m.height() ? reinterpret_cast<const QRgb*>(m.constScanLine(y)) : nullptr;
        auto* out = reinterpret_cast<QRgb*>(c.image.scanLine(y));
        for (int x = 0; x < c.image.width(); ++x) {
            // Outside a smaller mask the picture is transparent.
            const int alpha = msk != nullptr && x < m.width() ? AlphaFromMask(msk[x]) : 0;
            out[x] = qPremultiply(qRgba(qRed(src[x]), qGreen(src[x]), qBlue(src[x]), alpha));
        }
    }
    c.bitmapVersion = pic.version;
    c.maskVersion = mask.version;
    return c.image;
}

bool SpriteScene::Covers(const SpriteData& s, const QPointF& point) const {
    const std::optional<QPoint> px = PixelAt(point);
    const QRect drawn = DrawnRect(s);
    if (!px || !drawn.contains(*px)) {
        return false;
    }
    if (s.mask == 0) {
        return true;
    }
    const QPoint inBitmap = *px - Place(s) + s.frameOffset;
    return qAlpha(Picture(s).pixel(inBitmap)) >= 128;
}

bool SpriteScene::GroupAreaCovers(const GroupData& g, const QPointF& point) const {
    if (g.area.isEmpty()) {
        return false;
    }
    if (g.parent != 0) {
        const SpriteData* p = FindSprite(g.parent);
        if (p == nullptr || !Shown(*p)) {
            return false;
        }
    }
    const std::optional<QPoint> px = PixelAt(point);
    return px && QRect(GroupPlace(g), g.area).contains(*px);
}

bool SpriteScene::IsOver(std::int32_t item, const QPointF& point) const {
    if (const SpriteData* s = FindSprite(item)) {
        return Covers(*s, point);
    }
    auto g = groups_.find(item);
    if (g == groups_.end()) {
        return false;
    }
    if (GroupAreaCovers(g->second, point)) {
        return true;
    }
    return std::any_of(g->second.members.begin(), g->second.members.end(), [&](std::int32_t m) {
        const SpriteData* s = FindSprite(m);
        return s != nullptr && Covers(*s, point);
    });
}

std::int32_t SpriteScene::HitTest(const QPointF& point) const {
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        const SpriteData& s = sprites_.at(it->second);
        if (s.mode != kModeReported || !Covers(s, point)) {
            continue;
        }
        for (std::int32_t child : s.children) {
            auto g = groups_.find(child);
            if (g != groups_.end() && GroupAreaCovers(g->second, point)) {
                return 0;
            }
        }
        return it->second;
    }
    return 0;
}

std::int32_t SpriteScene::GetSpriteX(std::int32_t item) const {
    if (const SpriteData* s = FindSprite(item)) {
        return Place(*s).x();
    }
    auto g = groups_.find(item);
    return g == groups_.end() ? 0 : GroupPlace(g->second).x();
}

std::int32_t SpriteScene::GetSpriteY(std::int32_t item) const {
    if (const SpriteData* s = FindSprite(item)) {
        return Place(*s).y();
    }
    auto g = groups_.find(item);
    return g == groups_.end() ? 0 : GroupPlace(g->second).y();
}

std::optional<SpriteScene::SpriteInfo> SpriteScene::Sprite(std::int32_t sprite) const {
    const SpriteData* s = FindSprite(sprite);
    if (s == nullptr) {
        return std::nullopt;
    }
    return SpriteInfo{s->bitmap, s->mask,       s->x,           s->y,     s->state, s->mode,
                      s->level,  FrameSize(*s), s->frameOffset, s->group, s->parent};
}

std::optional<SpriteScene::GroupInfo> SpriteScene::Group(std::int32_t group) const {
    auto g = groups_.find(group);
    if (g == groups_.end()) {
        return std::nullopt;
    }
    const GroupData& d = g->second;
    return GroupInfo{d.level, d.x, d.y, d.area, d.parent, d.members};
}

// ---- drawing -------------------------------------------------------------------------------

void SpriteScene::Touch(std::int32_t sprite) {
    SpriteData* s = FindSprite(sprite);
    if (s == nullptr) {
        return;
    }
    extent_.reset();
    if (!s->touched) {
        s->touched = true;
        touched_.push_back(sprite);
    }
    for (std::int32_t child : s->children) {
        Touch(child);
    }
}

QSize SpriteScene::Extent() const {
    if (!extent_) {
        int right = 0;
        int bottom = 0;
        for (const auto& [handle, s] : sprites_) {
            const QRect r = ShownPart(s);
            if (!r.isEmpty()) {
                right = std::max(right, r.x() + r.width());
                bottom = std::max(bottom, r.y() + r.height());
            }
        }
        extent_ = QSize(right, bottom);
    }
    return *extent_;
}

void SpriteScene::TouchUsersOfChangedBitmaps() {
    if (changedBitmaps_.empty()) {
        return;
    }
    for (std::int32_t b : changedBitmaps_) {
        bitmaps_.at(b).changed = false;
    }
    for (auto& [handle, s] : sprites_) {
        const bool uses =
            std::find_if(changedBitmaps_.begin(), changedBitmaps_.end(), [&s = s](std::int32_t b) {
                return b == s.bitmap || b == s.mask;
            }) != changedBitmaps_.end();
        if (uses && !s.touched) {
            s.touched = true;
            touched_.push_back(handle);
        }
    }
    changedBitmaps_.clear();
}

QRegion SpriteScene::TakeDirty() {
    TouchUsersOfChangedBitmaps();

    std::vector<Drawn> vacated = std::move(vacated_);
    vacated_.clear();
    // The removed sprites by how they looked, so that a sprite made again the same (a wire
    // rebuilt in a new colour and back) finds its original without a walk over all of them.
    std::unordered_multimap<std::size_t, std::size_t> vacatedByLook;
    vacatedByLook.reserve(vacated.size());
    for (std::size_t i = 0; i < vacated.size(); ++i) {
        vacatedByLook.emplace(LookHash(vacated[i]), i);
    }
    std::vector<bool> reused(vacated.size(), false);
    // Serials of sprites that replace removed identical ones, with the serials they replace.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> replaced;
    // The first removed sprite, in the order of removal, that looked like `now` and whose
    // place in the drawing order `now` can take; vacated.size() when there is none.
    const auto original = [&](const Drawn& now) {
        std::size_t same = vacated.size();
        const auto [first, last] = vacatedByLook.equal_range(LookHash(now));
        for (auto it = first; it != last; ++it) {
            const std::size_t i = it->second;
            if (i < same && !reused[i] && SameLook(vacated[i], now) &&
                KeepsOrder(vacated[i], now, replaced)) {
                same = i;
            }
        }
        return same;
    };
    // Sprites are touched in the order they are made, so a replacement is found before any
    // newer sprite whose order it affects.
    for (std::int32_t handle : touched_) {
        SpriteData* s = FindSprite(handle);
        if (s == nullptr) {
            continue;
        }
        s->touched = false;
        const Drawn now = DrawnState(*s);
        if (SameLook(s->painted, now) && s->painted.serial == now.serial) {
            continue;
        }
        if (s->painted.rect.isEmpty() && !now.rect.isEmpty()) {
            if (const std::size_t same = original(now); same != vacated.size()) {
                replaced.emplace_back(now.serial, vacated[same].serial);
                reused[same] = true;
                s->painted = now;
                continue;
            }
        }
        dirty_.Add(s->painted.rect);
        dirty_.Add(now.rect);
        s->painted = now;
    }
    touched_.clear();
    for (std::size_t i = 0; i < vacated.size(); ++i) {
        if (!reused[i]) {
            dirty_.Add(vacated[i].rect);
        }
    }
    return dirty_.Take();
}

bool SpriteScene::SetSharper(std::int32_t bitmap, int factor, std::int32_t sharper) {
    auto base = bitmaps_.find(bitmap);
    auto version = bitmaps_.find(sharper);
    if (base == bitmaps_.end() || version == bitmaps_.end() || factor < 2 || factor > kMaxFactor ||
        version->second.image.size() != base->second.image.size() * factor) {
        return false;
    }
    base->second.sharper[factor] = sharper;
    return true;
}

std::int32_t SpriteScene::Sharper(std::int32_t bitmap, int factor) const {
    auto it = bitmaps_.find(bitmap);
    if (it == bitmaps_.end() || factor < 2 || factor > kMaxFactor) {
        return 0;
    }
    return it->second.sharper[factor];
}

void SpriteScene::Paint(QPainter& painter, const QRegion& region, int factor) const {
    const QRect bounds = region.boundingRect();
    if (bounds.isEmpty()) {
        return;
    }
    painter.save();
    // The painter maps a board pixel exactly onto factor x factor device pixels.
    const QTransform world = painter.worldTransform();
    const QTransform* deviceScale = factor > 1 && world.type() == QTransform::TxScale &&
                                            world.m11() == factor && world.m22() == factor
                                        ? &world
                                        : nullptr;
    // The sprites in the area, bottom first, each with the part of the board it covers.
    std::vector<std::pair<const SpriteData*, QRect>> under;
    for (const auto& [key, handle] : order_) {
        const SpriteData& s = sprites_.at(handle);
        const QRect drawn = DrawnRect(s) & bounds;
        if (!drawn.isEmpty()) {
            under.emplace_back(&s, drawn);
        }
    }
    // Each sprite is drawn as the exact part that falls in each rectangle of the area, so no
    // clip is needed.
    for (const QRect& r : region) {
        // Nothing below the topmost unmasked picture that covers r shows; white where no
        // sprite draws.
        std::size_t first = 0;
        bool covered = false;
        for (std::size_t i = under.size(); i-- > 0;) {
            if (under[i].first->mask == 0 && under[i].second.contains(r)) {
                first = i;
                covered = true;
                break;
            }
        }
        if (!covered) {
            painter.fillRect(r, Qt::white);
        }
        for (std::size_t i = first; i < under.size(); ++i) {
            const QRect drawn = under[i].second & r;
            if (!drawn.isEmpty()) {
                PaintPart(painter, *under[i].first, drawn, factor, deviceScale);
            }
        }
    }
    painter.restore();
}

void SpriteScene::PaintPart(QPainter& painter, const SpriteData& s, const QRect& drawn, int factor,
                            const QTransform* deviceScale) const {
    // Qt hands a draw of many device rows to other threads, which costs more than it saves
    // for the small areas a tick repaints: a tall part is drawn in pieces.
    const int rows = std::max(1, kRowsPerDraw / std::max(1, factor));
    if (drawn.height() > rows) {
        for (int y = drawn.top(); y <= drawn.bottom(); y += rows) {
            PaintPart(painter, s,
                      QRect(drawn.left(), y, drawn.width(), std::min(rows, drawn.bottom() + 1 - y)),
                      factor, deviceScale);
        }
        return;
    }
    const QRect source = drawn.translated(s.frameOffset - Place(s));
    const std::int32_t bitmap = Sharper(s.bitmap, factor);
    const std::int32_t mask = s.mask != 0 ? Sharper(s.mask, factor) : 0;
    if (bitmap == 0 || (s.mask != 0 && mask == 0)) {
        painter.drawImage(drawn.topLeft(), Picture(s), source);
        return;
    }
    const QRect from(source.topLeft() * factor, source.size() * factor);
    if (deviceScale == nullptr) {
        painter.drawImage(QRectF(drawn), Picture(bitmap, mask), QRectF(from));
        return;
    }
    // One picture pixel per device pixel: a plain copy, not a scaled draw.
    painter.setWorldTransform(QTransform::fromTranslate(deviceScale->dx(), deviceScale->dy()));
    painter.drawImage(QRect(drawn.topLeft() * factor, from.size()), Picture(bitmap, mask), from);
    painter.setWorldTransform(*deviceScale);
}
