#include "app/cli/HeadlessGradingBoard.h"

#include "app/cli/HeadlessBoard.h"
#include "app/components/clsDisplay.h"
#include "app/components/clsLED.h"
#include "app/components/clsSensor.h"
#include "app/simulation/SocketTable.h"
#include "app/simulation/clsGraph.h"

#include <string>

namespace {

/// "… 1" or "… 2": which of two.
int Which(std::string_view naam) {
    return naam.back() == '2' ? 2 : 1;
}

} // namespace

HeadlessGradingBoard::HeadlessGradingBoard(HeadlessBoard& board, BoardDocument document)
    : board_(board), document_(std::move(document)) {}

void HeadlessGradingBoard::Reset() {
    BoardDocument start = document_;
    start.hasSettings = true;
    start.pushButton1 = false;
    start.pushButton2 = false;
    start.sensor1 = 0;
    start.sensor2 = 0;
    start.displayValue = 0;
    board_.Show(start);
    board_.PointFarAway();
    board_.Form().SetSoundLevel(0);
}

void HeadlessGradingBoard::SetPushButton(std::string_view naam, bool on) {
    board_.Form().PushButton(Which(naam))->SetValue(on);
}

void HeadlessGradingBoard::SetSensor(std::string_view naam, std::int32_t mode) {
    const int k = Which(naam);
    board_.Form().Sensor(k)->SetValue(mode);
    if (mode == 1) {
        const SocketEntry& sensor = SocketOf(k == 2 ? Socket::Sensor2 : Socket::Sensor1);
        board_.PointAtBoard(sensor.x, sensor.y);
    }
}

void HeadlessGradingBoard::SetKnob(std::string_view naam, std::int32_t tenths) {
    FORM1& form = board_.Form();
    if (naam == SocketName(Socket::ComparatorKnob)) {
        form.SetComparatorValue(tenths);
    } else if (naam == SocketName(Socket::VariableVoltageKnob)) {
        form.SetVariableVoltage(tenths);
    } else {
        form.SetPulseGeneratorSetting(tenths);
    }
}

void HeadlessGradingBoard::SetSound(std::int32_t level) {
    board_.Form().SetSoundLevel(level);
}

void HeadlessGradingBoard::Press(std::string_view naam) {
    board_.Act({{CliOptions::Action::Kind::Press, std::string(naam), 0.0}});
    // A click that brings a sensor to its lamp mode holds the lamp over it, as "zet" does.
    if (naam == SocketName(Socket::Sensor1) || naam == SocketName(Socket::Sensor2)) {
        SetSensor(naam, board_.Form().Sensor(Which(naam))->Value());
    }
}

void HeadlessGradingBoard::Step() {
    board_.Run(1);
}

bool HeadlessGradingBoard::Led(std::int32_t number) const {
    return board_.Form().LED(number)->Value();
}

bool HeadlessGradingBoard::Buzzer() const {
    return board_.Form().BuzzerOn();
}

std::int32_t HeadlessGradingBoard::Display() const {
    return board_.Form().Display()->Value();
}

std::optional<std::int32_t> HeadlessGradingBoard::Value(std::string_view naam) const {
    const clsGraph& graph = *board_.Form().Graph();
    if (!graph.PuntExists(naam)) {
        return std::nullopt;
    }
    return graph.GetPuntValueByName(naam, 0);
}
