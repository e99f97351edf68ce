// Running checks: each run starts from the board as saved, failures say what was expected and
// what the board gave, changes are counted during a wait, and the mark is 1 + 9 × points / max.

#include "app/assignments/AssignmentRunner.h"

#include "app/assignments/AssignmentParser.h"
#include "app/assignments/GradingBoard.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

/// A board with an AND (or OR) gate from the two push buttons to LED 1, LED 2 blinking every
/// `period` steps, and "Comparator Uit" at the variable voltage knob's setting (no value while
/// it is 0).
class FakeBoard : public GradingBoard {
public:
    bool orGate = false;
    std::int32_t period = 5;
    int resets = 0;

    void Reset() override {
        ++resets;
        buttons_.clear();
        knob_ = 0;
        steps_ = 0;
    }
    void SetPushButton(std::string_view naam, bool on) override {
        buttons_[std::string(naam)] = on;
    }
    void SetSensor(std::string_view, std::int32_t) override {}
    void SetKnob(std::string_view, std::int32_t tenths) override { knob_ = tenths; }
    void SetSound(std::int32_t) override {}
    void Press(std::string_view naam) override { buttons_[std::string(naam)] ^= true; }
    void Step() override { ++steps_; }
    bool Led(std::int32_t number) const override {
        const bool a = Button("Drukknop 1");
        const bool b = Button("Drukknop 2");
        return number == 1 ? (orGate ? a || b : a && b) : number == 2 && (steps_ / period) % 2 == 1;
    }
    bool Buzzer() const override { return false; }
    std::int32_t Display() const override { return 0; }
    std::optional<std::int32_t> Value(std::string_view) const override {
        return knob_ == 0 ? std::nullopt : std::optional<std::int32_t>(knob_);
    }

private:
    bool Button(const char* naam) const {
        const auto it = buttons_.find(naam);
        return it != buttons_.end() && it->second;
    }
    std::map<std::string, bool> buttons_;
    std::int32_t knob_ = 0;
    std::int32_t steps_ = 0;
};

constexpr const char* kAndTable = "toets: EN\npunten: 4\nhint: Gebruik de EN-poort.\n"
                                  "tabel: Drukknop 1 | Drukknop 2 => LED 1\n"
                                  "  uit | uit => uit\n  uit | aan => uit\n"
                                  "  aan | uit => uit\n  aan | aan => aan\n";

TEST(AssignmentRunner, ATruthTableTellsAndFromOr) {
    const Assignment a = AssignmentParser::Parse(kAndTable, "o.tvo");
    FakeBoard board;
    AssignmentResult result = AssignmentRunner::Grade(a, board);
    EXPECT_EQ(board.resets, 4);
    EXPECT_TRUE(result.checks[0].passed);
    EXPECT_EQ(result.points, 4);

    board.orGate = true;
    result = AssignmentRunner::Grade(a, board);
    const AssignmentCheckResult& check = result.checks[0];
    EXPECT_FALSE(check.passed);
    EXPECT_EQ(check.points, 0);
    EXPECT_EQ(check.hint, "Gebruik de EN-poort.");
    ASSERT_EQ(check.failures.size(), 2U);
    EXPECT_EQ(check.failures[0].run, "rij 2: uit | aan => uit");
    EXPECT_EQ(check.failures[0].line, 6);
    EXPECT_EQ(check.failures[0].expected, "LED 1 = uit");
    EXPECT_EQ(check.failures[0].got, "aan");
}

TEST(AssignmentRunner, EveryRunStartsFromTheBoardAsSaved) {
    // "druk" toggles: from a reset board it turns the button on, whatever the run before did.
    const Assignment a = AssignmentParser::Parse(
        "toets: a\ntabel: Drukknop 1 | Drukknop 2 => LED 1\n aan | aan => aan\n x | aan => uit\n"
        "toets: b\ndruk Drukknop 1\ndruk Drukknop 2\nwacht 1 stap\nverwacht LED 1 = aan\n",
        "o.tvo");
    FakeBoard board;
    const AssignmentResult result = AssignmentRunner::Grade(a, board);
    EXPECT_TRUE(result.checks[0].passed);
    EXPECT_TRUE(result.checks[1].passed);
}

TEST(AssignmentRunner, ComparesVoltagesWithinTheirToleranceAndCountsChanges) {
    struct Row {
        const char* statements;
        const char* got; ///< "" when the expectation holds
    };
    const Row rows[] = {
        {"zet Var. Spanning Regelaar = 4,9 V\nwacht 1 stap\nverwacht Comparator Uit = 5 V ± 0,1 V",
         ""},
        {"zet Var. Spanning Regelaar = 4,8 V\nwacht 1 stap\nverwacht Comparator Uit = 5 V ± 0,1 V",
         "4,8 V"},
        {"wacht 1 stap\nverwacht Comparator Uit = 0 V", "geen waarde"},
        {"wacht 1 stap\nverwacht Comparator Uit = geen waarde", ""},
        {"zet Var. Spanning Regelaar = 1 V\nwacht 1 stap\nverwacht Comparator Uit = geen waarde",
         "1,0 V"},
        // LED 2 changes every 5 steps: 20 times in 1 s, counted from the wait's start.
        {"wacht 1 s\nverwacht LED 2 wisselt 20 keer", ""},
        {"wacht 1 s\nverwacht LED 2 wisselt 21 tot 30 keer", "wisselt 20 keer"},
        {"wacht 3 stappen\nwacht 10 stappen\nverwacht LED 2 wisselt 2 keer", ""},
    };
    for (const Row& row : rows) {
        const Assignment a =
            AssignmentParser::Parse(std::string("toets: t\n") + row.statements, "o.tvo");
        FakeBoard board;
        const AssignmentCheckResult result = AssignmentRunner::Run(a.checks[0], board);
        if (*row.got == '\0') {
            EXPECT_TRUE(result.passed) << row.statements << " gave " << result.failures[0].got;
        } else {
            ASSERT_EQ(result.failures.size(), 1U) << row.statements;
            EXPECT_EQ(result.failures[0].got, row.got) << row.statements;
        }
    }
}

TEST(AssignmentRunner, TheMarkIsOnePlusNineTimesTheShareOfPoints) {
    struct Row {
        std::int32_t points;
        std::int32_t max;
        std::int32_t tenths;
    };
    for (const Row row : {Row{0, 5, 10}, Row{5, 5, 100}, Row{4, 5, 82}, Row{1, 7, 23},
                          Row{1, 2, 55}, Row{2, 3, 70}, Row{1, 6, 25}}) {
        AssignmentResult result;
        result.points = row.points;
        result.max = row.max;
        EXPECT_EQ(result.GradeTenths(), row.tenths) << row.points << "/" << row.max;
    }
}

} // namespace
