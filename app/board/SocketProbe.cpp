#include "app/board/SocketProbe.h"

#include "app/board/FORM1.h"
#include "app/simulation/VoltText.h"
#include "app/simulation/clsSnaps.h"
#include "platform/ui/ClockSource.h"
#include "sprite_control/KaleidoATL.h"

#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace {

/// The label's corner lies this far beside the point it is about, in board pixels, clear of
/// a socket's collar.
constexpr double kOffset = 9.0;

std::string ValueText(std::optional<std::int32_t> value) {
    return value ? VoltText(*value) : std::string("geen waarde");
}

} // namespace

SocketProbe::SocketProbe(FORM1& form) : form_(form) {
    KaleidoATL* canvas = form.Kaleido1();
    label_ = new QLabel(canvas);
    label_->setObjectName("labProbe");
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    label_->setTextFormat(Qt::PlainText);
    // A tooltip's look, drawn by the label itself: a pale yellow box with a thin frame. Its
    // opaque background covers it whole, so a new text repaints the label alone, not the
    // board under it.
    QPalette colours = label_->palette();
    colours.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE1));
    colours.setColor(QPalette::WindowText, QColor(0x30, 0x30, 0x30));
    label_->setPalette(colours);
    label_->setAutoFillBackground(true);
    label_->setFrameStyle(QFrame::Box | QFrame::Plain);
    label_->setLineWidth(1);
    label_->setContentsMargins(5, 2, 5, 2);
    label_->hide();
    canvas->installEventFilter(this);
}

SocketProbe::~SocketProbe() {
    delete label_.data();
}

std::string SocketProbe::SocketText(std::string_view naam, std::optional<std::int32_t> value) {
    return std::string(naam) + ": " + ValueText(value);
}

std::string SocketProbe::WireText(std::string_view naam1, std::string_view naam2,
                                  std::optional<std::int32_t> value) {
    return "Draad " + std::string(naam1) + " \u2013 " + std::string(naam2) + ": " +
           ValueText(value);
}

double SocketProbe::SegmentDistance(double x, double y, double x1, double y1, double x2,
                                    double y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0.0;
    if (lengthSquared > 0.0) {
        t = std::clamp(((x - x1) * dx + (y - y1) * dy) / lengthSquared, 0.0, 1.0);
    }
    return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy));
}

std::optional<std::int32_t> SocketProbe::SocketValue(std::string_view naam) const {
    return form_.HasBoard() ? form_.Model().Value(naam) : std::nullopt;
}

void SocketProbe::PointerAt(std::int32_t x, std::int32_t y) {
    clsSnaps& snaps = form_.Snaps();
    std::string socket = snaps.GetSnapName(x, y);
    if (snaps.GetConnectablebyName(socket) == 0) {
        socket.clear();
    }
    std::shared_ptr<clsLine> wire;
    if (socket.empty()) {
        // The nearest finished wire within reach; the middle of the pixel counts.
        double best = kWireReach;
        for (const auto& line : form_.Lines()) {
            const double d =
                SegmentDistance(x + 0.5, y + 0.5, line->X1(), line->Y1(), line->X2(), line->Y2());
            if (d <= best) {
                best = d;
                wire = line;
            }
        }
    }
    if (socket.empty() && !wire) {
        Clear();
        return;
    }
    const bool same = hasTarget_ && (socket.empty() ? wire == wire_.lock() : socket == socket_);
    if (!socket.empty()) {
        anchor_ = QPointF(snaps.GetXbyName(socket), snaps.GetYbyName(socket));
    } else {
        anchor_ = QPointF(x, y);
    }
    if (same) {
        return;
    }
    HideLabel();
    socket_ = std::move(socket);
    wire_ = wire;
    hasTarget_ = true;
    restStart_ = ClockSource::Current().SecondsSinceMidnight();
}

void SocketProbe::Clear() {
    hasTarget_ = false;
    socket_.clear();
    wire_.reset();
    HideLabel();
}

std::string SocketProbe::TargetText() const {
    if (!socket_.empty()) {
        return SocketText(socket_, SocketValue(socket_));
    }
    const std::shared_ptr<clsLine> wire = wire_.lock();
    const WireList& lines = form_.Lines();
    if (!wire || std::find(lines.begin(), lines.end(), wire) == lines.end()) {
        return {};
    }
    std::optional<std::int32_t> value = SocketValue(wire->naam1);
    if (!value) {
        value = SocketValue(wire->naam2);
    }
    return WireText(wire->naam1, wire->naam2, value);
}

void SocketProbe::Refresh() {
    if (!hasTarget_ || !label_) {
        return;
    }
    if (!shown_) {
        const float waited = ClockSource::Current().SecondsSinceMidnight() - restStart_;
        // A clock that went back (midnight) counts as rested.
        if (waited >= 0.0F && waited < kRestSeconds) {
            return;
        }
    }
    std::string text = TargetText();
    if (text.empty()) {
        Clear();
        return;
    }
    if (text != text_ || !shown_) {
        text_ = std::move(text);
        label_->setText(QString::fromStdString(text_));
        if (label_->size() != label_->sizeHint()) {
            label_->adjustSize();
        }
    }
    Place();
    if (!shown_) {
        shown_ = true;
        label_->show();
        label_->raise();
    }
}

void SocketProbe::Place() {
    const KaleidoATL* canvas = form_.Kaleido1();
    const QPointF corner =
        canvas->WidgetPointFromBoard(anchor_ + QPointF(kOffset + 0.5, -kOffset + 0.5));
    const QPointF near =
        canvas->WidgetPointFromBoard(anchor_ + QPointF(-kOffset + 0.5, kOffset + 0.5));
    const QSize size = label_->size();
    // Above and to the right of the point, else to its left or below it, inside the canvas.
    int x = static_cast<int>(std::lround(corner.x()));
    int y = static_cast<int>(std::lround(corner.y())) - size.height();
    if (x + size.width() > canvas->width()) {
        x = static_cast<int>(std::lround(near.x())) - size.width();
    }
    if (y < 0) {
        y = static_cast<int>(std::lround(near.y()));
    }
    x = std::clamp(x, 0, std::max(0, canvas->width() - size.width()));
    y = std::clamp(y, 0, std::max(0, canvas->height() - size.height()));
    if (label_->pos() != QPoint(x, y)) {
        label_->move(x, y);
    }
}

void SocketProbe::HideLabel() {
    if (shown_ && label_) {
        label_->hide();
    }
    shown_ = false;
}

bool SocketProbe::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Leave && watched == form_.Kaleido1()) {
        Clear();
    }
    return QObject::eventFilter(watched, event);
}
