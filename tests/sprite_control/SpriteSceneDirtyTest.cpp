// What the scene reports as changed since the last repaint.

#include "sprite_control/SpriteScene.h"

#include <gtest/gtest.h>

namespace {

class SceneDirty : public testing::Test {
protected:
    SpriteScene scene;
    std::int32_t bitmap = scene.CreateBitmap(4, 4);

    std::int32_t SpriteAt(int x, int y) {
        const std::int32_t s = scene.CreateSprite(bitmap);
        scene.MoveSprite(s, x, y);
        return s;
    }
};

TEST_F(SceneDirty, NewSpriteReportsOnlyWhereItEndsUp) {
    // Made at (0, 0), then moved: the place in between is never painted.
    SpriteAt(10, 20);
    EXPECT_EQ(scene.TakeDirty(), QRegion(10, 20, 4, 4));
}

TEST_F(SceneDirty, MoveReportsOldAndNewPlace) {
    const std::int32_t s = SpriteAt(10, 10);
    scene.TakeDirty();
    scene.MoveSprite(s, 30, 10);
    scene.MoveSprite(s, 50, 10);
    EXPECT_EQ(scene.TakeDirty(), QRegion(10, 10, 4, 4) + QRegion(50, 10, 4, 4));
}

TEST_F(SceneDirty, SpriteMadeAndDroppedBetweenRepaintsReportsNothing) {
    SpriteAt(10, 10);
    scene.TakeDirty();
    const std::int32_t g = scene.CreateGroup();
    scene.AddToGroup(SpriteAt(40, 40), g);
    scene.DeleteGroup(g);
    EXPECT_TRUE(scene.TakeDirty().isEmpty());
}

TEST_F(SceneDirty, DeleteAndHideReportTheVacatedPlace) {
    const std::int32_t a = SpriteAt(0, 0);
    const std::int32_t b = SpriteAt(20, 0);
    scene.TakeDirty();
    scene.DeleteSprite(a);
    scene.SetSpriteState(b, 1);
    EXPECT_EQ(scene.TakeDirty(), QRegion(0, 0, 4, 4) + QRegion(20, 0, 4, 4));
    scene.MoveSprite(b, 40, 0); // hidden: nothing to repaint
    EXPECT_TRUE(scene.TakeDirty().isEmpty());
}

TEST_F(SceneDirty, PixelChangeReportsEverySpriteShowingTheBitmap) {
    SpriteAt(0, 0);
    const std::int32_t other = scene.CreateBitmap(2, 2);
    scene.MoveSprite(scene.CreateSprite(other), 30, 30);
    const std::int32_t masked = scene.CreateMaskedSprite(other, bitmap);
    scene.MoveSprite(masked, 60, 0);
    scene.TakeDirty();
    for (int i = 0; i < 16; ++i) {
        scene.SetPixelBitmap(bitmap, i % 4, i / 4, 0);
    }
    EXPECT_EQ(scene.TakeDirty(), QRegion(0, 0, 4, 4) + QRegion(60, 0, 2, 2));
}

TEST_F(SceneDirty, ParentMoveReportsAttachedSprites) {
    const std::int32_t parent = SpriteAt(0, 0);
    const std::int32_t child = scene.CreateSprite(bitmap);
    scene.AddToGroup(child, parent);
    scene.MoveSprite(child, 10, 0);
    scene.TakeDirty();
    scene.MoveSprite(parent, 0, 20);
    EXPECT_EQ(scene.TakeDirty(), QRegion(0, 0, 4, 4) + QRegion(10, 0, 4, 4) + QRegion(0, 20, 4, 4) +
                                     QRegion(10, 20, 4, 4));
}

struct RebuildRow {
    const char* what;
    /// Changes the sprite made again in place of the removed one.
    void (*change)(SpriteScene& scene, std::int32_t rebuilt);
    /// Where a sprite of the same level stands that was made after the removed one.
    int betweenX;
    bool repaints;
};

TEST_F(SceneDirty, SpriteRebuiltTheSameReportsNothingElseItsPlace) {
    const RebuildRow rows[] = {
        {"the same", [](SpriteScene&, std::int32_t) {}, 30, false},
        {"the same, under a newer sprite elsewhere", [](SpriteScene&, std::int32_t) {}, 30, false},
        {"moved a pixel", [](SpriteScene& s, std::int32_t r) { s.MoveSprite(r, 11, 10); }, 30,
         true},
        {"another bitmap", nullptr, 30, true},
        {"its bitmap changed",
         [](SpriteScene& s, std::int32_t r) { s.SetPixelBitmap(s.Sprite(r)->bitmap, 0, 0, 0xFF); },
         30, true},
        {"another level", [](SpriteScene& s, std::int32_t r) { s.SetSpriteLevel(r, 3); }, 30, true},
        {"now above a newer sprite it was under", [](SpriteScene&, std::int32_t) {}, 12, true},
    };
    for (const RebuildRow& row : rows) {
        SCOPED_TRACE(row.what);
        SpriteScene s;
        const std::int32_t picture = s.CreateBitmap(4, 4);
        const std::int32_t other = s.CreateBitmap(4, 4);
        const std::int32_t old = s.CreateSprite(picture);
        s.MoveSprite(old, 10, 10);
        s.MoveSprite(s.CreateSprite(other), row.betweenX, 12);
        s.TakeDirty();

        // As a lamp is rewritten: hidden, deleted and made again, all between two repaints.
        s.SetSpriteState(old, 1);
        s.DeleteSprite(old);
        const std::int32_t rebuilt = s.CreateSprite(row.change == nullptr ? other : picture);
        s.MoveSprite(rebuilt, 10, 10);
        if (row.change != nullptr) {
            row.change(s, rebuilt);
        }
        EXPECT_EQ(!s.TakeDirty().isEmpty(), row.repaints);
    }
}

} // namespace
