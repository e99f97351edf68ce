// tavsim --check and --render against the window: the same boards and clicks give the same
// LEDs, digit, buzzer, wire colours and socket values as the window's own tick, a picture is
// the window's canvas pixel for pixel, damaged boards are reported in Dutch without stopping
// the others, and wrong arguments give the usage line.

#include "app/cli/CliMain.h"
#include "app/components/PictureLoader.h"
#include "app/components/clsDisplay.h"
#include "app/components/clsLED.h"
#include "app/components/clsVoltControl.h"
#include "app/documents/BoardDocument.h"
#include "app/documents/DocumentFile.h"
#include "app/grading/AssignmentPanel.h"
#include "app/simulation/clsGraph.h"
#include "tests/board/BoardTestSupport.h"

#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace board_test {
namespace {

using Values = std::map<std::string, std::int32_t>;

struct Act {
    std::string naam;
    /// A knob's setting; none for a click on a push button, sensor or reset button.
    std::optional<int> set;
};

/// A board, what is done to it before the first step, the steps, and what the Parts say it
/// must show (checked when given).
struct Row {
    const char* what;
    BoardDocument document;
    std::vector<Act> acts{};
    int ticks = 100;
    std::optional<std::array<bool, 4>> leds{};
    std::optional<bool> buzzer{};
    std::optional<int> display{};
    Values someValues{};
    std::optional<std::string> conflict{};
    /// Colours of the wires in list order.
    std::vector<int> colours{};
};

BoardDocument Board(std::vector<BoardDocument::Wire> wires) {
    BoardDocument document;
    document.wires = std::move(wires);
    return document;
}

/// What one board shows, from a JSON line or from the window.
struct Shown {
    std::array<bool, 4> leds{};
    bool buzzer = false;
    int display = 0;
    std::string conflict;
    std::vector<std::tuple<std::string, std::string, int>> wires;
    Values values;
};

class CliCheck : public OnForm {
protected:
    struct Ran {
        int status = -1;
        std::vector<QJsonObject> lines;
        std::string out;
        std::string err;
    };

    /// Runs a command as the program would, then gives the window tests their own clock,
    /// pointer, sound and prompter back.
    Ran Cli(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        Ran ran;
        ran.status = CliMain::Execute(args, out, err);
        ran.out = out.str();
        ran.err = err.str();
        std::istringstream lines(ran.out);
        for (std::string line; std::getline(lines, line);) {
            if (line.empty() || line.front() != '{') {
                continue; // help and version
            }
            QJsonParseError error;
            const QJsonDocument json =
                QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
            EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
            ran.lines.push_back(json.object());
        }
        Prompter::Install(&prompter);
        ClockSource::Install(&clock);
        PointerSource::Install(&pointer);
        SoundPlayer::Install(&sound);
        return ran;
    }

    std::string Write(const std::string& name, const BoardDocument& document) {
        const std::string path = (dir.path() + "/" + QString::fromStdString(name)).toStdString();
        DocumentFile::Save(document, path);
        return path;
    }

    static std::vector<std::string> Options(const std::vector<Act>& acts, int ticks) {
        std::vector<std::string> args = {"--ticks", std::to_string(ticks)};
        for (const Act& act : acts) {
            args.push_back(act.set ? "--set" : "--press");
            // A knob's setting in volts, in Dutch notation: 35 is "3,5V".
            args.push_back(act.set ? act.naam + "=" + std::to_string(*act.set / 10) + "," +
                                         std::to_string(*act.set % 10) + "V"
                                   : act.naam);
        }
        return args;
    }

    /// The window started with `path` on its command line, the acts done with the pointer in
    /// operate mode (a knob by dragging on its scale), then `ticks` ticks 10 ms apart with
    /// the pointer far from the board.
    void WindowRuns(const std::string& path, const std::vector<Act>& acts, int ticks) {
        pointer.position = QPoint(-1000000, -1000000);
        pointer.widgetUnder = nullptr;
        clock.seconds = 0.0F;
        Start(path);
        Item("mnuRegelen")->trigger();
        for (const Act& act : acts) {
            Click(act.naam);
            if (act.set) {
                Drag(*act.set);
            }
        }
        for (int k = 1; k <= ticks; ++k) {
            clock.seconds = static_cast<float>(k / 100.0);
            form->Timer1_Timer();
        }
    }

