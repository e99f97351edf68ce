#include "app/measure/TraceRing.h"

#include <algorithm>

TraceRing::TraceRing(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 1)) {}

void TraceRing::Add(std::string naam) {
    channels_.push_back({std::move(naam), std::vector<SocketReading>(capacity_)});
}

void TraceRing::Remove(std::size_t channel) {
    if (channel < channels_.size()) {
        channels_.erase(channels_.begin() + static_cast<std::ptrdiff_t>(channel));
    }
}

std::size_t TraceRing::Find(const std::string& naam) const {
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        if (channels_[c].naam == naam) {
            return c;
        }
    }
    return channels_.size();
}

void TraceRing::Push(const std::vector<SocketReading>& readings) {
    const std::size_t slot = static_cast<std::size_t>(ticks_ % std::int64_t(capacity_));
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        channels_[c].values[slot] = c < readings.size() ? readings[c] : std::nullopt;
    }
    ++ticks_;
}

void TraceRing::Skip(std::int64_t count) {
    if (count <= 0) {
        return;
    }
    const std::int64_t cleared = std::min<std::int64_t>(count, std::int64_t(capacity_));
    for (std::int64_t k = 0; k < cleared; ++k) {
        const std::size_t slot = static_cast<std::size_t>((ticks_ + k) % std::int64_t(capacity_));
        for (Channel& channel : channels_) {
            channel.values[slot].reset();
        }
    }
    ticks_ += count;
}

std::int64_t TraceRing::FirstTick() const {
    return std::max<std::int64_t>(0, ticks_ - std::int64_t(capacity_));
}

SocketReading TraceRing::Value(std::size_t channel, std::int64_t tick) const {
    if (channel >= channels_.size() || tick < FirstTick() || tick >= ticks_) {
        return std::nullopt;
    }
    return channels_[channel].values[static_cast<std::size_t>(tick % std::int64_t(capacity_))];
}

void TraceRing::Clear() {
    ticks_ = 0;
    for (Channel& channel : channels_) {
        std::fill(channel.values.begin(), channel.values.end(), std::nullopt);
    }
}
