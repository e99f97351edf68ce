#include "platform/wave/VirtualWaveInDevice.h"

#include "platform/wave/CaptureConverter.h"

namespace {

/// How often a running virtual input catches up with the clock.
constexpr int kTickMilliseconds = 15;

} // namespace

VirtualWaveInDevice::VirtualWaveInDevice(HWAVEIN handle, std::uint32_t deviceId, QObject* target,
                                         std::shared_ptr<const VirtualInput> input, bool byHand)
    : WaveInDevice(handle, deviceId, target), input_(std::move(input)), byHand_(byHand) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &VirtualWaveInDevice::Produce);
}

bool VirtualWaveInDevice::BeginSound() {
    producedSinceStart_ = 0;
    clock_.start();
    if (!byHand_) {
        timer_.start();
    }
    return true;
}

void VirtualWaveInDevice::EndSound() {
    timer_.stop();
}

void VirtualWaveInDevice::Produce() {
    // As many samples as the clock says are due since the start, so that the rate stays exact
    // however late the timer fires.
    const std::uint64_t due =
        static_cast<std::uint64_t>(clock_.nsecsElapsed()) * CaptureConverter::kRate / 1000000000u;
    if (due <= producedSinceStart_) {
        return;
    }
    const std::size_t count = static_cast<std::size_t>(due - producedSinceStart_);
    scratch_.resize(count);
    input_->Generate(scratch_.data(), count, position_);
    producedSinceStart_ = due;
    Deliver(scratch_.data(), count);
}

bool VirtualWaveInDevice::Step() {
    WAVEHDR* header = Current();
    if (!Started() || header == nullptr) {
        return false;
    }
    const std::size_t count = header->dwBufferLength - header->dwBytesRecorded;
    scratch_.resize(count);
    input_->Generate(scratch_.data(), count, position_);
    Deliver(scratch_.data(), count);
    return true;
}
