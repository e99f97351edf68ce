#pragma once
// The sprite canvas the board is drawn on: bitmaps, sprites and groups in board pixels,
// scaled to fit the widget, with pointer events in board pixels.

#include "platform/com/ComPtr.h"
#include "platform/com/IDispatch.h"
#include "sprite_control/SpriteScene.h"

#include <QImage>
#include <QPointF>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>

class KaleidoDispatch;

/// Handles of bitmaps, sprites and groups are positive and never 0; 0 means "none". An
/// unknown handle is ignored by every operation, and queries about it give 0 or false.
/// Changes reach the screen at the next Refresh or UpdateSprite, and only the board area
/// that changed is repainted.
class KaleidoATL : public QWidget {
    Q_OBJECT

public:
    explicit KaleidoATL(QWidget* parent = nullptr);
    ~KaleidoATL() override;

    /// The canvas as a component object, for callers that call it by name. The reference
    /// returned belongs to the caller; calls made after the canvas is gone fail with
    /// E_UNEXPECTED.
    ComPtr<IDispatch> Object();

    /// A new white w × h bitmap; an empty one when w or h ≤ 0; 0 when a side exceeds
    /// SpriteScene::kMaxBitmapSide.
    std::int32_t CreateBitmap(std::int32_t w, std::int32_t h);
    /// Sets pixel (x, y), from the top-left, to red + 256·green + 65536·blue. Pixels outside
    /// the bitmap are ignored; false only for an unknown bitmap.
    bool SetPixelBitmap(std::int32_t bitmap, std::int32_t x, std::int32_t y, std::int32_t colour);
    /// The colour of a pixel in the same encoding; -1 outside the bitmap.
    std::int32_t PixelBitmap(std::int32_t bitmap, std::int32_t x, std::int32_t y) const;
    std::int32_t BitmapWidth(std::int32_t bitmap) const;
    std::int32_t BitmapHeight(std::int32_t bitmap) const;

    /// A new shown sprite of `bitmap` at (0, 0), level 0, never reported; 0 for an unknown
    /// bitmap.
    std::int32_t CreateSprite(std::int32_t bitmap);
    /// As CreateSprite; the picture shows where `mask` is black and is transparent where it
    /// is white.
    std::int32_t CreateMaskedSprite(std::int32_t bitmap, std::int32_t mask);
    /// Removes a sprite and the sprites attached to it. Given a group, releases the group for
    /// good, with its members.
    void DeleteSprite(std::int32_t item);
    /// Top-left corner of a sprite, or the place of a group's hit area, in board pixels;
    /// relative to the parent for an item attached to a sprite.
    void MoveSprite(std::int32_t item, std::int32_t x, std::int32_t y);
    /// 0 shows the sprite; 1 and 3 hide it together with what is attached to it.
    void SetSpriteState(std::int32_t sprite, std::int32_t state);
    /// The last state set.
    std::int32_t GetSpriteState(std::int32_t sprite) const;
    /// Makes the screen show the sprite's present place and state (with every other change
    /// not yet shown, as Refresh does) before the next paint: at the end of the batch when
    /// one is open, else as soon as the event loop runs.
    void UpdateSprite(std::int32_t sprite);
    /// 1: reported in pointer events; 4 (and every other value): never reported.
    void SetSpriteMode(std::int32_t sprite, std::int32_t mode);
    /// Lower levels are drawn first; within a level, older sprites first. Given a group, the
    /// level goes to its present and future members.
    void SetSpriteLevel(std::int32_t item, std::int32_t level);
    /// The sprite shows a w × h window of its bitmap; a group gets a w × h hit area.
    void SetSpriteFrameSize(std::int32_t item, std::int32_t w, std::int32_t h);
    /// Top-left corner of the window of the bitmap that the sprite shows.
    void SetSpriteFrameOffset(std::int32_t sprite, std::int32_t x, std::int32_t y);

    /// A new group: it takes a level, members, a place and a frame size (its hit area).
    std::int32_t CreateGroup();
    /// A group as parent makes the sprite `item` its member. A sprite as parent attaches
    /// `item` (sprite or group) to it: the item follows the parent's place and hidden state,
    /// MoveSprite on it is relative to the parent, and it goes when the parent is deleted.
    /// False when nothing was done (unknown handles, a group into a group, a loop).
    bool AddToGroup(std::int32_t item, std::int32_t parent);
    /// Removes the group's member sprites; the handle stays usable for new members.
    void DeleteGroup(std::int32_t group);
    /// Releases a group for good, with its members; the same as DeleteSprite(group).
    void DestroyGroup(std::int32_t group);

    /// Whether the pointer is over a shown sprite (an opaque pixel of a masked one), or over
    /// a group's hit area or one of its members. False while the pointer is off the canvas.
    bool IsPointerOver(std::int32_t item) const;
    /// Left x in board pixels of a sprite or group, also when attached; 0 when unknown.
    std::int32_t GetSpriteX(std::int32_t item) const;
    /// Top y in board pixels, as GetSpriteX.
    std::int32_t GetSpriteY(std::int32_t item) const;
    /// Repaints what changed since the last Refresh; costs nothing when nothing changed, also
    /// when sprites were removed and made again looking the same.
    void Refresh();

