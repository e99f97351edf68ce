// The lamps and the counter's digit on the canvas.

#include "app/components/clsDisplay.h"
#include "app/components/clsLED.h"
#include "tests/components/ComponentsTestSupport.h"

#include <QPoint>
#include <stdexcept>

namespace {

using components_test::OnCanvas;

class Lamp : public OnCanvas {
protected:
    void SetUp() override { led.Constructor(canvas, 373, 61); }
    clsLED led;
};

TEST_F(Lamp, ALitLampHasExactlyOneSprite) {
    const std::size_t dark = canvas.SpriteCount();
    EXPECT_FALSE(led.Value());
    EXPECT_EQ(led.Sprite(), 0);

    led.SetValue(true);
    const std::int32_t first = led.Sprite();
    led.SetValue(true); // every write rebuilds the sprite
    EXPECT_NE(led.Sprite(), first);
    EXPECT_FALSE(canvas.SpriteInfo(first));
    EXPECT_EQ(canvas.SpriteCount(), dark + 1);

    const auto s = canvas.SpriteInfo(led.Sprite());
    ASSERT_TRUE(s);
    EXPECT_EQ(QPoint(s->x, s->y), QPoint(373, 61));
    EXPECT_NE(s->mask, 0);
    EXPECT_EQ(s->mode, 4);
    EXPECT_EQ(s->state, 0);
    EXPECT_TRUE(led.Value());

    led.SetValue(false);
    EXPECT_EQ(led.Sprite(), 0);
    EXPECT_EQ(canvas.SpriteCount(), dark);
    EXPECT_EQ(HandlesMadeBy([&] { led.SetValue(false); }), 0);
    EXPECT_EQ(canvas.SpriteCount(), dark);
}

TEST_F(Lamp, ItsSpriteLeavesWithTheLamp) {
    const std::size_t before = canvas.SpriteCount();
    {
        clsLED other;
        other.Constructor(canvas, 14, 164);
        other.SetValue(true);
        EXPECT_EQ(canvas.SpriteCount(), before + 1);
    }
    EXPECT_EQ(canvas.SpriteCount(), before);
}

class Display : public OnCanvas {
protected:
    void SetUp() override { display.Constructor(canvas); }

    /// The digit that the display's sprite shows, or -1.
    int Shown() const {
        const auto s = canvas.SpriteInfo(display.Sprite());
        if (!s) {
            return -1;
        }
        EXPECT_EQ(QPoint(s->x, s->y), QPoint(266, 282));
        for (int i = 0; i <= 9; ++i) {
            if (s->bitmap == display.DigitBitmap(i)) {
                return i;
            }
        }
        return -1;
    }

    clsDisplay display;
};

TEST_F(Display, ShowsItsDigitAtTheCounter) {
    EXPECT_EQ(display.Value(), 0);
    EXPECT_EQ(Shown(), 0);
    const int cases[][2] = {{0, 1}, {3, 4}, {8, 9}, {9, 0}};
    for (const auto& c : cases) {
        display.SetValue(c[0]);
        display.IncreaseValue();
        EXPECT_EQ(display.Value(), c[1]) << "from " << c[0];
        EXPECT_EQ(Shown(), c[1]) << "from " << c[0];
    }
}

TEST_F(Display, ADigitOutOfRangeRemovesTheOldOneAndIsRefused) {
    display.SetValue(6);
    const std::size_t sprites = canvas.SpriteCount();
    for (int bad : {10, -1}) {
        EXPECT_THROW(display.SetValue(bad), std::out_of_range) << bad;
        EXPECT_EQ(display.Value(), 6);
        EXPECT_EQ(display.Sprite(), 0);
        EXPECT_EQ(canvas.SpriteCount(), sprites - 1);
    }
    display.IncreaseValue();
    EXPECT_EQ(Shown(), 7);
    EXPECT_EQ(canvas.SpriteCount(), sprites);
}

} // namespace
