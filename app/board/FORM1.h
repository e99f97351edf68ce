#pragma once
// The main window: the board on its sprite canvas, the menus, start-up, the simulation tick,
// the board's snapshot for documents and the undo history, and closing.

#include "app/board/BoardFiles.h"
#include "app/components/PictureLoader.h"
#include "app/components/clsLine.h"
#include "app/documents/BoardDocument.h"
#include "app/documents/UndoHistory.h"
#include "app/simulation/BoardModel.h"
#include "app/simulation/BoardView.h"
#include "app/simulation/WirePalette.h"
#include "platform/ui/Prompter.h"

#include <QMainWindow>
#include <QPoint>
#include <QSize>
#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class BoardPointer;
class KaleidoATL;
class KnobFaces;
class SocketProbe;
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
class frmMeetgrafiek;

/// The one main window. It draws the board model on the canvas Kaleido1, which fills its
/// client area: it builds the board's components in a fixed order by Form_Load, steps the
/// model on the 10 ms timer Timer1, records every change made by clicking in the model's undo
/// history and asks before closing when the board has changed since it was last opened, saved
/// or started. Until Form_Load has succeeded the window holds no board objects, its tick does
/// nothing and its menu commands and pointer events are ignored.
/// Its wires on the canvas (Lines) are the model's wires drawn, in the same order; every
/// change of the wire list goes through the window so that the two stay alike.
class FORM1 : public QMainWindow, private BoardView {
    Q_OBJECT

public:
    using Source = BoardModel::Source;
    static constexpr std::size_t kSourceCount = BoardModel::kSourceCount;
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

    /// Registers the document type for the program at `programPath`; start-up calls it.
    using DocumentTypeRegistrar = std::function<void(const std::string& programPath)>;

    /// Start-up: shows the splash window, sets the title, loads the board picture and builds
    /// the wire layer, display, evaluator, lamps, sensors, cursor and knob, starts listening
    /// to the canvas's pointer, closes the splash, sizes and shows the window, registers the
    /// document type, opens the document named by `commandLine` (the program's arguments as
    /// one line, see BoardFiles::OpenCommandLine), begins a fresh undo history with the board
    /// as it then is and starts Timer1. A command-line document that is missing or cannot be
    /// read is reported and the start-up goes on with an empty board. When a data file cannot
    /// be loaded the user is told which ("Het bestand <pad> kan niet worden geladen. Tavelon
    /// kan niet starten.", title "Fout"), the board objects made so far are dropped, the
    /// window stays hidden and no timer runs; the result is then false and the program should
    /// end. A second call does nothing and returns the first call's result.
    bool Form_Load(std::string_view commandLine = {});

    /// Replaces, for the whole process, what start-up calls to register the document type;
    /// an empty function restores modFileAssoc::RegisterDocumentType. Tests use it so that
    /// no start-up writes into the user's desktop folders.
    static void InstallDocumentTypeRegistrar(DocumentTypeRegistrar registrar);

    /// The Dutch sentence that says why the board could not be built (a picture or the
    /// picture loader missing, or another failure), ending in "Tavelon kan niet starten".
    static std::string StartFailureText(const std::exception& error);
    /// "Tavelon 2.0 demonstratie".
    static std::string ProgramTitle();
    /// True when a finished wire joins sockets a and b, in either direction.
    bool WireExists(std::string_view a, std::string_view b) const;

    /// The board itself: its wires as data, controls, settings, step, document and history.
    BoardModel& Model() { return model_; }
    const BoardModel& Model() const { return model_; }

    /// The tick of Timer1: picks the timer's interval by what lies under the pointer (1000 ms
    /// on the window's own surface: its frame, the window itself or its menu bar; else 10 ms),
    /// moves a pending wire's loose end to the last pointer position, shows or hides the
    /// highlight cursor, copies the open knob's value into its setting, runs one simulation
    /// step, lets the knob close when asked and repaints what changed.
    /// What lies under the pointer is learnt from the enter and leave events of the window,
    /// its menu bar and the canvas; the pointer source is asked only where no event can tell:
    /// while the pointer rests on the frame, and for a sensor lit by the pointer while the
    /// pointer is off the canvas. A tick on a board where nothing changed thus asks the
    /// window system nothing and paints nothing.
    /// Once a tick finds that the next one could not differ from it (the model has settled,
    /// no wire is being drawn, the knob is closed), the timer rests until the next event:
    /// the pointer on the window, a key, a menu command, a buffer of sound, a document.
    void Timer1_Timer();

