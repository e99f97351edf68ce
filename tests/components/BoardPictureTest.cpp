// Every component in its place on the board picture, each drawn over the board. Setting
// TAVSIM_BOARD_PNG to a file name saves the rendered board there for a look.

#include "app/board/clsCursor.h"
#include "app/components/PictureLoader.h"
#include "app/components/clsBordLines.h"
#include "app/components/clsDisplay.h"
#include "app/components/clsLED.h"
#include "app/components/clsLine.h"
#include "app/components/clsSensor.h"
#include "app/components/clsVoltControl.h"
#include "app/simulation/clsSnaps.h"
#include "tests/components/ComponentsTestSupport.h"

#include <QImage>
#include <QRect>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>

namespace {

using components_test::OnCanvas;

/// How many pixels of `area` (board pixels) differ between two renderings at scale 2.
int Changed(const QImage& a, const QImage& b, const QRect& area) {
    int n = 0;
    for (int y = 2 * area.top(); y <= 2 * area.bottom() + 1; ++y) {
        for (int x = 2 * area.left(); x <= 2 * area.right() + 1; ++x) {
            n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return n;
}

class BoardPicture : public OnCanvas {};

TEST_F(BoardPicture, EveryComponentDrawsOverTheBoard) {
    PictureLoader loader;
    const std::int32_t board = canvas.CreateSprite(loader.Load(canvas, "/images2/Bord.bmp"));
    canvas.SetSpriteLevel(board, 0);
    const QImage bare = canvas.RenderBoard(2.0);
    ASSERT_EQ(bare.size(), QSize(2 * kBoardWidth, 2 * kBoardHeight));

    clsBordLines lines;
    lines.Constructor(canvas);
    clsDisplay display;
    display.Constructor(canvas);
    display.SetValue(7);
    const std::array<QPoint, 6> lampAt = {QPoint(373, 27),  QPoint(373, 61), QPoint(373, 95),
                                          QPoint(373, 130), QPoint(14, 164), QPoint(13, 198)};
    std::array<clsLED, 6> lamps;
    for (std::size_t i = 0; i < lamps.size(); ++i) {
        lamps[i].Constructor(canvas, lampAt[i].x(), lampAt[i].y());
        lamps[i].SetValue(i != 1);
    }
    clsSensor sensor1;
    sensor1.Constructor(canvas, 20, 25);
    sensor1.SetValue(1);
    clsSensor sensor2;
    sensor2.Constructor(canvas, 20, 78);
    sensor2.SetValue(2);
    clsCursor cursor;
    cursor.Constructor(canvas);
    clsVoltControl knob;
    knob.Constructor(canvas);
    knob.Hide();
    knob.Move(90, 236);
    knob.tag = "Var. Spanning Regelaar";
    knob.SetValue(32.5);

    const clsSnaps snaps;
    struct Wire {
        const char* from;
        const char* to;
        std::int32_t colour;
    };
    const Wire wires[] = {
        {"Sensor 1 Uit Geel", "Transistor In", 1},
        {"Transistor Uit", "LED 1 Ingang", 2},
        {"Drukknop 1 Uit Geel", "Geheugen Set (In)", 3},
        {"Geheugen Uit", "Invertor Ingang", 5},
        {"Invertor Uitgang", "Zoemer", 8},
        {"EN-poort Uit", "OF-poort Ingang 2", 4},
    };
    WireList list;
    for (const Wire& w : wires) {
        list.push_back(lines.CreateLine());
        list.back()->naam1 = w.from;
        list.back()->naam2 = w.to;
        list.back()->SetAll(snaps.GetXbyName(w.from), snaps.GetYbyName(w.from),
                            snaps.GetXbyName(w.to), snaps.GetYbyName(w.to), w.colour);
    }
    list.back()->SetHighlight(-1);
    cursor.ShowPoint(snaps.GetXbyName("Sensor 2"), snaps.GetYbyName("Sensor 2"));
    canvas.Refresh();

    const QImage full = canvas.RenderBoard(2.0);
    if (const QByteArray png = qgetenv("TAVSIM_BOARD_PNG"); !png.isEmpty()) {
        EXPECT_TRUE(full.save(QString::fromLocal8Bit(png)));
    }

    struct Area {
        const char* what;
        QRect rect;
    };
    const Area areas[] = {
        {"digit", QRect(266, 282, 22, 32)},
        {"LED 1", QRect(373, 27, 32, 32)},
        {"push button 2 lamp", QRect(13, 198, 32, 32)},
        {"sensor 1", QRect(20, 25, 48, 48)},
        {"sensor 2", QRect(20, 78, 48, 48)},
        {"knob", QRect(90, 236, 214, 48)},
        {"wire from the push button", QRect(100, 178, 30, 3)},
    };
    for (const Area& a : areas) {
        EXPECT_GT(Changed(bare, full, a.rect), a.rect.width() * a.rect.height() / 2) << a.what;
    }
    EXPECT_EQ(Changed(bare, full, QRect(373, 61, 32, 32)), 0) << "LED 2 is dark";
}

/// Sum of the channel differences of two colours.
int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b));
}

TEST_F(BoardPicture, RenderedAt3TheSocketRimsHaveSharpEdges) {
    PictureLoader loader;
    canvas.CreateSprite(loader.Load(canvas, "/images2/Bord.bmp"));
    const QImage board = canvas.RenderBoard(3.0);
    ASSERT_EQ(board.size(), QSize(3 * kBoardWidth, 3 * kBoardHeight));
    const clsSnaps snaps;
    // A socket's dark rim is the ring from 6.5 to 7.5 board pixels around the centre of its
    // pixel. On rays out of the centre, the rim is sampled 7 board pixels
    // out and the panel beyond it at 8.5; of the screen pixels between, one apart along the
    // ray, at most 2 may be neither.
    for (const char* name : {"Sensor 1 Uit Geel", "EN-poort Ingang 1", "Transistor In"}) {
        const double cx = 3 * (snaps.GetXbyName(name) + 0.5);
        const double cy = 3 * (snaps.GetYbyName(name) + 0.5);
        int widest = 0;
        int worst = -1;
        // Upwards, away from the traces that leave sockets sideways and the labels below.
        for (int degrees = 190; degrees <= 350; degrees += 10) {
            const double a = degrees * std::numbers::pi / 180;
            const auto pixel = [&](double t) {
                return board.pixel(int(std::floor(cx + t * std::cos(a))),
                                   int(std::floor(cy + t * std::sin(a))));
            };
            const QRgb rim = pixel(21.0);
            const QRgb panel = pixel(25.5);
            if (Distance(rim, panel) < 60 || Distance(panel, pixel(28.5)) > 20) {
                continue; // something else is drawn beside the socket here
            }
            int between = 0;
            for (double t = 22.0; t <= 25.0; t += 1.0) {
                between += Distance(pixel(t), rim) > 20 && Distance(pixel(t), panel) > 20 ? 1 : 0;
            }
            if (between > widest) {
                widest = between;
                worst = degrees;
            }
        }
        EXPECT_LE(widest, 2) << name << " " << worst;
    }
}

} // namespace
