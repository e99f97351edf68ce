// The canvas as a widget: pointer events and hit testing in board pixels at a scale other
// than 1, repainting only what changed, and calls by name through its dispatch interface.

#include "platform/com/ComPtr.h"
#include "sprite_control/KaleidoATL.h"
#include "sprite_control/KaleidoDispatch.h"
#include "tests/sprite_control/CanvasTestSupport.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace canvas_test;

namespace {

struct Event {
    char kind; // 'D'own, 'U'p, 'M'ove
    int sprite, button, x, y;
    friend bool operator==(const Event&, const Event&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Event& e) {
        return os << e.kind << "(" << e.sprite << ", " << e.button << ", " << e.x << ", " << e.y
                  << ")";
    }
};

/// A 40 x 20 board in a 110 x 50 widget: scale 2.5, a margin of 5 pixels left and right.
class CanvasWidget : public testing::Test {
protected:
    void SetUp() override {
        canvas.SetBoardSize(40, 20);
        canvas.resize(110, 50);
        canvas.CreateSprite(Solid(canvas, 40, 20, Colour(200, 200, 200))); // the board
        dial = canvas.CreateSprite(Solid(canvas, 10, 4, kBlue));
        canvas.MoveSprite(dial, 12, 6);
        canvas.SetSpriteMode(dial, 1);
        QObject::connect(&canvas, &KaleidoATL::PointerDown, [this](int s, int b, int x, int y) {
            events.push_back({'D', s, b, x, y});
        });
        QObject::connect(&canvas, &KaleidoATL::PointerUp, [this](int s, int b, int x, int y) {
            events.push_back({'U', s, b, x, y});
        });
        QObject::connect(&canvas, &KaleidoATL::PointerMove, [this](int s, int x, int y) {
            events.push_back({'M', s, 0, x, y});
        });
    }

    /// Widget position of a board point.
    static QPointF W(qreal bx, qreal by) { return QPointF(5 + 2.5 * bx, 2.5 * by); }

    void Mouse(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, canvas.mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&canvas, &event);
    }
    void Press(QPointF at, Qt::MouseButton b = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonPress, at, b, b);
    }
    void Release(QPointF at, Qt::MouseButton b = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonRelease, at, b, Qt::NoButton);
    }
    void Move(QPointF at, Qt::MouseButtons held = Qt::NoButton) {
        Mouse(QEvent::MouseMove, at, Qt::NoButton, held);
    }

    KaleidoATL canvas;
    std::int32_t dial = 0;
    std::vector<Event> events;
};

TEST_F(CanvasWidget, PressReportsBoardPixelsAndTheReportedSpriteUnderThePointer) {
    const std::int32_t quiet = canvas.CreateSprite(Solid(canvas, 4, 4, kGreen)); // mode 4
    canvas.SetSpriteMode(quiet, 4);
    const std::int32_t mask = Solid(canvas, 4, 4, kWhite);
    Fill(canvas, mask, QRect(0, 0, 2, 4), kBlack);
    const std::int32_t masked = canvas.CreateMaskedSprite(Solid(canvas, 4, 4, kRed), mask);
    canvas.MoveSprite(masked, 30, 10);
    canvas.SetSpriteMode(masked, 1);
    const std::int32_t hidden = canvas.CreateSprite(Solid(canvas, 2, 2, kRed));
    canvas.MoveSprite(hidden, 0, 16);
    canvas.SetSpriteMode(hidden, 1);
    canvas.SetSpriteState(hidden, 1);

    struct Row {
        const char* what;
        QPointF at; // widget pixels
        Event expect;
    };
    const Row rows[] = {
        {"dial's top-left pixel", W(12.04, 6.04), {'D', dial, 1, 12, 6}},
        {"just left of the dial", W(11.96, 6.04), {'D', 0, 1, 11, 6}},
        {"dial's bottom-right pixel", W(21.9, 9.9), {'D', dial, 1, 21, 9}},
        {"just right of the dial", W(22.0, 7.0), {'D', 0, 1, 22, 7}},
        {"mode-4 sprite", W(1, 1), {'D', 0, 1, 1, 1}},
        {"left margin, outside the board", QPointF(2, 10), {'D', 0, 1, -2, 4}},
        {"opaque half of a masked sprite", W(31.5, 11), {'D', masked, 1, 31, 11}},
        {"transparent half of a masked sprite", W(33.5, 11), {'D', 0, 1, 33, 11}},
        {"hidden sprite", W(1, 17), {'D', 0, 1, 1, 17}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        events.clear();
        Press(r.at);
        Release(r.at);
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[0], r.expect);
        Event up = r.expect;
        up.kind = 'U';
        EXPECT_EQ(events[1], up);
    }

    events.clear();
    Press(W(13, 7), Qt::RightButton);
    EXPECT_EQ(events.at(0), (Event{'D', dial, 2, 13, 7}));
}

