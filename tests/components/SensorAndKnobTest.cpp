// The sensors' modes and the knob: its value, scale, pointer and close box, driven through
// real mouse events on the canvas.

#include "app/components/clsSensor.h"
#include "app/components/clsVoltControl.h"
#include "app/simulation/KnobText.h"
#include "app/simulation/Rounding.h"
#include "tests/components/ComponentsTestSupport.h"

#include <QPoint>
#include <cmath>
#include <limits>
#include <string_view>

namespace {

using components_test::OnCanvas;

class Sensor : public OnCanvas {
protected:
    void SetUp() override { sensor.Constructor(canvas, 20, 25); }
    clsSensor sensor;
};

TEST_F(Sensor, EachModeShowsItsFrameOfTheStrip) {
    const std::size_t sprites = canvas.SpriteCount();
    const int expected[][2] = {{0, 0}, {1, 48}, {2, 96}, {0, 0}, {1, 48}};
    for (const auto& e : expected) {
        EXPECT_EQ(sensor.Value(), e[0]);
        const auto s = canvas.SpriteInfo(sensor.Sprite());
        ASSERT_TRUE(s) << "mode " << e[0];
        EXPECT_EQ(s->frameOffset, QPoint(e[1], 0)) << "mode " << e[0];
        EXPECT_EQ(s->frameSize, QSize(48, 48));
        EXPECT_EQ(QPoint(s->x, s->y), QPoint(20, 25));
        EXPECT_EQ(s->level, 8);
        EXPECT_EQ(s->mask, 0);
        EXPECT_EQ(canvas.SpriteCount(), sprites);
        sensor.NextValue();
    }
}

TEST_F(Sensor, AModeFromADamagedDocumentShowsNothingAndStepsBackToZero) {
    const std::size_t sprites = canvas.SpriteCount();
    for (int damaged : {5, -1, std::numeric_limits<std::int32_t>::max()}) {
        sensor.SetValue(damaged);
        EXPECT_EQ(sensor.Value(), damaged);
        EXPECT_EQ(sensor.Sprite(), 0);
        EXPECT_EQ(canvas.SpriteCount(), sprites - 1);
        sensor.NextValue();
        EXPECT_EQ(sensor.Value(), 0) << "from " << damaged;
        ASSERT_TRUE(canvas.SpriteInfo(sensor.Sprite()));
        EXPECT_EQ(canvas.SpriteInfo(sensor.Sprite())->frameOffset, QPoint(0, 0));
    }
}

class Knob : public OnCanvas {
protected:
    void SetUp() override {
        knob.Constructor(canvas);
        knob.Hide();
        knob.SetValue(0);
    }

    QPoint PointerAt() const {
        const auto s = canvas.SpriteInfo(knob.PointerSprite());
        return s ? QPoint(s->x, s->y) : QPoint(-999, -999);
    }