    /// Presses on the open knob's scale at the tick of `value` and lets go there.
    void Drag(int value) {
        KaleidoATL* canvas = form->Kaleido1();
        const int dial = form->Knob()->DialSprite();
        const int x = canvas->GetSpriteX(dial) + 6 + 4 * value;
        const int y = canvas->GetSpriteY(dial) + 30;
        Mouse(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
        Mouse(QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
    }

    Shown FromWindow() {
        Shown shown;
        for (int k = 1; k <= 4; ++k) {
            shown.leds[std::size_t(k - 1)] = form->LED(k)->Value();
        }
        shown.buzzer = form->BuzzerOn();
        shown.display = form->Display()->Value();
        shown.conflict = FORM1::OutputConflictText(form->Lines(), form->Snaps());
        for (const auto& line : form->Lines()) {
            shown.wires.emplace_back(line->naam1, line->naam2, line->Color());
        }
        clsSnaps& snaps = form->Snaps();
        for (int i = 1; i <= snaps.GetSnapCount(); ++i) {
            const std::string naam = snaps.GetSnapItemName(i);
            if (form->Graph()->PuntExists(naam)) {
                shown.values[naam] = form->Graph()->GetPuntValueByName(naam, 0);
            }
        }
        return shown;
    }

    static Shown FromJson(const QJsonObject& line) {
        Shown shown;
        const QJsonArray leds = line["leds"].toArray();
        EXPECT_EQ(leds.size(), 4);
        for (int k = 0; k < 4 && k < leds.size(); ++k) {
            shown.leds[std::size_t(k)] = leds[k].toBool();
        }
        shown.buzzer = line["buzzer"].toBool();
        shown.display = line["display"].toInt(-1);
        shown.conflict = line["conflict"].toString().toStdString();
        for (const QJsonValue wire : line["wires"].toArray()) {
            shown.wires.emplace_back(wire["from"].toString().toStdString(),
                                     wire["to"].toString().toStdString(), wire["colour"].toInt(-1));
        }
        const QJsonObject values = line["values"].toObject();
        for (auto it = values.begin(); it != values.end(); ++it) {
            shown.values[it.key().toStdString()] = it.value().toInt(-1);
        }
        return shown;
    }

    QTemporaryDir dir;
};

// The rows run in one --check, in this order, so that a board whose memory cell, counter or
// pulse generator was busy cannot leave anything to the next: each must match a window that
// was freshly started with that board.
const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = [] {
        std::vector<Row> r;
        r.push_back(
            {"push button lights LED 1 and rings the buzzer",
             Board({{"Drukknop 1 Uit Geel", "LED 1 Ingang"}, {"Drukknop 1 Uit Geel", "Zoemer"}}),
             {{"Drukknop 1", {}}},
             1,
             std::array{true, false, false, false},
             true,
             0,
             {{"LED 1 Ingang", 50}, {"Zoemer", 50}},
             "",
             {1, 1}});
        r.push_back({"variable voltage 30 through the inverter gives 20",
                     Board({{"Var. Spanning Uit Geel", "Invertor Ingang"},
                            {"Invertor Uitgang", "LED 2 Ingang"}}),
                     {{"Var. Spanning Regelaar", 30}},
                     3,
                     std::array{false, false, false, false},
                     false,
                     {},
                     {{"Invertor Ingang", 30}, {"Invertor Uitgang", 20}, {"LED 2 Ingang", 20}},
                     "",
                     {4, 5}});
        BoardDocument memory =
            Board({{"Drukknop 2 Uit Geel", "Geheugen Set (In)"}, {"Geheugen Uit", "LED 3 Ingang"}});
        memory.pushButton2 = true;
        r.push_back({"memory cell set by a push button lit in the document",
                     memory,
                     {},
                     5,
                     std::array{false, false, true, false},
                     {},
                     {},
                     {{"Geheugen Uit", 50}},
                     ""});
        // A fresh window knows nothing of the memory cell set on the board before.
        r.push_back({"memory cell starts at 0 on the next board",
                     Board({{"Geheugen Uit", "LED 1 Ingang"}}),
                     {},
                     2,
                     std::array{false, false, false, false},
                     {},
                     {},
                     {{"Geheugen Uit", 0}},
                     ""});
        {
            BoardDocument counting =
                Board({{"Puls Generator Uit Geel", "Pulsenteller Tel pulsen (In)"},
                       {"Pulsenteller Uitgang 1", "LED 1 Ingang"},
                       {"Pulsenteller Uitgang 2", "LED 2 Ingang"},
                       {"Pulsenteller Uitgang 4", "LED 3 Ingang"},
                       {"Pulsenteller Uitgang 8", "LED 4 Ingang"}});
            r.push_back({"pulse generator at 37 counts on the display",
                         counting,
                         {{"Puls Generator Regelaar", 37}},
                         150});
            r.push_back({"pulse generator at 5 counts for 3 s",
                         counting,
                         {{"Puls Generator Regelaar", 5}},
                         300});
        }
        {
            BoardDocument reset = Board({{"Pulsenteller Uitgang 1", "LED 1 Ingang"},
                                         {"Pulsenteller Uitgang 4", "LED 3 Ingang"}});
            reset.displayValue = 5;
            r.push_back({"digit 5 shows on outputs 1 and 4",
                         reset,
                         {},
                         1,
                         std::array{true, false, true, false},
                         {},
                         5});
            r.push_back({"reset button clears the counter",
                         reset,
                         {{"Pulsenteller Reset Drukknop", {}}},
                         1,
                         std::array{false, false, false, false},
                         {},
                         0});
        }
        r.push_back(
            {"sensor in pointer mode sees no light with the pointer far away",
             Board({{"Sensor 1 Uit Geel", "Transistor In"}, {"Transistor Uit", "LED 4 Ingang"}}),
             {{"Sensor 1", {}}},
             2,
             std::array{false, false, false, true},
             {},
             {},
             {{"Sensor 1 Uit Geel", 0}, {"Transistor Uit", 50}}});
        r.push_back({"oscillating sensor against the comparator at 40",
                     Board({{"Sensor 2 Uit Geel", "Comparator In"},
                            {"Comparator Uit", "LED 1 Ingang"},
                            {"Sensor 2 Uit Geel", "AD-omzetter In"},
                            {"AD-omzetter Uitgang 8", "LED 2 Ingang"}}),
                     {{"Sensor 2", {}}, {"Sensor 2", {}}, {"Comparator Regelaar", 40}},
                     180});
        r.push_back({"two outputs on one LED",
                     Board({{"Sensor 1 Uit Geel", "LED 1 Ingang"},
                            {"LED 1 Ingang", "Drukknop 1 Uit Geel"}}),
                     {},
                     1,
                     {},
                     {},
                     {},
                     {},
                     "Je begaat een fout: Je hebt 2 of meer uitgangen aan elkaar verbonden.\r\n"
                     "Het gaat om de uitgangen:\r\n\r\n"
                     "\"Sensor 1 Uit Geel\" en \"Drukknop 1 Uit Geel\"\r\n"});
        return r;
    }();
    return rows;
}

TEST_F(CliCheck, GivesWhatTheWindowShowsAfterTheSameClicksAndSteps) {
    // One --check per distinct set of options, the boards in row order within each.
    std::vector<std::string> paths;
    std::vector<QJsonObject> lines;
    for (std::size_t i = 0; i < Rows().size(); ++i) {
        paths.push_back(Write("row" + std::to_string(i) + ".tvb", Rows()[i].document));
    }
    for (std::size_t i = 0; i < Rows().size(); ++i) {
        const Row& row = Rows()[i];
        std::vector<std::string> args = {"--check"};
        for (const std::string& option : Options(row.acts, row.ticks)) {
            args.push_back(option);
        }
        // The board before it first, so that whatever it left behind would show.
        if (i > 0) {
            args.push_back(paths[i - 1]);
        }
        args.push_back(paths[i]);
        const Ran ran = Cli(args);
        ASSERT_EQ(ran.status, CliMain::kAllRead) << row.what << ran.err;
        ASSERT_EQ(ran.lines.size(), i > 0 ? 2U : 1U) << row.what;
        lines.push_back(ran.lines.back());
    }

    for (std::size_t i = 0; i < Rows().size(); ++i) {
        const Row& row = Rows()[i];
        SCOPED_TRACE(row.what);
        const QJsonObject& line = lines[i];
        EXPECT_EQ(line["file"].toString().toStdString(), paths[i]);
        EXPECT_TRUE(line["ok"].toBool());
        const Shown cli = FromJson(line);

        WindowRuns(paths[i], row.acts, row.ticks);
        const Shown window = FromWindow();
        form.reset();

        EXPECT_EQ(cli.leds, window.leds);
        EXPECT_EQ(cli.buzzer, window.buzzer);
        EXPECT_EQ(cli.display, window.display);
        EXPECT_EQ(cli.conflict, window.conflict);
        EXPECT_EQ(cli.wires, window.wires);
        EXPECT_EQ(cli.values, window.values);

        if (row.leds) {
            EXPECT_EQ(cli.leds, *row.leds);
        }
        if (row.buzzer) {
            EXPECT_EQ(cli.buzzer, *row.buzzer);
        }
        if (row.display) {
            EXPECT_EQ(cli.display, *row.display);
        }
        for (const auto& [naam, value] : row.someValues) {
            EXPECT_EQ(cli.values.count(naam) ? cli.values.at(naam) : -1, value) << naam;
        }
        if (row.conflict) {
            EXPECT_EQ(cli.conflict, *row.conflict);
        }
        for (std::size_t w = 0; w < row.colours.size() && w < cli.wires.size(); ++w) {
            EXPECT_EQ(std::get<2>(cli.wires[w]), row.colours[w]) << "wire " << w;
        }
    }
}

TEST_F(CliCheck, DamagedBoardsAreReportedInDutchAndTheOthersStillChecked) {
    const std::string good = Write("goed.tvb", Board({{"Drukknop 1 Uit Geel", "LED 1 Ingang"}}));
    const std::string missing = (dir.path() + "/weg.tvb").toStdString();
    const std::string folder = dir.path().toStdString();
    const std::string notBoard = (dir.path() + "/tekst.tvb").toStdString();
    WriteBytes(notBoard, {'h', 'a', 'l', 'l', 'o'});
    // A board document that ends inside its settings chunk.
    const std::string cut = (dir.path() + "/kort.tvb").toStdString();
    WriteBytes(cut, {0xDA, 0xDA, 0x2E, 0x00, 0x00, 0x00, 0x00, 0x10, 0x22, 0x00, 0x00, 0x00, 0x00});
    // A display digit no board can have.
    std::vector<std::uint8_t> digit = FileBytes(good);
    ASSERT_GT(digit.size(), 20U);
    digit[20] = 12; // the display's Long, after the outer and settings headers and two Longs

    const std::string badDigit = (dir.path() + "/cijfer.tvb").toStdString();
    WriteBytes(badDigit, digit);

    const Ran ran = Cli({"--check", good, missing, notBoard, folder, cut, badDigit, good});
    EXPECT_EQ(ran.status, CliMain::kNotRead);
    ASSERT_EQ(ran.lines.size(), 7U) << ran.out;
    const auto unreadable = [](const std::string& path) {
        return "Het bestand " + path + " kan niet worden geopend: het is beschadigd of onleesbaar.";
    };
    const std::vector<std::pair<std::string, std::string>> expected = {
        {good, ""},
        {missing, "Te openen bestand " + missing + " bestaat niet."},
        {notBoard, unreadable(notBoard)},
        {folder, "Te openen bestand " + folder + " bestaat niet."},
        {cut, unreadable(cut)},
        {badDigit, unreadable(badDigit)},
        {good, ""},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const QJsonObject& line = ran.lines[i];
        EXPECT_EQ(line["file"].toString().toStdString(), expected[i].first) << i;
        if (expected[i].second.empty()) {
            EXPECT_TRUE(line["ok"].toBool()) << i;
            EXPECT_TRUE(line["leds"].isArray()) << i;
        } else {
            EXPECT_FALSE(line["ok"].toBool(true)) << i;
            EXPECT_EQ(line["error"].toString().toStdString(), expected[i].second) << i;
            EXPECT_EQ(line.keys(), (QStringList{"error", "file", "ok"})) << i;
        }
    }
    // The window says the same about the damaged board.
    Start(notBoard);
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages.back().text, unreadable(notBoard));
}

TEST_F(CliCheck, FileNamesThatAreNoUtf8StillGiveJson) {
    const std::string odd = (dir.path() + "/\"a\\b\xff.tvb").toStdString();
    const Ran ran = Cli({"--check", odd});
    ASSERT_EQ(ran.lines.size(), 1U) << ran.out;
    EXPECT_EQ(ran.lines[0]["file"].toString(),
              dir.path() + QString::fromUtf8("/\"a\\b\xEF\xBF\xBD.tvb"));
}

struct ArgumentRow {
    std::vector<std::string> args;
    int status;
    /// Part of what goes to standard error (wrong arguments) or standard output.
    std::string says;
};

TEST_F(CliCheck, ArgumentsAreCheckedBeforeAnyBoard) {
    const std::string good = Write("goed.tvb", Board({}));
    BoardDocument litBoard = Board({{"Drukknop 1 Uit Geel", "LED 1 Ingang"}});
    litBoard.pushButton1 = true;
    const std::string lit = Write("aan.tvb", litBoard);
    const std::string png = (dir.path() + "/bord.png").toStdString();
    const std::string csv = (dir.path() + "/spoor.csv").toStdString();
    const std::string vcd = (dir.path() + "/spoor.vcd").toStdString();
    const std::string missing = (dir.path() + "/weg.tvb").toStdString();
    // A picture goes only into a regular file or a new name, never over a pipe or a device.
    const std::string fifo = (dir.path() + "/pijp.png").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string fifoTrace = (dir.path() + "/pijp.csv").toStdString();
    ASSERT_EQ(::mkfifo(fifoTrace.c_str(), 0600), 0);
    const std::string device = (dir.path() + "/apparaat.png").toStdString();
    const bool haveDevice = ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    std::vector<ArgumentRow> rows = {
        {{"--check"}, 2, "ten minste één bestand"},
        {{"--check", "--frobnicate", good}, 2, "onbekende optie --frobnicate"},
        {{"--check", "-x"}, 1, "Te openen bestand -x bestaat niet."}, // one dash: a file name
        {{"--check", "--ticks", "0", good}, 2, "--ticks"},
        {{"--check", "--ticks", "-3", good}, 2, "--ticks"},
        {{"--check", "--ticks", "2.5", good}, 2, "--ticks"},
        {{"--check", "--ticks", "1000001", good}, 2, "--ticks"},
        {{"--check", good, "--ticks"}, 2, "--ticks mist een waarde"},
        {{"--check", "--set", "Comparator Regelaar=5,1V", good}, 2, "0 tot 5 V"},
        {{"--check", "--set", "Comparator Regelaar=3.5", good}, 2, "0 tot 5 V, zoals"},
        {{"--check", "--set", "Comparator Regelaar=60", good}, 2, "niet \"60\""},
        {{"--check", "--set", "Comparator Regelaar=-1V", good}, 2, "0 tot 5 V"},
        {{"--check", "--set", "Comparator Regelaar=1,25V", good}, 2, "0 tot 5 V"},
        {{"--check", "--set", "Comparator Regelaar=vijf", good}, 2, "0 tot 5 V"},
        {{"--check", "--set", "Comparator Regelaar=", good}, 2, "0 tot 5 V"},
        {{"--check", "--state", "Drukknop 1=1", good}, 2, "\"Drukknop 1\" aan of uit, niet \"1\""},
        {{"--check", "--state", "Sensor 2=licht", good}, 2, "donker, lamp of wisselend"},
        {{"--check", "--state", "Zoemer=aan", good}, 2, "drukknop, sensor of regelaar"},
        {{"--check", "--state", "Comparator Regelaar=35", good}, 2, "0 tot 5 V"},
        // A state is set, not toggled: the board was saved with push button 1 on.
        {{"--check", "--state", "Drukknop 1=aan", lit}, 0, "\"leds\":[true"},
        {{"--check", "--press", "Drukknop 1", lit}, 0, "\"leds\":[false"},
        {{"--check", "--state", "Drukknop 1=uit", lit}, 0, "\"leds\":[false"},
        {{"--check", "--state", "Sensor 1=lamp", "--state", "Drukknop 2=aan", lit},
         0,
         "\"leds\":[true"},
        {{"--check", "--set", "Comparator Regelaar", good}, 2, "NAAM=W"},
        {{"--check", "--set", "Zoemer=10", good}, 2, "NAAM=W"},
        {{"--check", "--press", "Zoemer", good}, 2, "--press kent geen knop \"Zoemer\""},
        {{"--check", "--press", "Comparator Regelaar", good}, 2, "--press kent geen knop"},
        {{"--check", "--scale", "2", good}, 2, "onbekende optie --scale"},
        {{"--render", good}, 2, "--render wil precies"},
        {{"--render", good, png, "extra.png"}, 2, "--render wil precies"},
        {{"--render", good, png, "--scale", "0"}, 2, "--scale"},
        {{"--render", good, png, "--scale", "9"}, 2, "--scale"},
        {{"--render", good, png, "--colour-blind=ja"}, 2, "--colour-blind neemt geen waarde"},
        {{"--check", "--colour-blind", good}, 2, "onbekende optie --colour-blind"},
        {{"--render", good, png, "--colour-blind"}, 0, ""},
        {{"--grade"}, 2, "--grade wil een opdracht (.tvo) en ten minste één bord"},
        {{"--grade", good}, 2, "ten minste één bord"},
        {{"--grade", good, "--ticks", "3", good}, 2, "onbekende optie --ticks bij --grade"},
        {{"--grade", good, good, "--csv"}, 2, "--csv mist een bestandsnaam"},
        {{"--grade", good, "--html=", good}, 2, "--html mist een bestandsnaam"},
        // As the shell expands "--csv klas/*.tvb": the first board must not be overwritten.
        {{"--grade", good, "--csv", lit, good}, 2, "--csv zou \"" + lit + "\" overschrijven"},
        {{"--grade", good, "--html", "o.tvo", good}, 2, "--html zou"},
        {{"--grade", good, "--csv", "k.txt", "--html", "k.txt", good}, 2, "hetzelfde bestand"},
        {{"--grade", missing, good}, 2, "weg.tvb: kan niet worden gelezen"},
        {{"--help", "--check"}, 2, "neemt geen argumenten"},
        {{"--check", missing}, 1, "bestaat niet"},
        {{"--render", missing, png}, 1, "bestaat niet"},
        {{"--render", good, (dir.path() + "/geen/map/bord.png").toStdString()},
         1,
         "Het plaatje kan niet worden bewaard in"},
        {{"--render", good, (dir.path() + "/geen/bord.png").toStdString()}, 1, "niet gevonden"},
        {{"--render", good, fifo}, 1, "pijp.png: het is geen gewoon bestand"},
        {{"--render", good, dir.path().toStdString()}, 1, ": het is een map"},
        {{"--check", "--ticks=3", "--set=Comparator Regelaar=1,2V", "--", good}, 0, "\"ok\":true"},
        {{"--check", "--trace", csv, good, lit}, 2, "--trace wil precies één bord, niet 2"},
        {{"--check", "--trace", csv}, 2, "ten minste één bestand"},
        {{"--check", "--trace", (dir.path() + "/spoor.txt").toStdString(), good},
         2,
         "eindigt op .csv of .vcd, niet"},
        {{"--check", "--trace", csv, "--trace", vcd, good}, 2, "--trace mag maar één keer"},
        {{"--check", "--probe", "LED 1 Ingang", good}, 2, "--probe hoort bij --trace"},
        {{"--check", "--trace", csv, "--probe", "led 1 ingang", good},
         2,
         "--probe kent geen aansluiting \"led 1 ingang\""},
        {{"--check", "--trace", csv, "--probe", "Zoemer", "--probe", "Zoemer", good},
         2,
         "\"Zoemer\" twee keer"},
        {{"--render", good, png, "--trace", csv}, 2, "onbekende optie --trace"},
        {{"--render", good, png, "--probe", "Zoemer"}, 2, "onbekende optie --probe"},
        // A trace that cannot be written is reported; the board's line still comes.
        {{"--check", "--trace", (dir.path() + "/geen/map/spoor.csv").toStdString(), lit},
         1,
         "Het spoor kan niet worden bewaard in"},
        {{"--check", "--trace", fifoTrace, lit}, 1, "pijp.csv: het is geen gewoon bestand"},
        {{"--check", "--trace=" + vcd, "--probe=Zoemer", "--ticks", "2", lit}, 0, "\"ok\":true"},
        {{"--help"}, 0, "Gebruik: tavsim --check"},
        {{"--version"}, 0, "tavsim 2.0.0"},
    };
    if (haveDevice) {
        rows.push_back({{"--render", good, device}, 1, "apparaat.png: het is geen gewoon bestand"});
    }
    for (const ArgumentRow& row : rows) {
        std::string line;
        for (const std::string& arg : row.args) {
            line += arg + " ";
        }
        const Ran ran = Cli(row.args);
        EXPECT_EQ(ran.status, row.status) << line << ran.err;
        if (row.status == CliMain::kWrongArguments) {
            EXPECT_NE(ran.err.find(row.says), std::string::npos) << line << ran.err;
            // An assignment that cannot be read is no misuse of the options.
            const bool usage = ran.err.find(".tvb: kan niet worden gelezen") == std::string::npos;
            EXPECT_EQ(ran.err.find("Gebruik: tavsim --check") != std::string::npos, usage) << line;
            EXPECT_EQ(ran.out, "") << line;
        } else {
            EXPECT_NE((ran.out + ran.err).find(row.says), std::string::npos) << line << ran.out;
        }
    }
    struct stat st {};
    EXPECT_TRUE(::lstat(fifo.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) << "the pipe stays";
    EXPECT_TRUE(!haveDevice || (::lstat(device.c_str(), &st) == 0 && S_ISCHR(st.st_mode)))
        << "the device stays";
}
TEST_F(CliCheck, PulseTraceChangesAtTheGeneratorsRate) {
    BoardDocument document = Board({{"Puls Generator Uit Geel", "LED 1 Ingang"}});
    document.pulseGenerator = 50;
    const std::string board = Write("puls.tvb", document);
    // At setting 50 the level toggles once more than 10 / (4 * 50 + 10) = 1/21 s has
    // gathered. A step shows the level before its own advance, so 200 steps show what 199
    // advances of 10 ms made: floor(1,99 * 21) = 41 toggles, 4 or 5 steps apart (1/21 s is
    // 4,76 steps), the first at step 6 (after 5 advances, 0,05 s > 1/21 s).
    const auto text = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const auto expectRate = [](const std::vector<std::int64_t>& changes) {
        ASSERT_EQ(changes.size(), 41U);
        EXPECT_EQ(changes.front(), 6);
        for (std::size_t i = 1; i < changes.size(); ++i) {
            const std::int64_t gap = changes[i] - changes[i - 1];
            EXPECT_TRUE(gap == 4 || gap == 5) << "step " << changes[i];
        }
    };
    const std::vector<std::string> probes = {"--probe", "Puls Generator Uit Geel", "--probe",
                                             "LED 1 Ingang"};

    const std::string csv = (dir.path() + "/puls.csv").toStdString();
    std::vector<std::string> args = {"--check", "--ticks", "200", "--trace", csv};
    args.insert(args.end(), probes.begin(), probes.end());
    args.push_back(board);
    ASSERT_EQ(Cli(args).status, CliMain::kAllRead);
    std::istringstream rows(text(csv));
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row, "tijd (s);Puls Generator Uit Geel;LED 1 Ingang\r");
    std::vector<std::int64_t> changes;
    std::string previous;
    std::int64_t step = 0;
    while (std::getline(rows, row)) {
        ++step;
        ASSERT_EQ(row.back(), '\r');
        row.pop_back();
        const std::string time = row.substr(0, row.find(';'));
        EXPECT_EQ(time, std::to_string(step / 100) + "," + char('0' + step % 100 / 10) +
                            char('0' + step % 10));
        const std::string volts = row.substr(time.size() + 1, 3);
        EXPECT_TRUE(volts == "0,0" || volts == "5,0") << row;
        EXPECT_EQ(row.substr(time.size()), ";" + volts + ";" + volts) << "the LED follows";
        if (step > 1 && volts != previous) {
            changes.push_back(step);
        }
        previous = volts;
    }
    EXPECT_EQ(step, 200);
    expectRate(changes);

    const std::string vcd = (dir.path() + "/puls.vcd").toStdString();
    args[4] = vcd;
    ASSERT_EQ(Cli(args).status, CliMain::kAllRead);
    const std::string dump = text(vcd);
    EXPECT_NE(dump.find("$timescale 1 ms $end"), std::string::npos);
    EXPECT_NE(dump.find("$var real 64 ! Puls_Generator_Uit_Geel $end"), std::string::npos);
    EXPECT_EQ(dump.find("_bekend"), std::string::npos) << "both have a value in every step";
    std::istringstream lines(dump.substr(dump.find("$enddefinitions")));
    changes.clear();
    std::int64_t ms = 0;
    int pulseLines = 0;
    int ledLines = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.front() == '#') {
            ms = std::stoll(line.substr(1));
            EXPECT_EQ(ms % 10, 0) << line;
        } else if (line.back() == '!') {
            EXPECT_TRUE(line == "r0.0 !" || line == "r5.0 !") << line;
            if (++pulseLines > 1) {
                changes.push_back(ms / 10);
            }
        } else if (line.back() == '"') {
            ++ledLines;
        }
    }
    expectRate(changes);
    EXPECT_EQ(ledLines, pulseLines);
}