TEST_F(CanvasWidget, MoveReportsZeroWhilePressThatBeganOnASpriteIsHeld) {
    Move(W(13, 7));
    Press(W(13, 7));
    Move(W(14, 7), Qt::LeftButton);
    Move(W(30, 15), Qt::LeftButton);
    Release(W(15, 7));
    Move(W(15, 7));
    Press(W(2, 2));
    Move(W(16, 7), Qt::LeftButton); // a press that began beside the sprite
    Release(W(16, 7));
    const std::vector<Event> expect = {
        {'M', dial, 0, 13, 7}, {'D', dial, 1, 13, 7}, {'M', 0, 0, 14, 7},
        {'M', 0, 0, 30, 15},   {'U', dial, 1, 15, 7}, {'M', dial, 0, 15, 7},
        {'D', 0, 1, 2, 2},     {'M', dial, 0, 16, 7}, {'U', dial, 1, 16, 7},
    };
    EXPECT_EQ(events, expect);
}

TEST_F(CanvasWidget, GroupAreaOnASpriteClaimsThePointer) {
    // A close box in the dial's top-right corner.
    const std::int32_t box = canvas.CreateGroup();
    ASSERT_TRUE(canvas.AddToGroup(box, dial));
    canvas.MoveSprite(box, 8, 0);
    canvas.SetSpriteFrameSize(box, 2, 2);
    EXPECT_EQ(canvas.GetSpriteX(box), 20);

    Press(W(20.5, 6.5));
    EXPECT_EQ(events.back().sprite, 0);
    EXPECT_TRUE(canvas.IsPointerOver(box));
    EXPECT_TRUE(canvas.IsPointerOver(dial));
    Release(W(20.5, 6.5));

    Press(W(13, 8));
    EXPECT_EQ(events.back().sprite, dial);
    EXPECT_FALSE(canvas.IsPointerOver(box));
    Release(W(13, 8));

    canvas.SetSpriteState(dial, 3);
    Move(W(20.5, 6.5));
    EXPECT_FALSE(canvas.IsPointerOver(box)) << "hidden with the dial";
    EXPECT_FALSE(canvas.IsPointerOver(dial));

    canvas.SetSpriteState(dial, 0);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&canvas, &leave);
    EXPECT_FALSE(canvas.IsPointerOver(dial)) << "the pointer left the canvas";

    canvas.DeleteSprite(dial);
    EXPECT_FALSE(canvas.GroupInfo(box).has_value()) << "went with the dial";
}

TEST_F(CanvasWidget, GroupIsOverItsMembers) {
    const std::int32_t wire = canvas.CreateGroup();
    const std::int32_t piece = canvas.CreateSprite(Solid(canvas, 4, 4, kRed));
    canvas.MoveSprite(piece, 30, 0);
    canvas.AddToGroup(piece, wire);
    Move(W(31, 1));
    EXPECT_TRUE(canvas.IsPointerOver(wire));
    Move(W(35, 1));
    EXPECT_FALSE(canvas.IsPointerOver(wire));
}

