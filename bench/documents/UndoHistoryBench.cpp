// The cost of one undo snapshot and of one restore for a board with 60 wires, the work
// behind every click that changes the board and behind every undo and redo.

#include "app/documents/BoardDocument.h"
#include "app/documents/UndoHistory.h"

#include <benchmark/benchmark.h>

namespace {

BoardDocument WiredBoard(int wires) {
    static const char* const sockets[] = {
        "Sensor 1 Uit Geel",
        "EN-poort Ingang 1",
        "Drukknop 1 Uit Geel",
        "EN-poort Ingang 2",
        "EN-poort Uit",
        "LED 1 Ingang",
        "Puls Generator Uit Geel",
        "Pulsenteller Tel pulsen (In)",
        "Relais Uitgang 2 (in/uit)",
        "Zoemer",
        "Comparator In",
        "Comparator Uit",
        "OF-poort Ingang 1",
        "OF-poort Uit",
        "Invertor Ingang",
        "Invertor Uitgang",
        "Geheugen Set (In)",
        "Geheugen Uit",
        "AD-omzetter In",
        "AD-omzetter Uitgang 8",
        "Pulsenteller Uitgang 4",
        "Relais Controle (In)",
        "Var. Spanning Uit Geel",
        "Transistor In",
        "Transistor Uit",
        "LED 4 Ingang",
    };
    constexpr int count = static_cast<int>(std::size(sockets));
    BoardDocument board;
    board.displayValue = 5;
    board.sensor1 = 1;
    board.comparator = 25;
    for (int i = 0; i < wires; ++i) {
        board.wires.push_back({sockets[i % count], sockets[(i * 7 + 3) % count]});
    }
    return board;
}

// Recording: a new memory stream, the whole board written into it, the oldest state dropped.
void BM_UndoAddThisState(benchmark::State& state) {
    const BoardDocument board = WiredBoard(static_cast<int>(state.range(0)));
    UndoHistory history;
    for (auto _ : state) {
        history.Reset();
        history.AddThisState([&](KistWriter& w) { board.WriteTo(w); });
        benchmark::DoNotOptimize(history.Index());
    }
}
BENCHMARK(BM_UndoAddThisState)->Arg(60)->Unit(benchmark::kMicrosecond);

// Restoring: one undo and one redo per iteration, each reading a whole snapshot back.
void BM_UndoRestore(benchmark::State& state) {
    BoardDocument board = WiredBoard(static_cast<int>(state.range(0)));
    UndoHistory history;
    history.AddThisState([&](KistWriter& w) { board.WriteTo(w); });
    board.wires.pop_back();
    history.AddThisState([&](KistWriter& w) { board.WriteTo(w); });
    const auto read = [&](KistReader& r) { board = BoardDocument::ReadFrom(r); };
    for (auto _ : state) {
        history.Undo(read);
        history.Redo(read);
        benchmark::DoNotOptimize(board.wires.data());
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_UndoRestore)->Arg(60)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
