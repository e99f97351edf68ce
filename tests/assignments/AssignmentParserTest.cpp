// The assignment language: the teacher's example file read as the teacher meant it, and every
// kind of mistake refused with the file, the line and what was expected.

#include "app/assignments/AssignmentParser.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Kind = AssignmentStep::Kind;

constexpr const char* kExample = R"(opdracht: De EN-poort
uitleg: Laat LED 1 alleen branden als beide drukknoppen aan staan.

toets: Waarheidstabel
punten: 4
hint: Verbind beide drukknoppen met de ingangen van de EN-poort, en de uitgang met LED 1.
tabel: Drukknop 1 | Drukknop 2 => LED 1 | Zoemer
  uit | uit => uit | uit
  uit | aan => uit | uit
  aan | uit => uit | uit
  aan | aan => aan | x

toets: Comparator schakelt
zet Var. Spanning Regelaar = 3,5 V
zet Comparator Regelaar = 2 V
wacht 20 stappen
verwacht Comparator Uit = 5,0 V ± 0,1 V
verwacht LED 2 = aan
)";

TEST(AssignmentParser, ReadsTheExampleAsWritten) {
    const Assignment a = AssignmentParser::Parse(kExample, "opdracht.tvo");
    EXPECT_EQ(a.title, "De EN-poort");
    EXPECT_EQ(a.explanation, "Laat LED 1 alleen branden als beide drukknoppen aan staan.");
    ASSERT_EQ(a.checks.size(), 2U);
    EXPECT_EQ(a.MaxPoints(), 5);

    const AssignmentCheck& table = a.checks[0];
    EXPECT_EQ(table.name, "Waarheidstabel");
    EXPECT_EQ(table.points, 4);
    EXPECT_FALSE(table.hidden);
    EXPECT_EQ(table.hint.substr(0, 19), "Verbind beide drukk");
    ASSERT_EQ(table.runs.size(), 4U);
    // Row 4: both buttons on, 20 steps, LED 1 on, the buzzer "don't care".
    const std::vector<AssignmentStep>& row = table.runs[3].steps;
    ASSERT_EQ(row.size(), 4U);
    EXPECT_EQ(row[0].kind, Kind::Set);
    EXPECT_EQ(row[0].naam, "Drukknop 1");
    EXPECT_EQ(row[0].value, 1);
    EXPECT_EQ(row[2].kind, Kind::Wait);
    EXPECT_EQ(row[2].value, 20);
    EXPECT_EQ(row[3].target, AssignmentTarget::Led);
    EXPECT_EQ(row[3].value, 1);
    EXPECT_EQ(row[3].line, 11);
    // Row 1 reads the buzzer as a lamp, not as a socket's voltage.
    EXPECT_EQ(table.runs[0].steps.back().target, AssignmentTarget::Buzzer);

    const AssignmentCheck& steps = a.checks[1];
    EXPECT_EQ(steps.points, 1);
    ASSERT_EQ(steps.runs.size(), 1U);
    const std::vector<AssignmentStep>& s = steps.runs[0].steps;
    ASSERT_EQ(s.size(), 5U);
    EXPECT_EQ(s[0].target, AssignmentTarget::Knob);
    EXPECT_EQ(s[0].value, 35);
    EXPECT_EQ(s[1].value, 20);
    EXPECT_EQ(s[3].target, AssignmentTarget::Socket);
    EXPECT_EQ(s[3].value, 50);
    EXPECT_EQ(s[3].tolerance, 1);
    EXPECT_EQ(s[3].line, 17);
}

/// A statement alone in a check, and how it is read.
struct StepRow {
    const char* statement;
    Kind kind;
    AssignmentTarget target;
    std::int32_t value;
    std::int32_t tolerance = 0;
    bool noValue = false;
};

