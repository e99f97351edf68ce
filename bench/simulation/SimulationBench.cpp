// Cost of one evaluation as the board's timer runs it, on a board with every block in use.

#include "app/simulation/BoardWire.h"
#include "app/simulation/clsGraph.h"
#include "app/simulation/clsGraph2.h"
#include "app/simulation/clsSnaps.h"
#include "tests/support/CountingEvents.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// Each group of joined sockets holds one output at most. Every input and relay contact is
// in use; the last wires close loops and double existing wires, as pupils' boards do.
const std::vector<std::pair<std::string, std::string>> boardWires = {
    {"Sensor 1 Uit Geel", "Transistor In"},
    {"Transistor In", "LED 1 Ingang"},
    {"Sensor 2 Uit Geel", "EN-poort Ingang 1"},
    {"Geluids Sensor Uit Geel", "EN-poort Ingang 2"},
    {"Drukknop 1 Uit Geel", "Geheugen Set (In)"},
    {"Geheugen Set (In)", "Pulsenteller Teller aan/uit (In)"},
    {"Drukknop 2 Uit Geel", "Geheugen Reset (In)"},
    {"Var. Spanning Uit Geel", "Comparator In"},
    {"Comparator In", "AD-omzetter In"},
    {"Puls Generator Uit Geel", "Pulsenteller Tel pulsen (In)"},
    {"Pulsenteller Uitgang 8", "Pulsenteller Reset (In)"},
    {"Transistor Uit", "OF-poort Ingang 1"},
    {"EN-poort Uit", "OF-poort Ingang 2"},
    {"OF-poort Uit", "Invertor Ingang"},
    {"Invertor Uitgang", "Relais Controle (In)"},
    {"Geheugen Uit", "Relais Ingang 1 (in/uit)"},
    {"Comparator Uit", "Relais Uitgang 2 (in/uit)"},
    {"Relais Uitgang 1 (in/uit)", "LED 2 Ingang"},
    {"LED 3 Ingang", "Relais Ingang 2 (in/uit)"},
    {"AD-omzetter Uitgang 1", "LED 4 Ingang"},
    {"AD-omzetter Uitgang 2", "Zoemer"},
    {"Pulsenteller Uitgang 1", "Var. Spanning In Zwart"},
    // Loops.
    {"LED 1 Ingang", "Sensor 1 Uit Geel"},
    {"Pulsenteller Teller aan/uit (In)", "Drukknop 1 Uit Geel"},
    {"AD-omzetter In", "Var. Spanning Uit Geel"},
    // Doubled wires.
    {"Sensor 2 Uit Geel", "EN-poort Ingang 1"},
    {"EN-poort Ingang 2", "Geluids Sensor Uit Geel"},
    {"Drukknop 2 Uit Geel", "Geheugen Reset (In)"},
    {"Puls Generator Uit Geel", "Pulsenteller Tel pulsen (In)"},
    {"Pulsenteller Reset (In)", "Pulsenteller Uitgang 8"},
    {"Transistor Uit", "OF-poort Ingang 1"},
    {"EN-poort Uit", "OF-poort Ingang 2"},
    {"Invertor Ingang", "OF-poort Uit"},
    {"Invertor Uitgang", "Relais Controle (In)"},
    {"Geheugen Uit", "Relais Ingang 1 (in/uit)"},
    {"Relais Uitgang 2 (in/uit)", "Comparator Uit"},
    {"Relais Uitgang 1 (in/uit)", "LED 2 Ingang"},
    {"LED 3 Ingang", "Relais Ingang 2 (in/uit)"},
    {"AD-omzetter Uitgang 1", "LED 4 Ingang"},
    {"Zoemer", "AD-omzetter Uitgang 2"},
    {"Transistor In", "LED 1 Ingang"},
    {"Comparator In", "AD-omzetter In"},
};

BoardWires MakeBoard() {
    BoardWires lines;
    for (const auto& [a, b] : boardWires) {
        lines.push_back({a, b});
    }
    return lines;
}

// One simulation step without drawing: clear the marks, enter the 11 sources, settle.
void Step(clsGraph& g, BoardWires& lines, const CountingEvents& counter, std::int32_t pulse) {
    for (auto& w : lines) {
        w.done = false;
    }
    g.Clear();
    g.comparatorvalue = 25;
    g.AddPunt("Sensor 1 Uit Geel", 3);
    g.AddPunt("Sensor 2 Uit Geel", 50);
    g.AddPunt("Drukknop 1 Uit Geel", 50);
    g.AddPunt("Drukknop 2 Uit Geel", 0);
    g.AddPunt("Var. Spanning Uit Geel", 33);
    g.AddPunt("Geluids Sensor Uit Geel", 50);
    g.AddPunt("Puls Generator Uit Geel", pulse);
    g.AddPunt("Pulsenteller Uitgang 1", (counter.digit & 1) != 0 ? 50 : 0);
    g.AddPunt("Pulsenteller Uitgang 2", (counter.digit & 2) != 0 ? 50 : 0);
    g.AddPunt("Pulsenteller Uitgang 4", (counter.digit & 4) != 0 ? 50 : 0);
    g.AddPunt("Pulsenteller Uitgang 8", (counter.digit & 8) != 0 ? 50 : 0);
    g.Run(lines);
}

void BM_RunFullBoard(benchmark::State& state) {
    BoardWires lines = MakeBoard();
    if (!clsGraph2().Check(lines, clsSnaps()).empty()) {
        state.SkipWithError("the benchmark board joins two outputs");
        return;
    }
    CountingEvents counter;
    clsGraph g;
    g.Constructor(&counter);
    // Every block must have fired, or the board measures less than it claims.
    Step(g, lines, counter, 0);
    for (const char* out :
         {"OF-poort Uit", "EN-poort Uit", "Geheugen Uit", "Invertor Uitgang", "Comparator Uit",
          "Transistor Uit", "Relais Uitgang 1 (in/uit)", "Relais Ingang 2 (in/uit)",
          "Pulsenteller Uitgang Collection", "AD-omzetter Uitgang 1", "LED 4 Ingang"}) {
        if (g.GetPuntValueByName(out, -1) < 0) {
            state.SkipWithError(
                (std::string(out) + " has no value on the benchmark board").c_str());
            return;
        }
    }
    std::int32_t pulse = 0;
    for (auto _ : state) {
        Step(g, lines, counter, pulse);
        benchmark::DoNotOptimize(g.GetPuntValueByName("LED 2 Ingang", 0));
        pulse = 50 - pulse;
    }
    state.counters["wires"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_RunFullBoard);

// The output-conflict check on the same board, as run after each finished wire.
void BM_CheckFullBoard(benchmark::State& state) {
    BoardWires lines = MakeBoard();
    const clsSnaps snaps;
    for (auto _ : state) {
        benchmark::DoNotOptimize(clsGraph2().Check(lines, snaps));
    }
}
BENCHMARK(BM_CheckFullBoard);

} // namespace

BENCHMARK_MAIN();
