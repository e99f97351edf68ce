// Bitmaps, sprites, levels, masks, frames, groups and attachments, checked on the rendered
// board.

#include "sprite_control/KaleidoATL.h"
#include "tests/sprite_control/CanvasTestSupport.h"

#include <gtest/gtest.h>
using namespace canvas_test;

namespace {

TEST(KaleidoBitmaps, CreateBitmapSizes) {
    struct Row {
        int w, h;
        bool made;
        int expectW, expectH;
    };
    const Row rows[] = {
        {3, 2, true, 3, 2},       {0, 5, true, 0, 0},     {5, -1, true, 0, 0},
        {8192, 1, true, 8192, 1}, {8193, 1, false, 0, 0}, {1, 100000, false, 0, 0},
    };
    KaleidoATL canvas;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.w << " x " << r.h);
        const std::int32_t b = canvas.CreateBitmap(r.w, r.h);
        EXPECT_EQ(b != 0, r.made);
        EXPECT_EQ(canvas.BitmapWidth(b), r.expectW);
        EXPECT_EQ(canvas.BitmapHeight(b), r.expectH);
    }
}

TEST(KaleidoBitmaps, NewBitmapIsWhiteAndPixelsUseRgbEncoding) {
    KaleidoATL canvas;
    const std::int32_t b = canvas.CreateBitmap(4, 3);
    EXPECT_EQ(canvas.PixelBitmap(b, 3, 2), kWhite);
    canvas.SetPixelBitmap(b, 1, 2, Colour(10, 20, 30));
    canvas.MoveSprite(canvas.CreateSprite(b), 0, 0);
    const QImage board = canvas.RenderBoard();
    ASSERT_EQ(board.size(), QSize(4, 3));
    EXPECT_EQ(board.pixel(1, 2), qRgb(10, 20, 30)); // x from the left, y from the top
    EXPECT_EQ(At(board, 2, 1), kWhite);
}

TEST(KaleidoBitmaps, BadPixelsAndHandlesAreIgnored) {
    KaleidoATL canvas;
    const std::int32_t b = canvas.CreateBitmap(2, 2);
    const std::int32_t empty = canvas.CreateBitmap(0, 0);
    EXPECT_TRUE(canvas.SetPixelBitmap(b, -1, 0, kRed));
    EXPECT_TRUE(canvas.SetPixelBitmap(b, 2, 0, kRed));
    EXPECT_TRUE(canvas.SetPixelBitmap(b, 0, 2, kRed));
    EXPECT_TRUE(canvas.SetPixelBitmap(empty, 0, 0, kRed));
    EXPECT_FALSE(canvas.SetPixelBitmap(9999, 0, 0, kRed));
    EXPECT_EQ(canvas.PixelBitmap(b, 2, 0), -1);
    EXPECT_EQ(canvas.PixelBitmap(b, 1, 0), kWhite);
    EXPECT_EQ(canvas.PixelBitmap(b, 0, 1), kWhite);
    // Operations on unknown handles change nothing and do not crash.
    EXPECT_EQ(canvas.CreateSprite(9999), 0);
    EXPECT_EQ(canvas.CreateMaskedSprite(b, 9999), 0);
    canvas.MoveSprite(9999, 1, 1);
    canvas.SetSpriteState(9999, 1);
    canvas.DeleteSprite(9999);
    canvas.DeleteGroup(9999);
    canvas.SetSpriteLevel(0, 3);
    EXPECT_FALSE(canvas.AddToGroup(9999, 0));
    EXPECT_EQ(canvas.GetSpriteState(9999), 0);
    EXPECT_EQ(canvas.GetSpriteX(9999), 0);
    EXPECT_FALSE(canvas.IsPointerOver(9999));
    EXPECT_EQ(canvas.SpriteCount(), 0u);
}

