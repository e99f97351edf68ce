#include "data/generator/BoardPainter.h"

#include "data/generator/PaintKit.h"
#include "data/generator/PartPainter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <stdexcept>

const QPoint BoardPainter::kLedPlaces[4] = {{373, 27}, {373, 61}, {373, 95}, {373, 130}};
const QPoint BoardPainter::kDisplayPlace = {266, 282};
const QPoint BoardPainter::kSensorPlaces[2] = {{20, 25}, {20, 78}};

namespace {

QPointF Centre(int x, int y) {
    return PaintKit::Centre(x, y);
}

// Panels, as inclusive pixel rectangles.
struct Box {
    int x0, y0, x1, y1;
};
constexpr Box kSourcesTop = {5, 5, 110, 163};
constexpr Box kButtons = {5, 166, 110, 230};
constexpr Box kVariable = {5, 233, 110, 272};
constexpr Box kPulse = {5, 275, 110, 318};
constexpr Box kConverter = {5, 321, 208, 355};
constexpr Box kRowA = {114, 5, 301, 86};
constexpr Box kRowB = {114, 89, 301, 163};
constexpr Box kRowC = {114, 166, 301, 230};
constexpr Box kCounter = {114, 233, 301, 318};
constexpr Box kLeds = {305, 5, 414, 163};
constexpr Box kBuzzer = {305, 166, 414, 230};
constexpr Box kRelay = {305, 233, 414, 318};
constexpr Box kNamePlate = {212, 321, 414, 355};
constexpr int kMiddleDivider = 210;

QRectF Outline(const Box& b) {
    return QRectF(b.x0 + 0.5, b.y0 + 0.5, b.x1 - b.x0, b.y1 - b.y0);
}

void Panel(QPainter& p, const Box& b) {
    p.setPen(QPen(QColor(PaintKit::kPanelLine), 1.0));
    p.setBrush(QColor(PaintKit::kPanel));
    p.drawRoundedRect(Outline(b), 4.5, 4.5);
}

void Divider(QPainter& p, int x0, int y0, int x1, int y1) {
    p.setPen(QPen(QColor(PaintKit::kDivider), 1.0));
    p.drawLine(Centre(x0, y0), Centre(x1, y1));
}

// A thin printed connection through the centres of the given pixels.
void Trace(QPainter& p, std::initializer_list<QPoint> points) {
    p.setPen(QPen(QColor(PaintKit::kTrace), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    QPolygonF line;
    for (const QPoint& pt : points) {
        line << Centre(pt.x(), pt.y());
    }
    p.drawPolyline(line);
}

void Title(QPainter& p, double cx, double cy, const QString& text) {
    p.setFont(PaintKit::Font(9, true, true));
    p.setPen(QColor(PaintKit::kTitle));
    PaintKit::CentredText(p, QPointF(cx, cy), text);
}

void Label(QPainter& p, double cx, double cy, const QString& text) {
    p.setFont(PaintKit::Font(8, false, true));
    p.setPen(QColor(PaintKit::kLabel));
    PaintKit::CentredText(p, QPointF(cx, cy), text);
}

void LeftLabel(QPainter& p, double x, double cy, const QString& text) {
    p.setFont(PaintKit::Font(8, false, true));
    p.setPen(QColor(PaintKit::kLabel));
    PaintKit::LeftText(p, x, cy, text);
}

QPen SymbolPen(double width = 1.0) {
    return QPen(QColor(PaintKit::kSymbol), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

// A logic block in the IEC style: a box with its function written inside.
void GateBox(QPainter& p, int x0, int y0, int x1, int y1, const QString& text) {
    p.setPen(SymbolPen());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(x0 + 0.5, y0 + 0.5, x1 - x0, y1 - y0));
    p.setFont(PaintKit::Font(11, true));
    p.setPen(QColor(PaintKit::kSymbol));
    PaintKit::CentredText(p, QPointF((x0 + x1 + 1) / 2.0, (y0 + y1 + 1) / 2.0), text);
}

// A push button: a square key with a dark red lens that the button's lamp lights up.
void PushKey(QPainter& p, const QPointF& c) {
    const QRectF key(c.x() - 11.5, c.y() - 11.5, 23, 23);
    QLinearGradient body(key.topLeft(), key.bottomLeft());
    body.setColorAt(0.0, QColor(0xFFEEF1F4));
    body.setColorAt(1.0, QColor(0xFFB4BCC6));
    p.setPen(QPen(QColor(0xFF4B5563), 1.0));
    p.setBrush(body);
    p.drawRoundedRect(key, 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF39404A));
    p.drawEllipse(c, 9.3, 9.3);
    QRadialGradient lens(c + QPointF(-2.5, -2.5), 9);
    lens.setColorAt(0.0, QColor(0xFFA8463E));
    lens.setColorAt(1.0, QColor(0xFF5A1713));
    p.setBrush(lens);
    p.drawEllipse(c, 8.0, 8.0);
}

// A rotary knob with a scale arc from minimum to maximum, pointing at its minimum: the
// program lays the knob at its setting over it.
void Knob(QPainter& p, const QPointF& c) {
    p.setPen(QPen(QColor(PaintKit::kTrace), 1.2, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    const QRectF arc(c.x() - 11.5, c.y() - 11.5, 23, 23);
    p.drawArc(arc, -45 * 16, 270 * 16);
    PaintKit::KnobCap(p, c, 0.0);
}

// The counter's reset button: a red round key.
void ResetKey(QPainter& p, const QPointF& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF39404A));
    p.drawEllipse(c, 8.6, 8.6);
    QRadialGradient cap(c + QPointF(-2, -2.5), 8);
    cap.setColorAt(0.0, QColor(0xFFF0867A));
    cap.setColorAt(1.0, QColor(0xFFB0281D));
    p.setBrush(cap);
    p.drawEllipse(c, 7.0, 7.0);
}

// The sound sensor: a microphone on a stand.
void Microphone(QPainter& p, const QPointF& c) {
    p.setPen(QPen(QColor(PaintKit::kSymbol), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - 8, c.y() - 6, 16, 14), 180 * 16, 180 * 16);
    p.drawLine(c + QPointF(0, 8), c + QPointF(0, 11));
    p.drawLine(c + QPointF(-5, 11.5), c + QPointF(5, 11.5));
    QLinearGradient body(c + QPointF(-5, 0), c + QPointF(5, 0));
    body.setColorAt(0.0, QColor(0xFF5B6675));
    body.setColorAt(0.45, QColor(0xFFAEB7C2));
    body.setColorAt(1.0, QColor(0xFF3A4350));
    p.setPen(QPen(QColor(0xFF232A33), 1.0));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(c.x() - 4.5, c.y() - 6.5, 9, 12), 4.5, 4.5);
    p.setPen(QPen(QColor(0xFF2A313B), 0.8));
    for (double dy : {-3.0, -0.5, 2.0}) {
        p.drawLine(c + QPointF(-3.2, dy), c + QPointF(3.2, dy));
    }
}

// A lamp holder: a ring around the place where the lamp lights, leaving the lens plain.
void LampBezel(QPainter& p, const QPointF& c) {
    QPainterPath ring;
    const double inner = PartPainter::kLampRadius + 1.1;
    ring.addEllipse(c, inner + 1.9, inner + 1.9);
    ring.addEllipse(c, inner, inner);
    QRadialGradient metal(c + QPointF(-4, -4), 16);
    metal.setColorAt(0.0, QColor(0xFFD9DEE4));
    metal.setColorAt(1.0, QColor(0xFF6F7A87));
    p.setPen(Qt::NoPen);
    p.setBrush(metal);
    p.drawPath(ring);
}

QColor SocketColour(const BoardSocket& s) {
    if (s.name.ends_with(" Uit Geel")) {
        return QColor(PaintKit::kSourceSocket);
    }
    switch (s.soort) {
    case 1:
        return QColor(PaintKit::kInputSocket);
    case 2:
        return QColor(PaintKit::kOutputSocket);
    case 3:
        return QColor(PaintKit::kContactSocket);
    default:
        return QColor(PaintKit::kReferenceSocket);
    }
}

} // namespace

BoardPainter::BoardPainter(std::vector<BoardSocket> sockets) : sockets_(std::move(sockets)) {}

const BoardSocket& BoardPainter::Find(const std::string& name) const {
    for (const BoardSocket& s : sockets_) {
        if (s.name == name) {
            return s;
        }
    }
    throw std::runtime_error("board picture: the socket table has no point \"" + name + "\"");
}

QPointF BoardPainter::At(const std::string& name) const {
    const BoardSocket& s = Find(name);
    return Centre(s.x, s.y);
}

QImage BoardPainter::Paint(int factor) const {
    QImage image(kWidth * factor, kHeight * factor, QImage::Format_RGB32);
    image.fill(QColor(PaintKit::kFrame));
    QPainter p(&image);
    p.scale(factor, factor);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    PaintPanels(p);
    PaintSources(p);
    PaintGates(p);
    PaintCounterAndConverter(p);
    PaintOutputs(p);
    PaintNamePlate(p);
    PaintPoints(p);
    p.end();
    return image;
}

void BoardPainter::PaintPanels(QPainter& p) const {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(PaintKit::kFace));
    p.drawRoundedRect(QRectF(2, 2, kWidth - 4, kHeight - 4), 5, 5);
    for (const Box& b : {kSourcesTop, kButtons, kVariable, kPulse, kConverter, kRowA, kRowB, kRowC,
                         kCounter, kLeds, kBuzzer, kRelay}) {
        Panel(p, b);
    }
    Divider(p, kSourcesTop.x0 + 5, 75, kSourcesTop.x1 - 5, 75);
    Divider(p, kSourcesTop.x0 + 5, 127, kSourcesTop.x1 - 5, 127);
    Divider(p, kButtons.x0 + 5, 197, kButtons.x1 - 5, 197);
    for (const Box& b : {kRowA, kRowB, kRowC}) {
        Divider(p, kMiddleDivider, b.y0 + 5, kMiddleDivider, b.y1 - 5);
    }
}

