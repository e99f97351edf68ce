#include "app/board/FORM1.h"

#include "app/board/BoardPointer.h"
#include "app/board/SocketProbe.h"
#include "app/board/WireColourSetting.h"
#include "app/board/clsCursor.h"
#include "app/board/frmMeetgrafiek.h"
#include "app/board/modMain.h"
#include "app/components/KnobFaces.h"
#include "app/components/PictureLoadError.h"
#include "app/components/clsBordLines.h"
#include "app/components/clsDisplay.h"
#include "app/components/clsLED.h"
#include "app/components/clsSensor.h"
#include "app/components/clsVoltControl.h"
#include "app/documents/modFileAssoc.h"
#include "app/info/HelpMenu.h"
#include "app/info/frmHelp.h"
#include "app/info/frmSplash.h"
#include "app/simulation/Rounding.h"
#include "app/simulation/SocketTable.h"
#include "app/simulation/clsGraph.h"
#include "app/simulation/clsSnaps.h"
#include "app/sound/UCWaveIn.h"
#include "app/sound/frmWaveInputs.h"
#include "platform/ui/ClockSource.h"
#include "platform/ui/PointerSource.h"
#include "platform/ui/ProgramFolder.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/SoundPlayer.h"
#include "sprite_control/KaleidoATL.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr int kTickFast = 10;
constexpr int kTickSlow = 1000;
/// Milliseconds after start-up by which the work deferred until the first paint has run.
constexpr int kAfterFirstPaintLimit = 1000;

struct Place {
    std::int32_t x;
    std::int32_t y;
};

constexpr std::array<Place, 4> kLedPlaces = {{{373, 27}, {373, 61}, {373, 95}, {373, 130}}};
constexpr std::array<Place, 2> kPushButtonPlaces = {{{14, 164}, {13, 198}}};
constexpr std::array<Place, 2> kSensorPlaces = {{{20, 25}, {20, 78}}};
/// The lamp that glows on the buzzer while it sounds, centred on the buzzer's body.
constexpr Place kBuzzerLampPlace = {364, 181};

float Clock() {
    return ClockSource::Current().SecondsSinceMidnight();
}

FORM1::DocumentTypeRegistrar& InstalledRegistrar() {
    static FORM1::DocumentTypeRegistrar registrar;
    return registrar;
}

void TellError(const std::string& text) {
    Prompter::Current().Message(text, "Fout", Prompter::Buttons::Ok, Prompter::Icon::Error);
}

void TellOutputConflict(const std::string& text) {
    Prompter::Current().Message(text, "Tavelon", Prompter::Buttons::Ok, Prompter::Icon::None);
}

/// A board coordinate rounded down, kept within a range where differences cannot overflow.
std::int32_t BoardPixelCoordinate(qreal v) {
    if (!std::isfinite(v)) {
        return 0;
    }
    return static_cast<std::int32_t>(std::clamp(std::floor(v), -1e9, 1e9));
}

} // namespace

FORM1::FORM1(QWidget* parent)
    : QMainWindow(parent), kaleido1_(new KaleidoATL(this)), timer1_(new QTimer(this)),
      ucWaveIn1_(new UCWaveIn(this)) {
    setObjectName("FORM1");
    kaleido1_->setObjectName("Kaleido1");
    setCentralWidget(kaleido1_);
    timer1_->setObjectName("Timer1");
    timer1_->setInterval(kTickFast);
    connect(timer1_, &QTimer::timeout, this, &FORM1::Timer1_Timer);
    ucWaveIn1_->setObjectName("UCWaveIn1");
    kaleido1_->installEventFilter(this);
    menuBar()->installEventFilter(this);
    CreateMenus();
}

FORM1::~FORM1() {
    ClearObjects();
}