TEST(KaleidoDrawing, MaskedSpriteShowsWhereMaskIsBlack) {
    KaleidoATL canvas;
    canvas.CreateSprite(Solid(canvas, 4, 2, kBlue)); // background
    const std::int32_t mask = canvas.CreateBitmap(4, 2);
    Fill(canvas, mask, QRect(0, 0, 2, 2), kBlack);
    canvas.SetPixelBitmap(mask, 3, 1, Colour(128, 128, 128));
    canvas.CreateMaskedSprite(Solid(canvas, 4, 2, kRed), mask);

    const QImage board = canvas.RenderBoard();
    EXPECT_EQ(At(board, 0, 0), kRed);
    EXPECT_EQ(At(board, 1, 1), kRed);
    EXPECT_EQ(At(board, 2, 0), kBlue); // white mask: transparent
    EXPECT_EQ(At(board, 3, 0), kBlue);
    const QRgb grey = board.pixel(3, 1); // grey mask: half red over blue
    EXPECT_NEAR(qRed(grey), 128, 3);
    EXPECT_NEAR(qBlue(grey), 127, 3);
}

TEST(KaleidoDrawing, ChangingAMaskAfterDrawingIsSeen) {
    KaleidoATL canvas;
    const std::int32_t mask = Solid(canvas, 2, 1, kBlack);
    canvas.CreateMaskedSprite(Solid(canvas, 2, 1, kRed), mask);
    EXPECT_EQ(At(canvas.RenderBoard(), 1, 0), kRed);
    canvas.SetPixelBitmap(mask, 1, 0, kWhite);
    EXPECT_EQ(At(canvas.RenderBoard(), 1, 0), kWhite);
    EXPECT_EQ(At(canvas.RenderBoard(), 0, 0), kRed);
}

TEST(KaleidoDrawing, LevelsAscendAndOlderSpritesDrawFirst) {
    // Four 1 x 1 sprites on one pixel; the row gives their levels in creation order and the
    // colour that must end on top.
    struct Row {
        const char* what;
        int levels[3];
        int top; // index of the sprite seen
    };
    const Row rows[] = {
        {"one level: the newest on top", {0, 0, 0}, 2},
        {"higher level wins over newer", {9, 8, 8}, 0},
        {"middle one highest", {1, 10, 2}, 1},
        {"negative levels below zero", {-1, -5, 0}, 2},
    };
    const std::int32_t colours[3] = {kRed, kGreen, kBlue};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        KaleidoATL canvas;
        for (int i = 0; i < 3; ++i) {
            const std::int32_t s = canvas.CreateSprite(Solid(canvas, 1, 1, colours[i]));
            canvas.SetSpriteLevel(s, r.levels[i]);
            EXPECT_EQ(canvas.SpriteInfo(s)->level, r.levels[i]);
        }
        EXPECT_EQ(At(canvas.RenderBoard(), 0, 0), colours[r.top]);
    }
}

TEST(KaleidoDrawing, LevelChangeReordersExistingSprites) {
    KaleidoATL canvas;
    const std::int32_t red = canvas.CreateSprite(Solid(canvas, 1, 1, kRed));
    canvas.CreateSprite(Solid(canvas, 1, 1, kGreen));
    EXPECT_EQ(At(canvas.RenderBoard(), 0, 0), kGreen);
    canvas.SetSpriteLevel(red, 1);
    EXPECT_EQ(At(canvas.RenderBoard(), 0, 0), kRed);
    canvas.SetSpriteLevel(red, 0);
    EXPECT_EQ(At(canvas.RenderBoard(), 0, 0), kGreen); // back to its age within level 0
}

TEST(KaleidoDrawing, StatesHideAndGetReturnsLastSet) {
    struct Row {
        int state;
        bool shown;
    };
    const Row rows[] = {{0, true}, {1, false}, {3, false}, {0, true}, {7, false}};
    KaleidoATL canvas;
    const std::int32_t s = canvas.CreateSprite(Solid(canvas, 1, 1, kRed));
    for (const Row& r : rows) {
        canvas.SetSpriteState(s, r.state);
        EXPECT_EQ(canvas.GetSpriteState(s), r.state);
        EXPECT_EQ(At(canvas.RenderBoard(), 0, 0), r.shown ? kRed : kWhite) << r.state;
    }
}

