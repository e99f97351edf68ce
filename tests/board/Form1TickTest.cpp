// The simulation tick of the main window: the timer's interval, the sources and their order,
// the pulse generator, the sensors, the LEDs and the buzzer, the counter's outputs, the knob,
// the cursor, the pending wire and the repaint.

#include "BoardTestSupport.h"
#include "app/board/clsCursor.h"
#include "app/components/clsDisplay.h"
#include "app/components/clsLED.h"
#include "app/components/clsSensor.h"
#include "app/components/clsVoltControl.h"
#include "app/simulation/clsGraph.h"
#include "app/sound/UCWaveIn.h"
#include "platform/wave/WaveInDevices.h"
#include "platform/wave/WaveInEvent.h"
#include "sprite_control/KaleidoATL.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPaintEvent>
#include <QTime>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace board_test {
namespace {

class Form1Tick : public OnForm {
protected:
    void SetUp() override { Start(); }

    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            form->Timer1_Timer();
        }
    }

    /// Puts the pointer on the screen over the middle of a board pixel.
    void PointAtBoard(double x, double y) {
        KaleidoATL* canvas = form->Kaleido1();
        const QPointF widget = canvas->WidgetPointFromBoard(QPointF(x + 0.5, y + 0.5));
        pointer.position =
            canvas->mapToGlobal(QPoint(int(std::floor(widget.x())), int(std::floor(widget.y()))));
        pointer.widgetUnder = canvas;
    }

    /// Resizes the window so that the board is scaled by a factor other than 1.
    void ScaleBoard() {
        form->resize(900, 800);
        QCoreApplication::processEvents();
        ASSERT_GT(std::abs(form->Kaleido1()->Scale() - 1.0), 0.5);
    }
};

struct IntervalRow {
    const char* where;
    QWidget* widget;
    QEvent::Type type;
    /// Where the pointer stands when the window system is asked.
    QPoint global;
    int interval;
};

