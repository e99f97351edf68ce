#include "app/assignments/AssignmentParser.h"

#include "app/assignments/StateWords.h"
#include "app/simulation/SocketTable.h"
#include "platform/errors/SystemError.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

constexpr std::string_view kPlusMinus = "\xC2\xB1"; // ±, UTF-8

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string Quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

/// Splits at every `separator`, trimming each part.
std::vector<std::string_view> Split(std::string_view s, std::string_view separator) {
    std::vector<std::string_view> parts;
    for (std::size_t at = s.find(separator); at != std::string_view::npos; at = s.find(separator)) {
        parts.push_back(Trim(s.substr(0, at)));
        s.remove_prefix(at + separator.size());
    }
    parts.push_back(Trim(s));
    return parts;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

/// What a name stands for in an assignment; nothing for a name the board does not have.
std::optional<AssignmentTarget> TargetOf(std::string_view naam) {
    static constexpr std::array<std::pair<std::string_view, AssignmentTarget>, 12> kNamed = {{
        {SocketName(Socket::PushButton1), AssignmentTarget::PushButton},
        {SocketName(Socket::PushButton2), AssignmentTarget::PushButton},
        {SocketName(Socket::Sensor1), AssignmentTarget::Sensor},
        {SocketName(Socket::Sensor2), AssignmentTarget::Sensor},
        {SocketName(Socket::ComparatorKnob), AssignmentTarget::Knob},
        {SocketName(Socket::VariableVoltageKnob), AssignmentTarget::Knob},
        {SocketName(Socket::PulseGeneratorKnob), AssignmentTarget::Knob},
        {SocketName(Socket::CounterResetButton), AssignmentTarget::ResetButton},
        {"LED 1", AssignmentTarget::Led},
        {"LED 2", AssignmentTarget::Led},
        {"LED 3", AssignmentTarget::Led},
        {"LED 4", AssignmentTarget::Led},
    }};
    for (const auto& [name, target] : kNamed) {
        if (name == naam) {
            return target;
        }
    }
    if (naam == "Geluid") {
        return AssignmentTarget::Sound;
    }
    if (naam == "Display") {
        return AssignmentTarget::Display;
    }
    for (const SocketEntry& entry : kSocketTable) {
        if (entry.naam == naam) {
            return AssignmentTarget::Socket;
        }
    }
    return std::nullopt;
}

class Reader {
public:
    Reader(std::string_view text, const std::string& fileName) : text_(text), file_(fileName) {}

    Assignment Read() {
        std::int32_t number = 0;
        while (!text_.empty()) {
            const std::size_t end = text_.find('\n');
            std::string_view line = text_.substr(0, end);
            text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
            line_ = ++number;
            if (line_ == 1 && StartsWith(line, "\xEF\xBB\xBF")) {
                line.remove_prefix(3); // a byte-order mark
            }
            line = Trim(line.substr(0, line.find('#')));
            if (!line.empty()) {
                Line(line);
            }
        }
        if (assignment_.checks.empty()) {
            throw AssignmentError(file_ +
                                  ": geen enkele toets; begin een toets met \"toets: NAAM\"");
        }
        for (const AssignmentCheck& check : assignment_.checks) {
            Complete(check);
        }
        return std::move(assignment_);
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw AssignmentError(file_ + ":" + std::to_string(line_) + ": " + what);
    }

    /// The text after `keyword:`, which must not be empty.
    std::string_view After(std::string_view line, std::string_view keyword) const {
        const std::string_view rest = Trim(line.substr(keyword.size()));
        if (rest.empty()) {
            Fail("na \"" + std::string(keyword) + "\" ontbreekt de tekst");
        }
        return rest;
    }

    AssignmentCheck& Check(std::string_view what) {
        if (assignment_.checks.empty()) {
            Fail(std::string(what) +
                 " hoort bij een toets; begin eerst een toets met \"toets: NAAM\"");
        }
        return assignment_.checks.back();
    }

    void Line(std::string_view line) {
        if (StartsWith(line, "opdracht:")) {
            if (!assignment_.title.empty()) {
                Fail("de opdracht heeft al een titel");
            }
            assignment_.title = After(line, "opdracht:");
        } else if (StartsWith(line, "uitleg:")) {
            assignment_.explanation +=
                (assignment_.explanation.empty() ? "" : "\n") + std::string(After(line, "uitleg:"));
        } else if (StartsWith(line, "toets:")) {
            AssignmentCheck check;
            check.name = After(line, "toets:");
            check.line = line_;
            assignment_.checks.push_back(std::move(check));
            table_.reset();
            sequence_.reset();
        } else if (StartsWith(line, "punten:")) {
            const std::optional<std::int32_t> points = StateWords::Whole(After(line, "punten:"));
            if (!points || *points < 1 || *points > 1000) {
                Fail("punten: verwacht een heel getal van 1 tot 1000");
            }
            Check("punten:").points = *points;
        } else if (StartsWith(line, "hint:")) {
            Check("hint:").hint = After(line, "hint:");
        } else if (line == "verborgen") {
            Check("verborgen").hidden = true;
        } else if (StartsWith(line, "tabel:")) {
            Header(After(line, "tabel:"));
        } else if (StartsWith(line, "zet ")) {
            Sequence("zet").steps.push_back(Set(line.substr(4)));
        } else if (StartsWith(line, "druk ")) {
            Sequence("druk").steps.push_back(Press(Trim(line.substr(5))));
        } else if (StartsWith(line, "wacht ")) {
            Sequence("wacht").steps.push_back(Wait(Trim(line.substr(6))));
        } else if (StartsWith(line, "verwacht ")) {
            AssignmentRun& run = Sequence("verwacht");
            run.steps.push_back(Expect(line.substr(9), &run));
        } else if (table_ && line.find("=>") != std::string_view::npos) {
            Row(line);
        } else {
            Fail("verwacht \"opdracht:\", \"uitleg:\", \"toets:\", \"punten:\", \"hint:\", "
                 "\"verborgen\", \"tabel:\", zet, druk, wacht, verwacht of een rij van de tabel, "
                 "niet " +
                 Quoted(line));
        }
    }

    /// The check's run of statements, made at its first statement.
    AssignmentRun& Sequence(std::string_view what) {
        AssignmentCheck& check = Check(what);
        if (!sequence_) {
            sequence_ = check.runs.size();
            check.runs.push_back({});
        }
        return check.runs[*sequence_];
    }

    std::string_view Name(std::string_view naam) const {
        naam = Trim(naam);
        if (naam.empty()) {
            Fail("de naam ontbreekt");
        }
        return naam;
    }

    AssignmentTarget Known(std::string_view naam) const {
        const std::optional<AssignmentTarget> target = TargetOf(naam);
        if (!target) {
            Fail("onbekende naam " + Quoted(naam));
        }
        return *target;
    }

    /// A step of `kind` on the board's `naam`, from the present line.
    AssignmentStep NewStep(AssignmentStep::Kind kind, std::string_view naam) const {
        AssignmentStep step;
        step.kind = kind;
        step.naam = naam;
        step.line = line_;
        step.target = Known(naam);
        return step;
    }

    /// "zet NAAM = WAARDE", given what follows "zet ".
    AssignmentStep Set(std::string_view rest) const {
        const std::size_t is = rest.find('=');
        if (is == std::string_view::npos) {
            Fail("verwacht \"zet NAAM = WAARDE\"");
        }
        return SetValue(Name(rest.substr(0, is)), Trim(rest.substr(is + 1)));
    }

    AssignmentStep SetValue(std::string_view naam, std::string_view value) const {
        AssignmentStep step = NewStep(AssignmentStep::Kind::Set, naam);
        switch (step.target) {
        case AssignmentTarget::PushButton:
            step.value = OnOff(naam, value);
            break;
        case AssignmentTarget::Sensor:
            if (const std::optional<std::int32_t> mode = StateWords::SensorMode(value)) {
                step.value = *mode;
            } else {
                Fail(Quoted(naam) + " is donker, lamp of wisselend, niet " + Quoted(value));
            }
            break;
        case AssignmentTarget::Knob:
            step.value = Volts(naam, value);
            break;
        case AssignmentTarget::Sound: {
            const std::optional<std::int32_t> level = StateWords::Whole(value);
            if (!level || *level > 50) {
                Fail("Geluid is een heel getal van 0 tot 50, niet " + Quoted(value));
            }
            step.value = *level;
            break;
        }
        default:
            Fail(Quoted(naam) + " kan niet gezet worden; zet een drukknop, sensor, regelaar of "
                                "Geluid");
        }
        return step;
    }

    AssignmentStep Press(std::string_view naam) const {
        AssignmentStep step = NewStep(AssignmentStep::Kind::Press, Name(naam));
        if (step.target != AssignmentTarget::PushButton &&
            step.target != AssignmentTarget::Sensor &&
            step.target != AssignmentTarget::ResetButton) {
            Fail(Quoted(step.naam) + " kan niet ingedrukt worden; druk een drukknop, sensor of "
                                     "\"Pulsenteller Reset Drukknop\"");
        }
        return step;
    }

    AssignmentStep Wait(std::string_view rest) const {
        AssignmentStep step;
        step.kind = AssignmentStep::Kind::Wait;
        step.line = line_;
        const std::size_t space = rest.find_last_of(' ');
        const std::string_view number =
            Trim(rest.substr(0, space == std::string_view::npos ? 0 : space));
        const std::string_view unit =
            space == std::string_view::npos ? rest : rest.substr(space + 1);
        if (unit == "stappen" || unit == "stap") {
            const std::optional<std::int32_t> steps = StateWords::Whole(number);
            if (!steps || *steps > 1000000) {
                Fail("verwacht \"wacht N stappen\" met N een heel getal, niet " + Quoted(rest));
            }
            step.value = *steps;
        } else if (unit == "s") {
            const std::optional<std::int32_t> hundredths = StateWords::Fixed(number, 2);
            if (!hundredths || *hundredths > 1000000) {
                Fail("verwacht \"wacht T s\" met T in seconden, in stappen van 0,01 s, niet " +
                     Quoted(rest));
            }
            step.value = *hundredths * AssignmentParser::kStepsPerSecond / 100;
        } else {
            Fail("verwacht \"wacht N stappen\" of \"wacht T s\", niet " + Quoted(rest));
        }
        return step;
    }

    /// "verwacht …", given what follows "verwacht "; `run` holds the steps before it.
    AssignmentStep Expect(std::string_view rest, const AssignmentRun* run) const {
        const std::size_t is = rest.find('=');
        const std::size_t changes = rest.find(" wisselt ");
        if (is == std::string_view::npos && changes != std::string_view::npos) {
            return Changes(Name(rest.substr(0, changes)), Trim(rest.substr(changes + 9)), run);
        }
        if (is == std::string_view::npos) {
            Fail("verwacht \"verwacht NAAM = WAARDE\" of \"verwacht NAAM wisselt N keer\"");
        }
        return ExpectValue(Name(rest.substr(0, is)), Trim(rest.substr(is + 1)));
    }

    AssignmentStep ExpectValue(std::string_view naam, std::string_view value) const {
        AssignmentStep step = NewStep(AssignmentStep::Kind::Expect, naam);
        step.text = std::string(naam) + " = " + std::string(value);
        if (step.target == AssignmentTarget::Socket && naam == SocketName(Socket::Buzzer) &&
            (value == "aan" || value == "uit")) {
            step.target = AssignmentTarget::Buzzer;
        }
        switch (step.target) {
        case AssignmentTarget::Led:
        case AssignmentTarget::Buzzer:
            step.value = OnOff(naam, value);
            break;
        case AssignmentTarget::Display: {
            const std::optional<std::int32_t> digit = StateWords::Whole(value);
            if (!digit || *digit > 9) {
                Fail("Display is een cijfer van 0 tot 9, niet " + Quoted(value));
            }
            step.value = *digit;
            break;
        }
        case AssignmentTarget::Socket:
            if (value == "geen waarde") {
                step.noValue = true;
                break;
            }
            for (const std::string_view mark :
                 {kPlusMinus, std::string_view("+/-"), std::string_view("+-")}) {
                if (const std::size_t at = value.find(mark); at != std::string_view::npos) {
                    step.tolerance = Volts(naam, Trim(value.substr(at + mark.size())));
                    value = Trim(value.substr(0, at));
                    break;
                }
            }
            step.value = Volts(naam, value);
            break;
        default:
            Fail(Quoted(naam) + " kan niet gelezen worden; verwacht een LED, Zoemer, Display of "
                                "een aansluiting");
        }
        return step;
    }

    AssignmentStep Changes(std::string_view naam, std::string_view rest,
                           const AssignmentRun* run) const {
        AssignmentStep step = NewStep(AssignmentStep::Kind::Expect, naam);
        step.text = std::string(naam) + " wisselt " + std::string(rest);
        if (step.target == AssignmentTarget::Socket && naam == SocketName(Socket::Buzzer)) {
            step.target = AssignmentTarget::Buzzer;
        }
        if (step.target != AssignmentTarget::Led && step.target != AssignmentTarget::Buzzer &&
            step.target != AssignmentTarget::Display && step.target != AssignmentTarget::Socket) {
            Fail(Quoted(naam) + " kan niet gelezen worden; verwacht een LED, Zoemer, Display of "
                                "een aansluiting");
        }
        const std::vector<std::string_view> words = Split(rest, " ");
        std::optional<std::int32_t> least;
        std::optional<std::int32_t> most;
        if (words.size() == 2 && words[1] == "keer") {
            least = most = StateWords::Whole(words[0]);
        } else if (words.size() == 4 && words[1] == "tot" && words[3] == "keer") {
            least = StateWords::Whole(words[0]);
            most = StateWords::Whole(words[2]);
        }
        if (!least || !most || *least > *most) {
            Fail("verwacht \"wisselt N keer\" of \"wisselt N tot M keer\", niet " + Quoted(rest));
        }
        const bool waited =
            run != nullptr &&
            std::any_of(run->steps.begin(), run->steps.end(), [](const AssignmentStep& s) {
                return s.kind == AssignmentStep::Kind::Wait;
            });
        if (!waited) {
            Fail("\"wisselt\" telt de wisselingen tijdens de laatste wacht; zet er een wacht voor");
        }
        step.changesAtLeast = least;
        step.changesAtMost = most;
        return step;
    }

    std::int32_t OnOff(std::string_view naam, std::string_view value) const {
        if (const std::optional<std::int32_t> on = StateWords::OnOff(value)) {
            return *on;
        }
        Fail(Quoted(naam) + " is aan of uit, niet " + Quoted(value));
    }

    /// A voltage with its unit, 0 to 5 V, in tenths of a volt.
    std::int32_t Volts(std::string_view naam, std::string_view value) const {
        if (value.empty() || value.back() != 'V') {
            Fail(Quoted(naam) + ": verwacht een spanning met eenheid, zoals \"3,5 V\", niet " +
                 Quoted(value));
        }
        const std::optional<std::int32_t> tenths = StateWords::Volts(value);
        if (!tenths) {
            Fail(Quoted(naam) +
                 ": verwacht een spanning van 0 tot 5 V met hoogstens één cijfer "
                 "achter de komma, niet " +
                 Quoted(value));
        }
        return *tenths;
    }

    void Header(std::string_view rest) {
        Check("tabel:");
        const std::size_t arrow = rest.find("=>");
        if (arrow == std::string_view::npos) {
            Fail("verwacht \"tabel: INGANG | … => UITGANG | …\"");
        }
        Table table;
        for (const std::string_view naam : Split(rest.substr(0, arrow), "|")) {
            const AssignmentTarget target = Known(Name(naam));
            if (target != AssignmentTarget::PushButton && target != AssignmentTarget::Sensor &&
                target != AssignmentTarget::Knob && target != AssignmentTarget::Sound) {
                Fail(Quoted(naam) + " kan niet gezet worden; een ingang van de tabel is een "
                                    "drukknop, sensor, regelaar of Geluid");
            }
            table.inputs.emplace_back(naam);
        }
        for (const std::string_view naam : Split(rest.substr(arrow + 2), "|")) {
            Known(Name(naam));
            table.outputs.emplace_back(naam);
        }
        table_ = std::move(table);
    }

    void Row(std::string_view line) {
        AssignmentCheck& check = Check("een rij");
        const std::size_t arrow = line.find("=>");
        const std::vector<std::string_view> in = Split(line.substr(0, arrow), "|");
        const std::vector<std::string_view> out = Split(line.substr(arrow + 2), "|");
        if (in.size() != table_->inputs.size() || out.size() != table_->outputs.size()) {
            Fail("de rij heeft " + std::to_string(in.size()) + " ingangen en " +
                 std::to_string(out.size()) + " uitgangen, de tabel " +
                 std::to_string(table_->inputs.size()) + " en " +
                 std::to_string(table_->outputs.size()));
        }
        AssignmentRun run;
        run.label = "rij " + std::to_string(++table_->rows) + ": " + std::string(line);
        for (std::size_t k = 0; k < in.size(); ++k) {
            if (in[k] != "x") {
                run.steps.push_back(SetValue(table_->inputs[k], in[k]));
            }
        }
        AssignmentStep wait;
        wait.kind = AssignmentStep::Kind::Wait;
        wait.value = AssignmentParser::kTableRowSteps;
        wait.line = line_;
        run.steps.push_back(wait);
        for (std::size_t k = 0; k < out.size(); ++k) {
            if (out[k] != "x") {
                run.steps.push_back(ExpectValue(table_->outputs[k], out[k]));
            }
        }
        check.runs.push_back(std::move(run));
    }

    void Complete(const AssignmentCheck& check) const {
        const bool expects =
            std::any_of(check.runs.begin(), check.runs.end(), [](const AssignmentRun& run) {
                return std::any_of(run.steps.begin(), run.steps.end(), [](const AssignmentStep& s) {
                    return s.kind == AssignmentStep::Kind::Expect;
                });
            });
        if (!expects) {
            throw AssignmentError(file_ + ":" + std::to_string(check.line) + ": toets " +
                                  Quoted(check.name) +
                                  " verwacht niets; geef een tabel of een "
                                  "verwacht");
        }
    }

    struct Table {
        std::vector<std::string> inputs;
        std::vector<std::string> outputs;
        std::int32_t rows = 0;
    };

    std::string_view text_;
    const std::string& file_;
    std::int32_t line_ = 0;
    Assignment assignment_;
    std::optional<Table> table_;
    /// The present check's run of statements, by its place among the check's runs.
    std::optional<std::size_t> sequence_;
};

} // namespace

Assignment AssignmentParser::Parse(std::string_view text, const std::string& fileName) {
    return Reader(text, fileName).Read();
}

Assignment AssignmentParser::Load(const std::string& path) {
    // A pipe or a device would be waited on, a folder read as nothing.
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        throw AssignmentError(
            path + ": kan niet worden gelezen: " +
            (S_ISDIR(status.st_mode) ? "het is een map" : "het is geen gewoon bestand"));
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw AssignmentError(path + ": kan niet worden gelezen: " + SystemError::Reason(errno));
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        throw AssignmentError(path + ": kan niet worden gelezen");
    }
    return Parse(text.str(), path);
}
