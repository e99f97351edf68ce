#include "app/simulation/PulseGenerator.h"

#include <cmath>

float PulseGenerator::FloatRemainder(float a, float b) {
    if (b == 0.0F) {
        return a;
    }
    const float quotient = a / b;
    if (!std::isfinite(quotient)) {
        return a;
    }
    return a - b * std::trunc(quotient);
}

float PulseGenerator::Period(std::int32_t setting) {
    return 10.0F / (4.0F * static_cast<float>(setting) + 10.0F);
}

void PulseGenerator::Gather(float now) {
    // After midnight the clock starts again from 0; counting that as a day backwards would
    // hold the level for a whole day.
    if (now < lastClock_) {
        return;
    }
    pulseTime_ = pulseTime_ + now - lastClock_;
}

void PulseGenerator::Toggle(std::int32_t setting) {
    if (setting <= 0) {
        return;
    }
    const float period = Period(setting);
    if (pulseTime_ > period) {
        pulseTime_ = FloatRemainder(pulseTime_, period);
        level_ = 50 - level_;
    }
}
