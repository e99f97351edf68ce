#include "app/simulation/clsGraph.h"

#include "app/simulation/BoardWire.h"
#include "tests/support/CountingEvents.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

// Value read for a socket that has no entry; no socket value is ever negative.
constexpr int Unknown = -1;

constexpr const char* VarOut = "Var. Spanning Uit Geel";
constexpr const char* Knop1 = "Drukknop 1 Uit Geel";
constexpr const char* Knop2 = "Drukknop 2 Uit Geel";
constexpr const char* Pulse = "Puls Generator Uit Geel";

using Pairs = std::vector<std::pair<std::string, std::string>>;
using Sources = std::vector<std::pair<std::string, int>>;
using Expected = std::vector<std::pair<std::string, int>>;

BoardWires MakeWires(const Pairs& pairs) {
    BoardWires lines;
    for (const auto& [a, b] : pairs) {
        lines.push_back({a, b});
    }
    return lines;
}

// One simulation step as the board's timer runs it, with the given sources.
void Step(clsGraph& g, BoardWires& lines, const Sources& sources) {
    for (auto& w : lines) {
        w.done = false;
    }
    g.Clear();
    for (const auto& [naam, v] : sources) {
        g.AddPunt(naam, v);
    }
    EXPECT_FALSE(g.Run(lines));
}

void Step(clsGraph& g, BoardWires&& lines, const Sources& sources) {
    Step(g, lines, sources);
}

void ExpectValues(const clsGraph& g, const Expected& expected) {
    for (const auto& [naam, v] : expected) {
        EXPECT_EQ(g.GetPuntValueByName(naam, Unknown), v) << naam;
    }
}

TEST(clsGraph, EmptyBoardGivesTheUnwiredOutputsOnly) {
    clsGraph g;
    Step(g, {}, {});
    ExpectValues(g, {{"OF-poort Uit", 0},
                     {"EN-poort Uit", 0},
                     {"Geheugen Uit", 0},
                     {"Invertor Uitgang", 50},
                     {"Comparator Uit", 0},
                     {"Transistor Uit", 0},
                     {"Pulsenteller Uitgang Collection", 0},
                     {"AD-omzetter Uitgang 1", 0},
                     {"AD-omzetter Uitgang 2", 0},
                     {"AD-omzetter Uitgang 4", 0},
                     {"AD-omzetter Uitgang 8", 0},
                     {"Relais Uitgang 1 (in/uit)", Unknown},
                     {"Relais Ingang 2 (in/uit)", Unknown},
                     {"LED 1 Ingang", Unknown},
                     {"Zoemer", Unknown}});
}

struct BlockCase {
    const char* what;
    Sources sources;
    Pairs wires;
    int comparator;
    Expected expected;
};