TEST(AssignmentParser, ReadsEveryStatementsValues) {
    const StepRow rows[] = {
        {"zet Drukknop 2 = uit", Kind::Set, AssignmentTarget::PushButton, 0},
        {"zet Sensor 1 = donker", Kind::Set, AssignmentTarget::Sensor, 0},
        {"zet Sensor 2 = lamp", Kind::Set, AssignmentTarget::Sensor, 1},
        {"zet Sensor 2 = wisselend", Kind::Set, AssignmentTarget::Sensor, 2},
        {"zet Puls Generator Regelaar = 3.5 V", Kind::Set, AssignmentTarget::Knob, 35},
        {"zet Comparator Regelaar = 5V", Kind::Set, AssignmentTarget::Knob, 50},
        {"zet Comparator Regelaar = 0,0 V", Kind::Set, AssignmentTarget::Knob, 0},
        {"zet Geluid = 50", Kind::Set, AssignmentTarget::Sound, 50},
        {"druk Pulsenteller Reset Drukknop", Kind::Press, AssignmentTarget::ResetButton, 0},
        {"druk Sensor 1", Kind::Press, AssignmentTarget::Sensor, 0},
        {"wacht 1 stap", Kind::Wait, AssignmentTarget::Socket, 1},
        {"wacht 0,5 s", Kind::Wait, AssignmentTarget::Socket, 50},
        {"wacht 2 s", Kind::Wait, AssignmentTarget::Socket, 200},
        {"wacht 0.01 s", Kind::Wait, AssignmentTarget::Socket, 1},
        {"verwacht Display = 9", Kind::Expect, AssignmentTarget::Display, 9},
        {"verwacht Zoemer = 2,5 V +/- 0,5 V", Kind::Expect, AssignmentTarget::Socket, 25, 5},
        {"verwacht Zoemer = uit", Kind::Expect, AssignmentTarget::Buzzer, 0},
        {"verwacht LED 4 Ingang = geen waarde", Kind::Expect, AssignmentTarget::Socket, 0, 0, true},
        {"verwacht AD-omzetter Uitgang 8 = 0 V +- 0 V", Kind::Expect, AssignmentTarget::Socket, 0},
    };
    for (const StepRow& row : rows) {
        const std::string text =
            std::string("toets: t\nwacht 1 stap\n") + row.statement + "\nverwacht Display = 0\n";
        const Assignment a = AssignmentParser::Parse(text, "o.tvo");
        const AssignmentStep& step = a.checks[0].runs[0].steps[1];
        EXPECT_EQ(step.kind, row.kind) << row.statement;
        if (row.kind != Kind::Wait) {
            EXPECT_EQ(step.target, row.target) << row.statement;
        }
        EXPECT_EQ(step.value, row.value) << row.statement;
        EXPECT_EQ(step.tolerance, row.tolerance) << row.statement;
        EXPECT_EQ(step.noValue, row.noValue) << row.statement;
    }
}

TEST(AssignmentParser, ReadsChangeCountsHiddenChecksCommentsAndWindowsLineEnds) {
    const Assignment a = AssignmentParser::Parse(
        "\xEF\xBB\xBF# knipperlicht\r\nopdracht: Knipper # de titel\r\ntoets: Knippert\r\n"
        "verborgen\r\nzet Puls Generator Regelaar = 5 V\r\nwacht 1 s\r\n"
        "verwacht LED 1 wisselt 8 tot 12 keer\r\nverwacht Zoemer wisselt 0 keer\r\n",
        "k.tvo");
    EXPECT_EQ(a.title, "Knipper");
    ASSERT_EQ(a.checks.size(), 1U);
    EXPECT_TRUE(a.checks[0].hidden);
    const std::vector<AssignmentStep>& s = a.checks[0].runs[0].steps;
    ASSERT_EQ(s.size(), 4U);
    EXPECT_EQ(s[1].value, 100);
    EXPECT_EQ(*s[2].changesAtLeast, 8);
    EXPECT_EQ(*s[2].changesAtMost, 12);
    EXPECT_EQ(s[3].target, AssignmentTarget::Buzzer);
    EXPECT_EQ(*s[3].changesAtMost, 0);
}

/// A file and the message that refuses it.
struct BadRow {
    const char* text;
    const char* message;
};

