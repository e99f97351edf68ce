#include "sprite_control/KaleidoATL.h"

#include "sprite_control/KaleidoDispatch.h"

#include <QEnterEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

/// The colour around the board where the widget's proportions differ from the board's.
const QColor kMarginColour(0x6E, 0x73, 0x78);

/// Milliseconds after a paint at a new scale before sharper pictures are loaded, so that a
/// window just shown (or being resized) is on the screen first.
constexpr int kSharperDelay = 200;

/// Dirty areas not yet painted are merged into one box beyond this many rectangles.
constexpr int kMaxStaleRects = 64;

int ButtonNumber(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

/// The board pixel column or row of a coordinate, rounded down.
int Floor(qreal v) {
    if (!std::isfinite(v)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::floor(v), -1e9, 1e9));
}

bool IsWhole(qreal v) {
    return std::abs(v - std::round(v)) < 1e-6;
}

} // namespace

KaleidoATL::KaleidoATL(QWidget* parent) : QWidget(parent), dispatch_(new KaleidoDispatch(this)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

KaleidoATL::~KaleidoATL() {
    dispatch_->ForgetCanvas();
    dispatch_->Release();
}

ComPtr<IDispatch> KaleidoATL::Object() {
    return ComPtr<IDispatch>(dispatch_);
}

// ---- operations ----------------------------------------------------------------------------

std::int32_t KaleidoATL::CreateBitmap(std::int32_t w, std::int32_t h) {
    return scene_.CreateBitmap(w, h);
}

bool KaleidoATL::SetPixelBitmap(std::int32_t bitmap, std::int32_t x, std::int32_t y,
                                std::int32_t colour) {
    return scene_.SetPixelBitmap(bitmap, x, y, colour);
}

std::int32_t KaleidoATL::PixelBitmap(std::int32_t bitmap, std::int32_t x, std::int32_t y) const {
    return scene_.PixelBitmap(bitmap, x, y);
}

std::int32_t KaleidoATL::BitmapWidth(std::int32_t bitmap) const {
    return scene_.BitmapWidth(bitmap);
}

std::int32_t KaleidoATL::BitmapHeight(std::int32_t bitmap) const {
    return scene_.BitmapHeight(bitmap);
}

std::int32_t KaleidoATL::CreateSprite(std::int32_t bitmap) {
    return scene_.CreateSprite(bitmap);
}

std::int32_t KaleidoATL::CreateMaskedSprite(std::int32_t bitmap, std::int32_t mask) {
    return scene_.CreateMaskedSprite(bitmap, mask);
}

void KaleidoATL::DeleteSprite(std::int32_t item) {
    scene_.DeleteSprite(item);
}

void KaleidoATL::MoveSprite(std::int32_t item, std::int32_t x, std::int32_t y) {
    scene_.MoveSprite(item, x, y);
}

void KaleidoATL::SetSpriteState(std::int32_t sprite, std::int32_t state) {
    scene_.SetSpriteState(sprite, state);
}

std::int32_t KaleidoATL::GetSpriteState(std::int32_t sprite) const {
    return scene_.GetSpriteState(sprite);
}

void KaleidoATL::UpdateSprite(std::int32_t /*sprite*/) {
    // Changes are gathered and shown together: a sprite hidden, deleted and made again the
    // same between two paints then costs nothing.
    if (batchDepth_ > 0 || refreshQueued_ || !scene_.HasChanges()) {
        return;
    }
    refreshQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refreshQueued_ = false;
            Refresh();
        },
        Qt::QueuedConnection);
}

void KaleidoATL::SetSpriteMode(std::int32_t sprite, std::int32_t mode) {
    scene_.SetSpriteMode(sprite, mode);
}

void KaleidoATL::SetSpriteLevel(std::int32_t item, std::int32_t level) {
    scene_.SetSpriteLevel(item, level);
}

void KaleidoATL::SetSpriteFrameSize(std::int32_t item, std::int32_t w, std::int32_t h) {
    scene_.SetSpriteFrameSize(item, w, h);
}

void KaleidoATL::SetSpriteFrameOffset(std::int32_t sprite, std::int32_t x, std::int32_t y) {
    scene_.SetSpriteFrameOffset(sprite, x, y);
}

std::int32_t KaleidoATL::CreateGroup() {
    return scene_.CreateGroup();
}

bool KaleidoATL::AddToGroup(std::int32_t item, std::int32_t parent) {
    return scene_.AddToGroup(item, parent);
}

