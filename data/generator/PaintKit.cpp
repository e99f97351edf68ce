#include "data/generator/PaintKit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>

QFont PaintKit::Font(double pixelSize, bool bold, bool condensed) {
    QFont font(condensed ? QStringLiteral("DejaVu Sans Condensed") : QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QColor PaintKit::Mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

void PaintKit::CentredText(QPainter& p, const QPointF& centre, const QString& text) {
    const QFontMetricsF metrics(p.font());
    const double width = metrics.horizontalAdvance(text);
    const double capHeight = metrics.capHeight();
    p.drawText(QPointF(centre.x() - width / 2, centre.y() + capHeight / 2), text);
}

void PaintKit::LeftText(QPainter& p, double x, double y, const QString& text) {
    const QFontMetricsF metrics(p.font());
    p.drawText(QPointF(x, y + metrics.capHeight() / 2), text);
}

QColor PaintKit::WireColour(int colourNr, WirePalette palette) {
    return QColor(QRgb(0xFF000000U | ::WireColour(palette, colourNr)));
}

void PaintKit::KnobCap(QPainter& p, const QPointF& c, double turn) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF2C3440));
    p.drawEllipse(c, 9.0, 9.0);
    QRadialGradient cap(c + QPointF(-2.5, -3), 9);
    cap.setColorAt(0.0, QColor(0xFFE2E6EB));
    cap.setColorAt(1.0, QColor(0xFF8C96A3));
    p.setBrush(cap);
    p.drawEllipse(c, 7.2, 7.2);
    // Screen angles, y downward: 135 degrees is down-left, the sweep runs clockwise over the
    // top (270) to down-right (405).
    const double a = (135.0 + 270.0 * std::clamp(turn, 0.0, 1.0)) * std::numbers::pi / 180.0;
    p.setPen(QPen(QColor(0xFF1F2630), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(std::cos(a) * 1.5, std::sin(a) * 1.5),
               c + QPointF(std::cos(a) * 6.2, std::sin(a) * 6.2));
    p.restore();
}

void PaintKit::Socket(QPainter& p, const QPointF& centre, const QColor& colour, double radius) {
    p.save();
    p.setPen(Qt::NoPen);
    const bool dark = colour.lightnessF() < 0.3;
    p.setBrush(dark ? QColor(0xFF8A929C) : colour.darker(230));
    p.drawEllipse(centre, radius, radius);
    QRadialGradient collar(centre + QPointF(-radius * 0.35, -radius * 0.35), radius * 1.3);
    collar.setColorAt(0.0, dark ? QColor(0xFF6A7078) : colour.lighter(135));
    collar.setColorAt(1.0, dark ? QColor(0xFF1C1E21) : colour.darker(115));
    p.setBrush(collar);
    p.drawEllipse(centre, radius - 1.0, radius - 1.0);
    p.setBrush(QColor(0xFFB7BDC4));
    p.drawEllipse(centre, radius * 0.48, radius * 0.48);
    p.setBrush(QColor(0xFF17191C));
    p.drawEllipse(centre, radius * 0.36, radius * 0.36);
    p.restore();
}
