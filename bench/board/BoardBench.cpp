// What the main window costs: one whole simulation tick (step, recolouring, repaint) on a
// board with 40 wires, the start-up from an empty window to the painted board, and recording
// and restoring an undo state of a board with 60 wires.

#include "app/board/FORM1.h"
#include "app/components/clsBordLines.h"
#include "app/components/clsLED.h"
#include "app/simulation/clsSnaps.h"
#include "bench/support/BoardSockets.h"
#include "platform/ui/ClockSource.h"
#include "platform/ui/PointerSource.h"
#include "platform/ui/ScriptedPrompter.h"
#include "platform/ui/SoundPlayer.h"
#include "sprite_control/KaleidoATL.h"
#include "tests/support/OwnRegistry.h"

#include <QApplication>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>
#include <vector>

namespace {

ManualClock g_clock;
ManualPointer g_pointer;
RecordingSoundPlayer g_sound;
ScriptedPrompter g_prompter;

/// Draws a wire as the pointer does: first end, colour 8, then the second end.
void DrawWire(FORM1& form, const std::string& a, const std::string& b) {
    clsSnaps& snaps = form.Snaps();
    auto line = form.BordLines()->CreateLine();
    line->SetCoords(1, snaps.GetXbyName(a), snaps.GetYbyName(a));
    line->SetColor(8);
    line->naam1 = a;
    line->SetCoords(2, snaps.GetXbyName(b), snaps.GetYbyName(b));
    line->naam2 = b;
    form.AppendWire(line);
}

/// A started window, `scale` board pixels per screen pixel, with 40 wires from the outputs
/// (the pulse generator's among them) to the inputs; the timer stopped so that only the
/// benchmark ticks.
std::unique_ptr<FORM1> WiredBoard(int scale) {
    auto form = std::make_unique<FORM1>();
    if (!form->Form_Load()) {
        return nullptr;
    }
    form->Timer1()->stop();
    const int menu = form->height() - form->Kaleido1()->height();
    form->resize(420 * scale, 360 * scale + menu);
    QCoreApplication::processEvents();

    const std::vector<std::string> outputs = ConnectableSockets(form->Snaps(), 2);
    const std::vector<std::string> inputs = ConnectableSockets(form->Snaps(), 1);
    // The pulse generator feeds one wire in four, so that those recolour when it toggles.
    const std::string pulse = "Puls Generator Uit Geel";
    for (std::size_t i = 0; form->Lines().size() < 40; ++i) {
        const std::string& a = i % 4 == 0 ? pulse : outputs[(i * 5) % outputs.size()];
        const std::string& b = inputs[(i * 7) % inputs.size()];
        if (!form->WireExists(a, b)) {
            DrawWire(*form, a, b);
        }
    }
    g_pointer.widgetUnder = form->Kaleido1();
    form->Timer1_Timer();
    QCoreApplication::processEvents();
    return form;
}

/// A tick in which nothing changes: the step runs, nothing is redrawn or repainted.
void BM_TickIdle(benchmark::State& state) {
    auto form = WiredBoard(static_cast<int>(state.range(0)));
    if (!form) {
        state.SkipWithError("start-up failed");
        return;
    }
    g_clock.seconds = 1000.0F;
    for (auto _ : state) {
        form->Timer1_Timer();
        QCoreApplication::processEvents();
    }
    state.counters["wires"] = static_cast<double>(form->Lines().size());
}
BENCHMARK(BM_TickIdle)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

/// A tick in which the pulse generator toggles: ten wires recolour (every sprite made anew)
/// and the changed areas are repainted.
void BM_TickRecolour(benchmark::State& state) {
    auto form = WiredBoard(static_cast<int>(state.range(0)));
    if (!form) {
        state.SkipWithError("start-up failed");
        return;
    }
    form->SetPulseGeneratorSetting(50);
    float t = 2000.0F;
    for (auto _ : state) {
        t += 0.05F;
        g_clock.seconds = t;
        form->Timer1_Timer();
        QCoreApplication::processEvents();
    }
    state.counters["wires"] = static_cast<double>(form->Lines().size());
}
BENCHMARK(BM_TickRecolour)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

/// From an empty window to the board shown and painted: splash, every picture through the
/// loader component, every board object, the first paint.
void BM_StartUp(benchmark::State& state) {
    for (auto _ : state) {
        auto form = std::make_unique<FORM1>();
        if (!form->Form_Load()) {
            state.SkipWithError("start-up failed");
            return;
        }
        form->Timer1()->stop();
        form->Kaleido1()->repaint();
        state.PauseTiming();
        form.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

/// A started window with `count` distinct wires from outputs to inputs, spread over the
/// board; the timer stopped and the history begun afresh with these wires.
std::unique_ptr<FORM1> BoardWithWires(std::size_t count) {
    auto form = std::make_unique<FORM1>();
    if (!form->Form_Load()) {
        return nullptr;
    }
    form->Timer1()->stop();
    const std::vector<std::string> outputs = ConnectableSockets(form->Snaps(), 2);
    const std::vector<std::string> inputs = ConnectableSockets(form->Snaps(), 1);
    for (std::size_t i = 0; i < outputs.size() * inputs.size() && form->Lines().size() < count;
         ++i) {
        const std::string& a = outputs[i % outputs.size()];
        const std::string& b = inputs[(i / outputs.size() + i * 3) % inputs.size()];
        if (!form->WireExists(a, b)) {
            DrawWire(*form, a, b);
        }
    }
    if (form->Lines().size() < count) {
        return nullptr;
    }
    form->StartNewHistory();
    form->Kaleido1()->Refresh();
    QCoreApplication::processEvents();
    return form;
}

/// Recording one undo state: the board gathered and written into a new memory stream.
void BM_UndoRecord(benchmark::State& state) {
    auto form = BoardWithWires(std::size_t(state.range(0)));
    if (!form) {
        state.SkipWithError("no board with that many wires");
        return;
    }
    for (auto _ : state) {
        form->Undo_AddThisState();
        if (form->History().Count() >= 100) {
            state.PauseTiming();
            form->StartNewHistory();
            state.ResumeTiming();
        }
    }
    state.counters["wires"] = static_cast<double>(form->Lines().size());
}
BENCHMARK(BM_UndoRecord)->Arg(60)->Unit(benchmark::kMicrosecond);

/// Restoring an undo state: one undo or one redo per iteration, each reading the snapshot and
/// rebuilding every wire with its sprites; with repaint (arg 1) the canvas also repaints what
/// changed, as the next tick would.
void BM_UndoRestore(benchmark::State& state) {
    auto form = BoardWithWires(std::size_t(state.range(0)));
    if (!form) {
        state.SkipWithError("no board with that many wires");
        return;
    }
    form->Model().SetPushButton(0, true);
    form->Undo_AddThisState();
    const bool repaint = state.range(1) != 0;
    bool undo = true;
    for (auto _ : state) {
        if (undo) {
            form->mnuUndo_Click();
        } else {
            form->mnuRedo_Click();
        }
        undo = !undo;
        if (repaint) {
            form->Kaleido1()->Refresh();
            QCoreApplication::processEvents();
        }
    }
    if (!g_prompter.messages.empty()) {
        state.SkipWithError(g_prompter.messages.back().text.c_str());
    }
    state.counters["wires"] = static_cast<double>(form->Lines().size());
    state.counters["sprites"] = static_cast<double>(form->Kaleido1()->SpriteCount());
}
BENCHMARK(BM_UndoRestore)
    ->Args({60, 0})
    ->Args({60, 1})
    ->ArgNames({"wires", "repaint"})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    UseOwnRegistryUnlessSet();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ClockSource::Install(&g_clock);
    PointerSource::Install(&g_pointer);
    SoundPlayer::Install(&g_sound);
    Prompter::Install(&g_prompter);
    // No benchmark registers the document type in the user's desktop folders.
    FORM1::InstallDocumentTypeRegistrar([](const std::string&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FORM1::InstallDocumentTypeRegistrar({});
    Prompter::Install(nullptr);
    SoundPlayer::Install(nullptr);
    PointerSource::Install(nullptr);
    ClockSource::Install(nullptr);
    return 0;
}
