#pragma once
// The recent history of a few chosen sockets, one reading per tick, in a ring of fixed size,
// for the measuring graph.

#include "app/measure/SocketReading.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// Holds the last Capacity() ticks of every channel. All channels share the tick count; a
/// channel added later has no values for the ticks before it came.
class TraceRing {
public:
    /// 10 seconds of 10 ms ticks.
    static constexpr std::size_t kCapacity = 1000;

    explicit TraceRing(std::size_t capacity = kCapacity);

    std::size_t Capacity() const { return capacity_; }
    /// Adds a channel for the socket `naam` at the end.
    void Add(std::string naam);
    /// Removes channel `channel`; the later ones move up by one. Nothing for a wrong index.
    void Remove(std::size_t channel);
    /// Index of the channel of `naam`, or Channels() when there is none.
    std::size_t Find(const std::string& naam) const;
    std::size_t Channels() const { return channels_.size(); }
    const std::string& Name(std::size_t channel) const { return channels_[channel].naam; }

    /// Records one tick: `readings[c]` for channel c (none when missing).
    void Push(const std::vector<SocketReading>& readings);
    /// Records `count` ticks in which nothing was read (a pause), at most Capacity() of them
    /// as values; the tick count grows by `count`.
    void Skip(std::int64_t count);
    /// Ticks recorded since the ring was made (or cleared).
    std::int64_t Ticks() const { return ticks_; }
    /// The first tick still held: Ticks() less the ticks held, at least 0.
    std::int64_t FirstTick() const;
    /// The reading of `channel` at `tick`; none outside FirstTick() … Ticks() − 1 and for a
    /// channel added after that tick.
    SocketReading Value(std::size_t channel, std::int64_t tick) const;
    /// Forgets every value and the tick count; the channels stay.
    void Clear();

private:
    struct Channel {
        std::string naam;
        std::vector<SocketReading> values;
    };

    std::size_t capacity_;
    std::int64_t ticks_ = 0;
    std::vector<Channel> channels_;
};