TEST_F(CanvasWidget, BoardPointsFromWidgetAndScreen) {
    EXPECT_DOUBLE_EQ(canvas.Scale(), 2.5);
    EXPECT_EQ(canvas.BoardPointFromWidget(QPointF(30, 20)), QPointF(10, 8));
    EXPECT_EQ(canvas.BoardPointFromGlobal(canvas.mapToGlobal(QPoint(30, 20))), QPointF(10, 8));
    EXPECT_EQ(canvas.BoardPointFromWidget(QPointF(0, 0)), QPointF(-2, 0));
    EXPECT_EQ(canvas.WidgetPointFromBoard(QPointF(40, 20)), QPointF(105, 50));
}

/// The colour on screen at a widget position, whatever the device pixel ratio.
std::int32_t OnScreen(const QImage& shot, QPointF at) {
    const QPointF device = at * shot.devicePixelRatio();
    return At(shot, int(device.x()), int(device.y()));
}

TEST_F(CanvasWidget, PaintsTheBoardCentredAndScaled) {
    struct Row {
        QSize widget;
        qreal scale;
        qreal margin; // left and right
    };
    // Scaled from a buffer, and drawn straight into the window at its own scale.
    for (const Row& row : {Row{{110, 50}, 2.5, 5}, Row{{50, 20}, 1, 5}}) {
        SCOPED_TRACE(row.scale);
        canvas.resize(row.widget);
        const QImage shot = canvas.grab().toImage();
        ASSERT_EQ(shot.deviceIndependentSize(), QSizeF(row.widget));
        const qreal middle = row.widget.height() / 2.0;
        EXPECT_EQ(OnScreen(shot, {2, middle}), Colour(0x6E, 0x73, 0x78)) << "margin";
        EXPECT_EQ(OnScreen(shot, {row.widget.width() - 2.0, middle}), Colour(0x6E, 0x73, 0x78))
            << "margin";
        EXPECT_EQ(OnScreen(shot, {row.margin + 3, 3}), Colour(200, 200, 200)) << "board";
        EXPECT_EQ(OnScreen(shot, {row.margin + row.scale * 16, row.scale * 7.5}), kBlue);
        // The dial's right edge (board x 22) lies where the scale puts it.
        EXPECT_EQ(OnScreen(shot, {row.margin + row.scale * 21.5, row.scale * 7.5}), kBlue);
        EXPECT_EQ(OnScreen(shot, {row.margin + row.scale * 22.5, row.scale * 7.5}),
                  Colour(200, 200, 200));
    }

    // A board whose right edge falls inside a window pixel, tall enough to be drawn in several
    // pieces: that pixel is the same from top to bottom.
    canvas.SetBoardSize(40, 30);
    canvas.resize(300, 200); // scale 20 / 3: the board spans x 17 to 283.67
    const QImage shot = canvas.grab().toImage();
    const QRgb edge = shot.pixel(283, 0);
    for (int y = 1; y < 200; ++y) {
        ASSERT_EQ(shot.pixel(283, y), edge) << "row " << y;
    }
}

/// Records the region of every paint event the canvas receives.
class PaintSpy : public QObject {
public:
    std::vector<QRegion> regions;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            regions.push_back(static_cast<QPaintEvent*>(event)->region());
        }
        return false;
    }
};

TEST_F(CanvasWidget, RepaintsOnlyWhatChangedAndOnlyAfterRefresh) {
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    canvas.Refresh();
    QCoreApplication::processEvents();
    PaintSpy spy;
    canvas.installEventFilter(&spy);

    canvas.Refresh();
    QCoreApplication::processEvents();
    EXPECT_TRUE(spy.regions.empty()) << "an idle board paints nothing";

    canvas.MoveSprite(dial, 24, 6);
    QCoreApplication::processEvents();
    EXPECT_TRUE(spy.regions.empty()) << "no paint before Refresh";

    canvas.Refresh();
    QCoreApplication::processEvents();
    ASSERT_EQ(spy.regions.size(), 1u);
    // Old place x 12..22, new x 24..34, y 6..10 in board pixels; with 2.5 and a bleed of
    // a few pixels in the widget.
    const QRect painted = spy.regions[0].boundingRect();
    EXPECT_TRUE(QRect(30, 10, 64, 20).contains(painted))
        << painted.x() << "," << painted.y() << " " << painted.width() << "x" << painted.height();
    EXPECT_TRUE(painted.contains(QRect(36, 16, 50, 9)));
    EXPECT_FALSE(spy.regions[0].contains(QPoint(5, 2)));

    // The new place is what the screen shows.
    const QImage shot = canvas.grab().toImage();
    EXPECT_EQ(OnScreen(shot, W(30, 8)), kBlue);
    EXPECT_EQ(OnScreen(shot, W(15, 8)), Colour(200, 200, 200));
    canvas.removeEventFilter(&spy);
}

