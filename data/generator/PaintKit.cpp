#include "data/generator/PaintKit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

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

QColor PaintKit::WireColour(int colourNr) {
    // Hot to cold: red at full voltage through orange, yellow, green and teal to blue, dark
    // slate for none; the highlight is a light cyan that no voltage uses.
    static const QRgb colours[] = {0xFFE0221E, 0xFFF57819, 0xFFF4D428, 0xFFA0CD32, 0xFF2DAA50,
                                   0xFF14A0AA, 0xFF3264D7, 0xFF4E5666, 0xFFB8F4FF};
    colourNr = std::clamp(colourNr, 1, 9);
    return QColor(colours[colourNr - 1]);
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
