#include "app/simulation/clsGraph.h"

#include "app/simulation/GraphEvents.h"
#include "app/simulation/Rounding.h"
#include "app/simulation/SocketTable.h"

#include <algorithm>
#include <unordered_map>

namespace {

using Slot = std::int32_t;

constexpr std::int32_t High = 50;

/// The slot of a socket of the board: its number in the socket table, from 0.
constexpr Slot S(Socket id) {
    return static_cast<Slot>(id) - 1;
}

constexpr Slot kTableSlots = static_cast<Slot>(kSocketTable.size());
/// The counter's marker: entered once per Run when the counter has done its work.
constexpr Slot CountMarker = kTableSlots;
constexpr std::string_view CountMarkerName = "Pulsenteller Uitgang Collection";
/// Slots every evaluator has; names of damaged boards get the ones after.
constexpr Slot kFixedSlots = kTableSlots + 1;
/// Kept in a wire for a name outside the socket table: its slot is looked up on every Run,
/// since such slots belong to one evaluator.
constexpr std::int32_t kLookUp = -2;

constexpr Slot OrIn1 = S(Socket::OrIn1);
constexpr Slot OrIn2 = S(Socket::OrIn2);
constexpr Slot OrOut = S(Socket::OrOut);
constexpr Slot AndIn1 = S(Socket::AndIn1);
constexpr Slot AndIn2 = S(Socket::AndIn2);
constexpr Slot AndOut = S(Socket::AndOut);
constexpr Slot MemSet = S(Socket::MemorySet);
constexpr Slot MemReset = S(Socket::MemoryReset);
constexpr Slot MemOut = S(Socket::MemoryOut);
constexpr Slot InvIn = S(Socket::InverterIn);
constexpr Slot InvOut = S(Socket::InverterOut);
constexpr Slot CompIn = S(Socket::ComparatorIn);
constexpr Slot CompOut = S(Socket::ComparatorOut);
constexpr Slot TransIn = S(Socket::TransistorIn);
constexpr Slot TransOut = S(Socket::TransistorOut);
constexpr Slot RelayControl = S(Socket::RelayControl);
constexpr Slot RelayIn1 = S(Socket::RelayIn1);
constexpr Slot RelayOut1 = S(Socket::RelayOut1);
constexpr Slot RelayIn2 = S(Socket::RelayIn2);
constexpr Slot RelayOut2 = S(Socket::RelayOut2);
constexpr Slot CountPulses = S(Socket::CounterPulses);
constexpr Slot CountEnable = S(Socket::CounterEnable);
constexpr Slot CountReset = S(Socket::CounterReset);
constexpr Slot AdIn = S(Socket::AdIn);
constexpr Slot AdOut1 = S(Socket::AdOut1);
constexpr Slot AdOut2 = S(Socket::AdOut2);
constexpr Slot AdOut4 = S(Socket::AdOut4);
constexpr Slot AdOut8 = S(Socket::AdOut8);

/// The fixed slot of `naam`, or -1.
Slot FixedSlot(std::string_view naam) {
    static const std::unordered_map<std::string_view, Slot> slots = [] {
        std::unordered_map<std::string_view, Slot> made;
        // The first entry of a name wins, as in every search of the table.
        for (const SocketEntry& socket : kSocketTable) {
            made.emplace(socket.naam, S(socket.id));
        }
        made.emplace(CountMarkerName, CountMarker);
        return made;
    }();
    const auto found = slots.find(naam);
    return found == slots.end() ? -1 : found->second;
}

} // namespace

void clsGraph::Constructor(GraphEvents* events) {
    events_ = events;
}

clsGraph::Slot clsGraph::FindSlot(std::string_view naam) const {
    const Slot fixed = FixedSlot(naam);
    if (fixed >= 0) {
        return fixed;
    }
    const auto found = extra_.find(naam);
    return found == extra_.end() ? -1 : found->second;
}