void KaleidoATL::DeleteGroup(std::int32_t group) {
    scene_.DeleteGroup(group);
}

void KaleidoATL::DestroyGroup(std::int32_t group) {
    if (scene_.Group(group)) {
        scene_.DeleteSprite(group);
    }
}

bool KaleidoATL::IsPointerOver(std::int32_t item) const {
    return pointer_ && scene_.IsOver(item, *pointer_);
}

std::int32_t KaleidoATL::GetSpriteX(std::int32_t item) const {
    return scene_.GetSpriteX(item);
}

std::int32_t KaleidoATL::GetSpriteY(std::int32_t item) const {
    return scene_.GetSpriteY(item);
}

std::optional<SpriteScene::SpriteInfo> KaleidoATL::SpriteInfo(std::int32_t sprite) const {
    return scene_.Sprite(sprite);
}

std::optional<SpriteScene::GroupInfo> KaleidoATL::GroupInfo(std::int32_t group) const {
    return scene_.Group(group);
}

// ---- board geometry ------------------------------------------------------------------------

void KaleidoATL::SetBoardSize(std::int32_t w, std::int32_t h) {
    if (w > 0 && h > 0) {
        boardSize_ = QSize(w, h);
    } else {
        boardSize_.reset();
    }
    updateGeometry();
    Refresh();
}

QSize KaleidoATL::BoardSize() const {
    return boardSize_ ? *boardSize_ : scene_.Extent();
}

QSize KaleidoATL::sizeHint() const {
    const QSize board = BoardSize();
    return board.isEmpty() ? QSize(320, 240) : board;
}

KaleidoATL::Layout KaleidoATL::ComputeLayout() const {
    Layout layout;
    const QSize board = BoardSize();
    if (board.isEmpty() || width() <= 0 || height() <= 0) {
        return layout;
    }
    const qreal dpr = devicePixelRatioF();
    layout.scale = std::min(qreal(width()) / board.width(), qreal(height()) / board.height());
    // The board starts on a device pixel, so that whole-number scales stay crisp.
    const auto toDevicePixel = [dpr](qreal v) { return std::round(v * dpr) / dpr; };
    layout.offset = QPointF(toDevicePixel((width() - board.width() * layout.scale) / 2),
                            toDevicePixel((height() - board.height() * layout.scale) / 2));
    layout.wholeDevicePixels = IsWhole(layout.scale * dpr);
    return layout;
}

QPointF KaleidoATL::BoardPointFromWidget(QPointF point) const {
    const Layout layout = ComputeLayout();
    return (point - layout.offset) / layout.scale;
}

QPointF KaleidoATL::WidgetPointFromBoard(QPointF point) const {
    const Layout layout = ComputeLayout();
    return point * layout.scale + layout.offset;
}

QPointF KaleidoATL::BoardPointFromGlobal(QPoint screen) const {
    return BoardPointFromWidget(mapFromGlobal(QPointF(screen)));
}

qreal KaleidoATL::Scale() const {
    return ComputeLayout().scale;
}

QRect KaleidoATL::WidgetRectFromBoard(const QRect& board, const Layout& layout) const {
    const QRectF r(layout.offset + QPointF(board.topLeft()) * layout.scale,
                   QSizeF(board.size()) * layout.scale);
    // Filtering spreads a board pixel up to half a board pixel beyond its edges.
    const int bleed = static_cast<int>(std::ceil(layout.scale / 2)) + 1;
    return r.toAlignedRect().adjusted(-bleed, -bleed, bleed, bleed);
}

// ---- painting ------------------------------------------------------------------------------

void KaleidoATL::Refresh() {
    const QRegion dirty = scene_.TakeDirty();
    const QSize board = BoardSize();
    if (board != shownBoardSize_) {
        shownBoardSize_ = board;
        stale_ = QRegion(QRect(QPoint(), board));
        update();
        return;
    }
    const QRegion onBoard = dirty & QRect(QPoint(), board);
    if (onBoard.isEmpty()) {
        return;
    }
    stale_ += onBoard;
    if (stale_.rectCount() > kMaxStaleRects) {
        stale_ = stale_.boundingRect();
    }
    const Layout layout = ComputeLayout();
    QRegion area;
    for (const QRect& r : onBoard) {
        area += WidgetRectFromBoard(r, layout);
    }
    update(area);
}

