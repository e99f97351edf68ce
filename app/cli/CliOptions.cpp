#include "app/cli/CliOptions.h"

#include "app/assignments/StateWords.h"
#include "app/measure/TraceWriter.h"
#include "app/simulation/SocketTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

/// A number written with digits and at most one decimal point; nothing else.
std::optional<double> Number(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string Choices(const std::vector<std::string_view>& names) {
    std::string list;
    for (std::string_view naam : names) {
        list += (list.empty() ? "" : ", ") + Quoted(naam);
    }
    return list;
}

/// One argument as the scan of the options sees it.
struct Argument {
    /// Not an option: a file, or anything after "--".
    bool positional = false;
    /// "--" itself: every argument after it is positional.
    bool endOfOptions = false;
    /// The option's name, "--name" of "--name" or "--name=value".
    std::string name;
    /// The value given with "=", if any.
    std::optional<std::string> value;
};

/// What `arg` is, after "--" when `optionsEnded`. "--option=value" and "--option value"
/// mean the same; the caller takes the next argument when there is no value here.
Argument Classify(const std::string& arg, bool optionsEnded) {
    Argument what;
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
        what.positional = true;
        what.name = arg;
        return what;
    }
    if (arg == "--") {
        what.endOfOptions = true;
        return what;
    }
    what.name = arg;
    if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
        what.value = arg.substr(eq + 1);
        what.name.resize(eq);
    }
    return what;
}

/// --grade OPDRACHT.tvo [--csv UIT.csv] [--html UIT.html] BORD...
CliOptions ParseGrade(const std::vector<std::string>& args) {
    CliOptions options;
    options.command = CliOptions::Command::Grade;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        Argument given = Classify(args[i], optionsEnded);
        if (given.positional) {
            positional.push_back(given.name);
            continue;
        }
        if (given.endOfOptions) {
            optionsEnded = true;
            continue;
        }
        const std::string& arg = given.name;
        std::optional<std::string>& value = given.value;
        if (arg != "--csv" && arg != "--html") {
            throw CliUsageError("onbekende optie " + arg + " bij --grade");
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                throw CliUsageError(arg + " mist een bestandsnaam");
            }
            value = args[++i];
        }
        if (value->empty()) {
            throw CliUsageError(arg + " mist een bestandsnaam");
        }
        (arg == "--csv" ? options.csv : options.html) = *value;
    }
    if (positional.size() < 2) {
        throw CliUsageError("--grade wil een opdracht (.tvo) en ten minste één bord");
    }
    options.assignment = positional.front();
    options.files.assign(positional.begin() + 1, positional.end());
    // A report written over a board or the assignment would destroy it: with a pattern such
    // as "--csv klas/*.tvb" the shell puts a pupil's board right after --csv.
    for (const auto& [option, out] :
         {std::pair{"--csv", &options.csv}, {"--html", &options.html}}) {
        if (out->empty()) {
            continue;
        }
        const bool board = out->size() > 4 && (out->compare(out->size() - 4, 4, ".tvb") == 0 ||
                                               out->compare(out->size() - 4, 4, ".tvo") == 0);
        if (board || *out == options.assignment ||
            std::find(options.files.begin(), options.files.end(), *out) != options.files.end()) {
            throw CliUsageError(
                std::string(option) + " zou " + Quoted(*out) +
                " overschrijven; geef een nieuwe naam, zoals klas.csv of klas.html");
        }
    }
    if (!options.csv.empty() && options.csv == options.html) {
        throw CliUsageError("--csv en --html noemen hetzelfde bestand " + Quoted(options.csv));
    }
    return options;
}

} // namespace

const std::vector<std::string_view>& CliOptions::PressNames() {
    static const std::vector<std::string_view> names = {
        SocketName(Socket::PushButton1), SocketName(Socket::PushButton2),
        SocketName(Socket::Sensor1), SocketName(Socket::Sensor2),
        SocketName(Socket::CounterResetButton)};
    return names;
}