// "Var. Spanning In Zwart" never gets a value, so an input wired to it is wired but unknown.
const BlockCase blockCases[] = {
    {"OR: one input unwired, the other 50",
     {{Knop1, 50}},
     {{Knop1, "OF-poort Ingang 2"}},
     0,
     {{"OF-poort Uit", 50}}},
    {"OR: both inputs 0",
     {{Knop1, 0}, {Knop2, 0}},
     {{Knop1, "OF-poort Ingang 1"}, {Knop2, "OF-poort Ingang 2"}},
     0,
     {{"OF-poort Uit", 0}}},
    {"OR: 49 is low", {{VarOut, 49}}, {{VarOut, "OF-poort Ingang 1"}}, 0, {{"OF-poort Uit", 0}}},
    {"OR: a wired input without a value holds the gate",
     {{Knop1, 50}},
     {{Knop1, "OF-poort Ingang 1"}, {"Var. Spanning In Zwart", "OF-poort Ingang 2"}},
     0,
     {{"OF-poort Uit", Unknown}}},
    {"AND: one input unwired, the other 50",
     {{Knop1, 50}},
     {{Knop1, "EN-poort Ingang 2"}},
     0,
     {{"EN-poort Uit", 0}}},
    {"AND: both inputs 50 from one source",
     {{Knop1, 50}},
     {{Knop1, "EN-poort Ingang 1"}, {Knop1, "EN-poort Ingang 2"}},
     0,
     {{"EN-poort Uit", 50}}},
    {"AND: inputs wired only to each other stay unknown, and so does the gate",
     {},
     {{"EN-poort Ingang 1", "EN-poort Ingang 2"}, {"EN-poort Uit", "LED 1 Ingang"}},
     0,
     {{"EN-poort Ingang 1", Unknown}, {"EN-poort Uit", Unknown}, {"LED 1 Ingang", Unknown}}},
    {"AND: a wired input 2 without a value holds the gate",
     {{Knop1, 50}},
     {{Knop1, "EN-poort Ingang 1"}, {"Var. Spanning In Zwart", "EN-poort Ingang 2"}},
     0,
     {{"EN-poort Uit", Unknown}}},
    {"memory: a wired set without a value holds the cell",
     {{Knop1, 50}},
     {{Knop1, "Geheugen Reset (In)"}, {"Var. Spanning In Zwart", "Geheugen Set (In)"}},
     0,
     {{"Geheugen Uit", Unknown}}},
    {"memory: a wired reset without a value holds the cell",
     {{Knop1, 50}},
     {{Knop1, "Geheugen Set (In)"}, {"Var. Spanning In Zwart", "Geheugen Reset (In)"}},
     0,
     {{"Geheugen Uit", Unknown}}},
    {"counter: a wired enable without a value holds it",
     {{Knop1, 50}},
     {{Knop1, "Pulsenteller Tel pulsen (In)"},
      {"Var. Spanning In Zwart", "Pulsenteller Teller aan/uit (In)"}},
     0,
     {{"Pulsenteller Uitgang Collection", Unknown}}},
    {"counter: a wired reset without a value holds it",
     {{Knop1, 50}},
     {{Knop1, "Pulsenteller Tel pulsen (In)"},
      {"Var. Spanning In Zwart", "Pulsenteller Reset (In)"}},
     0,
     {{"Pulsenteller Uitgang Collection", Unknown}}},
    {"inverter is analogue",
     {{VarOut, 30}},
     {{VarOut, "Invertor Ingang"}},
     0,
     {{"Invertor Uitgang", 20}}},
    {"inverter: wired but unknown waits",
     {},
     {{"Var. Spanning In Zwart", "Invertor Ingang"}},
     0,
     {{"Invertor Uitgang", Unknown}}},
    {"inverter fed by itself never fires",
     {},
     {{"Invertor Uitgang", "Invertor Ingang"}},
     0,
     {{"Invertor Uitgang", Unknown}, {"Invertor Ingang", Unknown}}},
    {"comparator: input equal to the level",
     {{VarOut, 20}},
     {{VarOut, "Comparator In"}},
     20,
     {{"Comparator Uit", 50}}},
    {"comparator: input below the level",
     {{VarOut, 19}},
     {{VarOut, "Comparator In"}},
     20,
     {{"Comparator Uit", 0}}},
    {"comparator: unwired at level 0", {}, {}, 0, {{"Comparator Uit", 0}}},
    {"comparator: wired but unknown waits",
     {},
     {{"Var. Spanning In Zwart", "Comparator In"}},
     0,
     {{"Comparator Uit", Unknown}}},
    {"transistor: 6 conducts",
     {{VarOut, 6}},
     {{VarOut, "Transistor In"}},
     0,
     {{"Transistor Uit", 50}}},
    {"transistor: 7 switches low",
     {{VarOut, 7}},
     {{VarOut, "Transistor In"}},
     0,
     {{"Transistor Uit", 0}}},
    {"transistor: wired 0 differs from unwired",
     {{VarOut, 0}},
     {{VarOut, "Transistor In"}},
     0,
     {{"Transistor Uit", 50}}},
    {"transistor: wired but unknown waits",
     {},
     {{"Var. Spanning In Zwart", "Transistor In"}},
     0,
     {{"Transistor Uit", Unknown}}},
    {"relay: control from the inverter closes it",
     {{VarOut, 30}},
     {{"Invertor Uitgang", "Relais Controle (In)"}, {VarOut, "Relais Ingang 1 (in/uit)"}},
     0,
     {{"Relais Uitgang 1 (in/uit)", 30}, {"Relais Uitgang 2 (in/uit)", Unknown}}},
    {"relay: conducts backwards from the output contact",
     {{Knop1, 50}, {VarOut, 12}},
     {{Knop1, "Relais Controle (In)"}, {VarOut, "Relais Uitgang 2 (in/uit)"}},
     0,
     {{"Relais Ingang 2 (in/uit)", 12}, {"Relais Uitgang 1 (in/uit)", Unknown}}},
    {"relay: contact 1 conducts backwards from its output contact",
     {{Knop1, 50}, {VarOut, 17}},
     {{Knop1, "Relais Controle (In)"}, {VarOut, "Relais Uitgang 1 (in/uit)"}},
     0,
     {{"Relais Ingang 1 (in/uit)", 17}, {"Relais Uitgang 2 (in/uit)", Unknown}}},
    {"relay: contact 2 conducts forwards",
     {{Knop1, 50}, {VarOut, 23}},
     {{Knop1, "Relais Controle (In)"}, {VarOut, "Relais Ingang 2 (in/uit)"}},
     0,
     {{"Relais Uitgang 2 (in/uit)", 23}, {"Relais Ingang 1 (in/uit)", Unknown}}},
    {"relay: open, contact 2 gives 0 forwards and contact 1 backwards",
     {{Knop1, 0}, {VarOut, 23}},
     {{Knop1, "Relais Controle (In)"},
      {VarOut, "Relais Ingang 2 (in/uit)"},
      {VarOut, "Relais Uitgang 1 (in/uit)"}},
     0,
     {{"Relais Uitgang 2 (in/uit)", 0}, {"Relais Ingang 1 (in/uit)", 0}}},
    {"relay: unwired control leaves it open, giving 0",
     {{VarOut, 30}},
     {{VarOut, "Relais Ingang 1 (in/uit)"}},
     0,
     {{"Relais Uitgang 1 (in/uit)", 0}}},
    {"relay: control at 49 leaves it open",
     {{VarOut, 30}, {Knop1, 49}},
     {{Knop1, "Relais Controle (In)"}, {VarOut, "Relais Ingang 1 (in/uit)"}},
     0,
     {{"Relais Uitgang 1 (in/uit)", 0}}},
    {"relay: a wired control without a value holds both contacts",
     {{VarOut, 30}},
     {{"Var. Spanning In Zwart", "Relais Controle (In)"}, {VarOut, "Relais Ingang 1 (in/uit)"}},
     0,
     {{"Relais Uitgang 1 (in/uit)", Unknown}}},
    {"blocks chain through wires: source, inverter, transistor, LED",
     {{VarOut, 50}},
     {{VarOut, "Invertor Ingang"},
      {"Invertor Uitgang", "Transistor In"},
      {"Transistor Uit", "LED 2 Ingang"}},
     0,
     {{"Invertor Uitgang", 0}, {"Transistor Uit", 50}, {"LED 2 Ingang", 50}}},
    {"AD: unwired gives 0 on all outputs",
     {},
     {},
     0,
     {{"AD-omzetter Uitgang 8", 0}, {"AD-omzetter Uitgang 1", 0}}},
    {"AD: wired but unknown waits",
     {},
     {{"Var. Spanning In Zwart", "AD-omzetter In"}},
     0,
     {{"AD-omzetter Uitgang 1", Unknown}, {"AD-omzetter Uitgang 8", Unknown}}},
    {"a wire from the black socket carries nothing",
     {},
     {{"Var. Spanning In Zwart", "Zoemer"}},
     0,
     {{"Zoemer", Unknown}}},
};

