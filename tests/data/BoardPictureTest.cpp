// The board picture against the socket table and the fixed places of the parts laid over it:
// every point of the table lies on something drawn, and where the program lays a lamp, the
// digit or a sensor the board is plain.

#include "app/simulation/clsSnaps.h"
#include "tests/data/DataFile.h"

#include <QPoint>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <numbers>
#include <string>

namespace {

constexpr QRgb kBlack = 0xFF000000;

// The plain background of the board: its most frequent colour.
QRgb Plain(const BmpFile& board) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < board.Height(); ++y) {
        for (int x = 0; x < board.Width(); ++x) {
            ++counts[board.Pixel(x, y)];
        }
    }
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

// Clearly different from the background, not just off by a rounding step.
bool Stands(QRgb c, QRgb plain) {
    return std::max({std::abs(qRed(c) - qRed(plain)), std::abs(qGreen(c) - qGreen(plain)),
                     std::abs(qBlue(c) - qBlue(plain))}) >= 16;
}

class BoardPicture : public ::testing::Test {
protected:
    BmpFile board{"images2/Bord.bmp"};
    QRgb plain = 0;

    void SetUp() override {
        ASSERT_TRUE(board.Valid()) << board.Problem();
        ASSERT_EQ(board.Width(), 420);
        ASSERT_EQ(board.Height(), 360);
        plain = Plain(board);
    }

    // Pixels of the board in `width` x `height` at `corner` that are not plain.
    int Marks(QPoint corner, int width, int height) const {
        int marks = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                marks += board.Pixel(corner.x() + x, corner.y() + y) != plain;
            }
        }
        return marks;
    }
};

// A socket or control is drawn around every point: its centre pixel and a ring of radius 4
// around it stand out from the background. The sensor bodies are drawn by the sensor
// pictures instead and lie inside their places.
TEST_F(BoardPicture, EveryPointOfTheTableLiesOnASocketOrControl) {
    const clsSnaps table;
    ASSERT_EQ(table.GetSnapCount(), 54);
    int checked = 0;
    for (int i = 1; i <= table.GetSnapCount(); ++i) {
        const std::string name = table.GetSnapItemName(i);
        const int x = table.GetXbyName(name);
        const int y = table.GetYbyName(name);
        if (name == "Sensor 1" || name == "Sensor 2") {
            const QPoint place = name == "Sensor 1" ? QPoint(20, 25) : QPoint(20, 78);
            EXPECT_EQ(x, place.x() + 24) << name;
            EXPECT_EQ(y, place.y() + 24) << name;
            continue;
        }
        EXPECT_TRUE(Stands(board.Pixel(x, y), plain)) << name << " centre";
        for (int step = 0; step < 16; ++step) {
            const double a = step * std::numbers::pi / 8;
            const int rx = x + static_cast<int>(std::lround(4 * std::cos(a)));
            const int ry = y + static_cast<int>(std::lround(4 * std::sin(a)));
            EXPECT_TRUE(Stands(board.Pixel(rx, ry), plain))
                << name << " ring at " << rx << "," << ry;
        }
        ++checked;
    }
    EXPECT_EQ(checked, 52);
}

// Lamps light with their mask over a plain board; the two push-button lamps lie over their
// buttons instead, centred on them.
TEST_F(BoardPicture, LeavesTheLampsPlain) {
    const BmpFile mask("images2/RedLightMask.bmp");
    ASSERT_TRUE(mask.Valid()) << mask.Problem();
    const QPoint leds[] = {{373, 27}, {373, 61}, {373, 95}, {373, 130}};
    for (const QPoint& led : leds) {
        int lit = 0;
        int drawn = 0;
        for (int y = 0; y < mask.Height(); ++y) {
            for (int x = 0; x < mask.Width(); ++x) {
                if (mask.Pixel(x, y) == kBlack) {
                    ++lit;
                    drawn += board.Pixel(led.x() + x, led.y() + y) != plain;
                }
            }
        }
        EXPECT_GT(lit, 300) << "lamp at " << led.x() << "," << led.y();
        EXPECT_EQ(drawn, 0) << "lamp at " << led.x() << "," << led.y();
    }
    const clsSnaps table;
    EXPECT_EQ(QPoint(14, 164) + QPoint(16, 16),
              QPoint(table.GetXbyName("Drukknop 1"), table.GetYbyName("Drukknop 1")));
    EXPECT_EQ(QPoint(13, 198) + QPoint(16, 16),
              QPoint(table.GetXbyName("Drukknop 2"), table.GetYbyName("Drukknop 2")));
}

struct PlaceCase {
    const char* what;
    QPoint corner;
    const char* picture; // its size is the room to leave
    int frameWidth;      // 0: the whole picture
};

TEST_F(BoardPicture, LeavesTheDigitAndTheSensorsPlain) {
    const PlaceCase cases[] = {
        {"counter digit", {266, 282}, "images2/Display0.bmp", 0},
        {"sensor 1", {20, 25}, "images2/Sensors.bmp", 48},
        {"sensor 2", {20, 78}, "images2/Sensors.bmp", 48},
    };
    for (const PlaceCase& c : cases) {
        const BmpFile part(c.picture);
        ASSERT_TRUE(part.Valid()) << part.Problem();
        const int width = c.frameWidth != 0 ? c.frameWidth : part.Width();
        EXPECT_EQ(Marks(c.corner, width, part.Height()), 0) << c.what;
    }
    // The sensor pictures blend in: their corners have the board's colour there.
    const BmpFile sensors("images2/Sensors.bmp");
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(sensors.Pixel(48 * frame, 0), plain) << "frame " << frame;
        EXPECT_EQ(sensors.Pixel(48 * frame + 47, 47), plain) << "frame " << frame;
    }
}

// The knob's dial opens at these places (its picture covers the board while open) and must
// fit on the board there.
TEST_F(BoardPicture, TheKnobFitsOnTheBoardAtEachControl) {
    const BmpFile dial("images2/0-5V.bmp");
    ASSERT_TRUE(dial.Valid()) << dial.Problem();
    for (const QPoint& at : {QPoint(150, 100), QPoint(90, 236), QPoint(90, 276)}) {
        EXPECT_LE(at.x() + dial.Width(), board.Width()) << at.x() << "," << at.y();
        EXPECT_LE(at.y() + dial.Height(), board.Height()) << at.x() << "," << at.y();
    }
}

} // namespace