TEST_F(CliCheck, RenderIsTheWindowsCanvasPixelForPixel) {
    BoardDocument document = Board({{"Drukknop 1 Uit Geel", "LED 1 Ingang"},
                                    {"Var. Spanning Uit Geel", "Invertor Ingang"},
                                    {"Invertor Uitgang", "Pulsenteller Tel pulsen (In)"},
                                    {"Puls Generator Uit Geel", "LED 4 Ingang"}});
    document.sensor2 = 2;
    document.pulseGenerator = 20;
    const std::string board = Write("bord.tvb", document);
    const std::vector<Act> acts = {
        {"Drukknop 1", {}}, {"Sensor 1", {}}, {"Var. Spanning Regelaar", 35}};
    struct ScaleRow {
        std::vector<std::string> scale;
        int factor;
        bool colourBlind = false;
    };
    QImage usual;
    for (const ScaleRow& row :
         {ScaleRow{{}, 2}, ScaleRow{{"--scale", "1"}, 1}, ScaleRow{{"--scale", "3"}, 3},
          ScaleRow{{"--colour-blind"}, 2, true}}) {
        SCOPED_TRACE(row.factor);
        const std::string png =
            (dir.path() + QString("/bord%1%2.png").arg(row.factor).arg(row.colourBlind))
                .toStdString();
        std::vector<std::string> args = {"--render", board, png};
        args.insert(args.end(), row.scale.begin(), row.scale.end());
        const std::vector<std::string> options = Options(acts, 25);
        args.insert(args.end(), options.begin(), options.end());
        const Ran ran = Cli(args);
        ASSERT_EQ(ran.status, CliMain::kAllRead) << ran.err;
        const QImage picture(QString::fromStdString(png), "png");
        ASSERT_FALSE(picture.isNull());

        WindowRuns(board, acts, 25);
        if (row.colourBlind) {
            form->SetWirePalette(WirePalette::ColourBlind);
        }
        KaleidoATL* canvas = form->Kaleido1();
        const QSize size = canvas->BoardSize() * row.factor;
        form->resize(size + QSize(0, form->menuBar()->height()));
        QCoreApplication::processEvents();
        ASSERT_EQ(canvas->size(), size);
        // As the user sees it: after the first paint the sharp pictures of the scale load.
        canvas->grab();
        QElapsedTimer shown;
        shown.start();
        while (shown.elapsed() < 500) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        const QImage window = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
        form.reset();

        ASSERT_EQ(picture.size(), size);
        EXPECT_TRUE(picture.convertToFormat(QImage::Format_RGB32) == window);
        if (row.colourBlind) {
            // The colour-blind wires differ from the usual ones.
            EXPECT_NE(window, usual);
        } else if (row.factor == 2) {
            usual = window;
        }
    }
}

