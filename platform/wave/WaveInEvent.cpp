#include "platform/wave/WaveInEvent.h"

WaveInEvent::WaveInEvent(Message message, HWAVEIN device, WAVEHDR* header)
    : QEvent(EventType()), message_(message), device_(device), header_(header) {}

QEvent::Type WaveInEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}