    clsVoltControl knob;
};

TEST_F(Knob, TheScaleIsDrawnInWhiteOnRow33) {
    const std::int32_t dial = canvas.SpriteInfo(knob.DialSprite())->bitmap;
    struct Pixel {
        int x, y;
        bool white;
    };
    const Pixel pixels[] = {
        {6, 23, true},   {6, 28, true},    {6, 33, true},    {10, 28, true}, {10, 33, true},
        {10, 27, false}, {6, 22, false},   {8, 33, false},   {46, 23, true}, {206, 23, true},
        {202, 28, true}, {202, 27, false}, {206, 34, false},
    };
    for (const Pixel& p : pixels) {
        EXPECT_EQ(canvas.PixelBitmap(dial, p.x, p.y) == 0xFFFFFF, p.white)
            << "(" << p.x << ", " << p.y << ")";
    }
}

TEST_F(Knob, ValuesAreLimitedToTheScaleAndKeepTheirFractions) {
    knob.Move(90, 236);
    struct Case {
        double written;
        double stored;
        int pointerX;
    };
    const Case cases[] = {
        {-3, 0, -1},
        {57, 50, 199},
        {12.5, 12.5, 49},
        {13.5, 13.5, 53},
        {0.125, 0.125, 0},
        {std::nan(""), 0, -1},
        {std::numeric_limits<double>::infinity(), 50, 199},
    };
    for (const Case& c : cases) {
        knob.SetValue(c.written);
        EXPECT_EQ(knob.Value(), c.stored) << c.written;
        EXPECT_EQ(PointerAt(), QPoint(c.pointerX, 5)) << c.written;
        EXPECT_EQ(canvas.SpriteInfo(knob.PointerSprite())->state, 0);
    }
    EXPECT_EQ(canvas.GetSpriteX(knob.PointerSprite()), 90 + 199);
}

TEST_F(Knob, DraggingAlongTheScaleSetsTheValueUnderThePointer) {
    knob.Move(150, 100);
    knob.SetValue(20);
    Press(160, 130); // on the dial: starts dragging, the value stays
    EXPECT_EQ(knob.Value(), 20);
    const int moves[][2] = {{180, 6}, {100, 0}, {400, 50}, {156, 0}};
    for (const auto& m : moves) {
        Drag(m[0], 130);
        EXPECT_EQ(knob.Value(), m[1]) << "pointer x " << m[0];
    }
    Drag(159, 130);
    EXPECT_EQ(knob.Value(), 0.75);
    Release(159, 130);
    Drag(200, 130); // released: moving no longer drags
    EXPECT_EQ(knob.Value(), 0.75);
}

TEST_F(Knob, OnlyTheShownKnobTakesThePointer) {
    knob.Move(90, 276);
    Mouse(QEvent::MouseMove, 60, 290, Qt::NoButton, Qt::NoButton);
    EXPECT_FALSE(knob.InBound());
    Mouse(QEvent::MouseMove, 100, 290, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(knob.InBound());
    Press(100, 290); // starts dragging on the shown dial
    knob.Hide();
    EXPECT_FALSE(knob.InBound());
    Drag(150, 290);
    EXPECT_EQ(knob.Value(), 0) << "a hidden knob ignores the pointer";
    Release(150, 290);
}

TEST_F(Knob, TheCloseBoxHidesTheKnobAtTheNextUpdate) {
    knob.Move(150, 100);
    knob.SetValue(30);
    Press(354, 107); // on the close box, at (204, 7) of the dial
    Release(354, 107);
    EXPECT_TRUE(knob.Visible()); // the tick still copies the value until the next Update
    EXPECT_EQ(knob.Value(), 30);
    EXPECT_EQ(canvas.SpriteInfo(knob.DialSprite())->state, 0);
    // The open knob lies above the wires (level 8).
    EXPECT_EQ(canvas.SpriteInfo(knob.DialSprite())->level, 10);
    EXPECT_EQ(canvas.SpriteInfo(knob.PointerSprite())->level, 10);

    knob.Update();
    EXPECT_FALSE(knob.Visible());
    EXPECT_EQ(canvas.SpriteInfo(knob.DialSprite())->state, 3);

    // Showing it again forgets the old press.
    knob.Move(90, 236);
    knob.Update();
    EXPECT_TRUE(knob.Visible());
    EXPECT_EQ(canvas.GetSpriteX(knob.DialSprite()), 90);
}

struct ReadingRow {
    const char* tag;
    double value;
    /// What the reading says, and where its frame lies in KnobValues.bmp.
    const char* text;
    QPoint frame;
};

// The open scale reads the setting the tick will take: volts, or for the pulse generator
// the full pulses a second its toggles make, (0.2 setting + 0.5), none at 0.
TEST_F(Knob, TheScaleReadsItsSettingAsANumber) {
    const ReadingRow rows[] = {
        {"Var. Spanning Regelaar", 35, "3,5 V", {80, 26}},
        {"Comparator Regelaar", 12.5, "1,2 V", {960, 0}},
        {"Comparator Regelaar", 0, "0,0 V", {0, 0}},
        {"Puls Generator Regelaar", 12, "2,9 pulsen/s", {960, 39}},
        {"Puls Generator Regelaar", 1, "0,7 pulsen/s", {80, 39}},
        {"Puls Generator Regelaar", 50, "10,5 pulsen/s", {1280, 65}},
        {"Puls Generator Regelaar", 0, "0,0 pulsen/s", {0, 39}},
    };
    knob.Move(90, 276);
    for (const ReadingRow& row : rows) {
        SCOPED_TRACE(row.text);
        knob.tag = row.tag;
        knob.SetValue(row.value);
        const auto reading = canvas.SpriteInfo(knob.ReadingSprite());
        ASSERT_TRUE(reading);
        EXPECT_EQ(reading->frameOffset, row.frame);
        EXPECT_EQ(reading->frameSize, QSize(80, 13));
        EXPECT_EQ(reading->parent, knob.DialSprite());
        EXPECT_EQ(QPoint(reading->x, reading->y),
                  QPoint(clsVoltControl::kReadingX, clsVoltControl::kReadingY));
        const bool pulses = std::string_view(row.tag) == "Puls Generator Regelaar";
        EXPECT_EQ(KnobText(pulses, RoundHalfEven(row.value)), row.text);
    }
}

} // namespace