TEST_F(CliCheck, RenderDrawsTheKnobOnlyWhenSetOpenedIt) {
    const std::string board = Write("leeg.tvb", Board({}));
    const std::string plain = (dir.path() + "/zonder.png").toStdString();
    const std::string knob = (dir.path() + "/met.png").toStdString();
    ASSERT_EQ(Cli({"--render", board, plain, "--scale", "1"}).status, 0);
    ASSERT_EQ(
        Cli({"--render", board, knob, "--scale", "1", "--set", "Comparator Regelaar=0V"}).status,
        0);
    const QImage without(QString::fromStdString(plain));
    const QImage with(QString::fromStdString(knob));
    // The dial's top-left corner for the comparator is at (150, 100); the empty board
    // shows no knob there.
    ASSERT_FALSE(without.isNull());
    EXPECT_NE(without.copy(150, 100, 200, 30), with.copy(150, 100, 200, 30));
    EXPECT_EQ(without.copy(0, 0, 140, 360), with.copy(0, 0, 140, 360));
}

// ---- grading -----------------------------------------------------------------------------

constexpr const char* kAndAssignment =
    "opdracht: De EN-poort\n"
    "uitleg: Laat LED 1 alleen branden als beide drukknoppen aan staan.\n"
    "toets: Waarheidstabel\npunten: 4\nhint: Gebruik de EN-poort.\n"
    "tabel: Drukknop 1 | Drukknop 2 => LED 1 | Zoemer\n"
    "  uit | uit => uit | uit\n  uit | aan => uit | uit\n"
    "  aan | uit => uit | uit\n  aan | aan => aan | x\n"
    // "druk" toggles: only from buttons that start off does this light LED 1.
    "toets: Ingedrukt\nverborgen\nhint: geheim\n"
    "druk Drukknop 1\ndruk Drukknop 2\nwacht 20 stappen\nverwacht LED 1 = aan\n"
    "verwacht LED 2 = uit\n";