clsGraph::Slot clsGraph::SlotOf(std::string_view naam) {
    if (values_.empty()) {
        values_.assign(kFixedSlots, 0);
        known_.assign(kFixedSlots, 0);
        wired_.assign(kFixedSlots, 0);
    }
    const Slot found = FindSlot(naam);
    if (found >= 0) {
        return found;
    }
    const Slot made = static_cast<Slot>(values_.size());
    extra_.emplace(std::string(naam), made);
    values_.push_back(0);
    known_.push_back(0);
    wired_.push_back(0);
    return made;
}

void clsGraph::Enter(Slot s, std::int32_t v) {
    if (!Known(s)) {
        known_[static_cast<std::size_t>(s)] = 1;
        values_[static_cast<std::size_t>(s)] = v;
        entered_.push_back(s);
    }
}

void clsGraph::Clear() {
    for (const Slot s : entered_) {
        known_[static_cast<std::size_t>(s)] = 0;
    }
    entered_.clear();
}

void clsGraph::AddPunt(std::string_view naam, std::int32_t Value) {
    Enter(SlotOf(naam), Value);
}

std::int32_t clsGraph::GetPuntValueByName(std::string_view naam, std::int32_t defaultValue) const {
    const Slot s = FindSlot(naam);
    return s >= 0 && s < static_cast<Slot>(known_.size()) && Known(s) ? ValueAt(s) : defaultValue;
}

bool clsGraph::PuntExists(std::string_view naam) const {
    const Slot s = FindSlot(naam);
    return s >= 0 && s < static_cast<Slot>(known_.size()) && Known(s);
}

std::int32_t clsGraph::ColorOf(std::int32_t v) {
    return RoundHalfEven(8 - 7.0 * v / 50);
}

void clsGraph::PrepareWires(BoardWires& lines) {
    SlotOf(CountMarkerName);
    std::fill(wired_.begin(), wired_.end(), 0);
    const auto number = [this](std::int32_t& cached, const std::string& naam) {
        if (cached >= 0) {
            return cached;
        }
        const Slot s = SlotOf(naam);
        cached = s < kTableSlots ? s : kLookUp;
        return s;
    };
    for (BoardWire& w : lines) {
        wired_[static_cast<std::size_t>(number(w.slot1, w.naam1))] = 1;
        wired_[static_cast<std::size_t>(number(w.slot2, w.naam2))] = 1;
    }
}

bool clsGraph::Run(BoardWires& lines) {
    PrepareWires(lines);
    bool a = PropagateWires(lines);
    bool b = EvaluateBlocks();
    while (a || b) {
        a = PropagateWires(lines);
        b = EvaluateBlocks();
    }
    return false;
}

bool clsGraph::PropagateWires(BoardWires& lines) {
    bool changed = false;
    const auto color = [this, &lines](std::size_t i, std::int32_t v) {
        lines[i].color = ColorOf(v);
        if (events_ != nullptr) {
            events_->WireColored(i, lines[i].color);
        }
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        BoardWire& w = lines[i];
        if (w.done) {
            continue;
        }
        const Slot s1 = w.slot1 >= 0 ? w.slot1 : FindSlot(w.naam1);
        const Slot s2 = w.slot2 >= 0 ? w.slot2 : FindSlot(w.naam2);
        if (Known(s1) && !Known(s2)) {
            const std::int32_t v = ValueAt(s1);
            Enter(s2, v);
            color(i, v);
            w.done = true;
            changed = true;
        }
        if (Known(s2) && !Known(s1)) {
            const std::int32_t v = ValueAt(s2);
            Enter(s1, v);
            color(i, v);
            w.done = true;
            changed = true;
        }
    }
    return changed;
}

