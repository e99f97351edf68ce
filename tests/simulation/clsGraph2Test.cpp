#include "app/simulation/clsGraph2.h"

#include "app/simulation/BoardWire.h"
#include "app/simulation/clsSnaps.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

BoardWires MakeWires(const Pairs& pairs) {
    BoardWires lines;
    for (const auto& [a, b] : pairs) {
        lines.push_back({a, b});
    }
    return lines;
}

constexpr const char* S1 = "Sensor 1 Uit Geel";
constexpr const char* K1 = "Drukknop 1 Uit Geel";
constexpr const char* K2 = "Drukknop 2 Uit Geel";
constexpr const char* Var = "Var. Spanning Uit Geel";

struct ConflictCase {
    const char* what;
    Pairs wires;
    const char* report;
};

const ConflictCase conflictCases[] = {
    {"no wires", {}, ""},
    {"two sources joined", {{S1, K1}}, "\"Sensor 1 Uit Geel\" en \"Drukknop 1 Uit Geel\"\r\n"},
    {"one output to several inputs, inputs joined to each other",
     {{S1, "LED 1 Ingang"}, {S1, "LED 2 Ingang"}, {"LED 2 Ingang", "Zoemer"}},
     ""},
    {"two outputs through a chain of inputs",
     {{S1, "LED 1 Ingang"}, {"LED 1 Ingang", "LED 2 Ingang"}, {"LED 2 Ingang", K1}},
     "\"Sensor 1 Uit Geel\" en \"Drukknop 1 Uit Geel\"\r\n"},
    {"triangle with one output",
     {{S1, "LED 1 Ingang"}, {"LED 1 Ingang", "LED 2 Ingang"}, {"LED 2 Ingang", S1}},
     ""},
    {"triangle with one output, other order",
     {{"LED 1 Ingang", "LED 2 Ingang"}, {"LED 2 Ingang", S1}, {S1, "LED 1 Ingang"}},
     ""},
    {"triangle whose walk meets the one output twice",
     {{"LED 1 Ingang", S1}, {"LED 1 Ingang", "LED 2 Ingang"}, {"LED 2 Ingang", S1}},
     ""},
    {"blocks do not join groups",
     {{S1, "EN-poort Ingang 1"}, {"EN-poort Uit", "LED 1 Ingang"}, {"EN-poort Uit", "Zoemer"}},
     ""},
    {"relay contact joins two outputs and does not count itself",
     {{S1, "Relais Ingang 1 (in/uit)"}, {"Relais Ingang 1 (in/uit)", Var}},
     "\"Sensor 1 Uit Geel\" en \"Var. Spanning Uit Geel\"\r\n"},
    {"two groups, in the order of the wire list",
     {{"EN-poort Uit", "OF-poort Uit"}, {S1, K1}},
     "\"EN-poort Uit\" en \"OF-poort Uit\"\r\n"
     "\"Sensor 1 Uit Geel\" en \"Drukknop 1 Uit Geel\"\r\n"},
    {"outputs in the order the walk meets them, each once",
     {{"LED 1 Ingang", K1},
      {S1, "LED 1 Ingang"},
      {K2, "LED 1 Ingang"},
      {"Zoemer", S1},
      {S1, "LED 1 Ingang"}},
     "\"Drukknop 1 Uit Geel\" en \"Sensor 1 Uit Geel\" en \"Drukknop 2 Uit Geel\"\r\n"},
    {"names the table does not know never count", {{"Onbekend", "Ander"}, {"Onbekend", S1}}, ""},
};

TEST(clsGraph2, ConflictReports) {
    const clsSnaps snaps;
    for (const ConflictCase& c : conflictCases) {
        SCOPED_TRACE(c.what);
        BoardWires lines = MakeWires(c.wires);
        // Marks left over from an earlier walk must not hide a wire.
        for (auto& w : lines) {
            w.done = true;
        }
        EXPECT_EQ(clsGraph2().Check(lines, snaps), c.report);
    }
}

TEST(clsGraph2, Check2ListsTheWalkWithItsEmptyItems) {
    struct Case {
        Pairs wires;
        const char* from;
        const char* expected;
    };
    const Case cases[] = {
        {{{"A", "B"}, {"B", "C"}}, "A", "|B||C|"},
        {{{"B", "A"}, {"C", "B"}}, "A", "|B||C|"},
        {{{"A", "B"}, {"A", "C"}}, "A", "|B||C|"},
        // A wire with both ends on one name is taken from both ends.
        {{{"A", "A"}}, "A", "|A||A|"},
        {{{"A", "B"}}, "Z", ""},
    };
    for (const Case& c : cases) {
        BoardWires wires = MakeWires(c.wires);
        EXPECT_EQ(clsGraph2().Check2(wires, c.from), c.expected) << c.from;
    }
}

// The walk written as the plain recursion it stands for.
std::string RecursiveWalk(BoardWires& lines, const std::string& puntnaam) {
    std::string r;
    for (auto& w : lines) {
        if (!w.done) {
            if (w.naam1 == puntnaam) {
                r += "|" + w.naam2;
                w.done = true;
                r += "|" + RecursiveWalk(lines, w.naam2);
            }
            if (w.naam2 == puntnaam) {
                r += "|" + w.naam1;
                w.done = true;
                r += "|" + RecursiveWalk(lines, w.naam1);
            }
        }
    }
    return r;
}

TEST(clsGraph2, Check2GivesTheSameTextAsTheRecursiveWalk) {
    std::mt19937 random(20240611);
    const std::string names[] = {"A", "B", "C", "D", "E"};
    for (int round = 0; round < 300; ++round) {
        Pairs wires;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) {
            wires.emplace_back(names[random() % 5], names[random() % 5]);
        }
        const std::string& from = names[random() % 5];
        BoardWires mine = MakeWires(wires);
        BoardWires reference = MakeWires(wires);
        ASSERT_EQ(clsGraph2().Check2(mine, from), RecursiveWalk(reference, from))
            << "round " << round;
        for (std::size_t i = 0; i < mine.size(); ++i) {
            ASSERT_EQ(mine[i].done, reference[i].done) << "round " << round << " wire " << i;
        }
    }
}

TEST(clsGraph2, LongChainOfWiresDoesNotExhaustTheStack) {
    // 5000 wires listed from the far end backwards, so the walk goes 5000 deep.
    const int n = 5000;
    Pairs wires;
    for (int i = n; i > 0; --i) {
        wires.emplace_back(i == n ? std::string(K1) : "n" + std::to_string(i),
                           "n" + std::to_string(i - 1));
    }
    wires.emplace_back("n0", S1);
    BoardWires lines = MakeWires(wires);
    EXPECT_EQ(clsGraph2().Check(lines, clsSnaps()),
              "\"Drukknop 1 Uit Geel\" en \"Sensor 1 Uit Geel\"\r\n");
    for (auto& w : lines) {
        EXPECT_TRUE(w.done);
    }
}

} // namespace
