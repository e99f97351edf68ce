#include "app/cli/HeadlessBoard.h"

#include "app/board/BoardFiles.h"
#include "app/board/BoardPointer.h"
#include "app/components/clsVoltControl.h"
#include "app/simulation/clsSnaps.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/SoundPlayer.h"
#include "sprite_control/KaleidoATL.h"

#include <QLayout>
#include <QPixmap>
#include <cmath>
#include <cstdio>
#include <exception>

namespace {

/// Nobody is there to answer: messages go to standard error, questions get No or Cancel and
/// file dialogs are cancelled.
class StderrPrompter : public Prompter {
public:
    Answer Message(const std::string& text, const std::string& title, Buttons buttons,
                   Icon) override {
        std::fprintf(stderr, "tavsim: %s: %s\n", title.c_str(), text.c_str());
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }
    std::optional<std::string> OpenFileName(const FileRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFileName(const FileRequest&) override { return std::nullopt; }
};

class SilentPlayer : public SoundPlayer {
public:
    bool PlayLooping(const std::string&) override { return true; }
    void Stop() override {}
};

} // namespace

HeadlessBoard::HeadlessBoard()
    : prompter_(std::make_unique<StderrPrompter>()), sound_(std::make_unique<SilentPlayer>()),
      previousPrompter_(&Prompter::Current()), previousClock_(&ClockSource::Current()),
      previousPointer_(&PointerSource::Current()) {
    pointer_.position = kFarAway;
    pointer_.widgetUnder = nullptr;
    Prompter::Install(prompter_.get());
    SoundPlayer::Install(sound_.get());
    ClockSource::Install(&clock_);
    PointerSource::Install(&pointer_);
    form_ = std::make_unique<FORM1>();
}

HeadlessBoard::~HeadlessBoard() {
    form_.reset();
    PointerSource::Install(previousPointer_);
    ClockSource::Install(previousClock_);
    SoundPlayer::Install(nullptr);
    Prompter::Install(previousPrompter_);
}

void HeadlessBoard::Start() {
    form_->LoadHidden();
}

std::string HeadlessBoard::Open(const std::string& path) {
    form_->RestartBoard();
    steps_ = 0;
    clock_.seconds = 0.0F;
    BoardDocument document;
    if (std::string error = BoardFiles::ReadDocument(path, document); !error.empty()) {
        return error;
    }
    Show(document);
    return {};
}

void HeadlessBoard::Show(const BoardDocument& document) {
    form_->RestartBoard();
    steps_ = 0;
    clock_.seconds = 0.0F;
    form_->Apply(document);
    form_->StartNewHistory();
}

void HeadlessBoard::Act(const std::vector<CliOptions::Action>& actions) {
    if (actions.empty()) {
        return;
    }
    form_->mnuRegelen_Click();
    clsSnaps& snaps = form_->Snaps();
    for (const CliOptions::Action& action : actions) {
        if (action.kind == CliOptions::Action::Kind::State) {
            form_->Model().SetState(action.naam, static_cast<std::int32_t>(action.value));
            continue;
        }
        // A left click at the control's centre, as the canvas reports it.
        emit form_->Kaleido1()->PointerDown(0, BoardPointer::kLeftButton,
                                            snaps.GetXbyName(action.naam),
                                            snaps.GetYbyName(action.naam));
        if (action.kind == CliOptions::Action::Kind::Set) {
            clsVoltControl* knob = form_->Knob();
            knob->SetValue(action.value);
            form_->TakeKnobValue();
        }
    }
}

void HeadlessBoard::Run(std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
        ++steps_;
        // From the step count, so that no rounding gathers over many steps.
        clock_.seconds = static_cast<float>(double(steps_) / kStepsPerSecond);
        form_->Timer1_Timer();
    }
}

QImage HeadlessBoard::Render(double scale) {
    KaleidoATL* canvas = form_->Kaleido1();
    const QSize size = (QSizeF(canvas->BoardSize()) * scale).toSize();
    if (size.isEmpty() || size.width() > SpriteScene::kMaxBitmapSide ||
        size.height() > SpriteScene::kMaxBitmapSide) {
        return {};
    }
    // The canvas fills the window below its menu bar, as on screen.
    QLayout* layout = form_->layout();
    layout->activate();
    form_->resize(form_->size() - canvas->size() + size);
    layout->activate();
    canvas->UseSharperNow();
    canvas->Refresh();
    QImage image = canvas->grab().toImage();
    if (image.size() != size) {
        return {};
    }
    return image;
}