bool clsGraph::EvaluateBlocks() {
    bool changed = false;
    auto enter = [&](Slot s, std::int32_t v) {
        Enter(s, v);
        changed = true;
    };

    // OR gate: an unwired input is ignored.
    if (!Known(OrOut) && IsReady(OrIn1) && IsReady(OrIn2)) {
        enter(OrOut, (Val(OrIn1) == High || Val(OrIn2) == High) ? High : 0);
    }

    // AND gate: an unwired input holds the output low.
    if (!Known(AndOut) && IsReady(AndIn1) && IsReady(AndIn2)) {
        enter(AndOut, (Val(AndIn1) == High && Val(AndIn2) == High) ? High : 0);
    }

    // Memory cell: reset, then set, so set wins when both are high.
    if (!Known(MemOut) && IsReady(MemSet) && IsReady(MemReset)) {
        if (Val(MemReset) == High) {
            memoryvalue = 0;
        }
        if (Val(MemSet) == High) {
            memoryvalue = High;
        }
        enter(MemOut, memoryvalue);
    }

    // Inverter: analogue, 50 - input; an unwired input reads as 0.
    if (!Known(InvOut)) {
        if (!IsWired(InvIn)) {
            enter(InvOut, High);
        } else if (Known(InvIn)) {
            enter(InvOut, High - Val(InvIn));
        }
    }

    // Comparator against the knob's reference level.
    if (!Known(CompOut)) {
        if (!IsWired(CompIn)) {
            enter(CompOut, 0);
        } else if (Known(CompIn)) {
            enter(CompOut, Val(CompIn) >= comparatorvalue ? High : 0);
        }
    }

    // Transistor: switches its output low from 0.7 V on its input.
    if (!Known(TransOut)) {
        if (!IsWired(TransIn)) {
            enter(TransOut, 0);
        } else if (Known(TransIn)) {
            enter(TransOut, Val(TransIn) >= 7 ? 0 : High);
        }
    }

    // Relay: each contact pair conducts in whichever direction a value arrives first; an open
    // relay gives the far contact 0.
    auto relayContact = [&](Slot to, Slot from) {
        if (!Known(to) && Known(from) && IsReady(RelayControl)) {
            enter(to, Val(RelayControl) == High ? Val(from) : 0);
        }
    };
    relayContact(RelayOut1, RelayIn1);
    relayContact(RelayIn1, RelayOut1);
    relayContact(RelayOut2, RelayIn2);
    relayContact(RelayIn2, RelayOut2);

    // Pulse counter: counts a step from exactly 0 to exactly 50 while enabled. Its outputs
    // are entered by the simulation step from the display before Run.
    if (!Known(CountMarker) && IsReady(CountPulses) && IsReady(CountEnable) &&
        IsReady(CountReset)) {
        const std::int32_t vT = Known(CountPulses) ? ValueAt(CountPulses) : High;
        const std::int32_t vE = Known(CountEnable) ? ValueAt(CountEnable) : High;
        const std::int32_t vR = Val(CountReset);
        if (vR == High) {
            if (events_ != nullptr) {
                events_->CounterReset();
            }
        } else if (vE == High && Known(CountPulses)) {
            if (vT == High && lastcountvalue == 0 && events_ != nullptr) {
                events_->CounterStepped();
            }
            lastcountvalue = vT;
        }
        enter(CountMarker, 0);
    }

    // AD converter: four bits of round(16 * input / 50), at most 15. Only its first output
    // is checked before it writes all four.
    if (!Known(AdOut1)) {
        bool fire = false;
        std::int32_t n = 0;
        if (!IsWired(AdIn)) {
            fire = true;
        } else if (Known(AdIn)) {
            fire = true;
            n = std::min(RoundHalfEven(16.0 * Val(AdIn) / 50), 15);
        }
        if (fire) {
            enter(AdOut1, (n & 1) != 0 ? High : 0);
            enter(AdOut2, (n & 2) != 0 ? High : 0);
            enter(AdOut4, (n & 4) != 0 ? High : 0);
            enter(AdOut8, (n & 8) != 0 ? High : 0);
        }
    }

    return changed;
}
