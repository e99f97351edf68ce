#pragma once
// The main window: the board on its sprite canvas, the menus, start-up, the simulation tick
// and closing.

#include "app/components/PictureLoader.h"
#include "app/components/clsLine.h"
#include "app/simulation/PulseGenerator.h"

#include <QMainWindow>
#include <QPoint>
#include <QSize>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class KaleidoATL;
class QAction;
class QMenu;
class QTimer;
class UCWaveIn;
class clsBordLines;
class clsCursor;
class clsDisplay;
class clsGraph;
class clsLED;
class clsSensor;
class clsSnaps;
class clsVoltControl;

/// The one main window. It owns every board object, builds them in a fixed order by
/// Form_Load, keeps the canvas Kaleido1 filling its client area, runs the simulation on the
/// 10 ms timer Timer1 and asks before closing when the board has changed. Until Form_Load has
/// succeeded the window holds no board objects and its tick does nothing.
class FORM1 : public QMainWindow {
    Q_OBJECT

public:
    /// One source of the simulation step: a socket and the value entered for it.
    struct Source {
        std::string_view naam;
        std::int32_t Value = 0;
    };
    static constexpr std::size_t kSourceCount = 11;
    /// Edit modes chosen in the Cursor menu.
    static constexpr std::int32_t kModeNewWires = 0;
    static constexpr std::int32_t kModeDeleteWires = 1;
    static constexpr std::int32_t kModeOperate = 2;
    /// The largest whole scale the first window gives the board, and the part of the screen's
    /// free area the window may take.
    static constexpr double kMaxInitialScale = 2.5;
    static constexpr double kScreenShare = 0.85;

    /// The window with its menus, canvas, timer (stopped) and sound control; no board yet.
    explicit FORM1(QWidget* parent = nullptr);
    ~FORM1() override;

    /// Start-up: shows the splash window, sets the title, loads the board picture and builds
    /// the wire layer, display, evaluator, lamps, sensors, cursor and knob, closes the splash,
    /// sizes and shows the window and starts Timer1. When a data file cannot be loaded the
    /// user is told which ("Het bestand <pad> kan niet worden geladen. Tavelon kan niet
    /// starten.", title "Fout"), the board objects made so far are dropped, the window stays
    /// hidden and no timer runs; the result is then false and the program should end. A
    /// second call does nothing and returns the first call's result.
    bool Form_Load();

    /// "Tavelon 2.0 demonstratie".
    static std::string ProgramTitle();
    /// True when a finished wire joins sockets a and b, in either direction.
    bool WireExists(std::string_view a, std::string_view b) const;

    /// The tick of Timer1: picks the timer's interval by what lies under the pointer (1000 ms
    /// on the window's own surface: its frame, the window itself or its menu bar; else 10 ms),
    /// moves a pending wire's loose end to the last pointer position, shows or hides the
    /// highlight cursor, copies the open knob's value into its setting, runs one simulation
    /// step, lets the knob close when asked and repaints what changed.
    void Timer1_Timer();

    /// The whole scale, at least 1 and at most kMaxInitialScale, at which a window holding a
    /// board of `board` pixels plus `chrome` (menu bar, frame) fits in kScreenShare of
    /// `available` in both directions.
    static int InitialBoardScale(QSize board, QSize available, QSize chrome);

    /// The canvas, the timer and the sound control; they live as long as the window.
    KaleidoATL* Kaleido1() const { return kaleido1_; }
    QTimer* Timer1() const { return timer1_; }
    UCWaveIn* UCWaveIn1() const { return ucWaveIn1_; }

    /// Board objects; nullptr (or empty) before a successful Form_Load and after closing.
    clsBordLines* BordLines() const { return bordLines_.get(); }
    WireList& Lines() { return lines_; }
    const WireList& Lines() const { return lines_; }
    clsDisplay* Display() const { return display_.get(); }
    clsGraph* Graph() const { return graph_.get(); }
    /// LED k, k = 1 to 4; nullptr for any other k.
    clsLED* LED(int k) const;
    /// Push-button lamp k, k = 1 or 2; nullptr for any other k.
    clsLED* PushButton(int k) const;
    /// Sensor k, k = 1 or 2; nullptr for any other k.
    clsSensor* Sensor(int k) const;
    clsCursor* Cursor() const { return cursor_.get(); }
    clsVoltControl* Knob() const { return knob_.get(); }
    /// The socket table, made on first use.
    clsSnaps& Snaps();

    /// The wire being drawn, or nullptr. Its second end follows the last pointer position on
    /// every tick.
    const std::shared_ptr<clsLine>& PendingLine() const { return pendingLine_; }
    void SetPendingLine(std::shared_ptr<clsLine> line) { pendingLine_ = std::move(line); }
    /// Where the pointer was last seen on the board, in board pixels.
    void SetLastPointer(std::int32_t x, std::int32_t y);
    /// Whether the pointer rests on a socket or control, and that point's board position;
    /// the highlight cursor follows it on every tick.
    void SetHover(bool hover, std::int32_t x, std::int32_t y);

    /// The three knob settings, 0 to 50 each; 0 for a new board.
    std::int32_t ComparatorValue() const { return comparatorValue_; }
    void SetComparatorValue(std::int32_t v) { comparatorValue_ = v; }
    std::int32_t VariableVoltage() const { return variableVoltage_; }
    void SetVariableVoltage(std::int32_t v) { variableVoltage_ = v; }
    std::int32_t PulseGeneratorSetting() const { return pulseSetting_; }
    void SetPulseGeneratorSetting(std::int32_t v) { pulseSetting_ = v; }