TEST_F(Form1Tick, IntervalFollowsTheEnterAndLeaveEventsUnderThePointer) {
    form->show();
    QCoreApplication::processEvents();
    const QRect frame = form->frameGeometry();
    const QPoint outside(-5000, -5000);
    const QPoint inside = form->geometry().center();
    KaleidoATL* canvas = form->Kaleido1();
    QWidget* bar = form->menuBar();
    QWidget* window = form.get();
    // Without a window manager the frame may have no border; the rows on it then stand just
    // above the window, as a title bar would.
    const QPoint onFrame = frame.top() < form->geometry().top() ? QPoint(inside.x(), frame.top())
                                                                : QPoint(-5000, -5000);
    const bool hasFrame = onFrame != QPoint(-5000, -5000);
    const IntervalRow rows[] = {
        {"into the window", window, QEvent::Enter, inside, 1000},
        {"onto the canvas", canvas, QEvent::Enter, inside, 10},
        {"off the canvas onto the window", canvas, QEvent::Leave, inside, 1000},
        {"onto the menu bar", bar, QEvent::Enter, inside, 1000},
        {"off the menu bar", bar, QEvent::Leave, inside, 1000},
        {"out of the window", window, QEvent::Leave, outside, 10},
        {"back onto the canvas", window, QEvent::Enter, inside, 1000},
        {"back onto the canvas", canvas, QEvent::Enter, inside, 10},
        {"off the canvas", canvas, QEvent::Leave, inside, 1000},
        {"out onto the frame", window, QEvent::Leave, onFrame, hasFrame ? 1000 : 10},
    };
    for (const IntervalRow& row : rows) {
        pointer.position = row.global;
        if (row.type == QEvent::Enter) {
            const QPointF local = row.widget->mapFromGlobal(QPointF(row.global));
            QEnterEvent enter(local, local, QPointF(row.global));
            QCoreApplication::sendEvent(row.widget, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(row.widget, &leave);
        }
        Tick();
        EXPECT_EQ(form->Timer1()->interval(), row.interval) << row.where;
    }
    if (hasFrame) {
        // Leaving the frame brings no event: the slow tick asks where the pointer went.
        pointer.position = outside;
        Tick();
        EXPECT_EQ(form->Timer1()->interval(), 10) << "off the frame";
    }
}

/// For the life of the object, one silent virtual input that makes sound only when fed, as
/// the window's sound sensor hears it.
struct OneFedInput {
    OneFedInput() {
        setenv("TAVSIM_WAVE_INPUTS", "Mic=silence", 1);
        WaveInDevices::Instance().Reload();
        WaveInDevices::Instance().SetStepByHand(true);
    }
    ~OneFedInput() {
        WaveInDevices::Instance().Shutdown();
        setenv("TAVSIM_WAVE_INPUTS", "", 1);
        WaveInDevices::Instance().Reload();
        WaveInDevices::Instance().SetStepByHand(false);
    }
    /// A buffer whose level is the loudest yet, handed to its control.
    static void Loud() {
        WaveInDevices::Instance().Feed(0, std::vector<std::uint8_t>(4000, 28));
        QCoreApplication::sendPostedEvents(nullptr, WaveInEvent::EventType());
    }
};

TEST_F(Form1Tick, EntersTheSourcesInOrderWithTheirValues) {
    // A window that hears one input, at the loudest level it has heard: the sensor gives 50.
    OneFedInput input;
    form.reset();
    Start();
    form->UCWaveIn1()->Timer1_Timer();
    OneFedInput::Loud();
    clock.seconds = 0.0F;
    form->Model().SetSensor(1, 2);
    form->Model().SetPushButton(0, true);
    form->SetVariableVoltage(37);
    form->Model().SetCounter(5);
    Tick();
    const std::vector<std::pair<std::string, std::int32_t>> expected = {
        {"Sensor 1 Uit Geel", 0},       {"Sensor 2 Uit Geel", 30},
        {"Drukknop 1 Uit Geel", 50},    {"Drukknop 2 Uit Geel", 0},
        {"Var. Spanning Uit Geel", 37}, {"Geluids Sensor Uit Geel", 50},
        {"Puls Generator Uit Geel", 0}, {"Pulsenteller Uitgang 1", 50},
        {"Pulsenteller Uitgang 2", 0},  {"Pulsenteller Uitgang 4", 50},
        {"Pulsenteller Uitgang 8", 0},
    };
    std::vector<std::pair<std::string, std::int32_t>> entered;
    for (const FORM1::Source& s : form->LastSources()) {
        entered.emplace_back(std::string(s.naam), s.Value);
        EXPECT_EQ(form->Graph()->GetPuntValueByName(s.naam, -1), s.Value) << s.naam;
    }
    EXPECT_EQ(entered, expected);

    // Every bit of the digit on its own output: 6 is 2 + 4, 9 is 8 + 1.
    const std::pair<std::int32_t, std::array<std::int32_t, 4>> digits[] = {{6, {0, 50, 50, 0}},
                                                                           {9, {50, 0, 0, 50}}};
    for (const auto& [digit, bits] : digits) {
        form->Model().SetCounter(digit);
        Tick();
        EXPECT_EQ(Source("Pulsenteller Uitgang 1"), bits[0]) << digit;
        EXPECT_EQ(Source("Pulsenteller Uitgang 2"), bits[1]) << digit;
        EXPECT_EQ(Source("Pulsenteller Uitgang 4"), bits[2]) << digit;
        EXPECT_EQ(Source("Pulsenteller Uitgang 8"), bits[3]) << digit;
    }
}

TEST_F(Form1Tick, CounterOutputsLagOneStepBehindACount) {
    Wire("Drukknop 1 Uit Geel", "Pulsenteller Tel pulsen (In)");
    Wire("Pulsenteller Uitgang 1", "LED 1 Ingang");
    Tick();
    form->Model().SetPushButton(0, true);
    Tick();
    EXPECT_EQ(form->Display()->Value(), 1);
    EXPECT_EQ(Source("Pulsenteller Uitgang 1"), 0);
    EXPECT_FALSE(form->LED(1)->Value());
    Tick();
    EXPECT_EQ(form->Display()->Value(), 1);
    EXPECT_EQ(Source("Pulsenteller Uitgang 1"), 50);
    EXPECT_TRUE(form->LED(1)->Value());
}

struct PulseRow {
    std::int32_t setting;
    int toggles;
};

TEST_F(Form1Tick, PulseGeneratorTogglesAtItsRate) {
    // One second of 10 ms ticks: a toggle per period, give or take a tick.
    const PulseRow rows[] = {{0, 0}, {10, 5}, {50, 21}};
    float start = 1000.0F;
    for (const PulseRow& row : rows) {
        SCOPED_TRACE(row.setting);
        form->SetPulseGeneratorSetting(row.setting);
        clock.seconds = start;
        Tick();
        int toggles = 0;
        for (int i = 1; i <= 100; ++i) {
            const std::int32_t before = form->PulseLevel();
            clock.seconds = start + float(i) * 0.01F;
            Tick();
            if (form->PulseLevel() != before) {
                ++toggles;
                // A new level is entered in the step after the toggle.
                EXPECT_EQ(Source("Puls Generator Uit Geel"), before);
                Tick();
                EXPECT_EQ(Source("Puls Generator Uit Geel"), form->PulseLevel());
            }
        }
        EXPECT_NEAR(toggles, row.toggles, 1);
        start += 100.0F;
    }
}

struct DistanceRow {
    int dx;
    int dy;
    std::int32_t value;
};

TEST_F(Form1Tick, PointerSensorFollowsTheDistanceAlsoOnAScaledBoard) {
    const DistanceRow rows[] = {
        {0, 0, 50}, {1, 0, 50}, {0, -1, 50}, {3, 0, 48}, {0, 3, 48}, {40, 0, 30}, {99, 0, 0},
    };
    form->Model().SetSensor(0, 1);
    for (bool scaled : {false, true}) {
        if (scaled) {
            ScaleBoard();
        }
        for (const DistanceRow& row : rows) {
            PointAtBoard(44 + row.dx, 49 + row.dy);
            Tick();
            EXPECT_EQ(Source("Sensor 1 Uit Geel"), row.value)
                << "scale " << form->Kaleido1()->Scale() << " at (" << row.dx << ", " << row.dy
                << ")";
        }
    }
}

TEST_F(Form1Tick, EachPointerSensorMeasuresFromItsOwnCentre) {
    form->Model().SetSensor(0, 1);
    form->Model().SetSensor(1, 1);
    PointAtBoard(44, 102);
    Tick();
    EXPECT_EQ(Source("Sensor 2 Uit Geel"), 50);
    // 53 pixels away: 50 − 26.5 = 23.5, rounded to the even 24.
    EXPECT_EQ(Source("Sensor 1 Uit Geel"), 24);

    pointer.position = QPoint(-3000, -3000);
    pointer.widgetUnder = nullptr;
    Tick();
    EXPECT_EQ(Source("Sensor 1 Uit Geel"), 0);
    EXPECT_EQ(Source("Sensor 2 Uit Geel"), 0);
}

TEST_F(Form1Tick, SwingingSensorStaysWithinItsRange) {
    form->Model().SetSensor(0, 2);
    std::int32_t lowest = 50;
    std::int32_t highest = 0;
    for (int i = 0; i <= 600; ++i) {
        clock.seconds = 40000.0F + float(i) * 0.01F;
        Tick();
        const std::int32_t v = Source("Sensor 1 Uit Geel");
        EXPECT_GE(v, 10);
        EXPECT_LE(v, 50);
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    // Six seconds cover more than one swing.
    EXPECT_EQ(lowest, 10);
    EXPECT_EQ(highest, 50);
}

TEST_F(Form1Tick, SensorModeOutsideItsRangeEntersNothingButZero) {
    for (std::int32_t mode : {3, -1, 1000}) {
        form->Model().SetSensor(0, mode);
        Tick();
        EXPECT_EQ(Source("Sensor 1 Uit Geel"), 0) << mode;
    }
}

struct LevelRow {
    std::int32_t voltage;
    bool on;
    std::int32_t colour;
};

TEST_F(Form1Tick, LedsLightOnlyAtExactly50AndWiresTakeTheirColour) {
    std::vector<std::shared_ptr<clsLine>> wires;
    for (const char* led : {"LED 1 Ingang", "LED 2 Ingang", "LED 3 Ingang", "LED 4 Ingang"}) {
        wires.push_back(Wire("Var. Spanning Uit Geel", led));
    }
    const LevelRow rows[] = {{50, true, 1}, {49, false, 1}, {0, false, 8}, {50, true, 1}};
    for (const LevelRow& row : rows) {
        form->SetVariableVoltage(row.voltage);
        Tick();
        for (int k = 1; k <= 4; ++k) {
            EXPECT_EQ(form->LED(k)->Value(), row.on) << "LED " << k << " at " << row.voltage;
            EXPECT_EQ(form->LED(k)->Sprite() != 0, row.on);
            EXPECT_EQ(wires[std::size_t(k - 1)]->Color(), row.colour);
        }
    }
}

TEST_F(Form1Tick, BuzzerRingsOnceAt50AndFallsSilentWhenItStops) {
    Wire("Var. Spanning Uit Geel", "Zoemer");
    const std::string ring = QCoreApplication::applicationDirPath().toStdString() + "/Ringin.wav";
    const std::string silence =
        QCoreApplication::applicationDirPath().toStdString() + "/SILENCE.wav";

    // The buzzer glows on the board while it sounds, over the middle of its body.
    const auto glowing = [this] {
        return form->BuzzerLamp()->Value() &&
               form->Kaleido1()->SpriteInfo(form->BuzzerLamp()->Sprite()).has_value();
    };
    form->SetVariableVoltage(49);
    Tick(3);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_FALSE(form->BuzzerOn());
    const QRgb dark = form->Kaleido1()->RenderBoard().pixel(380, 197);
    EXPECT_FALSE(glowing());

    form->SetVariableVoltage(50);
    Tick(3);
    EXPECT_EQ(sound.played, std::vector<std::string>{ring});
    EXPECT_TRUE(form->BuzzerOn());
    EXPECT_TRUE(glowing());
    EXPECT_NE(form->Kaleido1()->RenderBoard().pixel(380, 197), dark);

    form->SetVariableVoltage(49);
    Tick(3);
    EXPECT_EQ(sound.played, (std::vector<std::string>{ring, silence}));
    EXPECT_FALSE(form->BuzzerOn());
    EXPECT_FALSE(glowing());
    EXPECT_EQ(form->Kaleido1()->RenderBoard().pixel(380, 197), dark);
}

struct KnobRow {
    const char* tag;
    double value;
    std::int32_t comparator, voltage, pulse;
};

TEST_F(Form1Tick, OpenKnobCopiesItsRoundedValueIntoItsSetting) {
    const KnobRow rows[] = {
        {"Comparator Regelaar", 12.5, 12, 0, 0},       {"Var. Spanning Regelaar", 13.5, 12, 14, 0},
        {"Puls Generator Regelaar", 50.0, 12, 14, 50}, {"Comparator Regelaar", 0.4, 0, 14, 50},
        {"Onbekende Regelaar", 30.0, 0, 14, 50},
    };
    clsVoltControl* knob = form->Knob();
    for (const KnobRow& row : rows) {
        knob->Move(90, 236);
        knob->tag = row.tag;
        knob->SetValue(row.value);
        Tick();
        EXPECT_EQ(form->ComparatorValue(), row.comparator) << row.tag << " " << row.value;
        EXPECT_EQ(form->VariableVoltage(), row.voltage) << row.tag << " " << row.value;
        EXPECT_EQ(form->PulseGeneratorSetting(), row.pulse) << row.tag << " " << row.value;
    }
    EXPECT_EQ(form->Graph()->comparatorvalue, 0);

    // A hidden knob copies nothing.
    knob->tag = "Comparator Regelaar";
    knob->SetValue(40);
    knob->Hide();
    Tick();
    EXPECT_EQ(form->ComparatorValue(), 0);
}

TEST_F(Form1Tick, CursorShowsOverTheHoveredPointAndHidesWithoutOne) {
    KaleidoATL* canvas = form->Kaleido1();
    const std::int32_t sprite = form->Cursor()->Sprite();
    form->SetHover(true, 98, 50);
    Tick();
    auto info = canvas->SpriteInfo(sprite);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->state, 0);
    EXPECT_EQ(QPoint(info->x, info->y), QPoint(82, 34));

    form->SetHover(false, 98, 50);
    Tick();
    EXPECT_NE(canvas->SpriteInfo(sprite)->state, 0);
}

TEST_F(Form1Tick, PendingWireFollowsThePointer) {
    auto line = form->BordLines()->CreateLine();
    line->SetCoords(1, 98, 50);
    form->SetPendingLine(line);
    form->SetLastPointer(200, 150);
    Tick();
    EXPECT_EQ(QPoint(line->X2(), line->Y2()), QPoint(200, 150));
    EXPECT_EQ(line->Valid2(), -1);
    form->SetLastPointer(210, 170);
    Tick();
    EXPECT_EQ(QPoint(line->X2(), line->Y2()), QPoint(210, 170));
    // A pending wire is not part of the circuit.
    EXPECT_TRUE(form->Lines().empty());
}

/// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
    int paints = 0;
};