void FORM1::CreateMenus() {
    const auto item = [this](QMenu* menu, const char* name, const char* caption,
                             void (FORM1::*slot)()) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        connect(action, &QAction::triggered, this, &FORM1::Wake);
        return action;
    };
    const auto menu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(QString::fromUtf8(caption));
        m->setObjectName(name);
        return m;
    };
    const auto separator = [](QMenu* m, const char* name) {
        m->addSeparator()->setObjectName(name);
    };

    mnuBestand_ = menu("mnuBestand", "&Bestand");
    mnuNieuw_ = item(mnuBestand_, "mnuNieuw", "Nieuw", &FORM1::mnuNieuw_Click);
    mnuNieuw_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuOpenen_ = item(mnuBestand_, "mnuOpenen", "Openen", &FORM1::mnuOpenen_Click);
    mnuOpenen_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuBewaren_ = item(mnuBestand_, "mnuBewaren", "Bewaren", &FORM1::mnuBewaren_Click);
    mnuBewaren_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuBewaren_->setEnabled(false);
    mnuBewarenAls_ =
        item(mnuBestand_, "mnuBewarenAls", "Bewaren als..", &FORM1::mnuBewarenAls_Click);
    separator(mnuBestand_, "mnuSep1");
    mnuSluiten_ = item(mnuBestand_, "mnuSluiten", "Sluiten", &FORM1::mnuSluiten_Click);

    mnuBewerken_ = menu("mnuBewerken", "Be&werken");
    mnuUndo_ = item(mnuBewerken_, "mnuUndo", "&Ongedaan maken", &FORM1::mnuUndo_Click);
    mnuUndo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuRedo_ = item(mnuBewerken_, "mnuRedo", "&Herhalen", &FORM1::mnuRedo_Click);
    mnuRedo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    // A fresh board has nothing to undo or redo.
    mnuUndo_->setEnabled(false);
    mnuRedo_->setEnabled(false);
    separator(mnuBewerken_, "mnuSep2");
    mnuGeluidSensor_ =
        item(mnuBewerken_, "mnuGeluidSensor", "GeluidSensor", &FORM1::mnuGeluidSensor_Click);
    mnuMeetgrafiek_ =
        item(mnuBewerken_, "mnuMeetgrafiek", "&Meetgrafiek", &FORM1::mnuMeetgrafiek_Click);
    mnuMeetgrafiek_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    // ---- measuring: the wire colours for colour blindness ----
    mnuKleurenblind_ = item(mnuBewerken_, "mnuKleurenblind", "Kleuren voor kleurenblinden",
                            &FORM1::mnuKleurenblind_Click);
    mnuKleurenblind_->setCheckable(true);

    mnuCursor_ = menu("mnuCursor", "Cursor");
    mnuRegelen_ = item(mnuCursor_, "mnuRegelen", "Regelen", &FORM1::mnuRegelen_Click);
    mnuNieuweVerbindingen_ = item(mnuCursor_, "mnuNieuweVerbindingen", "Nieuwe verbindingen",
                                  &FORM1::mnuNieuweVerbindingen_Click);
    mnuVerwijderVerbindingen_ =
        item(mnuCursor_, "mnuVerwijderVerbindingen", "Verwijder verbindingen",
             &FORM1::mnuVerwijderVerbindingen_Click);
    for (QAction* mode : {mnuRegelen_, mnuNieuweVerbindingen_, mnuVerwijderVerbindingen_}) {
        mode->setCheckable(true);
    }
    mnuNieuweVerbindingen_->setChecked(true);

    mnuHelp_ = menu("mnuHelp", "&Help");
    mnuHelpInfo_ = item(mnuHelp_, "mnuHelpInfo", "Info", &FORM1::mnuHelpInfo_Click);
    mnuUitleg_ = item(mnuHelp_, "mnuUitleg", "Uitleg", &FORM1::mnuUitleg_Click);
    mnuHelpAbout_ =
        item(mnuHelp_, "mnuHelpAbout", "Op internet: Over Tavelon", &FORM1::mnuHelpAbout_Click);
}

std::string FORM1::StartFailureText(const std::exception& error) {
    const auto* picture = dynamic_cast<const PictureLoadError*>(&error);
    if (picture == nullptr) {
        return std::string("Tavelon kan niet starten: ") + error.what();
    }
    if (picture->Component().empty()) {
        return "Het bestand " + picture->File() +
               " kan niet worden geladen. Tavelon kan niet starten.";
    }
    return "Het onderdeel " + picture->Component() +
           " (plaatjes laden) kan niet worden gemaakt: " + picture->Reason() +
           ". Tavelon kan niet starten.";
}