TEST(clsGraph, BlockRules) {
    for (const BlockCase& c : blockCases) {
        SCOPED_TRACE(c.what);
        clsGraph g;
        g.comparatorvalue = c.comparator;
        Step(g, MakeWires(c.wires), c.sources);
        ExpectValues(g, c.expected);
    }
}

struct RangeCase {
    int lo;
    int hi;
    int result;
};

TEST(clsGraph, AdConverterTable) {
    const RangeCase table[] = {{0, 1, 0},    {2, 4, 1},    {5, 7, 2},    {8, 10, 3},
                               {11, 14, 4},  {15, 17, 5},  {18, 20, 6},  {21, 23, 7},
                               {24, 26, 8},  {27, 29, 9},  {30, 32, 10}, {33, 35, 11},
                               {36, 39, 12}, {40, 42, 13}, {43, 45, 14}, {46, 50, 15}};
    BoardWires lines = MakeWires({{VarOut, "AD-omzetter In"}});
    for (const RangeCase& r : table) {
        for (int v = r.lo; v <= r.hi; ++v) {
            SCOPED_TRACE("input " + std::to_string(v));
            clsGraph g;
            Step(g, lines, {{VarOut, v}});
            ExpectValues(g, {{"AD-omzetter Uitgang 1", (r.result & 1) ? 50 : 0},
                             {"AD-omzetter Uitgang 2", (r.result & 2) ? 50 : 0},
                             {"AD-omzetter Uitgang 4", (r.result & 4) ? 50 : 0},
                             {"AD-omzetter Uitgang 8", (r.result & 8) ? 50 : 0}});
        }
    }
}