TEST(KaleidoSharper, AtScale3TheCanvasDrawsFromThe3xPicturesLoadedAfterTheFirstPaint) {
    // A 4 x 2 red picture whose 3x version has a blue dot the 1x one cannot show; its 2x
    // version is green. The mask is black everywhere, at every size.
    KaleidoATL canvas;
    canvas.SetBoardSize(4, 2);
    const std::int32_t picture = Solid(canvas, 4, 2, kRed);
    const std::int32_t mask = Solid(canvas, 4, 2, kBlack);
    std::vector<int> asked;
    canvas.SetSharperSource(picture, [&](int factor) {
        asked.push_back(factor);
        const std::int32_t b = Solid(canvas, 4 * factor, 2 * factor, factor == 3 ? kRed : kGreen);
        canvas.SetPixelBitmap(b, 4, 1, kBlue);
        return b;
    });
    canvas.SetSharperSource(
        mask, [&](int factor) { return Solid(canvas, 4 * factor, 2 * factor, kBlack); });
    canvas.CreateMaskedSprite(picture, mask);

    // At scale 1 nothing sharper is needed or loaded.
    canvas.resize(4, 2);
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    QCoreApplication::processEvents();
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(canvas.PictureFactor(), 1);

    // At scale 3 the first paint still shows the 1x picture; the 3x one follows.
    canvas.resize(12, 6);
    const QImage first = canvas.grab().toImage();
    EXPECT_EQ(OnScreen(first, {4.5, 1.5}), kRed);
    EXPECT_TRUE(asked.empty());
    for (int i = 0; i < 100 && asked.empty(); ++i) {
        QTest::qWait(10);
    }
    EXPECT_EQ(asked, std::vector<int>{3});
    EXPECT_EQ(canvas.PictureFactor(), 3);
    const QImage sharp = canvas.grab().toImage();
    EXPECT_EQ(OnScreen(sharp, {4.5, 1.5}), kBlue);
    EXPECT_EQ(OnScreen(sharp, {5.5, 1.5}), kRed);
    // With a margin of 3 at the sides, the same pictures are drawn where the board now starts.
    canvas.resize(18, 6);
    const QImage wide = canvas.grab().toImage();
    EXPECT_EQ(OnScreen(wide, {1.5, 1.5}), Colour(0x6E, 0x73, 0x78));
    EXPECT_EQ(OnScreen(wide, {3 + 4.5, 1.5}), kBlue);
    EXPECT_EQ(OnScreen(wide, {3 + 5.5, 1.5}), kRed);
    // What the program sees stays in board pixels.
    EXPECT_EQ(canvas.BitmapWidth(picture), 4);
    EXPECT_EQ(canvas.BoardSize(), QSize(4, 2));

    // A rendering at 2 draws from the 2x picture, loaded for it.
    const QImage twice = canvas.RenderBoard(2.0);
    EXPECT_EQ(asked, (std::vector<int>{3, 2}));
    EXPECT_EQ(At(twice, 0, 0), kGreen);
    EXPECT_EQ(At(twice, 4, 1), kBlue);
}

// ---- calls by name ---------------------------------------------------------------------------

HRESULT Call(IDispatch* object, const char* name, std::vector<VARIANT> args,
             VARIANT* result = nullptr) {
    DISPID id = DISPID_UNKNOWN;
    const HRESULT found = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(found)) {
        return found;
    }
    std::vector<VARIANT> reversed(args.rbegin(), args.rend()); // automation order
    DISPPARAMS params;
    params.rgvarg = reversed.data();
    params.cArgs = static_cast<std::uint32_t>(reversed.size());
    std::uint32_t argErr = 0;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result,
                          nullptr, &argErr);
}