/// A pointer that counts how often the window system would have been asked.
class CountingPointer : public ManualPointer {
public:
    QPoint GlobalPosition() override {
        ++queries;
        return ManualPointer::GlobalPosition();
    }
    QWidget* WidgetAt(QPoint global) override {
        ++queries;
        return ManualPointer::WidgetAt(global);
    }
    int queries = 0;
};

TEST_F(Form1Tick, TicksOnAnUnchangedBoardAskAndPaintNothingAlsoWithLitLamps) {
    CountingPointer counting;
    PointerSource::Install(&counting);
    // A lit LED, rebuilt by every step, a lit push button, and the pointer on the canvas.
    form->Model().SetPushButton(0, true);
    Wire("Drukknop 1 Uit Geel", "LED 1 Ingang");
    KaleidoATL* canvas = form->Kaleido1();
    const QPointF at = canvas->WidgetPointFromBoard(QPointF(200, 200));
    QEnterEvent enter(at, at, canvas->mapToGlobal(at));
    QCoreApplication::sendEvent(canvas, &enter);
    Tick();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form->LED(1)->Value());

    PaintCounter counter;
    canvas->installEventFilter(&counter);
    counting.queries = 0;
    for (int i = 0; i < 5; ++i) {
        Tick();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(counting.queries, 0);
    EXPECT_TRUE(sound.played.empty());
    canvas->removeEventFilter(&counter);
    PointerSource::Install(&pointer);
}

