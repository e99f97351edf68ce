#pragma once
// The board's named points, written once: every socket name, place, hit radius and kind that
// the socket table, the evaluator, the simulation step, the window and the command line use
// comes from this table.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

/// A named point of the board, numbered as its position in the socket table (from 1).
enum class Socket : std::int32_t {
    Sensor1 = 1,
    Sensor2,
    SoundSensor,
    Sensor1Out,
    Sensor2Out,
    SoundSensorOut,
    PushButton1Out,
    PushButton2Out,
    VariableVoltageOut,
    PulseGeneratorOut,
    TransistorIn,
    AndIn1,
    AndIn2,
    MemorySet,
    MemoryReset,
    TransistorOut,
    AndOut,
    MemoryOut,
    ComparatorIn,
    ComparatorOut,
    OrIn1,
    OrIn2,
    OrOut,
    InverterIn,
    InverterOut,
    Led1In,
    Led2In,
    Led3In,
    Led4In,
    Buzzer,
    RelayControl,
    RelayIn1,
    RelayIn2,
    RelayOut1,
    RelayOut2,
    CounterOut1,
    CounterOut2,
    CounterOut4,
    CounterOut8,
    CounterPulses,
    CounterEnable,
    CounterReset,
    AdIn,
    AdOut8,
    AdOut4,
    AdOut2,
    AdOut1,
    PushButton1,
    PushButton2,
    VariableVoltageBlack,
    VariableVoltageKnob,
    PulseGeneratorKnob,
    CounterResetButton,
    ComparatorKnob,
};

/// One entry of the socket table.
struct SocketEntry {
    Socket id;
    std::string_view naam;
    /// Centre in board pixels.
    std::int32_t x;
    std::int32_t y;
    /// Half the side of the square hit area.
    float Radius;
    /// A wire may end here.
    bool Connectable;
    /// The user operates it with a click (push buttons, knobs, the counter's reset button).
    bool Changeable;
    /// 0 other, 1 input, 2 output (and the sensor bodies), 3 relay contact.
    std::int32_t soort;
};

