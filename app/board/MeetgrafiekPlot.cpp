#include "app/board/MeetgrafiekPlot.h"

#include "app/simulation/VoltText.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

constexpr int kLeft = 44;
constexpr int kRight = 20;
constexpr int kTop = 10;
constexpr int kBottom = 26;
/// Seconds the span shows, one grid line each.
constexpr int kSpanSeconds = 10;

/// Distinguishable on white, also for the common forms of colour blindness.
const std::array<QColor, 8> kColours = {QColor(0x00, 0x72, 0xB2), QColor(0xD5, 0x5E, 0x00),
                                        QColor(0x00, 0x9E, 0x73), QColor(0xCC, 0x79, 0xA7),
                                        QColor(0xE6, 0x9F, 0x00), QColor(0x56, 0xB4, 0xE9),
                                        QColor(0x00, 0x00, 0x00), QColor(0x8C, 0x56, 0x4B)};

QString Dutch(const std::string& text) {
    return QString::fromStdString(text);
}

/// The pixels of a 32-bit image, written directly within `clip`: a painter would spend a
/// call on every pixel of a one-pixel-wide edge.
struct Pixels {
    QRgb* bits;
    qsizetype stride; // in pixels
    QRect clip;

    void Row(int x0, int x1, int y, QRgb colour) const {
        if (y < clip.top() || y > clip.bottom()) {
            return;
        }
        const int left = std::max(std::min(x0, x1), clip.left());
        const int right = std::min(std::max(x0, x1), clip.right());
        if (left > right) {
            return;
        }
        std::fill(bits + y * stride + left, bits + y * stride + right + 1, colour);
    }
    void Column(int x, int y0, int y1, QRgb colour) const {
        if (x < clip.left() || x > clip.right()) {
            return;
        }
        const int top = std::max(std::min(y0, y1), clip.top());
        const int bottom = std::min(std::max(y0, y1), clip.bottom());
        QRgb* pixel = bits + top * stride + x;
        for (int y = top; y <= bottom; ++y, pixel += stride) {
            *pixel = colour;
        }
    }
};

} // namespace

MeetgrafiekPlot::MeetgrafiekPlot(const TraceRing& ring, QWidget* parent)
    : QWidget(parent), ring_(ring) {
    setObjectName("picGrafiek");
    setMinimumSize(360, 180);
    // Painted whole every time; nothing of the parent needs to show through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

QColor MeetgrafiekPlot::TraceColour(std::size_t channel) {
    return kColours[channel % kColours.size()];
}

QRect MeetgrafiekPlot::PlotArea() const {
    return QRect(kLeft, kTop, std::max(1, width() - kLeft - kRight),
                 std::max(1, height() - kTop - kBottom));
}

double MeetgrafiekPlot::X(double place) const {
    const QRect area = PlotArea();
    return area.left() + place * area.width() / double(ring_.Capacity());
}

double MeetgrafiekPlot::Y(std::int32_t tenths, std::size_t channel) const {
    const QRect area = PlotArea();
    // A pixel higher per trace, so that equal traces stay visible side by side.
    return area.bottom() - tenths * area.height() / (10.0 * kTopVolts) - double(channel);
}

void MeetgrafiekPlot::resizeEvent(QResizeEvent*) {
    background_ = QImage();
}

void MeetgrafiekPlot::DrawBackground() {
    background_ = QImage(size() * devicePixelRatioF(), QImage::Format_RGB32);
    background_.setDevicePixelRatio(devicePixelRatioF());
    background_.fill(Qt::white);
    QPainter p(&background_);
    const QRect area = PlotArea();
    p.setPen(QColor(0xDD, 0xDD, 0xDD));
    for (int v = 0; v <= kTopVolts; ++v) {
        const int y = area.bottom() - v * area.height() / kTopVolts;
        p.drawLine(area.left(), y, area.right(), y);
    }
    for (int s = 0; s <= kSpanSeconds; ++s) {
        const int x = area.left() + s * area.width() / kSpanSeconds;
        p.drawLine(x, area.top(), x, area.bottom());
    }
    p.setPen(Qt::black);
    p.drawRect(area);
    const QFontMetrics metrics(font());
    for (int v = 0; v <= kTopVolts; ++v) {
        const int y = area.bottom() - v * area.height() / kTopVolts;
        p.drawText(QRect(0, y - 10, kLeft - 6, 20), Qt::AlignRight | Qt::AlignVCenter,
                   QString("%1 V").arg(v));
    }
    for (int s = 0; s <= kSpanSeconds; s += 2) {
        const int x = area.left() + s * area.width() / kSpanSeconds;
        const QString label = s == kSpanSeconds ? QString("nu") : QString("-%1 s").arg(10 - s);
        p.drawText(QRect(x - 30, area.bottom() + 4, 60, kBottom - 4), Qt::AlignHCenter, label);
    }
}

std::optional<std::int64_t> MeetgrafiekPlot::CursorTick() const {
    if (!cursorPlace_) {
        return std::nullopt;
    }
    return ring_.Ticks() - std::int64_t(ring_.Capacity()) + *cursorPlace_;
}

void MeetgrafiekPlot::SetCursorPlace(std::optional<std::int64_t> place) {
    if (place) {
        place = std::clamp<std::int64_t>(*place, 0, std::int64_t(ring_.Capacity()) - 1);
    }
    cursorPlace_ = place;
    update();
}

void MeetgrafiekPlot::PlaceCursorAt(int x) {
    const QRect area = PlotArea();
    const double place = (x - area.left()) * double(ring_.Capacity()) / area.width();
    SetCursorPlace(std::int64_t(place + 0.5));
}

void MeetgrafiekPlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        SetCursorPlace(std::nullopt);
        return;
    }
    PlaceCursorAt(event->position().toPoint().x());
}

