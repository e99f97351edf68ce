#include "app/cli/CheckBoard.h"

#include "app/board/BoardFiles.h"
#include "app/simulation/SocketTable.h"

std::string CheckBoard::Open(const std::string& path) {
    BoardDocument document;
    std::string error = BoardFiles::ReadDocument(path, document);
    Show(document);
    return error;
}

void CheckBoard::Show(const BoardDocument& document) {
    model_.Restart();
    model_.Apply(document);
    steps_ = 0;
    sound_ = 0;
    pointer_.reset();
}

void CheckBoard::Act(const std::vector<CliOptions::Action>& actions) {
    for (const CliOptions::Action& action : actions) {
        switch (action.kind) {
        case CliOptions::Action::Kind::Press:
            model_.Press(action.naam);
            break;
        case CliOptions::Action::Kind::Set:
            if (std::int32_t* setting = model_.KnobSetting(action.naam)) {
                *setting = BoardModel::SettingOfKnob(action.value);
            }
            break;
        case CliOptions::Action::Kind::State:
            model_.SetState(action.naam, static_cast<std::int32_t>(action.value));
            break;
        }
    }
}

void CheckBoard::Run(std::int32_t count) {
    BoardModel::StepInput input;
    // From the step count, so that no rounding gathers over many steps.
    input.clock = [this] { return static_cast<float>(double(steps_) / kStepsPerSecond); };
    input.sound = sound_;
    input.pointer = [this] { return pointer_; };
    for (std::int32_t i = 0; i < count; ++i) {
        ++steps_;
        model_.Step(input);
    }
}

CheckBoard::Outcome CheckBoard::Result() {
    Outcome outcome;
    for (std::size_t k = 0; k < outcome.leds.size(); ++k) {
        outcome.leds[k] = model_.Led(k);
    }
    outcome.buzzer = model_.BuzzerOn();
    outcome.display = model_.Counter();
    outcome.conflict = model_.OutputConflictText(snaps_);
    for (const BoardWire& wire : model_.Wires()) {
        outcome.wires.push_back({wire.naam1, wire.naam2, wire.color});
    }
    const clsGraph& graph = model_.Graph();
    for (const SocketEntry& socket : kSocketTable) {
        if (graph.PuntExists(socket.naam)) {
            outcome.values.emplace_back(socket.naam, graph.GetPuntValueByName(socket.naam, 0));
        }
    }
    return outcome;
}
