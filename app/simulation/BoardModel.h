#pragma once
// The board without a window: its wires as data, the sources of the simulation step, the
// knob settings, the pulse generator, the counter, the LEDs and the buzzer, the step itself,
// the board's document and its undo history. The window draws it through a BoardView; the
// headless commands and the grading of assignments step it alone.

#include "app/documents/BoardDocument.h"
#include "app/documents/UndoHistory.h"
#include "app/simulation/BoardWire.h"
#include "app/simulation/GraphEvents.h"
#include "app/simulation/PulseGenerator.h"
#include "app/simulation/clsGraph.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class BoardView;
class clsSnaps;

/// One board. Values are tenths of a volt, 0 to 50; 50 is logic high. Controls are numbered
/// from 0: push buttons and sensors 0 and 1, LEDs 0 to 3.
class BoardModel : private GraphEvents {
public:
    static constexpr std::int32_t kHigh = 50;
    static constexpr std::size_t kSourceCount = 11;

    /// One source of the simulation step: a socket and the value entered for it.
    struct Source {
        std::string_view naam;
        std::int32_t Value = 0;
    };
    /// A board pixel.
    struct Point {
        std::int32_t x = 0;
        std::int32_t y = 0;
    };
    /// What a step takes from outside the board.
    struct StepInput {
        /// The clock in seconds since midnight, read as often as the step needs it (the
        /// swinging light of each sensor, the pulse generator twice).
        std::function<float()> clock;
        /// The sound sensor's level, 0 to 50.
        std::int32_t sound = 0;
        /// Where the pointer is on the board, asked once and only when a sensor is lit by
        /// the pointer; none (or no function) is far from every sensor.
        std::function<std::optional<Point>()> pointer;
    };

    BoardModel();
    BoardModel(const BoardModel&) = delete;
    BoardModel& operator=(const BoardModel&) = delete;

    /// The drawing told of every change from now on; nullptr for none. Not owned.
    void SetView(BoardView* view) { view_ = view; }

    // ---- wires -----------------------------------------------------------------------------

    const BoardWires& Wires() const { return wires_; }
    /// Appends a finished wire of colour `color`.
    void AddWire(std::string naam1, std::string naam2, std::int32_t color = 1);
    /// Takes wire `index` off the list; nothing for an index past the end.
    void RemoveWire(std::size_t index);
    /// Takes the last wire off the list, if any.
    void RemoveLastWire();
    void ClearWires() { wires_.clear(); }
    /// True when a wire joins sockets a and b, in either direction.
    bool WireExists(std::string_view a, std::string_view b) const;
    /// "" when no two outputs are wired together, else "Je begaat een fout: ..." with the
    /// outputs of every group, as the window shows it.
    std::string OutputConflictText(const clsSnaps& snaps);
    /// The same text for any wire list; uses the wires' done marks.
    static std::string OutputConflictText(BoardWires& wires, const clsSnaps& snaps);

    // ---- controls and settings -------------------------------------------------------------

    bool PushButton(std::size_t k) const { return pushButtons_.at(k); }
    void SetPushButton(std::size_t k, bool on);
    /// Mode of sensor k: 0 dark, 1 lit by the pointer, 2 swinging light.
    std::int32_t Sensor(std::size_t k) const { return sensors_.at(k); }
    void SetSensor(std::size_t k, std::int32_t mode);
    /// The counter's digit, 0 to 9.
    std::int32_t Counter() const { return counter_; }
    /// Throws std::out_of_range for a digit outside 0..9; the counter then stays.
    void SetCounter(std::int32_t digit);

    /// The three knob settings, 0 to 50 each.
    std::int32_t ComparatorValue() const { return comparatorValue_; }
    void SetComparatorValue(std::int32_t v) { comparatorValue_ = v; }
    std::int32_t VariableVoltage() const { return variableVoltage_; }
    void SetVariableVoltage(std::int32_t v) { variableVoltage_ = v; }
    std::int32_t PulseGeneratorSetting() const { return pulseSetting_; }
    void SetPulseGeneratorSetting(std::int32_t v) { pulseSetting_ = v; }
    /// The setting of the knob control named `naam` ("Comparator Regelaar", "Var. Spanning
    /// Regelaar", "Puls Generator Regelaar"); nullptr for any other name.
    std::int32_t* KnobSetting(std::string_view naam);
    const std::int32_t* KnobSetting(std::string_view naam) const;
    /// The setting a knob standing at `value` gives: limited to 0..50 (NaN is 0), rounded
    /// with halves to even.
    static std::int32_t SettingOfKnob(double value);

