#include "app/sound/UCWaveIn.h"

#include "app/simulation/Rounding.h"
#include "app/sound/WaveInControl.h"
#include "platform/registry/ProgramSettings.h"
#include "platform/wave/WaveInEvent.h"

#include <QTimer>
#include <algorithm>

UCWaveIn::UCWaveIn(QWidget* parent) : QWidget(parent), timer1_(new QTimer(this)) {
    setFixedSize(0, 0);
    hide();
    timer1_->setObjectName("Timer1");
    timer1_->setInterval(10);
    connect(timer1_, &QTimer::timeout, this, &UCWaveIn::Timer1_Timer);
    UserControl_Initialize();
}

UCWaveIn::~UCWaveIn() {
    timer1_->stop();
    // The controls stop capturing as they go, while their windows still exist.
    for (auto& control : TheWaveIn) {
        control.reset();
    }
}

void UCWaveIn::UserControl_Initialize() {
    for (auto& control : TheWaveIn) {
        std::string why;
        control = WaveInControl::Create(this, why);
        if (control && control->Window() != nullptr) {
            control->Window()->installEventFilter(this);
        }
        if (!control) {
            notAvailable_ = "Geluidsinvoer is niet beschikbaar: " + why;
            for (auto& made : TheWaveIn) {
                made.reset();
            }
            return;
        }
    }
    const std::string setting =
        ProgramSettings::GetSetting(kSettingsApp, kSettingsSection, kSettingsKey, "On");
    if (setting == kOff) {
        switchedOff_ = true;
        return;
    }
    usedCount_ = std::clamp(TheWaveIn[0]->InCount(), 0, kMaxInputs);
    for (std::int32_t i = 1; i <= usedCount_; ++i) {
        TheWaveIn[std::size_t(i - 1)]->SetInSelected(i);
    }
    started_ = false;
    peak_ = 1;
    timer1_->start();
}

bool UCWaveIn::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == WaveInEvent::EventType() &&
        static_cast<WaveInEvent*>(event)->message() == WaveInEvent::MM_WIM_DATA) {
        emit SoundArrived();
    }
    return QWidget::eventFilter(watched, event);
}

void UCWaveIn::Timer1_Timer() {
    if (started_) {
        return;
    }
    for (std::int32_t i = 1; i <= usedCount_; ++i) {
        if (TheWaveIn[0]->InValid(i)) {
            TheWaveIn[std::size_t(i - 1)]->Start();
        }
    }
    started_ = true;
    timer1_->stop();
}

std::string UCWaveIn::GetWaveName(std::int32_t i) {
    return TheWaveIn[0] ? TheWaveIn[0]->InName(i) : std::string();
}

bool UCWaveIn::GetWaveInValid(std::int32_t i) {
    return TheWaveIn[0] && TheWaveIn[0]->InValid(i);
}

float UCWaveIn::GetWaveVolume(std::int32_t i) {
    if (i < 1 || i > kMaxInputs || !TheWaveIn[std::size_t(i - 1)] || peak_ < 1) {
        return 0.0F;
    }
    return static_cast<float>(TheWaveIn[std::size_t(i - 1)]->InputVolume()) /
           static_cast<float>(peak_);
}

std::int32_t UCWaveIn::GetVolume() {
    if (usedCount_ < 1) {
        return 0;
    }
    std::int32_t v = TheWaveIn[0]->InputVolume();
    for (std::int32_t i = 2; i <= usedCount_; ++i) {
        v = std::max(v, TheWaveIn[std::size_t(i - 1)]->InputVolume());
    }
    peak_ = std::max(peak_, v);
    if (peak_ < 1) {
        return 0;
    }
    return RoundHalfEven(double(v) * 50.0 / double(peak_));
}