    /// The board without the window: builds every board object as start-up does, on the
    /// canvas, but shows nothing, registers nothing, opens no document and starts no timer;
    /// the caller ticks with Timer1_Timer. For the headless commands. Passes on the error of
    /// a data file that cannot be loaded (PictureLoadError), with no board objects left. A
    /// second call, or one after Form_Load, does nothing.
    void LoadHidden();
    /// Puts the board back as a fresh start-up leaves it: no wires, no pending wire, the
    /// counter at 0, sensors, lamps and LEDs off, knob settings 0 and the knob hidden at 0,
    /// a new evaluator (memory cell and counter input forgotten), the pulse generator and
    /// the buzzer flag at rest, a fresh undo history. Does nothing without a board.
    void RestartBoard();
    /// Copies the open knob's value, rounded (halves to even), into the setting its tag
    /// names; the tick does this before each step. Nothing when the knob is hidden.
    void TakeKnobValue();
    /// Where the tick takes the pointer to be, as learnt from events.
    enum class PointerPlace { Elsewhere, Canvas, OwnSurface, Frame };
    PointerPlace PointerPlaceNow() const { return pointerPlace_; }

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
    /// The drawn wires, one per wire of the model, in the model's order.
    const WireList& Lines() const { return lines_; }
    /// Puts a finished wire at the end of the list, in the circuit, with no output check and
    /// no undo state.
    void AppendWire(std::shared_ptr<clsLine> line);
    /// Takes wire `index` off the board; nothing for an index past the end.
    void RemoveWire(std::size_t index);
    void ClearWires();
    clsDisplay* Display() const { return display_.get(); }
    /// The model's evaluator; nullptr without a board.
    const clsGraph* Graph() const { return HasBoard() ? &model_.Graph() : nullptr; }
    /// LED k, k = 1 to 4; nullptr for any other k.
    clsLED* LED(int k) const;
    /// Push-button lamp k, k = 1 or 2; nullptr for any other k.
    clsLED* PushButton(int k) const;
    /// Sensor k, k = 1 or 2; nullptr for any other k.
    clsSensor* Sensor(int k) const;
    clsCursor* Cursor() const { return cursor_.get(); }
    clsVoltControl* Knob() const { return knob_.get(); }
    // ---- measuring on the board --------------------------------------------------------------
    /// The three knobs drawn at their settings on the board.
    KnobFaces* Faces() const { return knobFaces_.get(); }
    /// The name and value shown while the pointer rests on a socket or wire; nullptr without
    /// a board.
    SocketProbe* Probe() const;
    /// Draws the wires from now on in `palette`'s voltage colours, the wires already drawn
    /// included, and checks the menu item "Kleuren voor kleurenblinden" for the colour-blind
    /// palette. Passes PictureLoadError on when the colour-blind strips cannot be loaded;
    /// the wires then keep the colours they had.
    void SetWirePalette(WirePalette palette);
    // ------------------------------------------------------------------------------------------
    /// The socket table, made on first use.
    clsSnaps& Snaps();
    /// The measuring graph; nullptr until it was first opened.
    frmMeetgrafiek* Meetgrafiek() const { return meetgrafiek_; }

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
    /// The knobs on the board show each setting as it is written.
    std::int32_t ComparatorValue() const { return model_.ComparatorValue(); }
    void SetComparatorValue(std::int32_t v) {
        model_.SetComparatorValue(v);
        ShowKnobSettings();
    }
    std::int32_t VariableVoltage() const { return model_.VariableVoltage(); }
    void SetVariableVoltage(std::int32_t v) {
        model_.SetVariableVoltage(v);
        ShowKnobSettings();
    }
    std::int32_t PulseGeneratorSetting() const { return model_.PulseGeneratorSetting(); }
    void SetPulseGeneratorSetting(std::int32_t v) {
        model_.SetPulseGeneratorSetting(v);
        ShowKnobSettings();
    }

    /// kModeNewWires, kModeDeleteWires or kModeOperate; kModeNewWires at start.
    std::int32_t EditMode() const { return editMode_; }
    /// The pulse generator's level, 0 or 50.
    std::int32_t PulseLevel() const { return model_.PulseLevel(); }
    /// Whether the buzzer sound is playing; the buzzer on the board then glows.
    bool BuzzerOn() const { return model_.BuzzerOn(); }
    /// The lamp on the buzzer; nullptr before a successful Form_Load and after closing.
    clsLED* BuzzerLamp() const { return buzzerLamp_.get(); }
    /// The sources the last step entered, in the order they were entered; values 0 before
    /// the first step.
    const std::array<Source, kSourceCount>& LastSources() const { return model_.LastSources(); }

    /// Whether the board objects exist: after a successful Form_Load and until closing.
    bool HasBoard() const { return display_ != nullptr; }

    // ---- the board document ----------------------------------------------------------------