TEST(AssignmentParser, RefusesMistakesWithFileLineAndWhatWasExpected) {
    const BadRow rows[] = {
        {"toets: a\nverwacht LED 9 = aan\n", "o.tvo:2: onbekende naam \"LED 9\""},
        {"", "o.tvo: geen enkele toets; begin een toets met \"toets: NAAM\""},
        {"# alleen uitleg\nopdracht: x\n",
         "o.tvo: geen enkele toets; begin een toets met \"toets: NAAM\""},
        {"zet Drukknop 1 = aan\n",
         "o.tvo:1: zet hoort bij een toets; begin eerst een toets met \"toets: NAAM\""},
        {"toets: a\n\nzet Var. Spanning Regelaar = 3.5\n",
         "o.tvo:3: \"Var. Spanning Regelaar\": verwacht een spanning met eenheid, zoals \"3,5 V\", "
         "niet \"3.5\""},
        {"toets: a\nzet Var. Spanning Regelaar = 60 V\n",
         "o.tvo:2: \"Var. Spanning Regelaar\": verwacht een spanning van 0 tot 5 V met hoogstens "
         "één cijfer achter de komma, niet \"60 V\""},
        {"toets: a\nzet Comparator Regelaar = 2,55 V\n",
         "o.tvo:2: \"Comparator Regelaar\": verwacht een spanning van 0 tot 5 V met hoogstens "
         "één cijfer achter de komma, niet \"2,55 V\""},
        {"toets: a\nzet Drukknop 1 = 1\n", "o.tvo:2: \"Drukknop 1\" is aan of uit, niet \"1\""},
        {"toets: a\nzet Sensor 1 = licht\n",
         "o.tvo:2: \"Sensor 1\" is donker, lamp of wisselend, niet \"licht\""},
        {"toets: a\nzet Geluid = 51\n",
         "o.tvo:2: Geluid is een heel getal van 0 tot 50, niet \"51\""},
        {"toets: a\nzet LED 1 Ingang = 5 V\n",
         "o.tvo:2: \"LED 1 Ingang\" kan niet gezet worden; zet een drukknop, sensor, regelaar of "
         "Geluid"},
        {"toets: a\ndruk Comparator Regelaar\n",
         "o.tvo:2: \"Comparator Regelaar\" kan niet ingedrukt worden; druk een drukknop, sensor of "
         "\"Pulsenteller Reset Drukknop\""},
        {"toets: a\nwacht 0,005 s\n", "o.tvo:2: verwacht \"wacht T s\" met T in seconden, in "
                                      "stappen van 0,01 s, niet \"0,005 s\""},
        {"toets: a\nwacht 20\n",
         "o.tvo:2: verwacht \"wacht N stappen\" of \"wacht T s\", niet \"20\""},
        {"toets: a\nverwacht Display = 10\n",
         "o.tvo:2: Display is een cijfer van 0 tot 9, niet \"10\""},
        {"toets: a\nverwacht LED 1 wisselt 3 keer\n",
         "o.tvo:2: \"wisselt\" telt de wisselingen tijdens de laatste wacht; zet er een wacht "
         "voor"},
        {"toets: a\nwacht 1 s\nverwacht LED 1 wisselt 5 tot 3 keer\n",
         "o.tvo:3: verwacht \"wisselt N keer\" of \"wisselt N tot M keer\", niet \"5 tot 3 keer\""},
        {"toets: a\nverwacht Sensor 1 = aan\n",
         "o.tvo:2: \"Sensor 1\" kan niet gelezen worden; verwacht een LED, Zoemer, Display of een "
         "aansluiting"},
        {"toets: a\npunten: 0\n", "o.tvo:2: punten: verwacht een heel getal van 1 tot 1000"},
        {"toets: a\npunten: twee\n", "o.tvo:2: punten: verwacht een heel getal van 1 tot 1000"},
        {"toets:\n", "o.tvo:1: na \"toets:\" ontbreekt de tekst"},
        {"toets: a\ntabel: Drukknop 1 => LED 1\n aan | uit => aan\n",
         "o.tvo:3: de rij heeft 2 ingangen en 1 uitgangen, de tabel 1 en 1"},
        {"toets: a\ntabel: LED 1 => LED 2\n",
         "o.tvo:2: \"LED 1\" kan niet gezet worden; een ingang van de tabel is een drukknop, "
         "sensor, regelaar of Geluid"},
        {"toets: a\ntabel: Drukknop 1 => LED 1\n aan => 5\n",
         "o.tvo:3: \"LED 1\" is aan of uit, niet \"5\""},
        {"toets: a\nhint: geen\n\ntoets: b\nverwacht LED 1 = aan\n",
         "o.tvo:1: toets \"a\" verwacht niets; geef een tabel of een verwacht"},
        {"toets: a\naan | uit => aan\n",
         "o.tvo:2: verwacht \"opdracht:\", \"uitleg:\", \"toets:\", \"punten:\", \"hint:\", "
         "\"verborgen\", \"tabel:\", zet, druk, wacht, verwacht of een rij van de tabel, niet "
         "\"aan | uit => aan\""},
        {"opdracht: a\nopdracht: b\n", "o.tvo:2: de opdracht heeft al een titel"},
    };
    for (const BadRow& row : rows) {
        try {
            AssignmentParser::Parse(row.text, "o.tvo");
            ADD_FAILURE() << "accepted: " << row.text;
        } catch (const AssignmentError& error) {
            EXPECT_EQ(std::string(error.what()), row.message) << row.text;
        }
    }
}

TEST(AssignmentParser, LoadNamesAFileItCannotRead) {
    // A pipe is refused at once, never waited on.
    char folder[] = "/tmp/opdrachtXXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string pipe = std::string(folder) + "/pijp.tvo";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<std::string, std::string> rows[] = {
        {"/geen/map/opdracht.tvo", "/geen/map/opdracht.tvo: kan niet worden gelezen: "},
        {folder, std::string(folder) + ": kan niet worden gelezen: het is een map"},
        {pipe, pipe + ": kan niet worden gelezen: het is geen gewoon bestand"},
    };
    for (const auto& [path, message] : rows) {
        try {
            AssignmentParser::Load(path);
            ADD_FAILURE() << path;
        } catch (const AssignmentError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(message, 0), 0U) << error.what();
        }
    }
    ::unlink(pipe.c_str());
    ::rmdir(folder);
}

} // namespace