void BoardPainter::PaintSources(QPainter& p) const {
    // Sensors: the program lays the sensor pictures on the left; a trace leads to the output.
    // The names of the column's cells are a size smaller than the block titles: the longest
    // must fit between a button and its socket.
    const auto cellTitle = [&p](double cx, double cy, const char* text) {
        p.setFont(PaintKit::Font(8, true, true));
        p.setPen(QColor(PaintKit::kTitle));
        PaintKit::CentredText(p, QPointF(cx, cy), QString::fromUtf8(text));
    };
    cellTitle(89.5, 31, "Sensor 1");
    cellTitle(89.5, 84, "Sensor 2");
    Trace(p, {{68, 50}, {90, 50}});
    Trace(p, {{68, 101}, {90, 101}});
    cellTitle(49, 134, "Geluidssensor");
    Trace(p, {{41, 145}, {90, 145}});

    cellTitle(67, 190, "Drukknop 1");
    cellTitle(66, 224, "Drukknop 2");
    Trace(p, {{42, 180}, {90, 180}});
    Trace(p, {{41, 214}, {90, 214}});

    Title(p, 57, 241, QStringLiteral("Var. spanning"));
    Trace(p, {{39, 256}, {52, 256}});
    Trace(p, {{74, 256}, {90, 256}});

    Title(p, 57, 282, QStringLiteral("Pulsgenerator"));
    Trace(p, {{75, 296}, {90, 296}});
    // A pulse train beside the rate knob.
    p.setPen(QPen(QColor(PaintKit::kSymbol), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    QPolygonF wave;
    const double base = 302.5;
    const double top = 291.5;
    wave << QPointF(11.5, base);
    for (double x = 15.5; x < 44; x += 10) {
        wave << QPointF(x, base) << QPointF(x, top) << QPointF(x + 5, top) << QPointF(x + 5, base);
    }
    wave << QPointF(46.5, base);
    p.drawPolyline(wave);
}

void BoardPainter::PaintGates(QPainter& p) const {
    // Transistor: an NPN symbol, base from the input, collector to the output.
    Title(p, 162, 13, QStringLiteral("Transistor"));
    Trace(p, {{142, 41}, {157, 41}});
    p.setPen(SymbolPen());
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(167.5, 44.5), 12, 12);
    p.setPen(SymbolPen(1.8));
    p.drawLine(QPointF(162, 36), QPointF(162, 50));
    p.setPen(SymbolPen());
    p.drawLine(QPointF(157.5, 41.5), QPointF(162, 41.5));
    p.drawLine(QPointF(162, 39.5), QPointF(171.5, 33.5));
    p.drawLine(QPointF(162, 46), QPointF(171.5, 52.5));
    p.setBrush(QColor(PaintKit::kSymbol));
    QPolygonF arrow;
    arrow << QPointF(172.5, 53.2) << QPointF(166.2, 52.4) << QPointF(169.3, 48.3);
    p.drawPolygon(arrow);
    Trace(p, {{171, 33}, {171, 26}, {183, 26}, {183, 41}, {190, 41}});
    Trace(p, {{171, 53}, {171, 63}});
    p.setPen(SymbolPen());
    p.drawLine(Centre(165, 63), Centre(177, 63));
    p.drawLine(Centre(167, 65), Centre(175, 65));
    p.drawLine(Centre(169, 67), Centre(173, 67));

    // Comparator: the input against the knob's level.
    Title(p, 256, 13, QStringLiteral("Comparator"));
    p.setPen(SymbolPen());
    p.setBrush(Qt::white);
    QPolygonF amp;
    amp << QPointF(239.5, 30.5) << QPointF(267.5, 45.5) << QPointF(239.5, 60.5);
    p.drawPolygon(amp);
    p.setFont(PaintKit::Font(9, true));
    p.setPen(QColor(PaintKit::kSymbol));
    PaintKit::CentredText(p, QPointF(245, 38.5), QStringLiteral("+"));
    PaintKit::CentredText(p, QPointF(245, 52.5), QStringLiteral("\u2212"));
    Trace(p, {{230, 42}, {238, 42}});
    Trace(p, {{256, 72}, {233, 72}, {233, 52}, {238, 52}});
    Trace(p, {{268, 45}, {273, 45}, {273, 41}, {279, 41}});

    // AND, OR and the memory cell as IEC boxes.
    Title(p, 162, 97, QStringLiteral("EN-poort"));
    GateBox(p, 151, 104, 181, 152, QStringLiteral("&"));
    Trace(p, {{141, 110}, {150, 110}});
    Trace(p, {{141, 145}, {150, 145}});
    Trace(p, {{182, 128}, {191, 128}});

    Title(p, 256, 97, QStringLiteral("OF-poort"));
    GateBox(p, 240, 104, 270, 152, QStringLiteral("\u22651"));
    Trace(p, {{230, 111}, {239, 111}});
    Trace(p, {{230, 145}, {239, 145}});
    Trace(p, {{271, 128}, {279, 128}});

    Title(p, 168, 174, QStringLiteral("Geheugen"));
    GateBox(p, 154, 182, 182, 224, QString());
    p.setFont(PaintKit::Font(9, true));
    p.setPen(QColor(PaintKit::kSymbol));
    PaintKit::CentredText(p, QPointF(160, 188.5), QStringLiteral("S"));
    PaintKit::CentredText(p, QPointF(160, 215.5), QStringLiteral("R"));
    PaintKit::CentredText(p, QPointF(174, 198.5), QStringLiteral("M"));
    Trace(p, {{142, 180}, {148, 180}, {148, 188}, {153, 188}});
    Trace(p, {{142, 215}, {153, 215}});
    Trace(p, {{183, 198}, {192, 198}});

    Title(p, 256, 174, QStringLiteral("Invertor"));
    GateBox(p, 240, 185, 266, 209, QStringLiteral("1"));
    p.setPen(SymbolPen());
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(270, 197.5), 3, 3);
    Trace(p, {{230, 197}, {239, 197}});
    Trace(p, {{274, 197}, {280, 197}});
}