void KaleidoATL::ComposeBuffer() {
    const QSize board = BoardSize();
    if (buffer_.size() != board * bufferFactor_) {
        buffer_ = QImage(board * bufferFactor_, QImage::Format_RGB32);
        stale_ = QRegion(QRect(QPoint(), board));
    }
    if (stale_.isEmpty() || buffer_.isNull()) {
        return;
    }
    QPainter painter(&buffer_);
    painter.scale(bufferFactor_, bufferFactor_);
    scene_.Paint(painter, stale_, bufferFactor_);
    stale_ = QRegion();
}

int KaleidoATL::FactorFor(qreal devicePixelsPerBoardPixel) {
    if (!(devicePixelsPerBoardPixel > 1.0 + 1e-6)) {
        return 1;
    }
    return devicePixelsPerBoardPixel <= 2.0 + 1e-6 ? 2 : SpriteScene::kMaxFactor;
}

void KaleidoATL::SetSharperSource(std::int32_t bitmap, SharperSource source) {
    if (!source) {
        sharperSources_.erase(bitmap);
        return;
    }
    for (int factor = 2; factor <= SpriteScene::kMaxFactor; ++factor) {
        if (sharperLoaded_[factor]) {
            // Loaded late: the factor in use gets it at once.
            scene_.SetSharper(bitmap, factor, source(factor));
        }
    }
    sharperSources_[bitmap] = std::move(source);
}

void KaleidoATL::LoadSharper(int factor) {
    if (factor < 2 || factor > SpriteScene::kMaxFactor || sharperLoaded_[factor]) {
        return;
    }
    sharperLoaded_[factor] = true;
    // Loading makes new bitmaps, but no new sources.
    for (const auto& [bitmap, source] : sharperSources_) {
        if (const std::int32_t version = source(factor); version != 0) {
            scene_.SetSharper(bitmap, factor, version);
        }
    }
}

void KaleidoATL::UseSharperNow() {
    FollowScale();
}

int KaleidoATL::WantedFactor() const {
    return sharperSources_.empty() ? 1 : FactorFor(ComputeLayout().scale * devicePixelRatioF());
}

void KaleidoATL::FollowScale() {
    followScaleQueued_ = false;
    const int wanted = WantedFactor();
    if (wanted == bufferFactor_) {
        return;
    }
    LoadSharper(wanted);
    bufferFactor_ = wanted;
    buffer_ = QImage();
    update();
}

void KaleidoATL::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const Layout layout = ComputeLayout();
    const QSize boardSize = BoardSize();
    const int f = bufferFactor_;
    // The margin around the board; the board's own area is drawn over in full below.
    const QRect board =
        QRectF(layout.offset, QSizeF(boardSize) * layout.scale).toRect().adjusted(1, 1, -1, -1);
    for (const QRect& r : boardSize.isEmpty() ? event->region() : event->region() - board) {
        painter.fillRect(r, kMarginColour);
    }
    if (boardSize.isEmpty()) {
        return;
    }
    if (devicePixelRatioF() == 1 && layout.scale == f && IsWhole(layout.offset.x()) &&
        IsWhole(layout.offset.y())) {
        // Each board pixel falls on exactly f x f pixels of the window, as in the buffer: the
        // scene draws straight into the window, and no buffer is kept.
        const QPoint offset = layout.offset.toPoint();
        QRegion behind;
        for (const QRect& r : event->region()) {
            const QPoint from = r.topLeft() - offset;
            const QPoint to = r.bottomRight() - offset;
            behind += QRect(QPoint(Floor(qreal(from.x()) / f), Floor(qreal(from.y()) / f)),
                            QPoint(Floor(qreal(to.x()) / f), Floor(qreal(to.y()) / f)));
        }
        painter.translate(offset);
        painter.scale(f, f);
        scene_.Paint(painter, behind & QRect(QPoint(), boardSize), f);
        buffer_ = QImage();
        stale_ = QRegion();
    } else {
        // A window pixel that the board covers only in part keeps the margin: whether a
        // scaled piece covers it would depend on where the piece starts, and the board's edge
        // would be ragged.
        const QRectF exact(layout.offset, QSizeF(boardSize) * layout.scale);
        const qreal dpr = devicePixelRatioF();
        const auto inward = [dpr](qreal v, bool up) {
            return (up ? std::ceil(v * dpr) : std::floor(v * dpr)) / dpr;
        };
        painter.setClipRect(
            QRectF(QPointF(inward(exact.left(), true), inward(exact.top(), true)),
                   QPointF(inward(exact.right(), false), inward(exact.bottom(), false))),
            Qt::IntersectClip);
        PaintFromBuffer(painter, event->region(), layout);
    }
    // Sharper pictures are loaded after this paint, when the scale asks for them.
    if (!followScaleQueued_ && WantedFactor() != bufferFactor_) {
        followScaleQueued_ = true;
        QTimer::singleShot(kSharperDelay, this, &KaleidoATL::FollowScale);
    }
}

