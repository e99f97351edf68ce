// The highlight cursor: shown centred on a point, redrawn only when the point changes.

#include "app/board/clsCursor.h"

#include "tests/components/ComponentsTestSupport.h"

#include <QPoint>

namespace {

using components_test::OnCanvas;

class Cursor : public OnCanvas {
protected:
    void SetUp() override { cursor.Constructor(canvas); }

    std::int32_t State() const { return canvas.GetSpriteState(cursor.Sprite()); }
    QPoint At() const {
        const auto s = canvas.SpriteInfo(cursor.Sprite());
        return QPoint(s->x, s->y);
    }
    /// Hides the sprite behind the cursor's back, so that a redraw shows up as state 0.
    void Tamper() { canvas.SetSpriteState(cursor.Sprite(), 1); }

    clsCursor cursor;
};

TEST_F(Cursor, ShowPointAtTheSamePlaceRedrawsOnce) {
    cursor.ShowPoint(44, 49);
    EXPECT_EQ(State(), 0);
    EXPECT_EQ(At(), QPoint(28, 33));
    EXPECT_EQ(canvas.SpriteInfo(cursor.Sprite())->level, 10) << "above the wires (level 8)";

    Tamper();
    cursor.ShowPoint(44, 49);
    EXPECT_EQ(State(), 1) << "redrawn at an unchanged place";

    cursor.ShowPoint(44, 102);
    EXPECT_EQ(State(), 0);
    EXPECT_EQ(At(), QPoint(28, 86));
}

TEST_F(Cursor, AfterHideShowPointDrawsAgainAnywhere) {
    cursor.ShowPoint(100, 100);
    const std::size_t sprites = canvas.SpriteCount();
    cursor.Hide();
    EXPECT_EQ(State(), 1);
    cursor.ShowPoint(100, 100);
    EXPECT_EQ(State(), 0);

    // Hide acts on every call.
    cursor.Hide();
    canvas.SetSpriteState(cursor.Sprite(), 0);
    cursor.Hide();
    EXPECT_EQ(State(), 1);

    // Only a shown cursor skips an unchanged place, so even the off-board place that a
    // hidden cursor remembers draws.
    cursor.ShowPoint(-100, -100);
    EXPECT_EQ(State(), 0);
    EXPECT_EQ(At(), QPoint(-116, -116));
    EXPECT_EQ(canvas.SpriteCount(), sprites);
}

} // namespace
