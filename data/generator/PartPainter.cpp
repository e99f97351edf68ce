#include "data/generator/PartPainter.h"

#include "app/simulation/KnobText.h"
#include "data/generator/PaintKit.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

constexpr QPointF kLampCentre(16.5, 16.5);
constexpr QRgb kDialFace = 0xFF243040;

QImage Transparent(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void Antialiased(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

// One segment of a seven-segment digit: a long hexagon from a to b, `t` thick.
QPolygonF Segment(QPointF a, QPointF b, double t) {
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    const double h = t / 2;
    QPolygonF poly;
    poly << a << a + u * h + n * h << b - u * h + n * h << b << b - u * h - n * h
         << a + u * h - n * h;
    return poly;
}

// The light-dependent resistor of a sensor, with a badge that shows the mode.
void PaintSensor(QPainter& p, const QPointF& c, int mode) {
    QRadialGradient bezel(c + QPointF(-7, -7), 26);
    bezel.setColorAt(0.0, QColor(0xFF6B7685));
    bezel.setColorAt(1.0, QColor(0xFF1F252D));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawEllipse(c, 20.5, 20.5);

    const bool dark = mode == 0;
    QRadialGradient face(c + QPointF(-5, -6), 22);
    face.setColorAt(0.0, dark ? QColor(0xFF8D877C) : QColor(0xFFFFF6DD));
    face.setColorAt(1.0, dark ? QColor(0xFF5E5A53) : QColor(0xFFE2C98E));
    p.setBrush(face);
    p.drawEllipse(c, 16.5, 16.5);

    QPainterPath clip;
    clip.addEllipse(c, 14.5, 14.5);
    p.save();
    p.setClipPath(clip);
    p.setPen(QPen(dark ? QColor(0xFF4A3428) : QColor(0xFFB4532A), 1.7, Qt::SolidLine, Qt::FlatCap,
                  Qt::MiterJoin));
    QPolygonF track;
    bool right = true;
    for (double y = c.y() - 12; y <= c.y() + 12.1; y += 4) {
        track << QPointF(right ? c.x() - 15 : c.x() + 15, y)
              << QPointF(right ? c.x() + 11 : c.x() - 11, y);
        right = !right;
    }
    p.drawPolyline(track);
    p.setPen(Qt::NoPen);
    p.setBrush(dark ? QColor(0xFF6E7378) : QColor(0xFFC9CED4));
    p.drawRect(QRectF(c.x() - 16, c.y() - 16, 4.5, 32));
    p.drawRect(QRectF(c.x() + 11.5, c.y() - 16, 4.5, 32));
    p.restore();

    if (dark) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 24, 30, 90));
        p.drawEllipse(c, 16.5, 16.5);
    }

    // Badge at the lower right: off, pointer light, swinging light.
    const QPointF b = c + QPointF(14, 14);
    const QColor badge =
        mode == 0 ? QColor(0xFF6B7480) : (mode == 1 ? QColor(0xFFF0A01A) : QColor(0xFF2F6BD6));
    p.setPen(QPen(QColor(PaintKit::kPanel), 1.5));
    p.setBrush(badge);
    p.drawEllipse(b, 7.5, 7.5);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (mode == 0) {
        p.drawLine(b + QPointF(-3, -3), b + QPointF(3, 3));
        p.drawLine(b + QPointF(-3, 3), b + QPointF(3, -3));
    } else if (mode == 1) {
        QPolygonF arrow;
        arrow << b + QPointF(-3, -4.5) << b + QPointF(-3, 3.5) << b + QPointF(-1, 1.5)
              << b + QPointF(0.8, 5) << b + QPointF(2.2, 4.3) << b + QPointF(0.5, 0.8)
              << b + QPointF(3.2, 0.8);
        p.setPen(QPen(QColor(0xFF3A2A05), 0.8));
        p.setBrush(Qt::white);
        p.drawPolygon(arrow);
    } else {
        QPainterPath wave;
        wave.moveTo(b + QPointF(-4.5, 0));
        for (double x = -4.5; x <= 4.51; x += 0.5) {
            wave.lineTo(b + QPointF(x, -2.6 * std::sin(x * std::numbers::pi / 4.5)));
        }
        p.drawPath(wave);
    }
    // Light falling on the lit modes.
    if (mode != 0) {
        p.setPen(QPen(mode == 1 ? QColor(0xFFF0A01A) : QColor(0xFF2F6BD6), 1.4, Qt::SolidLine,
                      Qt::RoundCap));
        for (double a : {-165.0, -137.5, -110.0}) {
            const double r = a * std::numbers::pi / 180;
            const QPointF u(std::cos(r), std::sin(r));
            p.drawLine(c + u * 21.8, c + u * 24.2);
        }
    }
}

} // namespace

