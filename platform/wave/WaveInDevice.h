#pragma once
// One open wave-input device: its queue of buffers and the notifications to its owner. The
// subclasses bring the sound: virtual inputs and Qt Multimedia inputs.

#include "platform/wave/WaveInEvent.h"
#include "platform/wave/WaveInTypes.h"

#include <QObject>
#include <QPointer>
#include <deque>
#include <span>
#include <vector>

class WaveInDevice : public QObject {
    Q_OBJECT

public:
    WaveInDevice(HWAVEIN handle, std::uint32_t deviceId, QObject* target);
    ~WaveInDevice() override;

    HWAVEIN Handle() const { return handle_; }
    /// The device number it was opened on (never WAVE_MAPPER).
    std::uint32_t DeviceId() const { return deviceId_; }
    bool Started() const { return started_; }
    bool HasQueuedBuffers() const { return !queue_.empty(); }

    MMRESULT AddBuffer(WAVEHDR* header);
    MMRESULT Start();
    MMRESULT Stop();
    MMRESULT Reset();
    /// Stops the sound for good; the caller then deletes the device. WAVERR_STILLPLAYING
    /// while buffers are queued.
    MMRESULT Close();

    /// Completes the buffer being filled with `bytes` (at most its length) at once, for tests;
    /// with `complete` false adds them as sound that came in. False when the device is not
    /// started or has no buffer.
    bool Feed(std::span<const std::uint8_t> bytes, bool complete);
    std::vector<const WAVEHDR*> Queue() const { return {queue_.begin(), queue_.end()}; }
    /// Fills the buffer being filled from the device's own sound and completes it, for tests.
    /// False when that is not possible (not started, no buffer, or a real device).
    virtual bool Step() { return false; }

    /// Posts a notification to the owner (dropped when the owner is gone).
    void Notify(WaveInEvent::Message message, WAVEHDR* header);

protected:
    /// Begins and ends delivering sound; failing to begin gives MMSYSERR_ERROR.
    virtual bool BeginSound() = 0;
    virtual void EndSound() = 0;
    /// Fills the queued buffers with `bytes` in order, completing each one that becomes full.
    /// Sound for which no buffer is queued is lost.
    void Deliver(const std::uint8_t* bytes, std::size_t count);
    /// The buffer being filled, or null.
    WAVEHDR* Current() const { return queue_.empty() ? nullptr : queue_.front(); }
    /// Takes the buffer being filled from the queue, marks it done and notifies the owner.
    void CompleteCurrent();

private:
    HWAVEIN handle_;
    std::uint32_t deviceId_;
    QPointer<QObject> target_;
    std::deque<WAVEHDR*> queue_;
    bool started_ = false;
    bool closed_ = false;
};