TEST(clsGraph, WireColourFollowsTheLevel) {
    const RangeCase table[] = {{0, 3, 8},   {4, 10, 7},  {11, 17, 6}, {18, 24, 5},
                               {25, 32, 4}, {33, 39, 3}, {40, 46, 2}, {47, 50, 1}};
    for (const RangeCase& r : table) {
        for (int v = r.lo; v <= r.hi; ++v) {
            CountingEvents told;
            clsGraph g;
            g.Constructor(&told);
            BoardWires lines = MakeWires({{VarOut, "LED 1 Ingang"}});
            Step(g, lines, {{VarOut, v}});
            EXPECT_EQ(lines[0].color, r.result) << "level " << v;
            EXPECT_TRUE(lines[0].done);
            // The drawing hears of it once, with the same colour.
            EXPECT_EQ(told.colorsTold, 1U);
            EXPECT_EQ(told.lastColor, r.result);
        }
    }
}

TEST(clsGraph, WirePassesOneWayAndKeepsItsColourWhenItCarriesNothing) {
    clsGraph g;
    // Written from end 2 to end 1; then a wire between two sources, and one on nothing.
    BoardWires lines =
        MakeWires({{"LED 1 Ingang", VarOut}, {Knop1, Knop2}, {"LED 3 Ingang", "LED 4 Ingang"}});
    lines[1].color = 3;
    lines[2].color = 6;
    Step(g, lines, {{VarOut, 50}, {Knop1, 0}, {Knop2, 50}});
    EXPECT_EQ(g.GetPuntValueByName("LED 1 Ingang", Unknown), 50);
    EXPECT_EQ(lines[0].color, 1);
    EXPECT_EQ(lines[1].color, 3);
    EXPECT_FALSE(lines[1].done);
    EXPECT_EQ(lines[2].color, 6);
    EXPECT_EQ(g.GetPuntValueByName("LED 3 Ingang", Unknown), Unknown);
}

