#pragma once
// The notification of a wave-input device, posted to the object named in waveInOpen.

#include "platform/wave/WaveInTypes.h"

#include <QEvent>

class WaveInEvent : public QEvent {
public:
    /// Which notification it is.
    enum Message { MM_WIM_OPEN = 0x3BE, MM_WIM_CLOSE = 0x3BF, MM_WIM_DATA = 0x3C0 };

    WaveInEvent(Message message, HWAVEIN device, WAVEHDR* header);

    /// The event type of every WaveInEvent (registered once per process).
    static QEvent::Type EventType();

    Message message() const { return message_; }
    /// The device that sent it; it may have been closed since.
    HWAVEIN device() const { return device_; }
    /// For MM_WIM_DATA: the completed buffer; null otherwise.
    WAVEHDR* header() const { return header_; }

private:
    Message message_;
    HWAVEIN device_;
    WAVEHDR* header_;
};
