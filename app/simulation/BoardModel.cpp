#include "app/simulation/BoardModel.h"

#include "app/simulation/BoardView.h"
#include "app/simulation/Rounding.h"
#include "app/simulation/SensorRule.h"
#include "app/simulation/SocketTable.h"
#include "app/simulation/clsGraph2.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace {

/// The sources in the order the step enters them.
enum SourceIndex : std::size_t {
    kSensor1,
    kSensor2,
    kPushButton1,
    kPushButton2,
    kVariableVoltage,
    kSoundSensor,
    kPulseGenerator,
    kCounterOut1,
    kCounterOut2,
    kCounterOut4,
    kCounterOut8,
};

constexpr std::array<std::string_view, BoardModel::kSourceCount> kSourceNames = {
    SocketName(Socket::Sensor1Out),         SocketName(Socket::Sensor2Out),
    SocketName(Socket::PushButton1Out),     SocketName(Socket::PushButton2Out),
    SocketName(Socket::VariableVoltageOut), SocketName(Socket::SoundSensorOut),
    SocketName(Socket::PulseGeneratorOut),  SocketName(Socket::CounterOut1),
    SocketName(Socket::CounterOut2),        SocketName(Socket::CounterOut4),
    SocketName(Socket::CounterOut8),
};

constexpr std::array<Socket, 2> kSensorBodies = {Socket::Sensor1, Socket::Sensor2};
constexpr std::array<Socket, 2> kPushButtons = {Socket::PushButton1, Socket::PushButton2};
constexpr std::array<Socket, 4> kLedInputs = {Socket::Led1In, Socket::Led2In, Socket::Led3In,
                                              Socket::Led4In};
constexpr std::int32_t kSensorModes = 3;
constexpr std::int32_t kDigits = 10;

std::int32_t HighWhen(bool on) {
    return on ? BoardModel::kHigh : 0;
}

} // namespace

BoardModel::BoardModel() {
    for (std::size_t i = 0; i < kSourceCount; ++i) {
        sources_[i].naam = kSourceNames[i];
    }
    graph_.Constructor(this);
}

// ---- wires ---------------------------------------------------------------------------------

void BoardModel::AddWire(std::string naam1, std::string naam2, std::int32_t color) {
    wires_.push_back({std::move(naam1), std::move(naam2), color, false});
}