void MeetgrafiekPlot::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) != 0) {
        PlaceCursorAt(event->position().toPoint().x());
    }
}

void MeetgrafiekPlot::paintEvent(QPaintEvent*) {
    const double ratio = devicePixelRatioF();
    if (background_.isNull() || background_.size() != size() * ratio) {
        DrawBackground();
        frame_ = QImage(background_.size(), QImage::Format_RGB32);
        frame_.setDevicePixelRatio(ratio);
    }
    std::memcpy(frame_.bits(), background_.constBits(), std::size_t(background_.sizeInBytes()));
    const QRect area = PlotArea();
    // In device pixels: the area, and a little above it for the traces drawn a pixel higher.
    const QRect clip =
        QRect(QPoint(int(area.left() * ratio), int((area.top() - 8) * ratio)),
              QPoint(int((area.right() + 1) * ratio) - 1, int((area.bottom() + 1) * ratio) - 1)) &
        frame_.rect();
    const Pixels pixels{reinterpret_cast<QRgb*>(frame_.bits()), frame_.bytesPerLine() / 4, clip};

    // Tick t stands at place t − (Ticks − Capacity): the newest at the right edge. A trace is
    // drawn in steps, a level for each run of equal values and an edge at each change, and
    // breaks where the socket has no value.
    const std::int64_t offset = ring_.Ticks() - std::int64_t(ring_.Capacity());
    const std::int64_t first = ring_.FirstTick();
    const std::int64_t end = ring_.Ticks();
    for (std::size_t c = 0; c < ring_.Channels(); ++c) {
        const QRgb colour = TraceColour(c).rgb();
        SocketReading previous;
        int runX = 0;
        int runY = 0;
        for (std::int64_t t = first; t <= end; ++t) {
            const SocketReading value = t < end ? ring_.Value(c, t) : std::nullopt;
            if (value == previous && t < end) {
                continue;
            }
            const int x = int(std::lround(X(double(t - offset)) * ratio));
            if (previous) {
                pixels.Row(runX, x, runY, colour);
            }
            if (value) {
                const int y = int(std::lround(Y(*value, c) * ratio));
                if (previous) {
                    pixels.Column(x, runY, y, colour);
                }
                runX = x;
                runY = y;
            }
            previous = value;
        }
    }
    DrawCursor();
    QPainter(this).drawImage(0, 0, frame_);
}

void MeetgrafiekPlot::DrawCursor() {
    const std::optional<std::int64_t> tick = CursorTick();
    if (!tick) {
        return;
    }
    QPainter p(&frame_);
    const QRect area = PlotArea();
    const double x = X(double(*cursorPlace_) + 0.5);
    p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    // What the cursor reads: the moment and every trace's value, in a box beside it.
    const double seconds = double(ring_.Capacity() - 1 - *cursorPlace_) / 100.0;
    QStringList lines = {QString("%1 s geleden").arg(seconds, 0, 'f', 2).replace('.', ',')};
    for (std::size_t c = 0; c < ring_.Channels(); ++c) {
        const SocketReading value = ring_.Value(c, *tick);
        lines << Dutch(ring_.Name(c)) + ": " +
                     (value ? Dutch(VoltText(*value)) : QString("geen waarde"));
    }
    const QFontMetrics metrics(font());
    int boxWidth = 0;
    for (const QString& text : lines) {
        boxWidth = std::max(boxWidth, metrics.horizontalAdvance(text));
    }
    boxWidth += 12;
    const int boxHeight = int(lines.size()) * metrics.height() + 8;
    QRect box(int(x) + 8, area.top() + 6, boxWidth, boxHeight);
    if (box.right() > area.right()) {
        box.moveRight(int(x) - 8);
    }
    p.setPen(Qt::darkGray);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRect(box);
    for (int i = 0; i < lines.size(); ++i) {
        p.setPen(i == 0 ? QColor(Qt::black) : TraceColour(std::size_t(i - 1)));
        p.drawText(box.left() + 6, box.top() + 4 + metrics.ascent() + i * metrics.height(),
                   lines[i]);
    }
}
