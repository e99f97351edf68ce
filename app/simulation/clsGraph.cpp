#include "app/simulation/clsGraph.h"

#include "app/components/clsDisplay.h"
#include "app/simulation/Rounding.h"
#include "app/simulation/SocketTable.h"

#include <algorithm>

namespace {

constexpr std::int32_t High = 50;

constexpr std::string_view OrIn1 = SocketName(Socket::OrIn1);
constexpr std::string_view OrIn2 = SocketName(Socket::OrIn2);
constexpr std::string_view OrOut = SocketName(Socket::OrOut);
constexpr std::string_view AndIn1 = SocketName(Socket::AndIn1);
constexpr std::string_view AndIn2 = SocketName(Socket::AndIn2);
constexpr std::string_view AndOut = SocketName(Socket::AndOut);
constexpr std::string_view MemSet = SocketName(Socket::MemorySet);
constexpr std::string_view MemReset = SocketName(Socket::MemoryReset);
constexpr std::string_view MemOut = SocketName(Socket::MemoryOut);
constexpr std::string_view InvIn = SocketName(Socket::InverterIn);
constexpr std::string_view InvOut = SocketName(Socket::InverterOut);
constexpr std::string_view CompIn = SocketName(Socket::ComparatorIn);
constexpr std::string_view CompOut = SocketName(Socket::ComparatorOut);
constexpr std::string_view TransIn = SocketName(Socket::TransistorIn);
constexpr std::string_view TransOut = SocketName(Socket::TransistorOut);
constexpr std::string_view RelayControl = SocketName(Socket::RelayControl);
constexpr std::string_view RelayIn1 = SocketName(Socket::RelayIn1);
constexpr std::string_view RelayOut1 = SocketName(Socket::RelayOut1);
constexpr std::string_view RelayIn2 = SocketName(Socket::RelayIn2);
constexpr std::string_view RelayOut2 = SocketName(Socket::RelayOut2);
constexpr std::string_view CountPulses = SocketName(Socket::CounterPulses);
constexpr std::string_view CountEnable = SocketName(Socket::CounterEnable);
constexpr std::string_view CountReset = SocketName(Socket::CounterReset);
constexpr std::string_view CountMarker = "Pulsenteller Uitgang Collection";
constexpr std::string_view AdIn = SocketName(Socket::AdIn);
constexpr std::string_view AdOut1 = SocketName(Socket::AdOut1);
constexpr std::string_view AdOut2 = SocketName(Socket::AdOut2);
constexpr std::string_view AdOut4 = SocketName(Socket::AdOut4);
constexpr std::string_view AdOut8 = SocketName(Socket::AdOut8);

} // namespace

void clsGraph::Constructor(clsDisplay* theDisplay) {
    theDisplay_ = theDisplay;
}

void clsGraph::Clear() {
    count_ = 0;
}

void clsGraph::AddPunt(std::string_view naam, std::int32_t Value) {
    if (static_cast<std::size_t>(count_) + 1 >= punten_.size()) {
        punten_.resize(punten_.size() * 2);
    }
    // Entries are reused from step to step, so their strings keep their buffers.
    Punt& p = punten_[static_cast<std::size_t>(count_ + 1)];
    p.naam.assign(naam);
    p.Value = Value;
    ++count_;
}

std::int32_t clsGraph::GetPuntValueByName(std::string_view naam, std::int32_t defaultValue) const {
    for (std::int32_t i = 1; i <= count_; ++i) {
        const Punt& p = punten_[static_cast<std::size_t>(i)];
        if (p.naam == naam) {
            return p.Value;
        }
    }
    return defaultValue;
}

bool clsGraph::PuntExists(std::string_view naam) const {
    for (std::int32_t i = 1; i <= count_; ++i) {
        if (punten_[static_cast<std::size_t>(i)].naam == naam) {
            return true;
        }
    }
    return false;
}

bool clsGraph::IsWired(const WireList& lines, std::string_view naam) {
    return std::any_of(lines.begin(), lines.end(), [naam](const std::shared_ptr<clsLine>& w) {
        return w->naam1 == naam || w->naam2 == naam;
    });
}

bool clsGraph::IsReady(const WireList& lines, std::string_view naam) const {
    return !IsWired(lines, naam) || PuntExists(naam);
}

std::int32_t clsGraph::ColorOf(std::int32_t v) {
    return RoundHalfEven(8 - 7.0 * v / 50);
}

bool clsGraph::Run(const WireList& lines) {
    bool a = PropagateWires(lines);
    bool b = EvaluateBlocks(lines);
    while (a || b) {
        a = PropagateWires(lines);
        b = EvaluateBlocks(lines);
    }
    return false;
}

