// The board model on its own: when a step can tell that the next one gives the same.

#include "app/simulation/BoardModel.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

struct SettleRow {
    const char* what;
    std::vector<std::pair<std::string, std::string>> wires;
    std::int32_t pulseSetting;
    std::int32_t sensor1;
    bool pushButton1;
    /// Settled() after each step.
    std::vector<bool> settled;
};

const SettleRow kSettleRows[] = {
    {"an empty board", {}, 0, 0, false, {true, true}},
    {"a push button lighting an LED",
     {{"Drukknop 1 Uit Geel", "LED 1 Ingang"}},
     0,
     0,
     true,
     {true}},
    {"the pulse generator running", {}, 50, 0, false, {false, false}},
    {"a sensor in the swinging light", {}, 0, 2, false, {false, false}},
    {"a sensor lit by the pointer", {}, 0, 1, false, {false}},
    // Set in the first step, held from then on.
    {"a memory cell set by a push button",
     {{"Drukknop 1 Uit Geel", "Geheugen Set (In)"}},
     0,
     0,
     true,
     {false, true}},
    // The counter counts its own inverted output once, sees it fall, and then stays at 1.
    {"a counter fed by its own inverted output",
     {{"Pulsenteller Uitgang 1", "Invertor Ingang"},
      {"Invertor Uitgang", "Pulsenteller Tel pulsen (In)"}},
     0,
     0,
     false,
     {false, false, true, true}},
};

TEST(BoardModel, SettlesOnlyWhenTheNextStepCannotDiffer) {
    for (const SettleRow& row : kSettleRows) {
        SCOPED_TRACE(row.what);
        BoardModel model;
        for (const auto& [a, b] : row.wires) {
            model.AddWire(a, b);
        }
        model.SetPulseGeneratorSetting(row.pulseSetting);
        model.SetSensor(0, row.sensor1);
        model.SetPushButton(0, row.pushButton1);
        EXPECT_FALSE(model.Settled());
        float seconds = 0.0F;
        BoardModel::StepInput input;
        input.clock = [&seconds] { return seconds; };
        for (std::size_t i = 0; i < row.settled.size(); ++i) {
            seconds += 0.01F;
            model.Step(input);
            EXPECT_EQ(model.Settled(), row.settled[i]) << "step " << i + 1;
        }
    }
}

} // namespace