std::string FORM1::ProgramTitle() {
    return "Tavelon 2.0 demonstratie";
}

// ---- start-up ------------------------------------------------------------------------------

void FORM1::InstallDocumentTypeRegistrar(DocumentTypeRegistrar registrar) {
    InstalledRegistrar() = std::move(registrar);
}

bool FORM1::Form_Load(std::string_view commandLine) {
    if (loadTried_) {
        return loaded_;
    }
    loadTried_ = true;

    frmSplash splash;
    splash.show();
    QCoreApplication::processEvents();

    setWindowTitle(QString::fromStdString(ProgramTitle()));
    try {
        BuildBoard();
    } catch (const std::exception& error) {
        splash.close();
        ClearObjects();
        std::fprintf(stderr, "tavsim: %s\n", error.what());
        Prompter::Current().Message(StartFailureText(error), "Fout", Prompter::Buttons::Ok,
                                    Prompter::Icon::Error);
        return false;
    }
    hover_ = false;
    // After the knob, which listens to the canvas itself and must see each event first.
    pointer_ = std::make_unique<BoardPointer>(*this);
    // ---- measuring: the wire colours the user chose last time ----
    if (const WirePalette chosen = WireColourSetting::Load(); chosen != WirePalette::Normal) {
        try {
            SetWirePalette(chosen);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "tavsim: %s\n", error.what());
        }
    }

    splash.close();
    SizeToScreen();
    show();

    files_.OpenCommandLine(commandLine);
    StartNewHistory();
    connect(kaleido1_, &KaleidoATL::PointerDown, this, &FORM1::Wake);
    connect(kaleido1_, &KaleidoATL::PointerMove, this, &FORM1::Wake);
    connect(ucWaveIn1_, &UCWaveIn::SoundArrived, this, &FORM1::Wake);
    ticking_ = true;
    timer1_->start();
    loaded_ = true;
    // What waits for the first paint runs a second later at the latest, also when the
    // window is never painted.
    QTimer::singleShot(kAfterFirstPaintLimit, this, &FORM1::AfterFirstPaint);
    return true;
}

void FORM1::AfterFirstPaint() {
    if (afterFirstPaintDone_) {
        return;
    }
    afterFirstPaintDone_ = true;
    // The path users start the program by: installed, the launcher link, not the program
    // it leads to.
    const std::string program = ProgramFolder::Launcher();
    if (const DocumentTypeRegistrar& registrar = InstalledRegistrar()) {
        registrar(program);
    } else {
        modFileAssoc::RegisterDocumentType(program);
    }
}

