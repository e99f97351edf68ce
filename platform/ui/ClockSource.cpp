#include "platform/ui/ClockSource.h"

#include <cstdint>
#include <ctime>

namespace {

/// The local time of day from the real-time clock and the zone's offset from UTC. Asking the
/// C library for the local time on every call reads the zone file each time; the offset is
/// therefore looked up again only once a minute, which still follows a change of summer time
/// within a minute.
class SystemClock : public ClockSource {
public:
    float SecondsSinceMidnight() override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        if (now.tv_sec >= nextLookup_ || now.tv_sec < lastLookup_) {
            tm local{};
            localtime_r(&now.tv_sec, &local);
            offset_ = local.tm_gmtoff;
            lastLookup_ = now.tv_sec;
            nextLookup_ = now.tv_sec + kLookupEvery;
        }
        constexpr std::int64_t kDay = 24 * 60 * 60;
        const std::int64_t seconds = ((std::int64_t{now.tv_sec} + offset_) % kDay + kDay) % kDay;
        // Whole milliseconds, as the time of day has always been read.
        const std::int64_t ms = seconds * 1000 + now.tv_nsec / 1000000;
        return static_cast<float>(ms) / 1000.0F;
    }

private:
    static constexpr std::time_t kLookupEvery = 60;
    std::int64_t offset_ = 0;
    std::time_t lastLookup_ = 0;
    std::time_t nextLookup_ = 0;
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

void ClockSource::Install(ClockSource* source) {
    installedClock = source;
}
