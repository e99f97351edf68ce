#include "data/generator/WaveInputsPainter.h"

#include "app/sound/WaveInputsLayout.h"
#include "data/generator/PaintKit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

namespace L = WaveInputsLayout;

QRectF Outline(int x, int y, int width, int height) {
    return {x + 0.5, y + 0.5, width - 1.0, height - 1.0};
}

// The board's sound sensor in small: a yellow output socket with sound waves reaching it.
void SoundSymbol(QPainter& p, const QPointF& socket) {
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        const double r = 8.5 + 4.0 * i;
        p.setPen(QPen(PaintKit::Mix(QColor(PaintKit::kSymbol), QColor(PaintKit::kFace), 0.25 * i),
                      1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(socket.x() - r, socket.y() - r, 2 * r, 2 * r), 140 * 16, 80 * 16);
    }
    PaintKit::Socket(p, socket, QColor(PaintKit::kSourceSocket), 6.0);
    p.restore();
}

} // namespace

QImage WaveInputsPainter::Background() {
    QImage image(L::kWidth, L::kHeight, QImage::Format_RGB32);
    image.fill(QColor(PaintKit::kFace));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The frame of the whole window, as the board has.
    p.setPen(QPen(QColor(PaintKit::kPanelLine), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(Outline(0, 0, L::kWidth, L::kHeight));

    // One panel holding the six rows.
    const int panelTop = L::RowTop(0) - 10;
    const int panelBottom = L::Name(L::kRows - 1).y + L::Name(L::kRows - 1).height + 4;
    p.setPen(QPen(QColor(PaintKit::kPanelLine), 1.0));
    p.setBrush(QColor(PaintKit::kPanel));
    p.drawRoundedRect(Outline(8, panelTop, L::kWidth - 16, panelBottom - panelTop), 4.5, 4.5);
    // The sensor's row stands apart from the inputs.
    const int divider = (L::RowTop(0) + L::kBarHeight + L::RowTop(1)) / 2 + 1;
    p.setPen(QPen(QColor(PaintKit::kDivider), 1.0));
    p.drawLine(QPointF(14, divider + 0.5), QPointF(L::kWidth - 14, divider + 0.5));

    for (int row = 0; row < L::kRows; ++row) {
        const L::Box t = L::Track(row);
        // Sunken: dark inside, a darker top edge and a light bottom edge.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xFF3A4352));
        p.drawRect(QRect(t.x, t.y, t.width, t.height));
        p.setPen(QPen(QColor(0xFF232933), 1.0));
        p.drawLine(QPointF(t.x, t.y + 0.5), QPointF(t.x + t.width, t.y + 0.5));
        p.setPen(QPen(QColor(0xFFFFFFFF), 1.0));
        p.drawLine(QPointF(t.x, t.y + t.height + 0.5),
                   QPointF(t.x + t.width, t.y + t.height + 0.5));
        // Quarter marks inside the track, faint, so that an empty track still reads as a
        // scale.
        p.setPen(QPen(QColor(0xFF566072), 1.0));
        const L::Box b = L::Bar(row);
        for (int q = 1; q < 4; ++q) {
            const double x = b.x + b.width * q / 4.0 + 0.5;
            p.drawLine(QPointF(x, b.y + 3), QPointF(x, b.y + b.height - 3));
        }
    }

    SoundSymbol(p, QPointF(L::kWidth - 22, 17));

    p.setPen(QPen(QColor(PaintKit::kDivider), 1.0));
    p.drawLine(QPointF(8, L::kRuleY + 0.5), QPointF(L::kWidth - 8, L::kRuleY + 0.5));
    p.end();
    return image;
}

QImage WaveInputsPainter::Bar() {
    QImage image(L::kBarWidth, L::kBarHeight, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient ramp(0, 0, L::kBarWidth, 0);
    // Green at a low level through yellow and orange to red at full, the colours a wire takes
    // as its voltage rises.
    ramp.setColorAt(0.0, PaintKit::WireColour(5));
    ramp.setColorAt(0.45, PaintKit::WireColour(4));
    ramp.setColorAt(0.7, PaintKit::WireColour(3));
    ramp.setColorAt(0.85, PaintKit::WireColour(2));
    ramp.setColorAt(1.0, PaintKit::WireColour(1));
    p.fillRect(image.rect(), ramp);
    // A light top and a dark bottom line give the bar some body; thin gaps make segments.
    p.setPen(QColor(255, 255, 255, 90));
    p.drawLine(0, 0, L::kBarWidth - 1, 0);
    p.setPen(QColor(0, 0, 0, 70));
    p.drawLine(0, L::kBarHeight - 1, L::kBarWidth - 1, L::kBarHeight - 1);
    p.setPen(QColor(0, 0, 0, 45));
    for (int x = 7; x < L::kBarWidth; x += 8) {
        p.drawLine(x, 1, x, L::kBarHeight - 2);
    }
    p.end();
    return image;
}
