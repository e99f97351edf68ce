#include "platform/ui/ClockSource.h"

#include <QTime>

namespace {

class SystemClock : public ClockSource {
public:
    float SecondsSinceMidnight() override {
        return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0F;
    }
};

ClockSource* installedClock = nullptr;

} // namespace

ClockSource& ClockSource::Current() {
    if (installedClock != nullptr) {
        return *installedClock;
    }
    static SystemClock system;
    return system;
}

void ClockSource::Install(ClockSource* source) { installedClock = source; }