QImage PartPainter::Picture(const QImage& drawing, QRgb background) {
    const QImage argb = drawing.convertToFormat(QImage::Format_ARGB32);
    QImage picture(argb.width(), argb.height(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb c = argb.pixel(x, y);
            const int a = qAlpha(c);
            if (a < 128) {
                continue;
            }
            auto over = [a](int fg, int bg) { return (fg * a + bg * (255 - a) + 127) / 255; };
            // Black marks "outside"; a part's darkest pixel is one step above it.
            const int r = std::max(1, over(qRed(c), qRed(background)));
            picture.setPixel(
                x, y,
                qRgb(r, over(qGreen(c), qGreen(background)), over(qBlue(c), qBlue(background))));
        }
    }
    return picture;
}

QImage PartPainter::Mask(const QImage& drawing) {
    const QImage argb = drawing.convertToFormat(QImage::Format_ARGB32);
    QImage mask(argb.width(), argb.height(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            mask.setPixel(x, y,
                          qAlpha(argb.pixel(x, y)) < 128 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
    }
    return mask;
}

QImage PartPainter::LampDrawing(int factor) {
    QImage image = Transparent(kLampSize * factor, kLampSize * factor);
    QPainter p(&image);
    p.scale(factor, factor);
    Antialiased(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF7E120C));
    p.drawEllipse(kLampCentre, kLampRadius, kLampRadius);
    QRadialGradient glow(kLampCentre + QPointF(-2.5, -3), kLampRadius);
    glow.setColorAt(0.0, QColor(0xFFFFF2E6));
    glow.setColorAt(0.22, QColor(0xFFFF8A66));
    glow.setColorAt(0.6, QColor(0xFFFF2E1A));
    glow.setColorAt(1.0, QColor(0xFFC8180E));
    p.setBrush(glow);
    p.drawEllipse(kLampCentre, kLampRadius - 1.3, kLampRadius - 1.3);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QPointF(12.5, 11.5), 2.6, 1.7);
    return image;
}

QImage PartPainter::Lamp(int factor) {
    return Picture(LampDrawing(factor), PaintKit::kPanel);
}

QImage PartPainter::LampMask(int factor) {
    return Mask(LampDrawing(factor));
}

QImage PartPainter::CursorDrawing(int factor) {
    QImage image = Transparent(kCursorSize * factor, kCursorSize * factor);
    QPainter p(&image);
    p.scale(factor, factor);
    Antialiased(p);
    const double mid = (kCursorInner + kCursorOuter) / 2;
    QRadialGradient ring(kLampCentre, kCursorOuter);
    ring.setColorAt(kCursorInner / kCursorOuter, QColor(0xFFFFFFFF));
    ring.setColorAt(mid / kCursorOuter, QColor(0xFF2BD6FF));
    ring.setColorAt(1.0, QColor(0xFF0A7FB8));
    QPainterPath path;
    path.addEllipse(kLampCentre, kCursorOuter, kCursorOuter);
    path.addEllipse(kLampCentre, kCursorInner, kCursorInner);
    p.setPen(Qt::NoPen);
    p.setBrush(ring);
    p.drawPath(path);
    return image;
}

QImage PartPainter::Cursor(int factor) {
    return Picture(CursorDrawing(factor), PaintKit::kPanel);
}

QImage PartPainter::CursorMask(int factor) {
    return Mask(CursorDrawing(factor));
}

