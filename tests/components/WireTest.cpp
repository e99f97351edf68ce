// Wires on the canvas: which sprites a segment becomes, redrawing only on a change, and the
// sprites leaving with the wire.

#include "app/components/clsBordLines.h"
#include "app/components/clsLine.h"
#include "tests/components/ComponentsTestSupport.h"

#include <QPoint>
#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using components_test::OnCanvas;

/// A line drawer with the nine wire strips on a fresh canvas.
class Wires : public OnCanvas {
protected:
    void SetUp() override { bl.Constructor(canvas); }

    std::vector<std::int32_t> Members(const clsLine& w) const {
        return canvas.GroupInfo(w.GroupLID())->members;
    }

    clsBordLines bl;
};

struct SegmentCase {
    const char* what;
    int x1, y1, x2, y2;
    int frame;
    /// Top-left corners of the sprites, in drawing order.
    std::vector<QPoint> at;
};

TEST_F(Wires, ASegmentBecomesOneSpritePerTenPixelsCentredOnEqualParts) {
    const SegmentCase cases[] = {
        {"both ends on one point", 50, 50, 50, 50, 0, {}},
        {"length 9", 100, 100, 109, 100, 0, {}},
        {"length 10: one sprite on the middle", 100, 100, 110, 100, 0, {{89, 84}}},
        {"length 25: at a quarter and three quarters",
         100,
         100,
         125,
         100,
         0,
         {{90, 84}, {103, 84}}},
        {"half a pixel rounds to even", 101, 100, 112, 100, 0, {{90, 84}}},
        {"rightward", 100, 100, 130, 100, 0, {{89, 84}, {99, 84}, {109, 84}}},
        {"leftward", 200, 100, 170, 100, 16, {{179, 84}, {169, 84}, {159, 84}}},
        {"downward", 100, 100, 100, 130, 8, {{84, 89}, {84, 99}, {84, 109}}},
        {"upward", 100, 130, 100, 100, 24, {{84, 109}, {84, 99}, {84, 89}}},
        {"sloped 3:4", 0, 0, 30, 40, 5, {{-13, -12}, {-7, -4}, {-1, 4}, {5, 12}, {11, 20}}},
        // (-60, 6) lies nearer frame 15 by the true angle, nearer frame 16 by 3.14.
        {"where 3.14 and pi pick different frames",
         200,
         100,
         140,
         106,
         16,
         {{179, 84}, {169, 86}, {159, 86}, {149, 88}, {139, 88}, {129, 90}}},
    };
    for (const SegmentCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t spritesBefore = canvas.SpriteCount();
        std::shared_ptr<clsLine> w = bl.CreateLine();
        w->SetAll(c.x1, c.y1, c.x2, c.y2, 3);
        const std::vector<std::int32_t> members = Members(*w);
        ASSERT_EQ(members.size(), c.at.size());
        EXPECT_EQ(canvas.SpriteCount(), spritesBefore + c.at.size());
        for (std::size_t i = 0; i < members.size(); ++i) {
            const auto s = canvas.SpriteInfo(members[i]);
            ASSERT_TRUE(s);
            EXPECT_EQ(QPoint(s->x, s->y), c.at[i]) << "sprite " << i;
            EXPECT_EQ(s->bitmap, bl.LineBitmap(3));
            EXPECT_EQ(s->mask, bl.LineMask(3));
            EXPECT_EQ(s->frameSize, QSize(32, 32));
            EXPECT_EQ(s->frameOffset, QPoint(32 * c.frame, 0));
            EXPECT_EQ(s->level, 8);
            EXPECT_EQ(s->group, w->GroupLID());
        }
    }
}

TEST_F(Wires, AWireHasSpritesOnlyWhileBothEndsAreValid) {
    const std::size_t spritesBefore = canvas.SpriteCount();
    std::shared_ptr<clsLine> w = bl.CreateLine();
    EXPECT_EQ(canvas.GroupInfo(w->GroupLID())->level, 8);
    w->SetCoords(1, 100, 100);
    w->SetColor(8);
    EXPECT_TRUE(Members(*w).empty());

    // The loose end follows the pointer: each move replaces every sprite.
    w->SetCoords(2, 150, 100);
    const std::vector<std::int32_t> first = Members(*w);
    EXPECT_EQ(first.size(), 5u);
    w->SetCoords(2, 120, 100);
    EXPECT_EQ(Members(*w).size(), 2u);
    for (std::int32_t gone : first) {
        EXPECT_FALSE(canvas.SpriteInfo(gone)) << gone;
    }
    EXPECT_EQ(canvas.SpriteCount(), spritesBefore + 2);
    EXPECT_EQ(canvas.SpriteInfo(Members(*w)[0])->bitmap, bl.LineBitmap(8));
}