void FORM1::BuildBoard() {
    const std::int32_t board = loader_.Load(*kaleido1_, "/images2/Bord.bmp");
    boardSprite_ = kaleido1_->CreateSprite(board);
    kaleido1_->SetBoardSize(kaleido1_->BitmapWidth(board), kaleido1_->BitmapHeight(board));
    // The window never becomes smaller than the board at its own size.
    kaleido1_->setMinimumSize(kaleido1_->BoardSize());

    bordLines_ = std::make_unique<clsBordLines>();
    bordLines_->Constructor(*kaleido1_);
    display_ = std::make_unique<clsDisplay>();
    display_->Constructor(*kaleido1_);
    display_->SetValue(model_.Counter());
    for (std::size_t k = 0; k < leds_.size(); ++k) {
        leds_[k] = std::make_unique<clsLED>();
        leds_[k]->Constructor(*kaleido1_, kLedPlaces[k].x, kLedPlaces[k].y);
        leds_[k]->SetValue(model_.Led(k));
    }
    for (std::size_t k = 0; k < pushButtons_.size(); ++k) {
        pushButtons_[k] = std::make_unique<clsLED>();
        pushButtons_[k]->Constructor(*kaleido1_, kPushButtonPlaces[k].x, kPushButtonPlaces[k].y);
        pushButtons_[k]->SetValue(model_.PushButton(k));
    }
    buzzerLamp_ = std::make_unique<clsLED>();
    buzzerLamp_->Constructor(*kaleido1_, kBuzzerLampPlace.x, kBuzzerLampPlace.y);
    for (std::size_t k = 0; k < sensors_.size(); ++k) {
        sensors_[k] = std::make_unique<clsSensor>();
        sensors_[k]->Constructor(*kaleido1_, kSensorPlaces[k].x, kSensorPlaces[k].y);
        sensors_[k]->SetValue(model_.Sensor(k));
    }
    cursor_ = std::make_unique<clsCursor>();
    cursor_->Constructor(*kaleido1_);
    knob_ = std::make_unique<clsVoltControl>();
    knob_->Constructor(*kaleido1_);
    knob_->Hide();
    knob_->SetValue(0);
    knobFaces_ = std::make_unique<KnobFaces>();
    knobFaces_->Constructor(*kaleido1_);
    ShowKnobSettings();

    ringPath_ = PictureLoader::DataPath("/Ringin.wav");
    silencePath_ = PictureLoader::DataPath("/SILENCE.wav");
    model_.SetView(this);
}

void FORM1::LoadHidden() {
    if (loadTried_) {
        return;
    }
    loadTried_ = true;
    try {
        BuildBoard();
    } catch (...) {
        ClearObjects();
        throw;
    }
    hover_ = false;
    pointer_ = std::make_unique<BoardPointer>(*this);
    StartNewHistory();
    loaded_ = true;
}

void FORM1::RestartBoard() {
    if (!HasBoard()) {
        return;
    }
    pendingLine_.reset();
    files_.New();
    knob_->SetValue(0);
    model_.Restart();
    ShowKnobSettings();
    hover_ = false;
    SelectEditMode(kModeNewWires);
}

int FORM1::InitialBoardScale(QSize board, QSize available, QSize chrome) {
    const double maxWidth = available.width() * kScreenShare;
    const double maxHeight = available.height() * kScreenShare;
    for (int scale = static_cast<int>(kMaxInitialScale); scale > 1; --scale) {
        const QSize window = board * scale + chrome;
        if (window.width() <= maxWidth && window.height() <= maxHeight) {
            return scale;
        }
    }
    return 1;
}

void FORM1::SizeToScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize board = kaleido1_->BoardSize();
    if (screen == nullptr || board.isEmpty()) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize chrome(0, menuBar()->sizeHint().height());
    const int scale = InitialBoardScale(board, available.size(), chrome);
    setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, board * scale + chrome, available));
}

// ---- the tick ------------------------------------------------------------------------------

FORM1::PointerPlace FORM1::PlaceOutsideInside() const {
    // The title bar and the border are no widgets of ours, but they are the window's; only
    // the window system can tell where the pointer went.
    const QPoint global = PointerSource::Current().GlobalPosition();
    const bool onFrame =
        isVisible() && frameGeometry().contains(global) && !geometry().contains(global);
    return onFrame ? PointerPlace::Frame : PointerPlace::Elsewhere;
}

bool FORM1::event(QEvent* event) {
    if (event->type() == QEvent::Enter) {
        pointerPlace_ = PointerPlace::OwnSurface;
        Wake();
    } else if (event->type() == QEvent::Leave) {
        pointerPlace_ = PlaceOutsideInside();
        Wake();
    } else if (event->type() == QEvent::KeyPress) {
        Wake();
    }
    return QMainWindow::event(event);
}