bool clsGraph::PropagateWires(const WireList& lines) {
    bool changed = false;
    for (const std::shared_ptr<clsLine>& w : lines) {
        if (w->done) {
            continue;
        }
        if (PuntExists(w->naam1) && !PuntExists(w->naam2)) {
            const std::int32_t v = Val(w->naam1);
            AddPunt(w->naam2, v);
            w->SetColor(ColorOf(v));
            w->done = true;
            changed = true;
        }
        if (PuntExists(w->naam2) && !PuntExists(w->naam1)) {
            const std::int32_t v = Val(w->naam2);
            AddPunt(w->naam1, v);
            w->SetColor(ColorOf(v));
            w->done = true;
            changed = true;
        }
    }
    return changed;
}

bool clsGraph::EvaluateBlocks(const WireList& lines) {
    bool changed = false;
    auto enter = [&](std::string_view naam, std::int32_t v) {
        AddPunt(naam, v);
        changed = true;
    };

    // OR gate: an unwired input is ignored.
    if (!PuntExists(OrOut) && IsReady(lines, OrIn1) && IsReady(lines, OrIn2)) {
        enter(OrOut, (Val(OrIn1) == High || Val(OrIn2) == High) ? High : 0);
    }

    // AND gate: an unwired input holds the output low.
    if (!PuntExists(AndOut) && IsReady(lines, AndIn1) && IsReady(lines, AndIn2)) {
        enter(AndOut, (Val(AndIn1) == High && Val(AndIn2) == High) ? High : 0);
    }

    // Memory cell: reset, then set, so set wins when both are high.
    if (!PuntExists(MemOut) && IsReady(lines, MemSet) && IsReady(lines, MemReset)) {
        if (Val(MemReset) == High) {
            memoryvalue = 0;
        }
        if (Val(MemSet) == High) {
            memoryvalue = High;
        }
        enter(MemOut, memoryvalue);
    }

    // Inverter: analogue, 50 - input; an unwired input reads as 0.
    if (!PuntExists(InvOut)) {
        if (!IsWired(lines, InvIn)) {
            enter(InvOut, High);
        } else if (PuntExists(InvIn)) {
            enter(InvOut, High - Val(InvIn));
        }
    }

    // Comparator against the knob's reference level.
    if (!PuntExists(CompOut)) {
        if (!IsWired(lines, CompIn)) {
            enter(CompOut, 0);
        } else if (PuntExists(CompIn)) {
            enter(CompOut, Val(CompIn) >= comparatorvalue ? High : 0);
        }
    }

    // Transistor: switches its output low from 0.7 V on its input.
    if (!PuntExists(TransOut)) {
        if (!IsWired(lines, TransIn)) {
            enter(TransOut, 0);
        } else if (PuntExists(TransIn)) {
            enter(TransOut, Val(TransIn) >= 7 ? 0 : High);
        }
    }

    // Relay: each contact pair conducts in whichever direction a value arrives first; an open
    // relay gives the far contact 0.
    auto relayContact = [&](std::string_view to, std::string_view from) {
        if (!PuntExists(to) && PuntExists(from) && IsReady(lines, RelayControl)) {
            enter(to, Val(RelayControl) == High ? Val(from) : 0);
        }
    };
    relayContact(RelayOut1, RelayIn1);
    relayContact(RelayIn1, RelayOut1);
    relayContact(RelayOut2, RelayIn2);
    relayContact(RelayIn2, RelayOut2);

    // Pulse counter: counts a step from exactly 0 to exactly 50 while enabled. Its outputs
    // are entered by the simulation step from the display before Run.
    if (!PuntExists(CountMarker) && IsReady(lines, CountPulses) && IsReady(lines, CountEnable) &&
        IsReady(lines, CountReset)) {
        const std::int32_t vT = GetPuntValueByName(CountPulses, High);
        const std::int32_t vE = GetPuntValueByName(CountEnable, High);
        const std::int32_t vR = Val(CountReset);
        if (vR == High) {
            if (theDisplay_ != nullptr) {
                theDisplay_->SetValue(0);
            }
        } else if (vE == High && PuntExists(CountPulses)) {
            if (vT == High && lastcountvalue == 0 && theDisplay_ != nullptr) {
                theDisplay_->IncreaseValue();
            }
            lastcountvalue = vT;
        }
        enter(CountMarker, 0);
    }

    // AD converter: four bits of round(16 * input / 50), at most 15. Only its first output
    // is checked before it writes all four.
    if (!PuntExists(AdOut1)) {
        bool fire = false;
        std::int32_t n = 0;
        if (!IsWired(lines, AdIn)) {
            fire = true;
        } else if (PuntExists(AdIn)) {
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
