#pragma once
// What the circuit evaluator tells while it runs: a wire's colour and the counter's count.

#include <cstddef>
#include <cstdint>

/// Told by clsGraph::Run as it goes, in the order it happens.
class GraphEvents {
public:
    /// Wire `index` of the list carries a value of the colour `color` this step; told every
    /// time, also when the colour stays the same.
    virtual void WireColored(std::size_t index, std::int32_t color) = 0;
    /// The counter's reset input is high.
    virtual void CounterReset() = 0;
    /// The counter saw its count input go from 0 to high while enabled.
    virtual void CounterStepped() = 0;

protected:
    ~GraphEvents() = default;
};