    /// Holds back what UpdateSprite would show until the batch ends, and then refreshes once,
    /// so that a sprite rebuilt identically within the batch costs no repaint. Batches nest;
    /// the outermost one refreshes.
    class Batch {
    public:
        explicit Batch(KaleidoATL& canvas) : canvas_(canvas) { ++canvas_.batchDepth_; }
        ~Batch() {
            if (--canvas_.batchDepth_ == 0) {
                canvas_.Refresh();
            }
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        KaleidoATL& canvas_;
    };

    /// The size of the board in board pixels, kept in proportion when scaled. Until it is
    /// set, the box from (0, 0) to the far edges of all sprites.
    void SetBoardSize(std::int32_t w, std::int32_t h);
    QSize BoardSize() const;
    /// Board pixels (fractional) of a point on the screen; may lie outside the board.
    QPointF BoardPointFromGlobal(QPoint screen) const;
    /// Board pixels (fractional) of a point in the widget's coordinates.
    QPointF BoardPointFromWidget(QPointF point) const;
    /// Widget coordinates of a point in board pixels.
    QPointF WidgetPointFromBoard(QPointF point) const;
    /// Widget pixels per board pixel at the present widget size.
    qreal Scale() const;
    /// Where the pointer was last seen over the canvas, in board pixels; none while it is
    /// elsewhere (it stays known while a button pressed on the canvas is held).
    std::optional<QPointF> PointerPosition() const { return pointer_; }

    /// The whole board with every change so far, drawn into a new image at `scale` (board
    /// pixels times scale), from the sharpest pictures for that scale, filtered as on screen.
    QImage RenderBoard(qreal scale = 1.0);

    /// Loads the version of a bitmap's picture drawn at `factor` (2 or 3) times its size into
    /// a new bitmap of this canvas and returns its handle, or 0 when there is none.
    using SharperSource = std::function<std::int32_t(int factor)>;
    /// Where sharper versions of `bitmap` come from. The canvas asks only for the factor its
    /// scale needs (2 up to twice the size, else 3), after it has painted the board once, or
    /// when RenderBoard needs it; everything callers see stays in board pixels.
    void SetSharperSource(std::int32_t bitmap, SharperSource source);
    /// The factor of the pictures the board is drawn from now: 1, 2 or 3.
    int PictureFactor() const { return bufferFactor_; }
    /// Draws from now on from the pictures the present scale asks for, at once instead of a
    /// moment after the next paint: for a picture of the window taken straight away.
    void UseSharperNow();
    /// The factor of sharper pictures that `devicePixelsPerBoardPixel` asks for: 1 up to 1,
    /// 2 up to 2, else 3.
    static int FactorFor(qreal devicePixelsPerBoardPixel);

    /// What the canvas holds, for inspection.
    std::optional<SpriteScene::SpriteInfo> SpriteInfo(std::int32_t sprite) const;
    std::optional<SpriteScene::GroupInfo> GroupInfo(std::int32_t group) const;
    std::size_t SpriteCount() const { return scene_.SpriteCount(); }
    std::size_t GroupCount() const { return scene_.GroupCount(); }
    std::size_t BitmapCount() const { return scene_.BitmapCount(); }

    QSize sizeHint() const override;

signals:
    /// A button went down. `sprite` is the mode-1 sprite under the pointer, else 0; `button`
    /// 1 left, 2 right, 4 middle; x, y in board pixels (rounded down).
    void PointerDown(int sprite, int button, int x, int y);
    /// A button went up; arguments as PointerDown.
    void PointerUp(int sprite, int button, int x, int y);
    /// The pointer moved. `sprite` as in PointerDown, but 0 while a press that began on a
    /// mode-1 sprite is held.
    void PointerMove(int sprite, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Layout {
        qreal scale = 1.0;
        QPointF offset;
        /// Whether one board pixel covers a whole number of device pixels.
        bool wholeDevicePixels = true;
    };
    Layout ComputeLayout() const;
    QRect WidgetRectFromBoard(const QRect& board, const Layout& layout) const;
    /// Brings the board buffer up to date for the areas Refresh handed to it.
    void ComposeBuffer();
    /// Draws `region` of the window from the board buffer, scaled by the layout.
    void PaintFromBuffer(QPainter& painter, const QRegion& region, const Layout& layout);
    /// Loads the sharper versions for `factor` of every bitmap that has a source, once.
    void LoadSharper(int factor);
    /// Draws from then on from the pictures the present scale asks for.
    void FollowScale();
    /// The factor of the pictures the present scale asks for; 1 without sharper sources.
    int WantedFactor() const;
    /// The board point of an event, remembered as the pointer's place.
    QPointF TrackPointer(const QMouseEvent* event);

    SpriteScene scene_;
    KaleidoDispatch* dispatch_ = nullptr;
    std::optional<QSize> boardSize_;
    /// The board at bufferFactor_ as last composed, and the parts of it out of date. Kept only
    /// while the window shows the board at another scale than bufferFactor_.
    QImage buffer_;
    QRegion stale_;
    /// The board size last laid out; a change repaints everything.
    QSize shownBoardSize_;
    std::optional<QPointF> pointer_;
    bool pressBeganOnSprite_ = false;
    int batchDepth_ = 0;
    std::unordered_map<std::int32_t, SharperSource> sharperSources_;
    bool sharperLoaded_[SpriteScene::kMaxFactor + 1] = {};
    /// Board buffer pixels per board pixel.
    int bufferFactor_ = 1;
    bool followScaleQueued_ = false;
    /// Whether a Refresh asked for by UpdateSprite waits for the event loop.
    bool refreshQueued_ = false;
};