bool FORM1::eventFilter(QObject* watched, QEvent* event) {
    const bool canvas = watched == kaleido1_;
    if (canvas || watched == menuBar()) {
        if (event->type() == QEvent::Enter) {
            pointerPlace_ = canvas ? PointerPlace::Canvas : PointerPlace::OwnSurface;
            Wake();
        } else if (event->type() == QEvent::Leave) {
            // Still inside the window, unless a menu opened over it or the window's own
            // leave follows.
            pointerPlace_ = QApplication::activePopupWidget() != nullptr ? PointerPlace::Elsewhere
                                                                         : PointerPlace::OwnSurface;
            Wake();
        }
    }
    if (canvas && event->type() == QEvent::Paint && !afterFirstPaintDone_ && loaded_) {
        QTimer::singleShot(0, this, &FORM1::AfterFirstPaint);
    }
    return QMainWindow::eventFilter(watched, event);
}

void FORM1::Timer1_Timer() {
    if (!HasBoard()) {
        return;
    }
    if (pointerPlace_ == PointerPlace::Frame) {
        // No event tells when the pointer leaves the frame for the world outside.
        pointerPlace_ = PlaceOutsideInside();
    }
    const bool ownSurface =
        pointerPlace_ == PointerPlace::OwnSurface || pointerPlace_ == PointerPlace::Frame;
    const int interval = ownSurface ? kTickSlow : kTickFast;
    if (timer1_->interval() != interval) {
        timer1_->setInterval(interval);
    }

    // Sprites rebuilt the same within the tick cost no repaint; what changed is painted once.
    KaleidoATL::Batch batch(*kaleido1_);
    if (pendingLine_) {
        pendingLine_->SetCoords(2, lastPointerX_, lastPointerY_);
    }
    if (hover_) {
        cursor_->ShowPoint(hoverX_, hoverY_);
    } else {
        cursor_->Hide();
    }
    TakeKnobValue();
    SimulateStep();
    // ---- measuring: the probe shows this step's value ----
    if (SocketProbe* probe = Probe()) {
        probe->Refresh();
    }
    if (meetgrafiek_ != nullptr) {
        meetgrafiek_->Tick();
    }
    knob_->Update();
    if (MayRest()) {
        timer1_->stop();
    }
}

bool FORM1::MayRest() const {
    // A probe waiting for the pointer to rest needs the ticks that will show it.
    const SocketProbe* probe = Probe();
    return ticking_ && model_.Settled() && !pendingLine_ && !knob_->Visible() &&
           !(probe != nullptr && probe->Waiting());
}

void FORM1::Wake() {
    if (ticking_ && HasBoard() && !timer1_->isActive()) {
        timer1_->start();
    }
}

void FORM1::mnuMeetgrafiek_Click() {
    if (!meetgrafiek_) {
        meetgrafiek_ = new frmMeetgrafiek(*this, this);
    }
    meetgrafiek_->show();
    meetgrafiek_->raise();
    meetgrafiek_->activateWindow();
}

void FORM1::TakeKnobValue() {
    if (!knob_ || !knob_->Visible()) {
        return;
    }
    if (std::int32_t* setting = model_.KnobSetting(knob_->tag)) {
        *setting = RoundHalfEven(knob_->Value());
    }
    ShowKnobSettings();
}

void FORM1::ShowKnobSettings() {
    if (knobFaces_) {
        knobFaces_->ShowAll(model_.ComparatorValue(), model_.VariableVoltage(),
                            model_.PulseGeneratorSetting());
    }
}

QPoint FORM1::PointerBoardPixel() const {
    std::optional<QPointF> board;
    if (pointerPlace_ == PointerPlace::Canvas) {
        board = kaleido1_->PointerPosition();
    }
    if (!board) {
        board = kaleido1_->BoardPointFromGlobal(PointerSource::Current().GlobalPosition());
    }
    return {BoardPixelCoordinate(board->x()), BoardPixelCoordinate(board->y())};
}

void FORM1::SimulateStep() {
    BoardModel::StepInput input;
    input.clock = Clock;
    input.sound = ucWaveIn1_->GetVolume();
    input.pointer = [this]() -> std::optional<BoardModel::Point> {
        const QPoint p = PointerBoardPixel();
        return BoardModel::Point{p.x(), p.y()};
    };
    model_.Step(input);
}

void FORM1::WireColored(std::size_t index, std::int32_t color) {
    lines_[index]->SetColor(color);
}

void FORM1::CounterChanged(std::int32_t digit) {
    display_->SetValue(digit);
}