    /// What the user has built and set: the wires by socket names in list order, the
    /// display, the sensors, the three knob settings and the two push-button lamps. An empty
    /// document without a board.
    BoardDocument Snapshot() const;
    /// Makes the board show `document`: the wire list is replaced by new wires with the
    /// document's names, placed at the sockets of the socket table (a name the table does not
    /// know gives an end at (0, 0)) in colour 1; the settings are applied only when the
    /// document has them. The pending wire, the knob and the counter display of a document
    /// without settings stay as they are. Does nothing without a board.
    void Apply(const BoardDocument& document);
    /// Writes the board as a board document into `dest`; stream errors (KistError) are passed
    /// on.
    void WriteTo(KistWriter& dest) const;
    /// Reads a board document from `src` and applies it. The board changes only when the
    /// whole document could be read: KistError (BoardDocumentError for impossible values) is
    /// passed on with the board as it was.
    void ReadFrom(KistReader& src);

    /// Opens the document at `path` as BoardFiles::OpenBoard does; true when it did.
    bool OpenBoard(const std::string& path);
    /// The File menu's work and the current document.
    BoardFiles& Files() { return files_; }
    const BoardFiles& Files() const { return files_; }
    /// Shows `path` as the current document: the title becomes ProgramTitle(), " - " and the
    /// path's FileTitle (just ProgramTitle() for ""), and "Bewaren" is enabled exactly when
    /// there is a path.
    void ShowDocument(const std::string& path);

    // ---- undo and redo ---------------------------------------------------------------------

    /// Records the present board in the undo history, dropping the states an undo had left
    /// behind, and sets the enabled states of "Ongedaan maken" and "Herhalen". When the board
    /// cannot be written the user is told ("Fout"), the history stays as it was and the
    /// result is false.
    bool Undo_AddThisState();
    /// Forgets the undo history and records the present board as its first state; the board
    /// counts as kept (closing asks nothing) until it changes.
    void StartNewHistory();
    /// Notes that the board as it is now has been written to the current document.
    void MarkSaved();
    /// Position in the undo history of the board state shown; 1 after start-up, New and
    /// Open.
    std::int32_t UndoIndex() const { return model_.History().Index(); }
    const UndoHistory& History() const { return model_.History(); }
    /// Whether closing should ask to keep the board: the board, its settings included,
    /// differs from the one last opened, saved or started with.
    bool HasUnsavedChanges() const;

    /// The text CorrectInputOutput shows for `lines`: "" when no two outputs are wired
    /// together, else "Je begaat een fout: ..." with the outputs of every group.
    static std::string OutputConflictText(const WireList& lines, const clsSnaps& snaps);
    /// Checks that no two outputs are wired together. When some are, shows "Je begaat een
    /// fout: Je hebt 2 of meer uitgangen aan elkaar verbonden." with the outputs of every
    /// group (title "Tavelon", no icon) and returns false.
    bool CorrectInputOutput();
    /// Adds the finished wire `line` unless it joins two or more outputs. Added, the board is
    /// recorded in the undo history and the result is true. Refused, the user is told as
    /// CorrectInputOutput tells, and the board, its settings, the counter and the undo
    /// history stay exactly as they were before the wire; the result is false. While that
    /// message is shown the refused wire is drawn but takes no part in the circuit.
    bool AddWire(const std::shared_ptr<clsLine>& line);

public slots:
    /// "Nieuw" and "Openen". When the board has unsaved changes they first ask as closing
    /// does: Ja saves as "Bewaren" does and goes on only when the board was saved, Nee goes
    /// on, Annuleren changes nothing.
    void mnuNieuw_Click();
    void mnuOpenen_Click();
    void mnuBewaren_Click();
    void mnuBewarenAls_Click();
    /// Closes the window as the window's close button does, with the same question.
    void mnuSluiten_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();
    /// The sound input chooser for UCWaveIn1, modally; a new window each time.
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
    /// Switches between the usual and the colour-blind wire colours, keeps the choice in the
    /// user's settings and shows it in an open help window's colour legend.
    void mnuKleurenblind_Click();
    /// Shows the "Meetgrafiek" window (made on first use) and brings it to the front.
    void mnuMeetgrafiek_Click();

protected:
    /// With HasUnsavedChanges() asks "Dit tavelon bewaren?" (Yes, No, Cancel; title: the
    /// application's name): Yes saves under a new name and keeps the window open, No closes,
    /// Cancel keeps the window open. Closing drops every board object and stops the timer.
    void closeEvent(QCloseEvent* event) override;
    /// Enter and leave of the window itself.
    bool event(QEvent* event) override;
    /// Enter and leave of the canvas and the menu bar.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenus();
    /// Loads the board picture and builds every board object; passes PictureLoadError on.
    void BuildBoard();
    /// Sizes the window for the board at InitialBoardScale and centres its client area on the
    /// screen's free area.
    void SizeToScreen();
    /// One simulation step of the model, with the clock, the sound level and the pointer.
    void SimulateStep();
    /// Whether the tick may stop until the next event: see Timer1_Timer.
    bool MayRest() const;
    /// Starts a resting timer again; nothing before Form_Load has started it.
    void Wake();