TEST(KaleidoDrawing, FrameChoosesTheWindowOfTheBitmap) {
    // A strip of three 2 x 2 frames: red, green, blue.
    KaleidoATL canvas;
    canvas.SetBoardSize(6, 4);
    const std::int32_t strip = canvas.CreateBitmap(6, 2);
    Fill(canvas, strip, QRect(0, 0, 2, 2), kRed);
    Fill(canvas, strip, QRect(2, 0, 2, 2), kGreen);
    Fill(canvas, strip, QRect(4, 0, 2, 2), kBlue);
    const std::int32_t s = canvas.CreateSprite(strip);
    EXPECT_EQ(canvas.SpriteInfo(s)->frameSize, QSize(6, 2)); // the whole bitmap by default
    canvas.SetSpriteFrameSize(s, 2, 2);
    canvas.MoveSprite(s, 1, 1);

    struct Row {
        int offsetX;
        std::int32_t seen; // at board (1, 1) and (2, 2)
    };
    for (const Row& r : {Row{0, kRed}, Row{2, kGreen}, Row{4, kBlue}, Row{6, kWhite}}) {
        canvas.SetSpriteFrameOffset(s, r.offsetX, 0);
        const QImage board = canvas.RenderBoard();
        EXPECT_EQ(At(board, 1, 1), r.seen) << r.offsetX;
        EXPECT_EQ(At(board, 2, 2), r.seen) << r.offsetX;
        EXPECT_EQ(At(board, 3, 1), kWhite) << "outside the frame";
        EXPECT_EQ(At(board, 1, 3), kWhite) << "outside the frame";
    }
    // A window half off the bitmap shows the half that lies on it.
    canvas.SetSpriteFrameOffset(s, 5, 0);
    const QImage board = canvas.RenderBoard();
    EXPECT_EQ(At(board, 1, 1), kBlue);
    EXPECT_EQ(At(board, 2, 1), kWhite);
}

TEST(KaleidoDrawing, RenderAtWholeScaleKeepsPixelsCrisp) {
    KaleidoATL canvas;
    const std::int32_t b = Solid(canvas, 2, 1, kRed);
    canvas.SetPixelBitmap(b, 1, 0, kBlue);
    canvas.CreateSprite(b);
    const QImage twice = canvas.RenderBoard(2.0);
    ASSERT_EQ(twice.size(), QSize(4, 2));
    EXPECT_EQ(At(twice, 1, 1), kRed);
    EXPECT_EQ(At(twice, 2, 0), kBlue);
}

TEST(KaleidoGroups, LevelGoesToPresentAndFutureMembers) {
    KaleidoATL canvas;
    const std::int32_t b = Solid(canvas, 1, 1, kRed);
    const std::int32_t g = canvas.CreateGroup();
    const std::int32_t before = canvas.CreateSprite(b);
    ASSERT_TRUE(canvas.AddToGroup(before, g));
    canvas.SetSpriteLevel(g, 8);
    const std::int32_t after = canvas.CreateSprite(b);
    ASSERT_TRUE(canvas.AddToGroup(after, g));
    EXPECT_EQ(canvas.SpriteInfo(before)->level, 8);
    EXPECT_EQ(canvas.SpriteInfo(after)->level, 8);
    EXPECT_EQ(canvas.SpriteInfo(after)->group, g);
    EXPECT_EQ(canvas.GroupInfo(g)->members, (std::vector<std::int32_t>{before, after}));
    EXPECT_FALSE(canvas.AddToGroup(canvas.CreateGroup(), g)) << "no groups inside groups";
}

TEST(KaleidoGroups, DeleteGroupRemovesMembersAndKeepsTheHandle) {
    KaleidoATL canvas;
    canvas.SetBoardSize(4, 4);
    const std::int32_t b = Solid(canvas, 2, 2, kRed);
    const std::int32_t g = canvas.CreateGroup();
    canvas.SetSpriteLevel(g, 8);
    const std::int32_t outsider = canvas.CreateSprite(Solid(canvas, 1, 1, kGreen));
    for (int i = 0; i < 3; ++i) {
        canvas.AddToGroup(canvas.CreateSprite(b), g);
    }
    EXPECT_EQ(canvas.SpriteCount(), 4u);

    canvas.DeleteGroup(g);
    EXPECT_EQ(canvas.SpriteCount(), 1u);
    EXPECT_TRUE(canvas.SpriteInfo(outsider).has_value());
    EXPECT_EQ(At(canvas.RenderBoard(), 1, 1), kWhite);

    // The handle takes new members, which still get the group's level and go with it.
    const std::int32_t again = canvas.CreateSprite(b);
    ASSERT_TRUE(canvas.AddToGroup(again, g));
    EXPECT_EQ(canvas.SpriteInfo(again)->level, 8);
    EXPECT_EQ(At(canvas.RenderBoard(), 1, 1), kRed);
    canvas.DeleteGroup(g);
    EXPECT_FALSE(canvas.SpriteInfo(again).has_value());
}