QImage PartPainter::Digit(int digit, int factor) {
    // Segments a to g, as in the usual naming: top, upper right, lower right, bottom, lower
    // left, upper left, middle.
    static const std::array<const char*, 10> lit = {
        "abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
    if (digit < 0 || digit > 9) {
        throw std::invalid_argument("a display digit is 0 to 9");
    }
    QImage image(kDigitWidth * factor, kDigitHeight * factor, QImage::Format_RGB32);
    image.fill(QColor(0xFF121417));
    QPainter p(&image);
    p.scale(factor, factor);
    Antialiased(p);
    const double l = 6, r = 16.5, t = 4.5, m = 16, b = 27.5, g = 0.9, w = 2.8;
    const std::array<std::pair<QPointF, QPointF>, 7> ends = {{
        {{l + g, t}, {r - g, t}},
        {{r, t + g}, {r, m - g}},
        {{r, m + g}, {r, b - g}},
        {{l + g, b}, {r - g, b}},
        {{l, m + g}, {l, b - g}},
        {{l, t + g}, {l, m - g}},
        {{l + g, m}, {r - g, m}},
    }};
    QTransform slant;
    slant.translate(m * 0.08, 0);
    slant.shear(-0.08, 0);
    p.setTransform(slant, true); // after the scale to the factor
    const QString on = QString::fromLatin1(lit[static_cast<std::size_t>(digit)]);
    for (int pass = 0; pass < 2; ++pass) {
        for (int s = 0; s < 7; ++s) {
            const bool isOn = on.contains(QChar('a' + s));
            const QPolygonF poly = Segment(ends[s].first, ends[s].second, w);
            if (pass == 0 && isOn) {
                p.setPen(
                    QPen(QColor(255, 60, 40, 70), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.setBrush(Qt::NoBrush);
                p.drawPolygon(poly);
            } else if (pass == 1) {
                p.setPen(Qt::NoPen);
                p.setBrush(isOn ? QColor(0xFFFF4330) : QColor(0xFF34120F));
                p.drawPolygon(poly);
            }
        }
    }
    return image;
}

QImage PartPainter::Sensors(int factor) {
    QImage image(3 * kSensorFrame * factor, kSensorFrame * factor, QImage::Format_RGB32);
    image.fill(QColor(PaintKit::kPanel));
    QPainter p(&image);
    p.scale(factor, factor);
    Antialiased(p);
    for (int mode = 0; mode < 3; ++mode) {
        PaintSensor(p, QPointF(kSensorFrame * mode + 24.5, 24.5), mode);
    }
    return image;
}

QImage PartPainter::Dial(int factor) {
    QImage image(kDialWidth * factor, kDialHeight * factor, QImage::Format_RGB32);
    image.fill(QColor(kDialFace));
    QPainter p(&image);
    p.scale(factor, factor);
    Antialiased(p);
    p.setPen(QPen(QColor(0xFF5A6B80), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, kDialWidth - 1, kDialHeight - 1));
    // Close box.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFFC8392C));
    p.drawRoundedRect(QRectF(198, 1, 14, 14), 2.5, 2.5);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(201.5, 4.5), QPointF(208.5, 11.5));
    p.drawLine(QPointF(201.5, 11.5), QPointF(208.5, 4.5));
    p.setFont(PaintKit::Font(9, true, true));
    p.setPen(QColor(0xFFB9C6D6));
    PaintKit::LeftText(p, 6, 8.5, QStringLiteral("Regelaar  0 \u2013 5 V"));
    // The program draws the ticks on rows 23 to 33; a base line under them, volts below.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0xFF7F92A9));
    p.drawLine(5, 34, 207, 34);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(PaintKit::Font(8, true));
    p.setPen(QColor(0xFFDCE3EA));
    for (int v = 0; v <= 5; ++v) {
        PaintKit::CentredText(p, QPointF(6.5 + 40 * v, 41.5), QString::number(v));
    }
    return image;
}

QImage PartPainter::PointerDrawing(int factor) {
    QImage image = Transparent(kPointerWidth * factor, kPointerHeight * factor);
    QPainter p(&image);
    p.scale(factor, factor);
    Antialiased(p);
    QLinearGradient fill(QPointF(0, 12), QPointF(0, 20));
    fill.setColorAt(0.0, QColor(0xFFFFB37A));
    fill.setColorAt(1.0, QColor(0xFFFF5A1F));
    QPolygonF thumb;
    thumb << QPointF(1, 12) << QPointF(14, 12) << QPointF(7.5, 20.5);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPolygon(thumb);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(7, 19, 1, 10, QColor(0xFFFF7A35));
    return image;
}

QImage PartPainter::Pointer(int factor) {
    return Picture(PointerDrawing(factor), kDialFace);
}

QImage PartPainter::PointerMask(int factor) {
    return Mask(PointerDrawing(factor));
}

QImage PartPainter::KnobFacesDrawing(int factor) {
    QImage image = Transparent(kKnobFrame * kKnobSettings * factor, kKnobFrame * factor);
    QPainter p(&image);
    p.scale(factor, factor);
    Antialiased(p);
    for (int setting = 0; setting < kKnobSettings; ++setting) {
        PaintKit::KnobCap(p, QPointF(kKnobFrame * setting + 10.5, 10.5),
                          double(setting) / (kKnobSettings - 1));
    }
    return image;
}

QImage PartPainter::KnobFaces(int factor) {
    return Picture(KnobFacesDrawing(factor), PaintKit::kPanel);
}

QImage PartPainter::KnobFacesMask(int factor) {
    return Mask(KnobFacesDrawing(factor));
}

QImage PartPainter::KnobValues(int factor) {
    QImage image(kValueWidth * kValueColumns * factor, kValueHeight * 2 * kValueRows * factor,
                 QImage::Format_RGB32);
    image.fill(QColor(kDialFace));
    QPainter p(&image);
    p.scale(factor, factor);
    Antialiased(p);
    p.setFont(PaintKit::Font(10, true, true));
    p.setPen(QColor(0xFFFFC89A));
    const QFontMetricsF metrics(p.font());
    for (bool pulses : {false, true}) {
        for (int setting = 0; setting < kKnobSettings; ++setting) {
            const QString text = QString::fromStdString(KnobText(pulses, setting));
            const QPoint at = ValueFrame(pulses, setting);
            PaintKit::LeftText(p, at.x() + kValueWidth - 1 - metrics.horizontalAdvance(text),
                               at.y() + kValueHeight / 2.0, text);
        }
    }
    return image;
}