    // What the model tells its drawing.
    void WireColored(std::size_t index, std::int32_t color) override;
    void CounterChanged(std::int32_t digit) override;
    void LedChanged(std::size_t k, bool on) override;
    void BuzzerChanged(bool on) override;
    void PushButtonChanged(std::size_t k, bool on) override;
    void SensorChanged(std::size_t k, std::int32_t mode) override;
    /// The board pixel under the pointer, rounded down as pointer events are: from the
    /// canvas's own events while the pointer is over it, else asked of the pointer source.
    QPoint PointerBoardPixel() const;
    /// Where the pointer is once it has left the window's inside: on the frame, or elsewhere.
    PointerPlace PlaceOutsideInside() const;
    /// Work that can wait until the board has been painted once: the desktop association.
    void AfterFirstPaint();
    /// Drops every board object, stops the timer and forgets the pending wire.
    void ClearObjects();
    void SelectEditMode(std::int32_t mode);
    /// With HasUnsavedChanges() asks "Dit tavelon bewaren?" (Ja, Nee, Annuleren; title: the
    /// application's name) and returns the answer; No when there is nothing to keep.
    Prompter::Answer AskToKeepBoard();
    /// Before New or Open replace the board: true when the board may go, because it has no
    /// unsaved changes, the user chose Nee, or Ja and the save succeeded.
    bool MayReplaceBoard();
    void UpdateUndoMenu();
    /// Lets the knobs on the board show the present settings.
    void ShowKnobSettings();
    /// Restores a state through `step` (undo or redo) and says when there was none to
    /// restore; a state that cannot be read is reported with `what` ("Ongedaan maken",
    /// "Herhalen") and changes nothing.
    void RestoreState(const char* what, const std::function<UndoHistory::Outcome()>& step);

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
    QAction* mnuKleurenblind_ = nullptr;
    QAction* mnuMeetgrafiek_ = nullptr;
    /// Owned as a child window.
    frmMeetgrafiek* meetgrafiek_ = nullptr;
    QMenu* mnuCursor_ = nullptr;
    QAction* mnuRegelen_ = nullptr;
    QAction* mnuNieuweVerbindingen_ = nullptr;
    QAction* mnuVerwijderVerbindingen_ = nullptr;
    QMenu* mnuHelp_ = nullptr;
    QAction* mnuHelpInfo_ = nullptr;
    QAction* mnuUitleg_ = nullptr;
    QAction* mnuHelpAbout_ = nullptr;

    // Declared so that objects are destroyed before what they use: wires before their line
    // drawer, the model before the components it draws on.
    PictureLoader loader_;
    std::int32_t boardSprite_ = 0;
    std::unique_ptr<clsBordLines> bordLines_;
    std::unique_ptr<clsDisplay> display_;
    std::array<std::unique_ptr<clsLED>, 4> leds_;
    std::array<std::unique_ptr<clsLED>, 2> pushButtons_;
    /// Lit on the buzzer while it sounds.
    std::unique_ptr<clsLED> buzzerLamp_;
    std::array<std::unique_ptr<clsSensor>, 2> sensors_;
    std::unique_ptr<clsSnaps> snaps_;
    std::unique_ptr<clsCursor> cursor_;
    std::unique_ptr<clsVoltControl> knob_;
    std::unique_ptr<KnobFaces> knobFaces_;
    WireList lines_;
    std::shared_ptr<clsLine> pendingLine_;
    std::unique_ptr<BoardPointer> pointer_;

    BoardModel model_;
    BoardFiles files_{*this};

    std::int32_t editMode_ = kModeNewWires;

    std::int32_t lastPointerX_ = 0;
    std::int32_t lastPointerY_ = 0;
    std::int32_t hoverX_ = 0;
    std::int32_t hoverY_ = 0;
    bool hover_ = false;
    PointerPlace pointerPlace_ = PointerPlace::Elsewhere;
    bool afterFirstPaintDone_ = false;
    /// Set once Form_Load has started the tick; the hidden board of the headless commands
    /// never ticks by itself.
    bool ticking_ = false;

    /// The buzzer's two sounds, full paths made once at start-up.
    std::string ringPath_;
    std::string silencePath_;

    bool loadTried_ = false;
    bool loaded_ = false;
};