void BoardModel::RemoveWire(std::size_t index) {
    if (index < wires_.size()) {
        wires_.erase(wires_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void BoardModel::RemoveLastWire() {
    if (!wires_.empty()) {
        wires_.pop_back();
    }
}

bool BoardModel::WireExists(std::string_view a, std::string_view b) const {
    return std::any_of(wires_.begin(), wires_.end(), [a, b](const BoardWire& w) {
        return (w.naam1 == a && w.naam2 == b) || (w.naam1 == b && w.naam2 == a);
    });
}

std::string BoardModel::OutputConflictText(const clsSnaps& snaps) {
    return OutputConflictText(wires_, snaps);
}

std::string BoardModel::OutputConflictText(BoardWires& wires, const clsSnaps& snaps) {
    const std::string report = clsGraph2().Check(wires, snaps);
    if (report.empty()) {
        return report;
    }
    return "Je begaat een fout: Je hebt 2 of meer uitgangen aan elkaar verbonden.\r\nHet gaat "
           "om de uitgangen:\r\n\r\n" +
           report;
}

// ---- controls and settings -----------------------------------------------------------------

void BoardModel::SetPushButton(std::size_t k, bool on) {
    pushButtons_.at(k) = on;
    if (view_ != nullptr) {
        view_->PushButtonChanged(k, on);
    }
}

void BoardModel::SetSensor(std::size_t k, std::int32_t mode) {
    sensors_.at(k) = mode;
    if (view_ != nullptr) {
        view_->SensorChanged(k, mode);
    }
}

void BoardModel::SetCounter(std::int32_t digit) {
    if (digit < 0 || digit >= kDigits) {
        throw std::out_of_range("BoardModel::SetCounter: digit " + std::to_string(digit) +
                                " is outside 0..9");
    }
    ShowCounter(digit);
}

void BoardModel::ShowCounter(std::int32_t digit) {
    counter_ = digit;
    if (view_ != nullptr) {
        view_->CounterChanged(digit);
    }
}

std::int32_t* BoardModel::KnobSetting(std::string_view naam) {
    return const_cast<std::int32_t*>(std::as_const(*this).KnobSetting(naam));
}

const std::int32_t* BoardModel::KnobSetting(std::string_view naam) const {
    if (naam == SocketName(Socket::ComparatorKnob)) {
        return &comparatorValue_;
    }
    if (naam == SocketName(Socket::VariableVoltageKnob)) {
        return &variableVoltage_;
    }
    if (naam == SocketName(Socket::PulseGeneratorKnob)) {
        return &pulseSetting_;
    }
    return nullptr;
}

std::int32_t BoardModel::SettingOfKnob(double value) {
    if (std::isnan(value) || value < 0) {
        value = 0;
    } else if (value > BoardDocument::kMaxKnobSetting) {
        value = BoardDocument::kMaxKnobSetting;
    }
    return RoundHalfEven(value);
}

void BoardModel::SetState(std::string_view naam, std::int32_t value) {
    const std::size_t k = ControlNumber(naam);
    if (naam.rfind("Drukknop", 0) == 0) {
        SetPushButton(k, value != 0);
    } else {
        SetSensor(k, value);
    }
}

BoardModel::Pressed BoardModel::Press(std::string_view naam) {
    for (std::size_t k = 0; k < kSensorBodies.size(); ++k) {
        if (naam == SocketName(kSensorBodies[k])) {
            const std::int32_t mode = sensors_[k];
            const bool known = mode >= 0 && mode < kSensorModes;
            SetSensor(k, known && mode + 1 < kSensorModes ? mode + 1 : 0);
            return Pressed::Control;
        }
    }
    for (std::size_t k = 0; k < kPushButtons.size(); ++k) {
        if (naam == SocketName(kPushButtons[k])) {
            SetPushButton(k, !pushButtons_[k]);
            return Pressed::Control;
        }
    }
    if (naam == SocketName(Socket::CounterResetButton)) {
        ShowCounter(0);
        return Pressed::CounterReset;
    }
    return Pressed::Nothing;
}

// ---- the step ------------------------------------------------------------------------------

void BoardModel::Step(const StepInput& input) {
    for (BoardWire& wire : wires_) {
        wire.done = false;
    }
    graph_.Clear();
    graph_.comparatorvalue = comparatorValue_;

    const auto enter = [this](std::size_t i, std::int32_t value) {
        sources_[i].Value = value;
        graph_.AddPunt(sources_[i].naam, value);
    };
    const auto clock = [&input] { return input.clock ? input.clock() : 0.0F; };

    bool timeDriven = pulseSetting_ > 0;
    std::optional<std::optional<Point>> pointer;
    for (std::size_t k = 0; k < sensors_.size(); ++k) {
        const std::int32_t mode = sensors_[k];
        double dx = 0.0;
        double dy = 0.0;
        float t = 0.0F;
        if (mode == 1) {
            if (!pointer) {
                pointer = input.pointer ? input.pointer() : std::nullopt;
            }
            // Without a pointer the light is far away: the sensor sees none.
            const SocketEntry& centre = SocketOf(kSensorBodies[k]);
            dx = *pointer ? double((*pointer)->x) - centre.x : 1e9;
            dy = *pointer ? double((*pointer)->y) - centre.y : 1e9;
            timeDriven = true;
        } else if (mode == 2) {
            t = clock();
            timeDriven = true;
        }
        enter(kSensor1 + k, SensorRule::Value(mode, dx, dy, t));
    }
    enter(kPushButton1, HighWhen(pushButtons_[0]));
    enter(kPushButton2, HighWhen(pushButtons_[1]));
    enter(kVariableVoltage, variableVoltage_);
    enter(kSoundSensor, input.sound);
    enter(kPulseGenerator, pulse_.Level());
    // The counter's outputs show the digit as it was before this step's counting.
    enter(kCounterOut1, HighWhen((counter_ & 1) != 0));
    enter(kCounterOut2, HighWhen((counter_ & 2) != 0));
    enter(kCounterOut4, HighWhen((counter_ & 4) != 0));
    enter(kCounterOut8, HighWhen((counter_ & 8) != 0));

    pulse_.Advance(pulseSetting_, clock);

    const std::int32_t memoryBefore = graph_.memoryvalue;
    const std::int32_t countInputBefore = graph_.LastCountValue();
    const std::int32_t counterBefore = counter_;
    graph_.Run(wires_);

    for (std::size_t k = 0; k < leds_.size(); ++k) {
        leds_[k] = graph_.GetPuntValueByName(SocketName(kLedInputs[k]), 0) == kHigh;
        if (view_ != nullptr) {
            view_->LedChanged(k, leds_[k]);
        }
    }
    const bool on = graph_.GetPuntValueByName(SocketName(Socket::Buzzer), 0) == kHigh;
    if (on != buzzer_ && view_ != nullptr) {
        view_->BuzzerChanged(on);
    }
    buzzer_ = on;
    settled_ = !timeDriven && graph_.memoryvalue == memoryBefore &&
               graph_.LastCountValue() == countInputBefore && counter_ == counterBefore;
}

std::optional<std::int32_t> BoardModel::Value(std::string_view naam) const {
    if (!graph_.PuntExists(naam)) {
        return std::nullopt;
    }
    return graph_.GetPuntValueByName(naam, 0);
}

void BoardModel::WireColored(std::size_t index, std::int32_t color) {
    wires_[index].color = color;
    if (view_ != nullptr) {
        view_->WireColored(index, color);
    }
}

void BoardModel::CounterReset() {
    ShowCounter(0);
}

void BoardModel::CounterStepped() {
    ShowCounter(counter_ + 1 == kDigits ? 0 : counter_ + 1);
}

void BoardModel::Restart() {
    wires_.clear();
    for (std::size_t k = 0; k < sensors_.size(); ++k) {
        SetSensor(k, 0);
        SetPushButton(k, false);
    }
    ShowCounter(0);
    comparatorValue_ = 0;
    variableVoltage_ = 0;
    pulseSetting_ = 0;
    for (std::size_t k = 0; k < leds_.size(); ++k) {
        leds_[k] = false;
        if (view_ != nullptr) {
            view_->LedChanged(k, false);
        }
    }
    graph_ = clsGraph();
    graph_.Constructor(this);
    pulse_ = PulseGenerator();
    buzzer_ = false;
    settled_ = false;
}

// ---- the document and its history ----------------------------------------------------------

BoardDocument BoardModel::Snapshot() const {
    BoardDocument document;
    document.displayValue = counter_;
    document.sensor1 = sensors_[0];
    document.sensor2 = sensors_[1];
    document.pulseGenerator = pulseSetting_;
    document.comparator = comparatorValue_;
    document.variableVoltage = variableVoltage_;
    document.pushButton1 = pushButtons_[0];
    document.pushButton2 = pushButtons_[1];
    document.wires.reserve(wires_.size());
    for (const BoardWire& wire : wires_) {
        document.wires.push_back({wire.naam1, wire.naam2});
    }
    return document;
}

void BoardModel::Apply(const BoardDocument& document) {
    BoardWires wires;
    wires.reserve(document.wires.size());
    for (const BoardDocument::Wire& wire : document.wires) {
        wires.push_back({wire.naam1, wire.naam2, 1, false});
    }
    wires_ = std::move(wires);
    if (!document.hasSettings) {
        return;
    }
    SetCounter(document.displayValue);
    SetSensor(0, document.sensor1);
    SetSensor(1, document.sensor2);
    pulseSetting_ = document.pulseGenerator;
    comparatorValue_ = document.comparator;
    variableVoltage_ = document.variableVoltage;
    SetPushButton(0, document.pushButton1);
    SetPushButton(1, document.pushButton2);
}

void BoardModel::WriteTo(KistWriter& dest) const {
    Snapshot().WriteTo(dest);
}

void BoardModel::ReadFrom(KistReader& src) {
    Apply(BoardDocument::ReadFrom(src));
}