TEST(clsGraph, FirstValueToArriveWinsInALoop) {
    clsGraph g;
    // A source into a ring of inputs and the ring closed back on itself.
    BoardWires lines = MakeWires({{"LED 1 Ingang", "LED 2 Ingang"},
                                  {"LED 2 Ingang", "LED 3 Ingang"},
                                  {"LED 3 Ingang", "LED 1 Ingang"},
                                  {VarOut, "LED 3 Ingang"},
                                  {"Invertor Uitgang", "OF-poort Ingang 1"},
                                  {"OF-poort Uit", "Invertor Ingang"}});
    Step(g, lines, {{VarOut, 30}});
    ExpectValues(g, {{"LED 1 Ingang", 30}, {"LED 2 Ingang", 30}, {"LED 3 Ingang", 30}});
    // Inverter waits for the OR gate, which waits for the inverter: neither fires.
    ExpectValues(g, {{"Invertor Uitgang", Unknown}, {"OF-poort Uit", Unknown}});
}

struct MemoryStep {
    int set;
    int reset;
    int expected;
};

TEST(clsGraph, MemoryCellKeepsItsLevelAcrossSteps) {
    const MemoryStep steps[] = {
        {0, 0, 0},  {50, 0, 50}, {0, 0, 50},   {30, 0, 50},
        {0, 50, 0}, {0, 0, 0},   {50, 50, 50}, {0, 49, 50},
    };
    clsGraph g;
    BoardWires lines = MakeWires({{Knop1, "Geheugen Set (In)"}, {Knop2, "Geheugen Reset (In)"}});
    int n = 0;
    for (const MemoryStep& s : steps) {
        Step(g, lines, {{Knop1, s.set}, {Knop2, s.reset}});
        EXPECT_EQ(g.GetPuntValueByName("Geheugen Uit", Unknown), s.expected) << "step " << n;
        EXPECT_EQ(g.memoryvalue, s.expected) << "step " << n;
        ++n;
    }
}

// The counter's three inputs for one step; nullopt leaves that input unwired.
struct CounterStep {
    std::optional<int> count;
    std::optional<int> enable;
    std::optional<int> reset;
    int expectedDigit;
};

struct CounterCase {
    const char* what;
    int startDigit;
    std::vector<CounterStep> steps;
};

const CounterCase counterCases[] = {
    {"0, 30, 50 does not count", 0, {{0, {}, {}, 0}, {30, {}, {}, 0}, {50, {}, {}, 0}}},
    {"0, 50 counts once; 50 held counts no more",
     0,
     {{0, {}, {}, 0}, {50, {}, {}, 1}, {50, {}, {}, 1}, {50, {}, {}, 1}}},
    {"each rise counts", 0, {{0, {}, {}, 0}, {50, {}, {}, 1}, {0, {}, {}, 1}, {50, {}, {}, 2}}},
    {"first step at 50 counts from a new evaluator", 0, {{50, {}, {}, 1}}},
    {"9 wraps to 0", 9, {{0, {}, {}, 9}, {50, {}, {}, 0}}},
    {"reset wins and leaves the remembered level alone",
     4,
     {{0, {}, 0, 4}, {50, {}, 50, 0}, {50, {}, 50, 0}, {50, {}, 0, 1}}},
    {"disabled counter neither counts nor remembers",
     0,
     {{0, 50, {}, 0}, {50, 0, {}, 0}, {50, 50, {}, 1}}},
    {"enable below 50 is off", 0, {{0, 49, {}, 0}, {50, 49, {}, 0}}},
    {"an unwired count input never counts", 0, {{{}, {}, {}, 0}, {{}, 50, {}, 0}}},
    {"49 on the count input is low", 0, {{0, {}, {}, 0}, {49, {}, {}, 0}, {50, {}, {}, 0}}},
};