/// The board's points in the order of the board's layout.
inline constexpr std::array<SocketEntry, 54> kSocketTable = {{
    {Socket::Sensor1, "Sensor 1", 44, 49, 24.0F, false, false, 2},
    {Socket::Sensor2, "Sensor 2", 44, 102, 24.0F, false, false, 2},
    {Socket::SoundSensor, "Geluids Sensor", 31, 145, 10.0F, false, false, 2},
    {Socket::Sensor1Out, "Sensor 1 Uit Geel", 98, 50, 10.0F, true, false, 2},
    {Socket::Sensor2Out, "Sensor 2 Uit Geel", 98, 101, 10.0F, true, false, 2},
    {Socket::SoundSensorOut, "Geluids Sensor Uit Geel", 98, 144, 10.0F, true, false, 2},
    {Socket::PushButton1Out, "Drukknop 1 Uit Geel", 98, 179, 10.0F, true, false, 2},
    {Socket::PushButton2Out, "Drukknop 2 Uit Geel", 98, 214, 10.0F, true, false, 2},
    {Socket::VariableVoltageOut, "Var. Spanning Uit Geel", 98, 256, 10.0F, true, false, 2},
    {Socket::PulseGeneratorOut, "Puls Generator Uit Geel", 98, 295, 10.0F, true, false, 2},
    {Socket::TransistorIn, "Transistor In", 133, 41, 10.0F, true, false, 1},
    {Socket::AndIn1, "EN-poort Ingang 1", 133, 110, 10.0F, true, false, 1},
    {Socket::AndIn2, "EN-poort Ingang 2", 133, 145, 10.0F, true, false, 1},
    {Socket::MemorySet, "Geheugen Set (In)", 134, 180, 10.0F, true, false, 1},
    {Socket::MemoryReset, "Geheugen Reset (In)", 134, 215, 10.0F, true, false, 1},
    {Socket::TransistorOut, "Transistor Uit", 199, 41, 10.0F, true, false, 2},
    {Socket::AndOut, "EN-poort Uit", 199, 128, 10.0F, true, false, 2},
    {Socket::MemoryOut, "Geheugen Uit", 200, 198, 10.0F, true, false, 2},
    {Socket::ComparatorIn, "Comparator In", 222, 42, 10.0F, true, false, 1},
    {Socket::ComparatorOut, "Comparator Uit", 287, 41, 10.0F, true, false, 2},
    {Socket::OrIn1, "OF-poort Ingang 1", 222, 111, 10.0F, true, false, 1},
    {Socket::OrIn2, "OF-poort Ingang 2", 222, 145, 10.0F, true, false, 1},
    {Socket::OrOut, "OF-poort Uit", 287, 128, 10.0F, true, false, 2},
    {Socket::InverterIn, "Invertor Ingang", 222, 197, 10.0F, true, false, 1},
    {Socket::InverterOut, "Invertor Uitgang", 288, 197, 10.0F, true, false, 2},
    {Socket::Led1In, "LED 1 Ingang", 322, 41, 10.0F, true, false, 1},
    {Socket::Led2In, "LED 2 Ingang", 322, 75, 10.0F, true, false, 1},
    {Socket::Led3In, "LED 3 Ingang", 323, 110, 10.0F, true, false, 1},
    {Socket::Led4In, "LED 4 Ingang", 323, 145, 10.0F, true, false, 1},
    {Socket::Buzzer, "Zoemer", 323, 197, 10.0F, true, false, 1},
    {Socket::RelayControl, "Relais Controle (In)", 323, 245, 10.0F, true, false, 1},
    {Socket::RelayIn1, "Relais Ingang 1 (in/uit)", 368, 246, 10.0F, true, false, 3},
    {Socket::RelayIn2, "Relais Ingang 2 (in/uit)", 393, 245, 10.0F, true, false, 3},
    {Socket::RelayOut1, "Relais Uitgang 1 (in/uit)", 369, 285, 10.0F, true, false, 3},
    {Socket::RelayOut2, "Relais Uitgang 2 (in/uit)", 394, 285, 10.0F, true, false, 3},
    {Socket::CounterOut1, "Pulsenteller Uitgang 1", 288, 250, 10.0F, true, false, 2},
    {Socket::CounterOut2, "Pulsenteller Uitgang 2", 266, 249, 10.0F, true, false, 2},
    {Socket::CounterOut4, "Pulsenteller Uitgang 4", 244, 249, 10.0F, true, false, 2},
    {Socket::CounterOut8, "Pulsenteller Uitgang 8", 222, 250, 10.0F, true, false, 2},
    {Socket::CounterPulses, "Pulsenteller Tel pulsen (In)", 133, 249, 10.0F, true, false, 1},
    {Socket::CounterEnable, "Pulsenteller Teller aan/uit (In)", 133, 281, 10.0F, true, false, 1},
    {Socket::CounterReset, "Pulsenteller Reset (In)", 134, 305, 10.0F, true, false, 1},
    {Socket::AdIn, "AD-omzetter In", 30, 336, 10.0F, true, false, 1},
    {Socket::AdOut8, "AD-omzetter Uitgang 8", 51, 335, 10.0F, true, false, 2},
    {Socket::AdOut4, "AD-omzetter Uitgang 4", 70, 335, 10.0F, true, false, 2},
    {Socket::AdOut2, "AD-omzetter Uitgang 2", 87, 335, 10.0F, true, false, 2},
    {Socket::AdOut1, "AD-omzetter Uitgang 1", 104, 335, 10.0F, true, false, 2},
    {Socket::PushButton1, "Drukknop 1", 30, 180, 10.0F, false, true, 0},
    {Socket::PushButton2, "Drukknop 2", 29, 214, 10.0F, false, true, 0},
    {Socket::VariableVoltageBlack, "Var. Spanning In Zwart", 31, 256, 10.0F, true, false, 0},
    {Socket::VariableVoltageKnob, "Var. Spanning Regelaar", 63, 256, 10.0F, false, true, 0},
    {Socket::PulseGeneratorKnob, "Puls Generator Regelaar", 64, 296, 10.0F, false, true, 0},
    {Socket::CounterResetButton, "Pulsenteller Reset Drukknop", 200, 305, 10.0F, false, true, 0},
    {Socket::ComparatorKnob, "Comparator Regelaar", 266, 72, 10.0F, false, true, 0},
}};

/// The entry of `id`.
constexpr const SocketEntry& SocketOf(Socket id) {
    return kSocketTable[static_cast<std::size_t>(id) - 1];
}

/// The socket name of `id`.
constexpr std::string_view SocketName(Socket id) {
    return SocketOf(id).naam;
}

static_assert(
    [] {
        for (std::size_t i = 0; i < kSocketTable.size(); ++i) {
            if (static_cast<std::size_t>(kSocketTable[i].id) != i + 1) {
                return false;
            }
        }
        return true;
    }(),
    "every socket's number is its position in the table");
