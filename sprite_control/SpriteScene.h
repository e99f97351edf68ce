#pragma once
// The contents of the sprite canvas without the widget: bitmaps, sprites and groups, their
// order of drawing, what changed since the last repaint, and hit testing. Everything is in
// board pixels.

#include "sprite_control/DirtyRegion.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

class QPainter;
class QPointF;
class QTransform;

class SpriteScene {
public:
    /// Bitmaps wider or taller than this are refused.
    static constexpr std::int32_t kMaxBitmapSide = 8192;
    /// Sprite mode whose sprites are reported in pointer events.
    static constexpr std::int32_t kModeReported = 1;

    /// What a caller may read back about a sprite.
    struct SpriteInfo {
        std::int32_t bitmap = 0;
        /// 0 for a plain sprite.
        std::int32_t mask = 0;
        /// Place as set by MoveSprite: relative to `parent` when it has one.
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t state = 0;
        std::int32_t mode = 0;
        std::int32_t level = 0;
        /// The window of the bitmap shown: the whole bitmap until a frame size is set.
        QSize frameSize;
        QPoint frameOffset;
        /// The group it is a member of, or 0.
        std::int32_t group = 0;
        /// The sprite it is attached to, or 0.
        std::int32_t parent = 0;
    };

    /// What a caller may read back about a group.
    struct GroupInfo {
        /// The level given to its members; none until one is set.
        std::optional<std::int32_t> level;
        std::int32_t x = 0;
        std::int32_t y = 0;
        /// The hit area's size; empty until one is set.
        QSize frameSize;
        std::int32_t parent = 0;
        /// Member sprites in the order they joined.
        std::vector<std::int32_t> members;
    };

    SpriteScene() = default;
    SpriteScene(const SpriteScene&) = delete;
    SpriteScene& operator=(const SpriteScene&) = delete;

    /// A new white w × h bitmap. When w or h is 0 or less the bitmap is empty (0 × 0) and
    /// draws nothing. Returns 0 when a side exceeds kMaxBitmapSide or memory runs out.
    std::int32_t CreateBitmap(std::int32_t w, std::int32_t h);
    /// Sets pixel (x, y) of a bitmap to colour red + 256·green + 65536·blue (the top byte is
    /// ignored). False for an unknown bitmap; a pixel outside the bitmap is ignored (true).
    bool SetPixelBitmap(std::int32_t bitmap, std::int32_t x, std::int32_t y, std::int32_t colour);
    /// Colour of pixel (x, y) in the same encoding, or -1 outside the bitmap or for an
    /// unknown one.
    std::int32_t PixelBitmap(std::int32_t bitmap, std::int32_t x, std::int32_t y) const;
    /// Size of a bitmap; 0 for an unknown one.
    std::int32_t BitmapWidth(std::int32_t bitmap) const;
    std::int32_t BitmapHeight(std::int32_t bitmap) const;

    /// A new sprite showing `bitmap` at (0, 0), shown, level 0, mode 0; 0 when the bitmap is
    /// unknown.
    std::int32_t CreateSprite(std::int32_t bitmap);
    /// As CreateSprite, but transparent where `mask` is white and opaque where it is black
    /// (grey is partly transparent); 0 when either bitmap is unknown.
    std::int32_t CreateMaskedSprite(std::int32_t bitmap, std::int32_t mask);
    /// Removes a sprite together with everything attached to it. Given a group, removes the
    /// group for good with its members; its handle is then unknown.
    void DeleteSprite(std::int32_t item);
    /// Places a sprite's top-left corner, or a group's hit area; relative to the parent
    /// sprite for an attached item.
    void MoveSprite(std::int32_t item, std::int32_t x, std::int32_t y);
    /// 0 shows a sprite, any other value (1, 3) hides it and what is attached to it.
    void SetSpriteState(std::int32_t sprite, std::int32_t state);
    /// The last state set; 0 for an unknown sprite.
    std::int32_t GetSpriteState(std::int32_t sprite) const;
    /// kModeReported makes the sprite count in hit tests; other modes never do.
    void SetSpriteMode(std::int32_t sprite, std::int32_t mode);
    /// Levels draw in ascending order, older sprites first within a level. A group passes
    /// its level to its present and future members.
    void SetSpriteLevel(std::int32_t item, std::int32_t level);
    /// A sprite shows a w × h window of its bitmap (nothing when w or h ≤ 0); a group gets a
    /// hit area of that size.
    void SetSpriteFrameSize(std::int32_t item, std::int32_t w, std::int32_t h);
    /// Top-left corner of the window of the bitmap a sprite shows.
    void SetSpriteFrameOffset(std::int32_t sprite, std::int32_t x, std::int32_t y);