void BoardPainter::PaintCounterAndConverter(QPainter& p) const {
    Title(p, 181, 241, QStringLiteral("Pulsenteller"));
    LeftLabel(p, 145, 250, QStringLiteral("tel pulsen"));
    LeftLabel(p, 145, 281, QStringLiteral("aan/uit"));
    LeftLabel(p, 146, 305, QStringLiteral("reset"));
    for (const char* bit : {"8", "4", "2", "1"}) {
        const BoardSocket& s = Find(std::string("Pulsenteller Uitgang ") + bit);
        Label(p, s.x + 0.5, 262.5, QString::fromLatin1(bit));
    }
    // The display window: a dark bezel that stops exactly at the digit's place.
    const QRect digit(kDisplayPlace, QSize(PartPainter::kDigitWidth, PartPainter::kDigitHeight));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF2A323D));
    p.drawRoundedRect(QRectF(digit.adjusted(-4, -4, 4, 4)).adjusted(0, 0, 1, 1), 3, 3);
    p.fillRect(digit, QColor(PaintKit::kPanel));

    Title(p, 158, 338, QStringLiteral("AD-omzetter"));
    Label(p, 30.5, 349.5, QStringLiteral("in"));
    for (const char* bit : {"8", "4", "2", "1"}) {
        const BoardSocket& s = Find(std::string("AD-omzetter Uitgang ") + bit);
        Label(p, s.x + 0.5, 349.5, QString::fromLatin1(bit));
    }
}

