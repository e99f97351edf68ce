#include "data/generator/TitlePainter.h"

#include "data/generator/PaintKit.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace {

void Antialiased(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

// A wire along `path` whose colour runs through the voltage colours, from 5 V to none.
void RampWire(QPainter& p, const QPainterPath& path, double width) {
    constexpr int kSteps = 120;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < kSteps; ++i) {
            const double t0 = static_cast<double>(i) / kSteps;
            const double t1 = static_cast<double>(i + 1) / kSteps;
            const double level = t0 * 7.0;
            const int lower = static_cast<int>(level);
            const QColor c =
                PaintKit::Mix(PaintKit::WireColour(1 + lower),
                              PaintKit::WireColour(std::min(8, 2 + lower)), level - lower);
            p.setPen(QPen(pass == 0 ? c.darker(220) : c, pass == 0 ? width + 2 : width,
                          Qt::SolidLine, Qt::RoundCap));
            p.drawLine(path.pointAtPercent(t0), path.pointAtPercent(t1));
        }
    }
}

void Lamp(QPainter& p, const QPointF& c, double r) {
    QRadialGradient halo(c, r * 3);
    halo.setColorAt(0.0, QColor(255, 80, 50, 120));
    halo.setColorAt(1.0, QColor(255, 80, 50, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, r * 3, r * 3);
    QRadialGradient lens(c + QPointF(-r / 4, -r / 3), r);
    lens.setColorAt(0.0, QColor(0xFFFFF2E6));
    lens.setColorAt(0.3, QColor(0xFFFF7A55));
    lens.setColorAt(1.0, QColor(0xFFC8180E));
    p.setBrush(lens);
    p.drawEllipse(c, r, r);
}

void Text(QPainter& p, double x, double baseline, double size, bool bold, QRgb colour,
          const QString& text) {
    p.setFont(PaintKit::Font(size, bold));
    p.setPen(QColor(colour));
    p.drawText(QPointF(x, baseline), text);
}

} // namespace

QImage TitlePainter::Splash() {
    QImage image(kSplashWidth, kSplashHeight, QImage::Format_RGB32);
    QPainter p(&image);
    Antialiased(p);
    QLinearGradient sky(0, 0, 0, kSplashHeight);
    sky.setColorAt(0.0, QColor(0xFF1B2431));
    sky.setColorAt(1.0, QColor(0xFF2D3B4F));
    p.fillRect(image.rect(), sky);

    QPainterPath wire;
    wire.moveTo(46, 196);
    wire.cubicTo(130, 250, 220, 120, 350, 172);
    RampWire(p, wire, 5);
    PaintKit::Socket(p, QPointF(46, 196), QColor(PaintKit::kSourceSocket), 11);
    PaintKit::Socket(p, QPointF(350, 172), QColor(PaintKit::kInputSocket), 11);
    Lamp(p, QPointF(352, 62), 13);

    Text(p, 40, 88, 44, true, 0xFFF4F6F8, QStringLiteral("Tavelon"));
    Text(p, 44, 116, 17, false, 0xFFB4C3D6, QStringLiteral("Simulator versie 2.0"));
    Text(p, 44, 140, 12, false, 0xFF8596AD,
         QStringLiteral("sensoren \u00b7 logica \u00b7 besturing"));
    Text(p, 44, 236, 11, false, 0xFF8596AD, QStringLiteral("Bezig met opstarten\u2026"));
    p.setPen(QPen(QColor(0xFF445469), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, kSplashWidth - 1, kSplashHeight - 1));
    return image;
}