const std::vector<std::string_view>& CliOptions::KnobNames() {
    static const std::vector<std::string_view> names = {SocketName(Socket::ComparatorKnob),
                                                        SocketName(Socket::VariableVoltageKnob),
                                                        SocketName(Socket::PulseGeneratorKnob)};
    return names;
}

bool CliOptions::IsCommand(std::string_view first) {
    return first == "--check" || first == "--render" || first == "--grade" || first == "--help" ||
           first == "--version";
}

CliOptions CliOptions::Parse(const std::vector<std::string>& args) {
    if (args.empty() || !IsCommand(args.front())) {
        throw CliUsageError("geef eerst --check, --render, --grade, --help of --version");
    }
    if (args.front() == "--grade") {
        return ParseGrade(args);
    }
    CliOptions options;
    const std::string& command = args.front();
    if (command == "--help" || command == "--version") {
        if (args.size() > 1) {
            throw CliUsageError(command + " neemt geen argumenten");
        }
        options.command = command == "--help" ? Command::Help : Command::Version;
        return options;
    }
    options.command = command == "--check" ? Command::Check : Command::Render;

    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        Argument given = Classify(args[i], optionsEnded);
        if (given.positional) {
            options.files.push_back(given.name);
            continue;
        }
        if (given.endOfOptions) {
            optionsEnded = true;
            continue;
        }
        const std::string& arg = given.name;
        const std::optional<std::string>& value = given.value;
        const auto takeValue = [&]() -> std::string {
            if (value) {
                return *value;
            }
            if (i + 1 >= args.size()) {
                throw CliUsageError(arg + " mist een waarde");
            }
            return args[++i];
        };
        if (arg == "--colour-blind" && options.command == Command::Render) {
            if (value) {
                throw CliUsageError("--colour-blind neemt geen waarde");
            }
            options.colourBlind = true;
        } else if (arg == "--ticks") {
            const std::string text = takeValue();
            const std::optional<double> n = Number(text);
            if (!n || *n != std::floor(*n) || *n < 1 || *n > kMaxTicks) {
                throw CliUsageError("--ticks wil een heel getal van 1 tot en met " +
                                    std::to_string(kMaxTicks) + ", niet " + Quoted(text));
            }
            options.ticks = static_cast<std::int32_t>(*n);
        } else if (arg == "--press") {
            const std::string naam = takeValue();
            const auto& names = PressNames();
            if (std::find(names.begin(), names.end(), naam) == names.end()) {
                throw CliUsageError("--press kent geen knop " + Quoted(naam) + "; kies uit " +
                                    Choices(names));
            }
            options.actions.push_back({Action::Kind::Press, naam, 0.0});
        } else if (arg == "--set" || arg == "--state") {
            const std::string text = takeValue();
            const std::size_t eq = text.rfind('=');
            const std::string naam = text.substr(0, eq);
            const std::string word = eq == std::string::npos ? "" : text.substr(eq + 1);
            const auto& knobs = KnobNames();
            const bool knob = std::find(knobs.begin(), knobs.end(), naam) != knobs.end();
            if (arg == "--set" || knob) {
                if (eq == std::string::npos || !knob) {
                    throw CliUsageError(arg + " wil NAAM=W met als NAAM een van " + Choices(knobs) +
                                        ", niet " + Quoted(text));
                }
                const std::optional<std::int32_t> tenths = StateWords::Volts(word);
                if (!tenths) {
                    throw CliUsageError(arg + " wil voor " + Quoted(naam) +
                                        " een spanning van 0 tot 5 V, zoals \"3,5V\", niet " +
                                        Quoted(word));
                }
                options.actions.push_back({Action::Kind::Set, naam, double(*tenths)});
                continue;
            }
            const bool button =
                naam == SocketName(Socket::PushButton1) || naam == SocketName(Socket::PushButton2);
            const bool sensor =
                naam == SocketName(Socket::Sensor1) || naam == SocketName(Socket::Sensor2);
            if (eq == std::string::npos || (!button && !sensor)) {
                throw CliUsageError("--state wil NAAM=WAARDE met als NAAM een drukknop, sensor of "
                                    "regelaar, niet " +
                                    Quoted(text));
            }
            const std::optional<std::int32_t> state =
                button ? StateWords::OnOff(word) : StateWords::SensorMode(word);
            if (!state) {
                throw CliUsageError("--state wil voor " + Quoted(naam) +
                                    (button ? " aan of uit" : " donker, lamp of wisselend") +
                                    ", niet " + Quoted(word));
            }
            options.actions.push_back({Action::Kind::State, naam, double(*state)});
        } else if (arg == "--trace" && options.command == Command::Check) {
            const std::string path = takeValue();
            if (!options.trace.empty()) {
                throw CliUsageError("--trace mag maar één keer");
            }
            if (!TraceWriter::FormatOf(path)) {
                throw CliUsageError("--trace wil een bestand dat eindigt op .csv of .vcd, niet " +
                                    Quoted(path));
            }
            options.trace = path;
        } else if (arg == "--probe" && options.command == Command::Check) {
            const std::string naam = takeValue();
            const bool known = std::any_of(kSocketTable.begin(), kSocketTable.end(),
                                           [&](const SocketEntry& e) { return e.naam == naam; });
            if (!known) {
                throw CliUsageError("--probe kent geen aansluiting " + Quoted(naam) +
                                    " (let op hoofdletters en spaties)");
            }
            if (std::find(options.probes.begin(), options.probes.end(), naam) !=
                options.probes.end()) {
                throw CliUsageError("--probe noemt " + Quoted(naam) + " twee keer");
            }
            options.probes.push_back(naam);
        } else if (arg == "--scale" && options.command == Command::Render) {
            const std::string text = takeValue();
            const std::optional<double> s = Number(text);
            if (!s || *s <= 0 || *s > kMaxScale) {
                throw CliUsageError("--scale wil een getal groter dan 0 en ten hoogste " +
                                    std::to_string(int(kMaxScale)) + ", niet " + Quoted(text));
            }
            options.scale = *s;
        } else {
            throw CliUsageError("onbekende optie " + arg + " bij " + command);
        }
    }
    if (options.command == Command::Check && options.files.empty()) {
        throw CliUsageError("--check wil ten minste één bestand");
    }
    if (!options.probes.empty() && options.trace.empty()) {
        throw CliUsageError("--probe hoort bij --trace: zonder spoor wordt niets gemeten");
    }
    if (!options.trace.empty() && options.files.size() != 1) {
        throw CliUsageError("--trace wil precies één bord, niet " +
                            std::to_string(options.files.size()));
    }
    if (options.command == Command::Render && options.files.size() != 2) {
        throw CliUsageError("--render wil precies één bord en één plaatje (BESTAND UIT.png)");
    }
    return options;
}

