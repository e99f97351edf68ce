// What the board components cost: loading the wire strips at start-up, and the redraws that
// the simulation tick and the pointer cause.

#include "app/board/clsCursor.h"
#include "app/components/PictureLoader.h"
#include "app/components/clsBordLines.h"
#include "app/components/clsLED.h"
#include "app/components/clsLine.h"
#include "app/components/clsVoltControl.h"
#include "sprite_control/KaleidoATL.h"

#include <array>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

/// Start-up: nine strips and nine masks of 1024 × 32 through the loader component.
void BM_LineDrawerConstructor(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto canvas = std::make_unique<KaleidoATL>();
        clsBordLines lines;
        state.ResumeTiming();
        lines.Constructor(*canvas);
        state.PauseTiming();
        canvas.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LineDrawerConstructor)->Unit(benchmark::kMillisecond);

/// The board picture, 420 × 360, through LoadABitmap and the canvas's by-name SetPixelBitmap,
/// as start-up loads it; items are pixels.
void BM_LoadBoardPictureIntoCanvas(benchmark::State& state) {
    KaleidoATL canvas;
    PictureLoader loader;
    std::int32_t bitmap = 0;
    for (auto _ : state) {
        bitmap = loader.Load(canvas, "/images2/Bord.bmp");
        benchmark::DoNotOptimize(bitmap);
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t{canvas.BitmapWidth(bitmap)} *
                            canvas.BitmapHeight(bitmap));
}
BENCHMARK(BM_LoadBoardPictureIntoCanvas)->Unit(benchmark::kMillisecond);

/// The evaluator changing a wire's colour: every sprite of the wire is made anew.
void BM_WireRecolour(benchmark::State& state) {
    KaleidoATL canvas;
    clsBordLines lines;
    lines.Constructor(canvas);
    std::shared_ptr<clsLine> w = lines.CreateLine();
    w->SetAll(0, 0, static_cast<std::int32_t>(state.range(0)), 0, 1);
    std::int32_t colour = 1;
    for (auto _ : state) {
        colour = colour == 1 ? 2 : 1;
        w->SetColor(colour);
    }
    state.counters["sprites"] = static_cast<double>(state.range(0) / 10);
}
BENCHMARK(BM_WireRecolour)->Arg(100)->Arg(300)->Unit(benchmark::kMicrosecond);

/// The evaluator writing the colour a wire already has, as it does every tick.
void BM_WireUnchangedColour(benchmark::State& state) {
    KaleidoATL canvas;
    clsBordLines lines;
    lines.Constructor(canvas);
    std::shared_ptr<clsLine> w = lines.CreateLine();
    w->SetAll(0, 0, 300, 0, 1);
    for (auto _ : state) {
        w->SetColor(1);
        benchmark::DoNotOptimize(w->Color());
    }
}
BENCHMARK(BM_WireUnchangedColour);

/// The pending wire's loose end following the pointer, once per tick.
void BM_PendingWireFollowsPointer(benchmark::State& state) {
    KaleidoATL canvas;
    clsBordLines lines;
    lines.Constructor(canvas);
    std::shared_ptr<clsLine> w = lines.CreateLine();
    w->SetCoords(1, 98, 50);
    std::int32_t x = 300;
    for (auto _ : state) {
        x = x == 300 ? 301 : 300;
        w->SetCoords(2, x, 200);
    }
}
BENCHMARK(BM_PendingWireFollowsPointer)->Unit(benchmark::kMicrosecond);

/// The tick writing all four LEDs, lit.
void BM_FourLitLedsPerTick(benchmark::State& state) {
    KaleidoATL canvas;
    std::array<clsLED, 4> leds;
    for (std::size_t i = 0; i < leds.size(); ++i) {
        leds[i].Constructor(canvas, 373, 27 + 34 * static_cast<std::int32_t>(i));
    }
    for (auto _ : state) {
        for (clsLED& led : leds) {
            led.SetValue(true);
        }
    }
}
BENCHMARK(BM_FourLitLedsPerTick)->Unit(benchmark::kMicrosecond);

/// One pointer move while dragging the knob.
void BM_KnobValue(benchmark::State& state) {
    KaleidoATL canvas;
    clsVoltControl knob;
    knob.Constructor(canvas);
    knob.Move(90, 236);
    double v = 0;
    for (auto _ : state) {
        v = v == 10 ? 20 : 10;
        knob.SetValue(v);
    }
}
BENCHMARK(BM_KnobValue)->Unit(benchmark::kMicrosecond);

/// The tick showing the highlight where it already is.
void BM_CursorUnchanged(benchmark::State& state) {
    KaleidoATL canvas;
    clsCursor cursor;
    cursor.Constructor(canvas);
    cursor.ShowPoint(44, 49);
    for (auto _ : state) {
        cursor.ShowPoint(44, 49);
    }
}
BENCHMARK(BM_CursorUnchanged);

} // namespace