void BoardPainter::PaintOutputs(QPainter& p) const {
    Title(p, 356, 13, QStringLiteral("LED's"));
    const char* inputs[4] = {"LED 1 Ingang", "LED 2 Ingang", "LED 3 Ingang", "LED 4 Ingang"};
    for (int i = 0; i < 4; ++i) {
        const BoardSocket& s = Find(inputs[i]);
        const QPoint c = kLedPlaces[i] + QPoint(16, 16);
        Trace(p, {{s.x + 9, s.y}, {c.x() - 15, s.y}});
        Label(p, 352.5, s.y - 5.5, QString::number(i + 1));
        LampBezel(p, Centre(c.x(), c.y()));
    }

    Title(p, 336, 175, QStringLiteral("Zoemer"));
    const QPointF zoemer = At("Zoemer");
    Trace(p, {{static_cast<int>(zoemer.x()) + 8, static_cast<int>(zoemer.y())}, {364, 197}});
    const QPointF buzzer(380.5, 197.5);
    QRadialGradient body(buzzer + QPointF(-5, -5), 18);
    body.setColorAt(0.0, QColor(0xFF59626F));
    body.setColorAt(1.0, QColor(0xFF1E242C));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(buzzer, 15, 15);
    p.setPen(QPen(QColor(0xFF7C8794), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(buzzer, 10, 10);
    p.setBrush(QColor(0xFF0E1115));
    p.drawEllipse(buzzer, 2.5, 2.5);
    p.setPen(QPen(QColor(PaintKit::kSymbol), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (double r : {19.0, 23.0}) {
        p.drawArc(QRectF(buzzer.x() - r, buzzer.y() - r, 2 * r, 2 * r), -35 * 16, 70 * 16);
    }

    // Relay: the coil under its control input, two switch blades between the contacts.
    const BoardSocket& control = Find("Relais Controle (In)");
    Trace(p, {{control.x, control.y + 8}, {control.x, 262}});
    p.setPen(SymbolPen());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(control.x - 7 + 0.5, 262.5, 14, 22));
    p.drawLine(QPointF(control.x - 6.5, 284.5), QPointF(control.x + 7.5, 262.5));
    Trace(p, {{control.x, 285}, {control.x, 293}});
    p.setPen(SymbolPen());
    p.drawLine(Centre(control.x - 6, 293), Centre(control.x + 6, 293));
    p.drawLine(Centre(control.x - 4, 295), Centre(control.x + 4, 295));
    p.drawLine(Centre(control.x - 2, 297), Centre(control.x + 2, 297));
    double bladeMid = 0;
    for (const auto& [in, out] :
         {std::pair{"Relais Ingang 1 (in/uit)", "Relais Uitgang 1 (in/uit)"},
          std::pair{"Relais Ingang 2 (in/uit)", "Relais Uitgang 2 (in/uit)"}}) {
        const BoardSocket& a = Find(in);
        const BoardSocket& b = Find(out);
        Trace(p, {{a.x, a.y + 8}, {a.x, 258}});
        Trace(p, {{b.x, 272}, {b.x, b.y - 8}});
        p.setPen(SymbolPen(1.4));
        p.drawLine(Centre(a.x, 258), QPointF(b.x + 7.5, 270.5));
        p.setBrush(QColor(PaintKit::kSymbol));
        p.drawEllipse(Centre(a.x, 258), 1.3, 1.3);
        p.drawEllipse(Centre(b.x, 272), 1.3, 1.3);
        bladeMid = b.x + 4.5;
    }
    p.setPen(QPen(QColor(PaintKit::kSymbol), 1.0, Qt::DashLine));
    p.drawLine(QPointF(control.x + 7.5, 266.5), QPointF(bladeMid, 266.5));
    Title(p, 360, 308, QStringLiteral("Relais"));
}

void BoardPainter::PaintNamePlate(QPainter& p) const {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF27313E));
    p.drawRoundedRect(Outline(kNamePlate), 4.5, 4.5);
    p.setFont(PaintKit::Font(13, true));
    p.setPen(QColor(0xFFF3F5F7));
    PaintKit::LeftText(p, 221, 331, QStringLiteral("TAVELON"));
    p.setFont(PaintKit::Font(8, false, true));
    p.setPen(QColor(0xFFA9B4C2));
    PaintKit::LeftText(p, 296, 331.5, QStringLiteral("simulator 2.0"));
    struct Entry {
        QRgb colour;
        const char* text;
    };
    const Entry legend[] = {{PaintKit::kSourceSocket, "bron"},
                            {PaintKit::kOutputSocket, "uitgang"},
                            {PaintKit::kInputSocket, "ingang"},
                            {PaintKit::kContactSocket, "relais"}};
    double x = 222;
    for (const Entry& e : legend) {
        PaintKit::Socket(p, QPointF(x + 0.5, 346.5), QColor(e.colour), 4.0);
        p.setFont(PaintKit::Font(8, false, true));
        p.setPen(QColor(0xFFD5DCE4));
        PaintKit::LeftText(p, x + 7, 346.5, QString::fromLatin1(e.text));
        x += 13 + QFontMetricsF(p.font()).horizontalAdvance(QString::fromLatin1(e.text)) + 6;
    }
}

void BoardPainter::PaintPoints(QPainter& p) const {
    for (const BoardSocket& s : sockets_) {
        const QPointF c = Centre(s.x, s.y);
        if (s.connectable) {
            PaintKit::Socket(p, c, SocketColour(s));
        } else if (s.name == "Sensor 1" || s.name == "Sensor 2") {
            // The sensor pictures lie here.
        } else if (s.name == "Geluids Sensor") {
            Microphone(p, c);
        } else if (s.name == "Drukknop 1" || s.name == "Drukknop 2") {
            PushKey(p, c);
        } else if (s.name.ends_with(" Regelaar")) {
            Knob(p, c);
        } else if (s.name == "Pulsenteller Reset Drukknop") {
            ResetKey(p, c);
        } else {
            throw std::runtime_error("board picture: no drawing for the operated point \"" +
                                     s.name + "\"");
        }
    }
}