std::string CliOptions::Usage() {
    return "Gebruik: tavsim --check [--ticks N] [--press NAAM]... [--state NAAM=WAARDE]... "
           "[--set NAAM=W]... BESTAND...\n"
           "        tavsim --check [--ticks N] --trace UIT.csv|UIT.vcd [--probe NAAM]... "
           "[--press NAAM]... [--state NAAM=WAARDE]... [--set NAAM=W]... BESTAND\n"
           "        tavsim --render BESTAND UIT.png [--scale S] [--colour-blind] [--ticks N] "
           "[--press NAAM]... [--state NAAM=WAARDE]... [--set NAAM=W]...\n"
           "        tavsim --grade OPDRACHT.tvo [--csv UIT.csv] [--html UIT.html] BORD...\n"
           "        tavsim --help | --version | [BESTAND]\n";
}

std::string CliOptions::Help() {
    return "tavsim: simulator van het Tavelon-oefenbord.\n"
           "\n" +
           Usage() +
           "\n"
           "Zonder opties opent tavsim het venster, met het genoemde bord.\n"
           "\n"
           "  --check    opent elk bord, laat het N stappen lopen en schrijft per bord één\n"
           "             regel JSON: file, ok (bij false ook error, de Nederlandse melding),\n"
           "             leds, buzzer, display, conflict, wires en values (in tienden van\n"
           "             een volt).\n"
           "             Met --trace schrijft het ook elke stap de spanning van de gemeten\n"
           "             aansluitingen in UIT (één bord).\n"
           "  --render   tekent het bord na N stappen als PNG, zoals het venster het toont.\n"
           "  --grade    voert elke toets van de opdracht uit op elk bord, vanaf het bord zoals\n"
           "             het bewaard is (drukknoppen uit, sensoren donker, teller 0, geen\n"
           "             geluid), en schrijft per bord één regel JSON: file, ok (bij false\n"
           "             ook error), points, max, grade (het cijfer, 1 + 9 x punten / max)\n"
           "             en checks (name, passed, points; bij een mislukte toets ook\n"
           "             failures en hint, behalve bij een verborgen toets).\n"
           "               --csv UIT.csv    cijferlijst met ; en decimale komma: leerling,\n"
           "                                bestand, punten, max, cijfer en per toets\n"
           "                                de punten\n"
           "               --html UIT.html  klassenpagina met per leerling het cijfer, de\n"
           "                                toetsen met hints en een plaatje van het bord;\n"
           "                                borden met dezelfde verbindingen worden\n"
           "                                genoemd (mogelijk overgenomen)\n"
           "\n"
           "Opties:\n"
           "  --ticks N       aantal stappen van 10 ms (standaard 100, ten minste 1)\n"
           "  --press NAAM    klikt vóór de eerste stap op een knop, zoals in Regelen;\n"
           "                  NAAM: \"Drukknop 1\", \"Drukknop 2\", \"Sensor 1\", \"Sensor 2\" of\n"
           "                  \"Pulsenteller Reset Drukknop\". Herhaalbaar, in volgorde.\n"
           "  --state NAAM=WAARDE\n"
           "                  zet vóór de eerste stap een drukknop op aan of uit, of een\n"
           "                  sensor op donker, lamp of wisselend (\"Drukknop 1=aan\").\n"
           "                  Herhaalbaar, in volgorde.\n"
           "  --set NAAM=W    zet een regelaar op de spanning W, 0 tot 5 V (\"3,5V\" of\n"
           "                  \"3.5 V\"); NAAM: \"Comparator Regelaar\", \"Var. Spanning\n"
           "                  Regelaar\" of \"Puls Generator Regelaar\". Herhaalbaar.\n"
           "  --trace UIT     schrijft na elke stap de spanning van elke gemeten aansluiting\n"
           "                  in UIT. UIT.csv: voor een spreadsheet, met ';' tussen de velden,\n"
           "                  een decimale komma, de kop \"tijd (s);NAAM;...\" en een leeg\n"
           "                  veld waar een aansluiting geen waarde heeft. UIT.vcd: een\n"
           "                  value change dump voor GTKWave, per aansluiting een real in\n"
           "                  volt (1 ms per tijdseenheid), alleen de veranderingen; heeft een\n"
           "                  aansluiting soms geen waarde, dan zegt de wire NAAM_bekend (0 of\n"
           "                  1) wanneer wel. Alleen bij --check met één bord.\n"
           "  --probe NAAM    meet de aansluiting NAAM (\"LED 1 Ingang\"); herhaalbaar, in\n"
           "                  volgorde. Zonder --probe: elke aansluiting van het bord.\n"
           "  --scale S       vergroting van het plaatje (standaard 2)\n"
           "  --colour-blind  tekent de draden in de kleuren voor kleurenblinden (rood-groen),\n"
           "                  zoals Bewerken > Kleuren voor kleurenblinden in het venster\n"
           "\n"
           "De klok loopt precies 10 ms per stap, de muis staat ver van het bord en de\n"
           "geluidssensor is stil. Er is geen beeldscherm nodig.\n"
           "\n"
           "Afsluitcode: 0 als elk bord gelezen is, 1 als een bord niet gelezen of het plaatje,\n"
           "het spoor, de cijferlijst of de klassenpagina niet bewaard kon worden, 2 bij\n"
           "verkeerde argumenten of een opdracht met een fout (dan wordt niets beoordeeld).\n";
}