void FORM1::LedChanged(std::size_t k, bool on) {
    leds_[k]->SetValue(on);
}

void FORM1::BuzzerChanged(bool on) {
    SoundPlayer::Current().PlayLooping(on ? ringPath_ : silencePath_);
    // Seen as well as heard: many classroom computers are muted.
    buzzerLamp_->SetValue(on);
}

void FORM1::PushButtonChanged(std::size_t k, bool on) {
    pushButtons_[k]->SetValue(on);
}

void FORM1::SensorChanged(std::size_t k, std::int32_t mode) {
    sensors_[k]->SetValue(mode);
}

// ---- board objects -------------------------------------------------------------------------

clsLED* FORM1::LED(int k) const {
    return k >= 1 && k <= 4 ? leds_[std::size_t(k - 1)].get() : nullptr;
}

clsLED* FORM1::PushButton(int k) const {
    return k >= 1 && k <= 2 ? pushButtons_[std::size_t(k - 1)].get() : nullptr;
}

clsSensor* FORM1::Sensor(int k) const {
    return k >= 1 && k <= 2 ? sensors_[std::size_t(k - 1)].get() : nullptr;
}

clsSnaps& FORM1::Snaps() {
    if (!snaps_) {
        snaps_ = std::make_unique<clsSnaps>();
    }
    return *snaps_;
}

bool FORM1::WireExists(std::string_view a, std::string_view b) const {
    return model_.WireExists(a, b);
}

void FORM1::AppendWire(std::shared_ptr<clsLine> line) {
    model_.AddWire(line->naam1, line->naam2, line->Color());
    lines_.push_back(std::move(line));
}

void FORM1::RemoveWire(std::size_t index) {
    if (index < lines_.size()) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
        model_.RemoveWire(index);
    }
}

void FORM1::ClearWires() {
    lines_.clear();
    model_.ClearWires();
}

void FORM1::SetLastPointer(std::int32_t x, std::int32_t y) {
    lastPointerX_ = x;
    lastPointerY_ = y;
}

void FORM1::SetHover(bool hover, std::int32_t x, std::int32_t y) {
    hover_ = hover;
    hoverX_ = x;
    hoverY_ = y;
}

void FORM1::ClearObjects() {
    timer1_->stop();
    model_.SetView(nullptr);
    pointer_.reset();
    bordLines_.reset();
    pendingLine_.reset();
    display_.reset();
    for (auto& led : leds_) {
        led.reset();
    }
    for (auto& button : pushButtons_) {
        button.reset();
    }
    buzzerLamp_.reset();
    for (auto& sensor : sensors_) {
        sensor.reset();
    }
    ClearWires();
    cursor_.reset();
    knob_.reset();
    knobFaces_.reset();
}

// ---- the board document -------------------------------------------------------------------

BoardDocument FORM1::Snapshot() const {
    return HasBoard() ? model_.Snapshot() : BoardDocument();
}

void FORM1::Apply(const BoardDocument& document) {
    if (!HasBoard()) {
        return;
    }
    const clsSnaps& snaps = Snaps();
    WireList wires;
    wires.reserve(document.wires.size());
    for (const BoardDocument::Wire& wire : document.wires) {
        auto line = bordLines_->CreateLine();
        line->naam1 = wire.naam1;
        line->naam2 = wire.naam2;
        line->SetAll(snaps.GetXbyName(wire.naam1), snaps.GetYbyName(wire.naam1),
                     snaps.GetXbyName(wire.naam2), snaps.GetYbyName(wire.naam2), 1);
        wires.push_back(std::move(line));
    }
    lines_ = std::move(wires);
    // The drawn wires first, then what the settings show, as the board was always built.
    model_.Apply(document);
    ShowKnobSettings();
    Wake();
}

void FORM1::WriteTo(KistWriter& dest) const {
    Snapshot().WriteTo(dest);
}

void FORM1::ReadFrom(KistReader& src) {
    Apply(BoardDocument::ReadFrom(src));
}