    /// kModeNewWires, kModeDeleteWires or kModeOperate; kModeNewWires at start.
    std::int32_t EditMode() const { return editMode_; }
    /// The pulse generator's level, 0 or 50.
    std::int32_t PulseLevel() const { return pulse_.Level(); }
    /// Whether the buzzer sound is playing.
    bool BuzzerOn() const { return buzzer_; }
    /// The sources the last step entered, in the order they were entered; values 0 before
    /// the first step.
    const std::array<Source, kSourceCount>& LastSources() const { return sources_; }

    /// Position in the undo history of the board state shown; 1 while nothing has changed
    /// since start-up. Closing asks to keep the board only when it is above 1.
    std::int32_t UndoIndex() const { return 1; }

public slots:
    void mnuNieuw_Click();
    void mnuOpenen_Click();
    void mnuBewaren_Click();
    void mnuBewarenAls_Click();
    /// Closes the window as the window's close button does, with the same question.
    void mnuSluiten_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuGeluidSensor_Click();
    /// Operate mode.
    void mnuRegelen_Click();
    /// New-wires mode; every wire loses its highlight.
    void mnuNieuweVerbindingen_Click();
    /// Delete-wires mode.
    void mnuVerwijderVerbindingen_Click();
    /// The information window, modally.
    void mnuHelpInfo_Click();
    /// The shared help window with the Dutch page, without waiting.
    void mnuUitleg_Click();
    /// Tells the user about the web site and opens it.
    void mnuHelpAbout_Click();

protected:
    /// With UndoIndex() above 1 asks "Dit tavelon bewaren?" (Yes, No, Cancel; title: the
    /// application's name): Yes saves under a new name and keeps the window open, No closes,
    /// Cancel keeps the window open. Closing drops every board object and stops the timer.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    /// Loads the board picture and builds every board object; passes PictureLoadError on.
    void BuildBoard();
    /// Sizes the window for the board at InitialBoardScale and centres its client area on the
    /// screen's free area.
    void SizeToScreen();
    /// One simulation step; `pointer` is the pointer's screen position of this tick.
    void SimulateStep(QPoint pointer);
    /// The board pixel under a point of the screen, rounded down as pointer events are.
    QPoint BoardPixel(QPoint global) const;
    /// Drops every board object, stops the timer and forgets the pending wire.
    void ClearObjects();
    /// Whether the pointer at `global`, with `under` the widget there, rests on the window's
    /// own surface: the window itself, its menu bar, or its frame.
    bool IsOwnSurface(const QWidget* under, QPoint global) const;
    void SelectEditMode(std::int32_t mode);

    KaleidoATL* kaleido1_ = nullptr;
    QTimer* timer1_ = nullptr;
    UCWaveIn* ucWaveIn1_ = nullptr;

    QMenu* mnuBestand_ = nullptr;
    QAction* mnuNieuw_ = nullptr;
    QAction* mnuOpenen_ = nullptr;
    QAction* mnuBewaren_ = nullptr;
    QAction* mnuBewarenAls_ = nullptr;
    QAction* mnuSluiten_ = nullptr;
    QMenu* mnuBewerken_ = nullptr;
    QAction* mnuUndo_ = nullptr;
    QAction* mnuRedo_ = nullptr;
    QAction* mnuGeluidSensor_ = nullptr;
    QMenu* mnuCursor_ = nullptr;
    QAction* mnuRegelen_ = nullptr;
    QAction* mnuNieuweVerbindingen_ = nullptr;
    QAction* mnuVerwijderVerbindingen_ = nullptr;
    QMenu* mnuHelp_ = nullptr;
    QAction* mnuHelpInfo_ = nullptr;
    QAction* mnuUitleg_ = nullptr;
    QAction* mnuHelpAbout_ = nullptr;

    // Declared so that objects are destroyed before what they use: wires before their line
    // drawer, the evaluator before the display it counts on.
    PictureLoader loader_;
    std::int32_t boardSprite_ = 0;
    std::unique_ptr<clsBordLines> bordLines_;
    std::unique_ptr<clsDisplay> display_;
    std::array<std::unique_ptr<clsLED>, 4> leds_;
    std::array<std::unique_ptr<clsLED>, 2> pushButtons_;
    std::array<std::unique_ptr<clsSensor>, 2> sensors_;
    std::unique_ptr<clsSnaps> snaps_;
    std::unique_ptr<clsGraph> graph_;
    std::unique_ptr<clsCursor> cursor_;
    std::unique_ptr<clsVoltControl> knob_;
    WireList lines_;
    std::shared_ptr<clsLine> pendingLine_;

    std::int32_t comparatorValue_ = 0;
    std::int32_t variableVoltage_ = 0;
    std::int32_t pulseSetting_ = 0;
    std::int32_t editMode_ = kModeNewWires;

    std::int32_t lastPointerX_ = 0;
    std::int32_t lastPointerY_ = 0;
    std::int32_t hoverX_ = 0;
    std::int32_t hoverY_ = 0;
    bool hover_ = false;

    PulseGenerator pulse_;
    bool buzzer_ = false;
    std::array<Source, kSourceCount> sources_;
    /// The buzzer's two sounds, full paths made once at start-up.
    std::string ringPath_;
    std::string silencePath_;

    bool loadTried_ = false;
    bool loaded_ = false;
};