BoardDocument AndGate() {
    return Board({{"Drukknop 1 Uit Geel", "EN-poort Ingang 1"},
                  {"Drukknop 2 Uit Geel", "EN-poort Ingang 2"},
                  {"EN-poort Uit", "LED 1 Ingang"}});
}

class CliGrade : public CliCheck {
protected:
    std::string WriteText(const std::string& name, const std::string& text) {
        const std::string path = (dir.path() + "/" + QString::fromStdString(name)).toStdString();
        WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
        return path;
    }
    static std::string Text(const std::string& path) {
        const std::vector<std::uint8_t> bytes = FileBytes(path);
        return {bytes.begin(), bytes.end()};
    }
    /// The example assignments and boards as they lie beside the program.
    static std::string Example(const std::string& name) {
        return PictureLoader::DataPath("/opdrachten/" + name);
    }
};

TEST_F(CliGrade, MarksEachBoardFromItsStateAsSavedWithTheButtonsOff) {
    const std::string tvo = WriteText("en.tvo", kAndAssignment);
    BoardDocument savedOn = AndGate();
    savedOn.pushButton1 = savedOn.pushButton2 = true;
    BoardDocument alsoLed2 = AndGate();
    alsoLed2.wires.push_back({"EN-poort Uit", "LED 2 Ingang"});
    struct GradeRow {
        const char* what;
        BoardDocument board;
        int points;
        double grade;
        /// The first failure of the truth table, "" when it passes.
        const char* run;
    };
    const GradeRow rows[] = {
        {"AND gate", AndGate(), 5, 10.0, ""},
        {"AND gate saved with both buttons on", savedOn, 5, 10.0, ""},
        {"OR gate",
         Board({{"Drukknop 1 Uit Geel", "OF-poort Ingang 1"},
                {"Drukknop 2 Uit Geel", "OF-poort Ingang 2"},
                {"OF-poort Uit", "LED 1 Ingang"}}),
         1, 2.8, "rij 2: uit | aan => uit | uit"},
        {"push button 1 straight to LED 1", Board({{"Drukknop 1 Uit Geel", "LED 1 Ingang"}}), 1,
         2.8, "rij 3: aan | uit => uit | uit"},
        {"AND gate that lights LED 2 too", alsoLed2, 4, 8.2, ""},
    };
    std::vector<std::string> args = {"--grade", tvo};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        args.push_back(Write("b" + std::to_string(i) + ".tvb", rows[i].board));
    }
    const Ran ran = Cli(args);
    EXPECT_EQ(ran.status, CliMain::kAllRead) << ran.err;
    ASSERT_EQ(ran.lines.size(), std::size(rows)) << ran.out;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const GradeRow& row = rows[i];
        const QJsonObject& line = ran.lines[i];
        EXPECT_EQ(line["file"].toString().toStdString(), args[i + 2]) << row.what;
        EXPECT_TRUE(line["ok"].toBool()) << row.what;
        EXPECT_EQ(line["points"].toInt(), row.points) << row.what;
        EXPECT_EQ(line["max"].toInt(), 5) << row.what;
        EXPECT_DOUBLE_EQ(line["grade"].toDouble(), row.grade) << row.what;
        const QJsonArray checks = line["checks"].toArray();
        ASSERT_EQ(checks.size(), 2) << row.what;
        const QJsonObject table = checks[0].toObject();
        EXPECT_EQ(table["name"].toString(), "Waarheidstabel");
        EXPECT_EQ(table["passed"].toBool(), *row.run == '\0') << row.what;
        if (*row.run != '\0') {
            const QJsonObject failure = table["failures"].toArray()[0].toObject();
            EXPECT_EQ(failure["run"].toString().toStdString(), row.run) << row.what;
            EXPECT_EQ(failure["expected"].toString(), "LED 1 = uit") << row.what;
            EXPECT_EQ(failure["got"].toString(), "aan") << row.what;
            EXPECT_EQ(table["hint"].toString(), "Gebruik de EN-poort.") << row.what;
        }
        // A hidden check says only whether it passed.
        const QJsonObject hidden = checks[1].toObject();
        EXPECT_EQ(hidden.keys(), (QStringList{"name", "passed", "points"})) << row.what;
    }
}