void KaleidoATL::PaintFromBuffer(QPainter& painter, const QRegion& region, const Layout& layout) {
    ComposeBuffer();
    if (buffer_.isNull()) {
        return;
    }
    const int f = bufferFactor_;
    // One buffer pixel on a whole number of device pixels is copied without filtering.
    const bool smooth = !IsWhole(layout.scale * devicePixelRatioF() / f);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    // Filtering near an area's edges needs the true neighbours of its pixels.
    const int border = smooth ? 2 : 0;
    const QRect boardRect(QPoint(), BoardSize());
    std::vector<QRect> strips;
    for (const QRect& r : region) {
        for (int y = r.top(); y <= r.bottom(); y += SpriteScene::kRowsPerDraw) {
            strips.emplace_back(r.left(), y, r.width(),
                                std::min(SpriteScene::kRowsPerDraw, r.bottom() + 1 - y));
        }
    }
    for (const QRect& r : strips) {
        // The board pixels behind r, with the border; the painter's clip keeps the drawing
        // within r.
        const QRectF behind(BoardPointFromWidget(r.topLeft()), QSizeF(r.size()) / layout.scale);
        const QRect source =
            behind.toAlignedRect().adjusted(-border, -border, border, border) & boardRect;
        if (source.isEmpty()) {
            continue;
        }
        const QRectF target(layout.offset + QPointF(source.topLeft()) * layout.scale,
                            QSizeF(source.size()) * layout.scale);
        painter.drawImage(target, buffer_,
                          QRectF(QPointF(source.topLeft()) * f, QSizeF(source.size()) * f));
    }
}

QImage KaleidoATL::RenderBoard(qreal scale) {
    const QSize board = BoardSize();
    if (board.isEmpty() || !(scale > 0) || board.width() * scale > SpriteScene::kMaxBitmapSide ||
        board.height() * scale > SpriteScene::kMaxBitmapSide) {
        return {};
    }
    const int f = sharperSources_.empty() ? 1 : FactorFor(scale);
    LoadSharper(f);
    QImage image(board * f, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        painter.scale(f, f);
        scene_.Paint(painter, QRegion(QRect(QPoint(), board)), f);
    }
    if (scale == f) {
        return image;
    }
    QImage scaled((QSizeF(board) * scale).toSize(), QImage::Format_RGB32);
    QPainter painter(&scaled);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !IsWhole(scale / f));
    painter.drawImage(QRectF(scaled.rect()), image);
    return scaled;
}

// ---- pointer -------------------------------------------------------------------------------

QPointF KaleidoATL::TrackPointer(const QMouseEvent* event) {
    const QPointF board = BoardPointFromWidget(event->position());
    pointer_ = board;
    return board;
}

void KaleidoATL::mousePressEvent(QMouseEvent* event) {
    const QPointF at = TrackPointer(event);
    const int button = ButtonNumber(event->button());
    if (button == 0) {
        return;
    }
    const int sprite = scene_.HitTest(at);
    if (sprite != 0) {
        pressBeganOnSprite_ = true;
    }
    emit PointerDown(sprite, button, Floor(at.x()), Floor(at.y()));
}

void KaleidoATL::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = TrackPointer(event);
    if (event->buttons() == Qt::NoButton) {
        pressBeganOnSprite_ = false;
    }
    const int button = ButtonNumber(event->button());
    if (button == 0) {
        return;
    }
    emit PointerUp(scene_.HitTest(at), button, Floor(at.x()), Floor(at.y()));
}

void KaleidoATL::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = TrackPointer(event);
    if (event->buttons() == Qt::NoButton) {
        pressBeganOnSprite_ = false;
    }
    const int sprite = pressBeganOnSprite_ ? 0 : scene_.HitTest(at);
    emit PointerMove(sprite, Floor(at.x()), Floor(at.y()));
}

void KaleidoATL::enterEvent(QEnterEvent* event) {
    pointer_ = BoardPointFromWidget(event->position());
    QWidget::enterEvent(event);
}

void KaleidoATL::leaveEvent(QEvent* event) {
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        pointer_.reset();
    }
    QWidget::leaveEvent(event);
}
