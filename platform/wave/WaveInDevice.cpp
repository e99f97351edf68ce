#include "platform/wave/WaveInDevice.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>

WaveInDevice::WaveInDevice(HWAVEIN handle, std::uint32_t deviceId, QObject* target)
    : handle_(handle), deviceId_(deviceId), target_(target) {}

WaveInDevice::~WaveInDevice() = default;

void WaveInDevice::Notify(WaveInEvent::Message message, WAVEHDR* header) {
    if (target_) {
        QCoreApplication::postEvent(target_, new WaveInEvent(message, handle_, header));
    }
}

MMRESULT WaveInDevice::AddBuffer(WAVEHDR* header) {
    if ((header->dwFlags & WHDR_PREPARED) == 0) {
        return WAVERR_UNPREPARED;
    }
    if ((header->dwFlags & WHDR_INQUEUE) != 0) {
        return WAVERR_STILLPLAYING;
    }
    if (header->lpData == nullptr || header->dwBufferLength == 0) {
        return MMSYSERR_INVALPARAM;
    }
    header->dwBytesRecorded = 0;
    header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
    queue_.push_back(header);
    return MMSYSERR_NOERROR;
}

MMRESULT WaveInDevice::Start() {
    if (started_) {
        return MMSYSERR_NOERROR;
    }
    if (!BeginSound()) {
        return MMSYSERR_ERROR;
    }
    started_ = true;
    return MMSYSERR_NOERROR;
}

MMRESULT WaveInDevice::Stop() {
    if (started_) {
        started_ = false;
        EndSound();
        if (!queue_.empty()) {
            CompleteCurrent();
        }
    }
    return MMSYSERR_NOERROR;
}

MMRESULT WaveInDevice::Reset() {
    Stop();
    while (!queue_.empty()) {
        CompleteCurrent();
    }
    return MMSYSERR_NOERROR;
}

MMRESULT WaveInDevice::Close() {
    if (!queue_.empty()) {
        return WAVERR_STILLPLAYING;
    }
    if (!closed_) {
        started_ = false;
        EndSound();
        closed_ = true;
    }
    return MMSYSERR_NOERROR;
}

bool WaveInDevice::Feed(std::span<const std::uint8_t> bytes, bool complete) {
    WAVEHDR* header = Current();
    if (!started_ || header == nullptr) {
        return false;
    }
    if (!complete) {
        Deliver(bytes.data(), bytes.size());
        return true;
    }
    const std::size_t count = std::min<std::size_t>(bytes.size(), header->dwBufferLength);
    if (count > 0) {
        std::memcpy(header->lpData, bytes.data(), count);
    }
    header->dwBytesRecorded = static_cast<std::uint32_t>(count);
    CompleteCurrent();
    return true;
}

void WaveInDevice::Deliver(const std::uint8_t* bytes, std::size_t count) {
    while (count > 0 && started_ && !queue_.empty()) {
        WAVEHDR* header = queue_.front();
        const std::size_t room = header->dwBufferLength - header->dwBytesRecorded;
        const std::size_t take = std::min(room, count);
        std::memcpy(header->lpData + header->dwBytesRecorded, bytes, take);
        header->dwBytesRecorded += static_cast<std::uint32_t>(take);
        bytes += take;
        count -= take;
        if (header->dwBytesRecorded == header->dwBufferLength) {
            CompleteCurrent();
        }
    }
}

void WaveInDevice::CompleteCurrent() {
    WAVEHDR* header = queue_.front();
    queue_.pop_front();
    header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    Notify(WaveInEvent::MM_WIM_DATA, header);
}