TEST(clsGraph, PulseCounterOverSeveralSteps) {
    for (const CounterCase& c : counterCases) {
        SCOPED_TRACE(c.what);
        CountingEvents counter;
        counter.digit = c.startDigit;
        clsGraph g;
        g.Constructor(&counter);
        int n = 0;
        for (const CounterStep& s : c.steps) {
            Pairs wires;
            Sources sources;
            const auto feed = [&](const std::optional<int>& v, const char* source,
                                  const char* input) {
                if (v) {
                    wires.emplace_back(source, input);
                    sources.emplace_back(source, *v);
                }
            };
            feed(s.count, VarOut, "Pulsenteller Tel pulsen (In)");
            feed(s.enable, Knop1, "Pulsenteller Teller aan/uit (In)");
            feed(s.reset, Knop2, "Pulsenteller Reset (In)");
            Step(g, MakeWires(wires), sources);
            EXPECT_EQ(counter.digit, s.expectedDigit) << "step " << n;
            EXPECT_EQ(g.GetPuntValueByName("Pulsenteller Uitgang Collection", Unknown), 0);
            ++n;
        }
    }
}

TEST(clsGraph, CounterWaitsForItsWiredInputs) {
    CountingEvents counter;
    clsGraph g;
    g.Constructor(&counter);
    BoardWires lines = MakeWires({{"Pulsenteller Tel pulsen (In)", "LED 1 Ingang"}});
    Step(g, lines, {});
    EXPECT_EQ(g.GetPuntValueByName("Pulsenteller Uitgang Collection", Unknown), Unknown);
    EXPECT_EQ(counter.digit, 0);
}

TEST(clsGraph, CounterWithoutDisplayDoesNotCrash) {
    clsGraph g;
    BoardWires lines =
        MakeWires({{Pulse, "Pulsenteller Tel pulsen (In)"}, {Knop2, "Pulsenteller Reset (In)"}});
    Step(g, lines, {{Pulse, 0}, {Knop2, 50}});
    Step(g, lines, {{Pulse, 50}, {Knop2, 0}});
    Step(g, lines, {{Pulse, 0}, {Knop2, 0}});
    EXPECT_EQ(g.GetPuntValueByName("Pulsenteller Uitgang Collection", Unknown), 0);
}

TEST(clsGraph, PointTableKeepsFirstEntryAndRefusesTheHundredAndFirst) {
    clsGraph g;
    g.memoryvalue = 50;
    g.comparatorvalue = 12;
    g.AddPunt("a", 1);
    g.AddPunt("a", 2);
    EXPECT_EQ(g.GetPuntValueByName("a", Unknown), 1);
    EXPECT_EQ(g.GetPuntValueByName("A", Unknown), Unknown);
    g.Clear();
    EXPECT_EQ(g.GetPuntValueByName("a", Unknown), Unknown);
    EXPECT_EQ(g.memoryvalue, 50);
    EXPECT_EQ(g.comparatorvalue, 12);
    for (int i = 0; i < clsGraph::MaxPunten + 5; ++i) {
        g.AddPunt("p" + std::to_string(i), i);
    }
    EXPECT_EQ(g.GetPuntValueByName("p99", Unknown), 99);
    EXPECT_EQ(g.GetPuntValueByName("p104", Unknown), 104);
}

TEST(clsGraph, WiresWithMoreNamesThanTheBoardHasStillSettle) {
    // Only a damaged board could name this many sockets that the board does not have.
    Pairs chain;
    chain.emplace_back(VarOut, "n0");
    for (int i = 0; i < 120; ++i) {
        chain.emplace_back("n" + std::to_string(i), "n" + std::to_string(i + 1));
    }
    clsGraph g;
    BoardWires lines = MakeWires(chain);
    g.Clear();
    g.AddPunt(VarOut, 10);
    EXPECT_NO_THROW(g.Run(lines));
    EXPECT_EQ(g.GetPuntValueByName("n120", Unknown), 10);
}

} // namespace