bool FORM1::OpenBoard(const std::string& path) {
    return HasBoard() && files_.OpenBoard(path);
}

void FORM1::ShowDocument(const std::string& path) {
    std::string title = ProgramTitle();
    if (!path.empty()) {
        title += " - " + modMain::FileTitle(path);
    }
    setWindowTitle(QString::fromStdString(title));
    mnuBewaren_->setEnabled(!path.empty());
}

// ---- undo and redo -------------------------------------------------------------------------

bool FORM1::Undo_AddThisState() {
    bool recorded = true;
    try {
        model_.History().AddThisState([this](KistWriter& dest) { WriteTo(dest); });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavsim: %s\n", error.what());
        TellError(std::string("De wijziging kan niet ongedaan gemaakt worden: ") + error.what());
        recorded = false;
    }
    UpdateUndoMenu();
    return recorded;
}

void FORM1::RestoreState(const char* what, const std::function<UndoHistory::Outcome()>& step) {
    if (!HasBoard()) {
        return;
    }
    try {
        if (const char* refusal = UndoHistory::Refusal(step())) {
            Prompter::Current().Message(refusal, UndoHistory::kMessageTitle, Prompter::Buttons::Ok,
                                        Prompter::Icon::None);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavsim: %s\n", error.what());
        TellError(std::string(what) + " is mislukt: de opgeslagen toestand van het bord is " +
                  "onleesbaar (" + error.what() + ").");
    }
    UpdateUndoMenu();
}

void FORM1::StartNewHistory() {
    model_.History().Reset();
    Undo_AddThisState();
    model_.MarkKept();
}

void FORM1::MarkSaved() {
    model_.MarkKept();
}

bool FORM1::HasUnsavedChanges() const {
    // The whole board counts, also what records no undo state: knob settings, the counter.
    return HasBoard() && model_.HasUnsavedChanges();
}

void FORM1::UpdateUndoMenu() {
    mnuUndo_->setEnabled(model_.History().CanUndo());
    mnuRedo_->setEnabled(model_.History().CanRedo());
}

std::string FORM1::OutputConflictText(const WireList& lines, const clsSnaps& snaps) {
    BoardWires wires;
    wires.reserve(lines.size());
    for (const auto& line : lines) {
        wires.push_back({line->naam1, line->naam2, line->Color(), false});
    }
    return BoardModel::OutputConflictText(wires, snaps);
}

bool FORM1::CorrectInputOutput() {
    const std::string text = model_.OutputConflictText(Snaps());
    if (text.empty()) {
        return true;
    }
    TellOutputConflict(text);
    return false;
}

bool FORM1::AddWire(const std::shared_ptr<clsLine>& line) {
    AppendWire(line);
    const std::string conflict = model_.OutputConflictText(Snaps());
    if (conflict.empty()) {
        Undo_AddThisState();
        return true;
    }
    // Out of the circuit before the message, during which the timer ticks on; the caller's
    // reference keeps the wire drawn until the message is closed.
    RemoveWire(lines_.size() - 1);
    TellOutputConflict(conflict);
    return false;
}

// ---- closing -------------------------------------------------------------------------------

Prompter::Answer FORM1::AskToKeepBoard() {
    if (!HasBoard() || !HasUnsavedChanges()) {
        return Prompter::Answer::No;
    }
    return Prompter::Current().Message("Dit tavelon bewaren?",
                                       QCoreApplication::applicationName().toStdString(),
                                       Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
}

bool FORM1::MayReplaceBoard() {
    switch (AskToKeepBoard()) {
    case Prompter::Answer::No:
        return true;
    case Prompter::Answer::Yes:
        return files_.Save();
    default:
        return false;
    }
}

void FORM1::closeEvent(QCloseEvent* event) {
    const Prompter::Answer answer = AskToKeepBoard();
    if (answer == Prompter::Answer::Yes) {
        event->ignore();
        mnuBewarenAls_Click();
        return;
    }
    if (answer != Prompter::Answer::No) {
        event->ignore();
        return;
    }
    ClearObjects();
    event->accept();
}

// ---- menus ---------------------------------------------------------------------------------

void FORM1::mnuNieuw_Click() {
    if (HasBoard() && MayReplaceBoard()) {
        files_.New();
    }
}

void FORM1::mnuOpenen_Click() {
    if (HasBoard() && MayReplaceBoard()) {
        files_.Open();
    }
}

void FORM1::mnuBewaren_Click() {
    if (HasBoard()) {
        files_.Save();
    }
}

void FORM1::mnuBewarenAls_Click() {
    if (HasBoard()) {
        files_.SaveAs();
    }
}

void FORM1::mnuSluiten_Click() {
    close();
}

void FORM1::mnuUndo_Click() {
    const auto read = [this](KistReader& src) { ReadFrom(src); };
    RestoreState("Ongedaan maken", [this, &read] { return model_.History().Undo(read); });
}

void FORM1::mnuRedo_Click() {
    const auto read = [this](KistReader& src) { ReadFrom(src); };
    RestoreState("Herhalen", [this, &read] { return model_.History().Redo(read); });
}

void FORM1::mnuGeluidSensor_Click() {
    if (!HasBoard()) {
        return;
    }
    frmWaveInputs chooser(this);
    chooser.Constructor(ucWaveIn1_);
    chooser.exec();
}

void FORM1::SelectEditMode(std::int32_t mode) {
    editMode_ = mode;
    mnuNieuweVerbindingen_->setChecked(mode == kModeNewWires);
    mnuVerwijderVerbindingen_->setChecked(mode == kModeDeleteWires);
    mnuRegelen_->setChecked(mode == kModeOperate);
}

void FORM1::mnuRegelen_Click() {
    SelectEditMode(kModeOperate);
}

void FORM1::mnuNieuweVerbindingen_Click() {
    SelectEditMode(kModeNewWires);
    for (const auto& line : lines_) {
        line->SetHighlight(0);
    }
}

void FORM1::mnuVerwijderVerbindingen_Click() {
    SelectEditMode(kModeDeleteWires);
}

void FORM1::mnuHelpInfo_Click() {
    HelpMenu::ShowInfo(this);
}

void FORM1::mnuUitleg_Click() {
    HelpMenu::ShowHelp(this);
}

void FORM1::mnuHelpAbout_Click() {
    HelpMenu::ShowWebsite();
}

// ---- measuring on the board ------------------------------------------------------------------

SocketProbe* FORM1::Probe() const {
    return pointer_ ? &pointer_->Probe() : nullptr;
}

void FORM1::SetWirePalette(WirePalette palette) {
    if (!HasBoard()) {
        return;
    }
    bordLines_->SetPalette(palette);
    mnuKleurenblind_->setChecked(palette == WirePalette::ColourBlind);
    frmHelp::ShowWirePalette(palette);
    // A wire draws itself again only when its look changes: passing through another colour
    // draws it anew from the palette's strips, within one repaint.
    KaleidoATL::Batch batch(*kaleido1_);
    const auto redraw = [](const std::shared_ptr<clsLine>& line) {
        const std::int32_t colour = line->Color();
        line->SetColor(colour == 1 ? 2 : 1);
        line->SetColor(colour);
    };
    for (const auto& line : lines_) {
        redraw(line);
    }
    if (pendingLine_) {
        redraw(pendingLine_);
    }
}

void FORM1::mnuKleurenblind_Click() {
    if (!HasBoard()) {
        return;
    }
    const WirePalette wanted =
        mnuKleurenblind_->isChecked() ? WirePalette::ColourBlind : WirePalette::Normal;
    try {
        SetWirePalette(wanted);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavsim: %s\n", error.what());
        mnuKleurenblind_->setChecked(bordLines_->Palette() == WirePalette::ColourBlind);
        TellError("De kleuren voor kleurenblinden kunnen niet worden geladen: " +
                  std::string(error.what()));
        return;
    }
    if (const RegistryStatus saved = WireColourSetting::Save(wanted); !saved) {
        TellError("De keuze voor de draadkleuren kan niet worden bewaard: " + saved.message);
    }
}