    /// A new empty group.
    std::int32_t CreateGroup();
    /// With a group as parent, `item` (a sprite) becomes its member, leaving any group it was
    /// in. With a sprite as parent, `item` (sprite or group) is attached to it: it follows
    /// the parent's place and hidden state and is deleted with it. False, with nothing
    /// changed, for unknown handles, a group as member of a group, or an attachment that
    /// would make a loop.
    bool AddToGroup(std::int32_t item, std::int32_t parent);
    /// Removes the group's member sprites; the group keeps its handle, level, place, area
    /// and attachment, and takes new members.
    void DeleteGroup(std::int32_t group);

    /// Whether a board point lies on a shown sprite (on an opaque pixel for a masked one), or
    /// on a group's hit area or one of its members.
    bool IsOver(std::int32_t item, const QPointF& point) const;
    /// The topmost shown sprite of kModeReported under a board point; 0 when there is none,
    /// or when the point lies on a group area attached to that sprite (such an area, like a
    /// close box, claims the pointer for itself).
    std::int32_t HitTest(const QPointF& point) const;
    /// Left x and top y on the board of a sprite or group; 0 for an unknown one.
    std::int32_t GetSpriteX(std::int32_t item) const;
    std::int32_t GetSpriteY(std::int32_t item) const;

    std::optional<SpriteInfo> Sprite(std::int32_t sprite) const;
    std::optional<GroupInfo> Group(std::int32_t group) const;
    std::size_t SpriteCount() const { return sprites_.size(); }
    std::size_t GroupCount() const { return groups_.size(); }
    std::size_t BitmapCount() const { return bitmaps_.size(); }

    /// Size of the box from the board's origin to the far edges of all sprites.
    QSize Extent() const;
    /// The board area whose drawing changed since the last call, and forgets it. A sprite
    /// removed and made again with the same picture at the same place and in the same order
    /// among the sprites it overlaps changes nothing.
    QRegion TakeDirty();
    /// Whether anything changed since the last TakeDirty that may need drawing.
    bool HasChanges() const {
        return !touched_.empty() || !vacated_.empty() || !changedBitmaps_.empty();
    }
    /// Draws the part `region` of the board: white, then the shown sprites in order. The
    /// painter's coordinates must be board pixels. With `factor` 2 or 3 the painter is
    /// expected to cover `factor` device pixels per board pixel, and every sprite whose
    /// bitmap (and mask) has a version that much sharper is drawn from that version.
    void Paint(QPainter& painter, const QRegion& region, int factor = 1) const;

    /// Device rows one drawing call covers at most: Qt hands a draw of 96 rows or more to
    /// other threads, which costs more than it saves for the small areas a tick repaints.
    static constexpr int kRowsPerDraw = 95;
    /// The largest factor a bitmap can have a sharper version for.
    static constexpr int kMaxFactor = 3;
    /// Makes `sharper`, exactly `factor` times as wide and as tall as `bitmap`, the version
    /// of `bitmap` drawn at that factor. False, with nothing changed, for unknown bitmaps, a
    /// factor outside 2 … kMaxFactor or a size that does not match.
    bool SetSharper(std::int32_t bitmap, int factor, std::int32_t sharper);
    /// The version of `bitmap` for `factor`, or 0 when it has none.
    std::int32_t Sharper(std::int32_t bitmap, int factor) const;

private:
    struct Bitmap {
        QImage image; // Format_RGB32
        std::uint64_t version = 0;
        bool changed = false;
        /// Sharper versions by factor (index 2 and 3); 0 where there is none.
        std::int32_t sharper[kMaxFactor + 1] = {};
    };
    /// How a sprite stood on the board when changes were last taken: enough to tell whether a
    /// sprite made since looks exactly the same at the same place.
    struct Drawn {
        /// Empty when the sprite was not drawn.
        QRect rect;
        std::int32_t bitmap = 0;
        std::int32_t mask = 0;
        std::uint64_t bitmapVersion = 0;
        std::uint64_t maskVersion = 0;
        /// Top-left corner, in the bitmap, of the part drawn.
        QPoint source;
        std::int32_t level = 0;
        std::uint64_t serial = 0;
    };
    struct SpriteData {
        std::int32_t bitmap = 0;
        std::int32_t mask = 0;
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t state = 0;
        std::int32_t mode = 0;
        std::int32_t level = 0;
        std::optional<QSize> frameSize;
        QPoint frameOffset;
        std::int32_t group = 0;
        std::int32_t parent = 0;
        std::vector<std::int32_t> children;
        std::uint64_t serial = 0;
        /// How it stood at the last TakeDirty (an empty rect when not drawn then).
        Drawn painted;
        bool touched = false;
    };
    struct GroupData {
        std::optional<std::int32_t> level;
        std::int32_t x = 0;
        std::int32_t y = 0;
        QSize area;
        std::int32_t parent = 0;
        std::vector<std::int32_t> members;
    };
    struct Composite {
        QImage image; // Format_ARGB32_Premultiplied
        std::uint64_t bitmapVersion = 0;
        std::uint64_t maskVersion = 0;
    };
    using OrderKey = std::pair<std::int32_t, std::uint64_t>; // level, serial