QImage TitlePainter::About() {
    QImage image(kAboutWidth, kAboutHeight, QImage::Format_RGB32);
    image.fill(QColor(PaintKit::kPanel));
    QPainter p(&image);
    Antialiased(p);
    QLinearGradient band(0, 0, 0, 74);
    band.setColorAt(0.0, QColor(0xFF1B2431));
    band.setColorAt(1.0, QColor(0xFF2D3B4F));
    p.fillRect(QRect(0, 0, kAboutWidth, 74), band);
    Lamp(p, QPointF(360, 37), 11);
    Text(p, 24, 42, 26, true, 0xFFF4F6F8, QStringLiteral("Tavelon Simulator"));
    Text(p, 26, 62, 12, false, 0xFFB4C3D6, QStringLiteral("versie 2.0 demonstratie"));

    Text(p, 24, 100, 12, false, PaintKit::kTitle,
         QStringLiteral("Een simulatie van het Tavelon-trainingsbord"));
    Text(p, 24, 117, 12, false, PaintKit::kTitle,
         QStringLiteral("voor sensoren, logica en besturing."));
    Text(p, 24, 146, 11, true, PaintKit::kLabel, QStringLiteral("Kleur van een draad:"));

    constexpr double kChip = 38;
    for (int c = 1; c <= 8; ++c) {
        const QRectF chip(24 + (c - 1) * (kChip + 6), 156, kChip, 14);
        p.setPen(QPen(PaintKit::WireColour(c).darker(200), 1));
        p.setBrush(PaintKit::WireColour(c));
        p.drawRoundedRect(chip.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
    Text(p, 24, 186, 10, false, PaintKit::kLabel, QStringLiteral("5 V"));
    p.setFont(PaintKit::Font(10, false));
    const QString none = QStringLiteral("0 V");
    p.drawText(
        QPointF(24 + 8 * (kChip + 6) - 6 - QFontMetricsF(p.font()).horizontalAdvance(none), 186),
        none);
    Text(p, 24, 226, 10, false, PaintKit::kLabel,
         QStringLiteral("Borden worden bewaard als .tvb-bestand."));
    p.setPen(QPen(QColor(0xFF8E99A6), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, kAboutWidth - 1, kAboutHeight - 1));
    return image;
}

std::vector<QImage> TitlePainter::DocumentIcon() {
    std::vector<QImage> icons;
    for (int size : {16, 32, 48}) {
        QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        QPainter p(&icon);
        Antialiased(p);
        p.scale(size / 48.0, size / 48.0);
        // A page with a folded corner.
        QPainterPath page;
        page.moveTo(8.5, 2.5);
        page.lineTo(31.5, 2.5);
        page.lineTo(41.5, 12.5);
        page.lineTo(41.5, 45.5);
        page.lineTo(8.5, 45.5);
        page.closeSubpath();
        p.setPen(QPen(QColor(0xFF5B6675), size < 32 ? 2.4 : 1.4));
        p.setBrush(QColor(0xFFFDFDFC));
        p.drawPath(page);
        QPainterPath fold;
        fold.moveTo(31.5, 2.5);
        fold.lineTo(31.5, 12.5);
        fold.lineTo(41.5, 12.5);
        p.setBrush(QColor(0xFFD3D9DF));
        p.drawPath(fold);
        // A wire from a source to a lit lamp.
        p.setPen(QPen(PaintKit::WireColour(1).darker(200), 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 34), QPointF(32, 22));
        p.setPen(QPen(PaintKit::WireColour(1), 3.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 34), QPointF(32, 22));
        PaintKit::Socket(p, QPointF(16, 34), QColor(PaintKit::kSourceSocket), 6.5);
        p.setPen(Qt::NoPen);
        QRadialGradient lens(QPointF(31, 20), 7);
        lens.setColorAt(0.0, QColor(0xFFFFE0D2));
        lens.setColorAt(1.0, QColor(0xFFD0190F));
        p.setBrush(lens);
        p.drawEllipse(QPointF(32, 22), 6.5, 6.5);
        p.end();
        icons.push_back(icon.convertToFormat(QImage::Format_ARGB32));
    }
    return icons;
}

QImage TitlePainter::AppIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    Antialiased(p);
    p.scale(size / 64.0, size / 64.0);
    // Small icons get heavier lines, so that they do not fade away.
    const double line = size < 32 ? 3.0 : size < 64 ? 2.0 : 1.5;
    const QRectF board(3, 3, 58, 58);
    QLinearGradient face(0, 3, 0, 61);
    face.setColorAt(0.0, QColor(0xFF2D3B4F));
    face.setColorAt(1.0, QColor(0xFF1B2431));
    p.setPen(QPen(QColor(0xFF111820), line));
    p.setBrush(face);
    p.drawRoundedRect(board, 10, 10);

    QPainterPath wire;
    wire.moveTo(17, 46);
    wire.cubicTo(26, 58, 36, 30, 45, 20);
    p.setBrush(Qt::NoBrush);
    RampWire(p, wire, size < 32 ? 6 : 4.5);
    PaintKit::Socket(p, QPointF(17, 46), QColor(PaintKit::kSourceSocket), 8);
    Lamp(p, QPointF(45, 20), 8.5);
    p.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}