TEST(KaleidoObject, CreatesBitmapsAndSetsPixelsByName) {
    KaleidoATL canvas;
    ComPtr<IDispatch> object = canvas.Object();
    ASSERT_TRUE(object);
    VARIANT result;
    ASSERT_EQ(Call(object.Get(), "createbitmap", {VARIANT::I4(3), VARIANT::I4(2)}, &result), S_OK);
    ASSERT_EQ(result.vt(), VT_I4);
    const std::int32_t b = result.lVal();
    EXPECT_EQ(canvas.BitmapWidth(b), 3);
    EXPECT_EQ(canvas.BitmapHeight(b), 2);

    EXPECT_EQ(Call(object.Get(), "SetPixelBitmap",
                   {VARIANT::I4(b), VARIANT::I4(2), VARIANT::I4(1), VARIANT::I4(kRed)}),
              S_OK);
    EXPECT_EQ(canvas.PixelBitmap(b, 2, 1), kRed);
    EXPECT_EQ(canvas.PixelBitmap(b, 1, 2), -1);
    EXPECT_EQ(canvas.PixelBitmap(b, 1, 1), kWhite);

    ComPtr<IUnknown> asOwn;
    EXPECT_EQ(object.As(IID_IKaleidoATL, asOwn), S_OK);
}

TEST(KaleidoObject, RefusedCalls) {
    KaleidoATL canvas;
    ComPtr<IDispatch> object = canvas.Object();
    const std::int32_t b = canvas.CreateBitmap(2, 2);
    struct Row {
        const char* what;
        const char* name;
        std::vector<VARIANT> args;
        HRESULT expect;
    };
    const Row rows[] = {
        {"unknown name", "DrawCircle", {}, DISP_E_UNKNOWNNAME},
        {"too few arguments", "CreateBitmap", {VARIANT::I4(1)}, DISP_E_BADPARAMCOUNT},
        {"too many arguments",
         "SetPixelBitmap",
         {VARIANT::I4(b), VARIANT::I4(0), VARIANT::I4(0), VARIANT::I4(0), VARIANT::I4(0)},
         DISP_E_BADPARAMCOUNT},
        {"text for a number",
         "CreateBitmap",
         {VARIANT::Str("wide"), VARIANT::I4(2)},
         DISP_E_TYPEMISMATCH},
        {"numbers in other types convert",
         "CreateBitmap",
         {VARIANT::Str("3"), VARIANT::R8(2.4)},
         S_OK},
        {"absurd size", "CreateBitmap", {VARIANT::I4(100000), VARIANT::I4(2)}, E_INVALIDARG},
        {"unknown bitmap",
         "SetPixelBitmap",
         {VARIANT::I4(b + 1000), VARIANT::I4(0), VARIANT::I4(0), VARIANT::I4(0)},
         E_INVALIDARG},
        {"pixel outside the bitmap",
         "SetPixelBitmap",
         {VARIANT::I4(b), VARIANT::I4(5), VARIANT::I4(0), VARIANT::I4(0)},
         S_OK},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Call(object.Get(), r.name, r.args), r.expect) << r.what;
    }
}

TEST(KaleidoObject, CallsAfterTheCanvasIsGoneFail) {
    auto canvas = std::make_unique<KaleidoATL>();
    ComPtr<IDispatch> object = canvas->Object();
    canvas.reset();
    VARIANT result;
    EXPECT_EQ(Call(object.Get(), "CreateBitmap", {VARIANT::I4(1), VARIANT::I4(1)}, &result),
              E_UNEXPECTED);
    EXPECT_EQ(Call(object.Get(), "SetPixelBitmap",
                   {VARIANT::I4(1), VARIANT::I4(0), VARIANT::I4(0), VARIANT::I4(0)}),
              E_UNEXPECTED);
}

} // namespace
