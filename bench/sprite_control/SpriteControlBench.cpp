// Repainting a full board of wire sprites, a tick's worth of wire redrawing, and filling a
// bitmap through the canvas's dispatch interface.

#include "platform/com/ComPtr.h"
#include "sprite_control/KaleidoATL.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

constexpr int kBoardW = 420;
constexpr int kBoardH = 360;

/// A 420 x 360 board picture and 300 masked 32 x 32 sprites cut from a 32-frame strip, as
/// wires are drawn.
struct Board {
    KaleidoATL canvas;
    std::int32_t strip = 0;
    std::int32_t mask = 0;

    Board() {
        canvas.SetBoardSize(kBoardW, kBoardH);
        const std::int32_t picture = canvas.CreateBitmap(kBoardW, kBoardH);
        for (int y = 0; y < kBoardH; ++y) {
            for (int x = 0; x < kBoardW; ++x) {
                canvas.SetPixelBitmap(picture, x, y, (x * 7 + y * 3) & 0xFFFFFF);
            }
        }
        canvas.CreateSprite(picture);
        strip = canvas.CreateBitmap(32 * 32, 32);
        mask = canvas.CreateBitmap(32 * 32, 32);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32 * 32; ++x) {
                canvas.SetPixelBitmap(strip, x, y, 0x00C0FF);
                const int dy = y - 16;
                canvas.SetPixelBitmap(mask, x, y, dy * dy < 16 ? 0 : 0xFFFFFF);
            }
        }
        for (int i = 0; i < 300; ++i) {
            AddWireSprite(canvas.CreateGroup(), (i * 37) % (kBoardW - 32),
                          (i * 53) % (kBoardH - 32), i % 32);
        }
        canvas.Refresh();
    }

    void AddWireSprite(std::int32_t group, int x, int y, int frame) {
        const std::int32_t s = canvas.CreateMaskedSprite(strip, mask);
        canvas.MoveSprite(s, x, y);
        canvas.AddToGroup(s, group);
        canvas.SetSpriteFrameSize(s, 32, 32);
        canvas.SetSpriteFrameOffset(s, 32 * frame, 0);
        canvas.SetSpriteLevel(s, 8);
    }
};

void BM_RenderFullBoard(benchmark::State& state) {
    Board board;
    const qreal scale = state.range(0) / 10.0;
    for (auto _ : state) {
        QImage image = board.canvas.RenderBoard(scale);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel("scale " + std::to_string(scale).substr(0, 3));
}
BENCHMARK(BM_RenderFullBoard)->Arg(10)->Arg(20)->Arg(25)->Unit(benchmark::kMillisecond);

/// A full repaint of the widget on screen at 2 and 2.5 times the board.
void BM_WidgetFullRepaint(benchmark::State& state) {
    Board board;
    const qreal scale = state.range(0) / 10.0;
    board.canvas.resize(int(kBoardW * scale), int(kBoardH * scale));
    board.canvas.show();
    QApplication::processEvents();
    for (auto _ : state) {
        board.canvas.repaint();
    }
}
BENCHMARK(BM_WidgetFullRepaint)->Arg(20)->Arg(25)->Unit(benchmark::kMillisecond);

/// One tick with a wire following the pointer: its 30 sprites dropped and made anew, then
/// the changed area repainted at 2.5 times the board.
void BM_TickRedrawingOneWire(benchmark::State& state) {
    Board board;
    board.canvas.resize(int(kBoardW * 2.5), int(kBoardH * 2.5));
    board.canvas.show();
    QApplication::processEvents();
    const std::int32_t wire = board.canvas.CreateGroup();
    board.canvas.SetSpriteLevel(wire, 8);
    int tick = 0;
    for (auto _ : state) {
        board.canvas.DeleteGroup(wire);
        for (int i = 0; i < 30; ++i) {
            board.AddWireSprite(wire, 40 + i * 10, 100 + (tick % 20), 3);
        }
        board.canvas.Refresh();
        QApplication::processEvents();
        ++tick;
    }
}
BENCHMARK(BM_TickRedrawingOneWire)->Unit(benchmark::kMicrosecond);

/// 1000 pixels set by name, as the bitmap loader does.
void BM_SetPixelBitmapByName(benchmark::State& state) {
    KaleidoATL canvas;
    const std::int32_t bitmap = canvas.CreateBitmap(100, 10);
    ComPtr<IDispatch> object = canvas.Object();
    const char* name = "SetPixelBitmap";
    DISPID id = DISPID_UNKNOWN;
    object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            VARIANT args[4] = {VARIANT::I4(i), VARIANT::I4(i / 100), VARIANT::I4(i % 100),
                               VARIANT::I4(bitmap)}; // reversed: colour, y, x, bitmap
            DISPPARAMS params{args, nullptr, 4, 0};
            const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                              &params, nullptr, nullptr, nullptr);
            benchmark::DoNotOptimize(hr);
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_SetPixelBitmapByName)->Unit(benchmark::kMicrosecond);

} // namespace