    /// Which of the two push buttons or sensors `naam` ("Drukknop 1", "Sensor 2") names,
    /// from 0.
    static std::size_t ControlNumber(std::string_view naam) {
        return !naam.empty() && naam.back() == '2' ? 1 : 0;
    }
    /// Sets a state by the control's name, without clicking: a push button ("Drukknop …") on
    /// for a non-zero `value`, else the sensor's mode to `value`.
    void SetState(std::string_view naam, std::int32_t value);

    /// What a click did.
    enum class Pressed {
        /// `naam` is none of the controls a click operates here.
        Nothing,
        /// A sensor or push button changed: a change the undo history records.
        Control,
        /// The counter's reset button: the counter is at 0.
        CounterReset,
    };
    /// An operate-mode click on the control named `naam`: a sensor goes to its next mode, a
    /// push button toggles, the counter's reset button puts the counter at 0.
    Pressed Press(std::string_view naam);

    // ---- the step --------------------------------------------------------------------------

    /// One simulation step: enters the sources, advances the pulse generator, runs the
    /// evaluator (wires take their colours, the counter counts), lights the LEDs and
    /// switches the buzzer.
    void Step(const StepInput& input);
    /// Whether the next step, with the same input and nothing changed in between, gives
    /// exactly what the last one gave: no pulse generator runs, no sensor is lit, and the
    /// last step changed neither the memory cell, the counter nor its count input. False
    /// before the first step.
    bool Settled() const { return settled_; }

    bool Led(std::size_t k) const { return leds_.at(k); }
    bool BuzzerOn() const { return buzzer_; }
    /// The pulse generator's level, 0 or 50.
    std::int32_t PulseLevel() const { return pulse_.Level(); }
    /// The sources the last step entered, in the order they were entered; values 0 before
    /// the first step.
    const std::array<Source, kSourceCount>& LastSources() const { return sources_; }
    /// A socket's value after the last step; none when it had none.
    std::optional<std::int32_t> Value(std::string_view naam) const;
    const clsGraph& Graph() const { return graph_; }
    clsGraph& Graph() { return graph_; }

    /// Puts the board back as a fresh start leaves it: no wires, the counter at 0, sensors,
    /// push buttons and LEDs off, knob settings 0, a new evaluator (memory cell and counter
    /// input forgotten), the pulse generator and the buzzer flag at rest. The undo history
    /// stays.
    void Restart();

    // ---- the document and its history ------------------------------------------------------

    /// What the user has built and set: the wires in list order, the counter, the sensors,
    /// the knob settings and the push buttons.
    BoardDocument Snapshot() const;
    /// Makes the board hold `document`: its wires replace the list (colour 1); its settings
    /// are taken only when it has them.
    void Apply(const BoardDocument& document);
    void WriteTo(KistWriter& dest) const;
    /// The board changes only when the whole document could be read; KistError is passed on.
    void ReadFrom(KistReader& src);

    UndoHistory& History() { return history_; }
    const UndoHistory& History() const { return history_; }
    /// Notes the board as it is now as the one last opened, saved or started with.
    void MarkKept() { kept_ = Snapshot(); }
    /// Whether the board, its settings included, differs from the one last kept.
    bool HasUnsavedChanges() const { return Snapshot() != kept_; }

private:
    void WireColored(std::size_t index, std::int32_t color) override;
    void CounterReset() override;
    void CounterStepped() override;
    void ShowCounter(std::int32_t digit);

    BoardView* view_ = nullptr;
    BoardWires wires_;
    std::array<bool, 2> pushButtons_{};
    std::array<std::int32_t, 2> sensors_{};
    std::int32_t counter_ = 0;
    std::int32_t comparatorValue_ = 0;
    std::int32_t variableVoltage_ = 0;
    std::int32_t pulseSetting_ = 0;
    std::array<bool, 4> leds_{};
    bool buzzer_ = false;
    bool settled_ = false;
    PulseGenerator pulse_;
    clsGraph graph_;
    std::array<Source, kSourceCount> sources_;
    UndoHistory history_;
    BoardDocument kept_;
};