    std::int32_t NewHandle();
    std::int32_t AddSprite(std::int32_t bitmap, std::int32_t mask);
    void RemoveSprite(std::int32_t sprite);
    void RemoveGroup(std::int32_t group);
    void RemoveMembers(std::int32_t group);
    void Detach(std::int32_t item, std::int32_t parent);
    void SetLevel(std::int32_t sprite, SpriteData& s, std::int32_t level);
    /// Marks a sprite and the sprites attached to it for the next TakeDirty.
    void Touch(std::int32_t sprite);
    /// Marks every sprite that shows a bitmap changed since the last TakeDirty.
    void TouchUsersOfChangedBitmaps();

    const SpriteData* FindSprite(std::int32_t h) const;
    SpriteData* FindSprite(std::int32_t h);
    bool Shown(const SpriteData& s) const;
    QPoint Place(const SpriteData& s) const;
    QPoint GroupPlace(const GroupData& g) const;
    QSize FrameSize(const SpriteData& s) const;
    /// Board rectangle of the part of the bitmap that a sprite shows, shown or not.
    QRect ShownPart(const SpriteData& s) const;
    /// ShownPart for a shown sprite, else empty.
    QRect DrawnRect(const SpriteData& s) const;
    bool Covers(const SpriteData& s, const QPointF& point) const;
    bool GroupAreaCovers(const GroupData& g, const QPointF& point) const;
    const QImage& Picture(const SpriteData& s) const;
    /// A bitmap, or its composite with a mask when `mask` is not 0.
    const QImage& Picture(std::int32_t bitmap, std::int32_t mask) const;
    /// Draws the part `drawn` (board pixels) of sprite `s` from its version for `factor`;
    /// `deviceScale`, when given, is the painter's transform, a scale by exactly `factor`.
    void PaintPart(QPainter& painter, const SpriteData& s, const QRect& drawn, int factor,
                   const QTransform* deviceScale) const;
    Drawn DrawnState(const SpriteData& s) const;
    /// Whether two drawn states show the same pixels at the same place and level.
    static bool SameLook(const Drawn& a, const Drawn& b);
    /// Equal for drawn states of the same look.
    static std::size_t LookHash(const Drawn& d);
    /// Whether a sprite drawn as `now` in place of the removed `old` keeps its order among the
    /// shown sprites it overlaps. `replaced` maps the serials of sprites already found to
    /// replace removed ones to the serials of those.
    bool KeepsOrder(const Drawn& old, const Drawn& now,
                    const std::vector<std::pair<std::uint64_t, std::uint64_t>>& replaced) const;

    std::unordered_map<std::int32_t, Bitmap> bitmaps_;
    std::unordered_map<std::int32_t, SpriteData> sprites_;
    std::unordered_map<std::int32_t, GroupData> groups_;
    std::map<OrderKey, std::int32_t> order_;
    mutable std::unordered_map<std::uint64_t, Composite> composites_;

    std::int32_t lastPixelBitmap_ = 0;
    Bitmap* lastPixel_ = nullptr;
    std::int32_t nextHandle_ = 1;
    std::uint64_t nextSerial_ = 1;
    std::vector<std::int32_t> touched_;
    std::vector<std::int32_t> changedBitmaps_;
    /// Sprites removed since the last TakeDirty, as they were drawn then.
    std::vector<Drawn> vacated_;
    DirtyRegion dirty_;
    mutable std::optional<QSize> extent_;
};