TEST_F(Wires, RewritingColourOrHighlightCostsNothingUnlessItChanges) {
    std::shared_ptr<clsLine> w = bl.CreateLine();
    w->SetAll(100, 100, 160, 180, 1); // length 100: ten sprites
    const std::size_t sprites = canvas.SpriteCount();
    const std::vector<std::int32_t> drawn = Members(*w);
    ASSERT_EQ(drawn.size(), 10u);

    EXPECT_EQ(HandlesMadeBy([&] { w->SetColor(1); }), 0);
    EXPECT_EQ(HandlesMadeBy([&] { w->SetHighlight(0); }), 0);
    EXPECT_EQ(Members(*w), drawn);

    struct Step {
        const char* what;
        std::function<void()> write;
        std::int32_t shownColour;
        std::int32_t color;
        std::int32_t highlight;
    };
    const Step steps[] = {
        {"new colour", [&] { w->SetColor(4); }, 4, 4, 0},
        {"highlight on", [&] { w->SetHighlight(-1); }, 9, 4, -1},
        {"colour under highlight", [&] { w->SetColor(5); }, 9, 5, -1},
        {"highlight off", [&] { w->SetHighlight(0); }, 5, 5, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        const std::vector<std::int32_t> before = Members(*w);
        EXPECT_EQ(HandlesMadeBy(s.write), 10);
        const std::vector<std::int32_t> after = Members(*w);
        ASSERT_EQ(after.size(), 10u);
        EXPECT_FALSE(canvas.SpriteInfo(before[0]));
        EXPECT_EQ(canvas.SpriteInfo(after[0])->bitmap, bl.LineBitmap(s.shownColour));
        EXPECT_EQ(w->Color(), s.color);
        EXPECT_EQ(w->Highlight(), s.highlight);
        EXPECT_EQ(canvas.SpriteCount(), sprites);
    }
}

TEST_F(Wires, TheSpritesLeaveWithTheLastOwner) {
    const std::size_t sprites = canvas.SpriteCount();
    const std::size_t groups = canvas.GroupCount();
    std::shared_ptr<clsLine> listed = bl.CreateLine();
    std::shared_ptr<clsLine> pending = listed;
    listed->SetAll(20, 20, 220, 20, 2);
    const std::int32_t group = listed->GroupLID();
    EXPECT_EQ(canvas.SpriteCount(), sprites + 20);

    listed.reset();
    EXPECT_EQ(canvas.SpriteCount(), sprites + 20);
    pending.reset();
    EXPECT_EQ(canvas.SpriteCount(), sprites);
    EXPECT_EQ(canvas.GroupCount(), groups);
    EXPECT_FALSE(canvas.GroupInfo(group));

    // Replacing a whole wire list clears the old wires from the board.
    WireList wires;
    for (int i = 0; i < 3; ++i) {
        wires.push_back(bl.CreateLine());
        wires.back()->SetAll(20, 20 + 10 * i, 120, 20 + 10 * i, 1);
    }
    EXPECT_EQ(canvas.SpriteCount(), sprites + 30);
    wires = WireList{};
    EXPECT_EQ(canvas.SpriteCount(), sprites);
    EXPECT_EQ(canvas.GroupCount(), groups);
}

TEST_F(Wires, BadCoordinatesAndColoursNeverCrash) {
    std::shared_ptr<clsLine> w = bl.CreateLine();
    for (std::int32_t colour : {0, 10, -1}) {
        w->SetAll(0, 0, 100, 0, colour);
        EXPECT_TRUE(Members(*w).empty()) << "colour " << colour;
    }
    EXPECT_THROW(w->SetAll(std::numeric_limits<std::int32_t>::min(), 0,
                           std::numeric_limits<std::int32_t>::max(), 0, 1),
                 std::overflow_error);
    EXPECT_TRUE(Members(*w).empty());
}

TEST(WireWithoutCanvas, OutlivingItsCanvasIsHarmless) {
    clsBordLines drawer; // never given pictures: draws nothing
    auto mag = std::make_unique<KaleidoATL>();
    auto w = std::make_shared<clsLine>();
    w->Constructor(drawer, *mag);
    w->SetAll(0, 0, 100, 0, 1);
    mag.reset();
    w->SetAll(0, 0, 50, 0, 2);
    EXPECT_EQ(w->Color(), 2);
    w.reset();
}

} // namespace