TEST_F(CliGrade, EveryExampleGivesItsTeachersBoardFullMarksAndAnEmptyBoardLess) {
    const std::string empty = Write("leeg.tvb", Board({}));
    for (const char* name :
         {"en-poort", "geheugen-alarm", "knipperlicht", "lichtsensor", "geluidssensor"}) {
        const std::string base = name;
        const Ran ran = Cli({"--grade", Example(base + ".tvo"), Example(base + ".tvb"), empty});
        EXPECT_EQ(ran.status, CliMain::kAllRead) << name << ran.err;
        ASSERT_EQ(ran.lines.size(), 2U) << name << ran.err;
        EXPECT_GT(ran.lines[0]["max"].toInt(), 0) << name;
        EXPECT_EQ(ran.lines[0]["points"].toInt(), ran.lines[0]["max"].toInt())
            << name << ": " << ran.out;
        EXPECT_LT(ran.lines[1]["points"].toInt(), ran.lines[1]["max"].toInt()) << name;
    }
}

TEST_F(CliGrade, WritesAGradebookAndAClassPageAndStillGradesAfterAnUnreadableBoard) {
    const std::string tvo = WriteText("en.tvo", kAndAssignment);
    BoardDocument reversed = AndGate();
    std::reverse(reversed.wires.begin(), reversed.wires.end());
    std::swap(reversed.wires[0].naam1, reversed.wires[0].naam2);
    const std::string anna = Write("Anna.tvb", AndGate());
    const std::string odd = Write("de \"Boer\";<b>.tvb", Board({}));
    const std::string broken = WriteText("kapot.tvb", "hallo");
    const std::string copy = Write("Cas.TVB", reversed);
    const std::string csv = (dir.path() + "/klas.csv").toStdString();
    const std::string html = (dir.path() + "/klas.html").toStdString();

    const Ran ran = Cli({"--grade", tvo, "--csv", csv, "--html=" + html, anna, odd, broken, copy});
    EXPECT_EQ(ran.status, CliMain::kNotRead);
    ASSERT_EQ(ran.lines.size(), 4U) << ran.out;
    EXPECT_FALSE(ran.lines[2]["ok"].toBool(true));
    EXPECT_EQ(ran.lines[3]["points"].toInt(), 5);

    const std::string folder = dir.path().toStdString() + "/";
    EXPECT_EQ(Text(csv), "\xEF\xBB\xBFleerling;bestand;punten;max;cijfer;Waarheidstabel;"
                         "Ingedrukt\r\n"
                         "Anna;" +
                             anna +
                             ";5;5;10,0;4;1\r\n"
                             "\"de \"\"Boer\"\";<b>\";\"" +
                             folder +
                             "de \"\"Boer\"\";<b>.tvb\";"
                             "0;5;1,0;0;0\r\n"
                             "kapot;" +
                             broken +
                             ";;5;;;\r\n"
                             "Cas;" +
                             copy + ";5;5;10,0;4;1\r\n");

    const std::string page = Text(html);
    EXPECT_NE(page.find("de &quot;Boer&quot;;&lt;b&gt;"), std::string::npos);
    EXPECT_EQ(page.find("<b>"), std::string::npos) << "file names are escaped";
    EXPECT_NE(page.find("<li>Anna, Cas</li>"), std::string::npos) << "the copy is flagged";
    EXPECT_NE(page.find("Waarheidstabel</td><td>4</td><td>2 van 3"), std::string::npos);
    EXPECT_NE(page.find("Ingedrukt (verborgen)</td><td>1</td><td>2 van 3"), std::string::npos);
    EXPECT_NE(page.find("Hint: Gebruik de EN-poort."), std::string::npos);
    EXPECT_EQ(page.find("geheim"), std::string::npos) << "a hidden check's hint stays hidden";
    std::size_t pictures = 0;
    for (std::size_t at = 0;
         (at = page.find("src=\"data:image/png;base64,iVBOR", at)) != std::string::npos; ++at) {
        ++pictures;
    }
    EXPECT_EQ(pictures, 3U);

    // A malformed assignment grades nothing and writes nothing.
    const std::string bad = WriteText("fout.tvo", "toets: a\nwacht 1 stap\nverwacht LED 9 = aan\n");
    const std::string other = (dir.path() + "/ander.csv").toStdString();
    const Ran refused = Cli({"--grade", bad, "--csv", other, anna});
    EXPECT_EQ(refused.status, CliMain::kWrongArguments);
    EXPECT_NE(refused.err.find(bad + ":3: "), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("LED 9"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.out, "");
    EXPECT_TRUE(FileBytes(other).empty());

    // A gradebook that cannot be written is said, the lines are still there.
    const Ran unwritten = Cli({"--grade", tvo, "--csv", folder + "geen/map/klas.csv", anna});
    EXPECT_EQ(unwritten.status, CliMain::kNotRead);
    EXPECT_EQ(unwritten.lines.size(), 1U);
    EXPECT_NE(unwritten.err.find("kan niet worden bewaard in"), std::string::npos);
}

TEST_F(CliGrade, ControleerGradesACopyAndLeavesTheBoardAsItWas) {
    const std::string tvo = WriteText("en.tvo", kAndAssignment);
    BoardDocument savedOn = Board({{"Drukknop 1 Uit Geel", "LED 1 Ingang"}});
    savedOn.pushButton1 = true;
    Start(Write("bord.tvb", savedOn));
    auto* panel = new AssignmentPanel(*form);
    // After "Openen": the items from "Bewaren" down keep their places, as scripts count them.
    QStringList items;
    for (const QAction* action : form->menuBar()->findChild<QMenu*>("mnuBestand")->actions()) {
        items << action->objectName();
    }
    EXPECT_EQ(items, (QStringList{"mnuNieuw", "mnuOpenen", "mnuOpdrachtOpenen", "mnuControleer",
                                  "mnuBewaren", "mnuBewarenAls", "mnuSep1", "mnuSluiten"}));
    const BoardDocument before = form->Snapshot();
    const std::int32_t undo = form->UndoIndex();

    prompter.files.push_back(tvo);
    Item("mnuOpdrachtOpenen")->trigger();
    EXPECT_EQ(panel->findChild<QLabel*>("AssignmentTitle")->text(), "De EN-poort");
    EXPECT_EQ(Item("mnuControleer")->shortcut(), QKeySequence(Qt::Key_F5));
    Item("mnuControleer")->trigger();
    EXPECT_EQ(panel->ResultLines(),
              (QStringList{QString::fromUtf8("✗ Waarheidstabel: 0 van 4 punten\n"
                                             "Hint: Gebruik de EN-poort."),
                           QString::fromUtf8("✓ Ingedrukt: 1 van 1 punt (verborgen)")}));
    EXPECT_EQ(form->Snapshot(), before);
    EXPECT_EQ(form->UndoIndex(), undo);
    EXPECT_TRUE(form->PushButton(1)->Value());
    // The window's own clock and prompter are back.
    EXPECT_EQ(&Prompter::Current(), &prompter);
    EXPECT_EQ(&ClockSource::Current(), &clock);

    form->Apply(AndGate());
    Item("mnuControleer")->trigger();
    EXPECT_EQ(panel->LastResult()->points, 5);

    // A malformed assignment is reported and the open one stays.
    prompter.files.push_back(WriteText("fout.tvo", "toets: a\nzet LED 1 = aan\n"));
    Item("mnuOpdrachtOpenen")->trigger();
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_NE(prompter.messages.back().text.find("fout.tvo:2: "), std::string::npos);
    EXPECT_EQ(panel->Current()->title, "De EN-poort");
}

} // namespace
} // namespace board_test