TEST(KaleidoGroups, ReleasedGroupsDoNotAccumulate) {
    // A session makes and drops thousands of wires, each with its group.
    KaleidoATL canvas;
    const std::int32_t b = Solid(canvas, 32, 32, kRed);
    for (int wire = 0; wire < 3000; ++wire) {
        const std::int32_t g = canvas.CreateGroup();
        for (int i = 0; i < 3; ++i) {
            canvas.AddToGroup(canvas.CreateSprite(b), g);
        }
        if (wire % 2 == 0) {
            canvas.DeleteSprite(g);
        } else {
            canvas.DestroyGroup(g);
        }
        EXPECT_FALSE(canvas.GroupInfo(g).has_value());
    }
    EXPECT_EQ(canvas.GroupCount(), 0u);
    EXPECT_EQ(canvas.SpriteCount(), 0u);
}

TEST(KaleidoGroups, AttachedSpriteFollowsParentPlaceAndHiddenState) {
    KaleidoATL canvas;
    canvas.SetBoardSize(20, 20);
    const std::int32_t dial = canvas.CreateSprite(Solid(canvas, 8, 4, kBlue));
    const std::int32_t pointer = canvas.CreateSprite(Solid(canvas, 1, 1, kRed));
    ASSERT_TRUE(canvas.AddToGroup(pointer, dial));
    canvas.MoveSprite(pointer, 3, 2); // relative to the dial
    canvas.MoveSprite(dial, 10, 5);

    EXPECT_EQ(canvas.SpriteInfo(pointer)->x, 3);
    EXPECT_EQ(canvas.SpriteInfo(pointer)->parent, dial);
    EXPECT_EQ(canvas.GetSpriteX(pointer), 13);
    EXPECT_EQ(canvas.GetSpriteY(pointer), 7);
    EXPECT_EQ(At(canvas.RenderBoard(), 13, 7), kRed);

    canvas.SetSpriteState(dial, 3);
    EXPECT_EQ(canvas.GetSpriteState(pointer), 0) << "its own state stays as set";
    EXPECT_EQ(At(canvas.RenderBoard(), 13, 7), kWhite);
    canvas.SetSpriteState(dial, 0);
    EXPECT_EQ(At(canvas.RenderBoard(), 13, 7), kRed);

    canvas.DeleteSprite(dial);
    EXPECT_FALSE(canvas.SpriteInfo(pointer).has_value());
}

TEST(KaleidoGroups, AttachmentsThatWouldLoopAreRefused) {
    KaleidoATL canvas;
    const std::int32_t b = canvas.CreateBitmap(1, 1);
    const std::int32_t a = canvas.CreateSprite(b);
    const std::int32_t c = canvas.CreateSprite(b);
    const std::int32_t d = canvas.CreateSprite(b);
    EXPECT_TRUE(canvas.AddToGroup(c, a));
    EXPECT_TRUE(canvas.AddToGroup(d, c));
    EXPECT_FALSE(canvas.AddToGroup(a, d));
    EXPECT_FALSE(canvas.AddToGroup(a, a));
    EXPECT_EQ(canvas.SpriteInfo(a)->parent, 0);
    canvas.MoveSprite(a, 4, 0);
    EXPECT_EQ(canvas.GetSpriteX(d), 4);
    canvas.DeleteSprite(a);
    EXPECT_EQ(canvas.SpriteCount(), 0u);
}

TEST(KaleidoBoard, SizeIsTheSpritesExtentUntilSet) {
    KaleidoATL canvas;
    EXPECT_TRUE(canvas.BoardSize().isEmpty());
    const std::int32_t s = canvas.CreateSprite(Solid(canvas, 10, 5, kRed));
    canvas.MoveSprite(s, 20, 30);
    EXPECT_EQ(canvas.BoardSize(), QSize(30, 35));
    canvas.SetBoardSize(420, 360);
    EXPECT_EQ(canvas.BoardSize(), QSize(420, 360));
    EXPECT_EQ(canvas.RenderBoard().size(), QSize(420, 360));
}

} // namespace
