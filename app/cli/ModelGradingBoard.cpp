#include "app/cli/ModelGradingBoard.h"

#include "app/simulation/SocketTable.h"

#include <utility>

ModelGradingBoard::ModelGradingBoard(BoardDocument document) : document_(std::move(document)) {}

void ModelGradingBoard::Reset() {
    BoardDocument start = document_;
    start.hasSettings = true;
    start.pushButton1 = false;
    start.pushButton2 = false;
    start.sensor1 = 0;
    start.sensor2 = 0;
    start.displayValue = 0;
    board_.Show(start);
}

void ModelGradingBoard::SetPushButton(std::string_view naam, bool on) {
    board_.Model().SetPushButton(BoardModel::ControlNumber(naam), on);
}

void ModelGradingBoard::SetSensor(std::string_view naam, std::int32_t mode) {
    const std::size_t k = BoardModel::ControlNumber(naam);
    board_.Model().SetSensor(k, mode);
    if (mode == 1) {
        const SocketEntry& sensor = SocketOf(k == 1 ? Socket::Sensor2 : Socket::Sensor1);
        board_.SetPointer(BoardModel::Point{sensor.x, sensor.y});
    }
}

void ModelGradingBoard::SetKnob(std::string_view naam, std::int32_t tenths) {
    if (std::int32_t* setting = board_.Model().KnobSetting(naam)) {
        *setting = tenths;
    }
}

void ModelGradingBoard::SetSound(std::int32_t level) {
    board_.SetSound(level);
}

void ModelGradingBoard::Press(std::string_view naam) {
    board_.Model().Press(naam);
    // A click that brings a sensor to its lamp mode holds the lamp over it, as setting it does.
    if (naam == SocketName(Socket::Sensor1) || naam == SocketName(Socket::Sensor2)) {
        SetSensor(naam, board_.Model().Sensor(BoardModel::ControlNumber(naam)));
    }
}

void ModelGradingBoard::Step() {
    board_.Run(1);
}

bool ModelGradingBoard::Led(std::int32_t number) const {
    return number >= 1 && number <= 4 && board_.Model().Led(std::size_t(number - 1));
}

bool ModelGradingBoard::Buzzer() const {
    return board_.Model().BuzzerOn();
}

std::int32_t ModelGradingBoard::Display() const {
    return board_.Model().Counter();
}

std::optional<std::int32_t> ModelGradingBoard::Value(std::string_view naam) const {
    return board_.Model().Value(naam);
}