TEST_F(Form1Tick, IdleTicksRepaintNothing) {
    pointer.widgetUnder = form->Kaleido1();
    Tick();
    QCoreApplication::processEvents();
    PaintCounter counter;
    form->Kaleido1()->installEventFilter(&counter);
    for (int i = 0; i < 5; ++i) {
        Tick();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0);

    // A change does reach the screen.
    form->Model().SetPushButton(0, true);
    Tick();
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
    form->Kaleido1()->removeEventFilter(&counter);
}

struct RestRow {
    const char* what;
    std::function<void(FORM1&)> arrange;
    /// Whether the timer still runs after a tick.
    bool keepsTicking;
};

TEST_F(Form1Tick, TheTimerRestsWhenTheNextTickCannotDifferAndWakesOnTheNextEvent) {
    const RestRow rows[] = {
        {"a lit LED", [](FORM1& f) { f.Model().SetPushButton(0, true); }, false},
        {"the pulse generator running", [](FORM1& f) { f.SetPulseGeneratorSetting(20); }, true},
        {"a swinging light", [](FORM1& f) { f.Model().SetSensor(1, 2); }, true},
        {"a sensor lit by the pointer", [](FORM1& f) { f.Model().SetSensor(0, 1); }, true},
        {"a wire being drawn", [](FORM1& f) { f.SetPendingLine(f.BordLines()->CreateLine()); },
         true},
    };
    for (const RestRow& row : rows) {
        SCOPED_TRACE(row.what);
        Start();
        Wire("Drukknop 1 Uit Geel", "LED 1 Ingang");
        row.arrange(*form);
        form->Timer1()->start();
        Tick();
        EXPECT_EQ(form->Timer1()->isActive(), row.keepsTicking);
    }

    // Every kind of event wakes a resting timer, and the interval it runs at stays.
    Start();
    const std::pair<const char*, std::function<void()>> wakers[] = {
        {"pointer move", [this] { Move(10, 10); }},
        {"click", [this] { Down(2, 10, 10); }},
        {"menu command", [this] { Item("mnuRegelen")->trigger(); }},
        {"sound", [this] { emit form->UCWaveIn1()->SoundArrived(); }},
        {"key",
         [this] {
             QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
             QCoreApplication::sendEvent(form.get(), &key);
         }},
    };
    for (const auto& [what, wake] : wakers) {
        SCOPED_TRACE(what);
        form->Timer1()->start();
        Tick();
        ASSERT_FALSE(form->Timer1()->isActive());
        wake();
        EXPECT_TRUE(form->Timer1()->isActive());
        EXPECT_EQ(form->Timer1()->interval(), 10);
    }
}

TEST(SystemClock, ShowsTheLocalTimeOfDay) {
    ClockSource::Install(nullptr);
    const float ours = ClockSource::Current().SecondsSinceMidnight();
    const float qt = static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0F;
    // Within a second, also across midnight.
    const float apart = std::abs(ours - qt);
    EXPECT_TRUE(apart < 1.0F || apart > 86399.0F) << ours << " against " << qt;
}

} // namespace
} // namespace board_test
