#pragma once
// The circuit evaluator: settles the values of all sockets for one simulation step.

#include "app/simulation/BoardWire.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class GraphEvents;

/// Computes the value of every socket for one step. Values are tenths of a volt, 0 to 50;
/// 50 is logic high. A socket without an entry in the point table is unknown, which differs
/// from 0. Per step: clear every wire's done mark, Clear, set comparatorvalue, AddPunt each
/// source, Run, then read the sinks with GetPuntValueByName. Within one Run each name gets at
/// most one value. The memory cell, the counter's last count-input level and the display keep
/// their state from step to step.
class clsGraph {
public:
    /// Names the point table holds at least; wires of a damaged board that name unknown
    /// sockets may add any number more.
    static constexpr std::int32_t MaxPunten = 100;

    /// Level stored in the memory cell, 0 or 50; 0 for a new evaluator; kept across steps.
    std::int32_t memoryvalue = 0;
    /// The comparator's reference level, 0 to 50.
    std::int32_t comparatorvalue = 0;

    /// Keeps what is told of wire colours and of the counter's counting (not owned; must
    /// outlive the evaluator or be replaced). Without it the counter still tracks its count
    /// input but nobody counts, and wires get their colour only in the list.
    void Constructor(GraphEvents* events);

    /// Empties the point table; memoryvalue, comparatorvalue and the counter's state stay.
    void Clear();
    /// Enters a value for naam; an earlier entry of the same name stays the one read.
    void AddPunt(std::string_view naam, std::int32_t Value);
    /// Value of the first entry named naam, or defaultValue when there is none.
    std::int32_t GetPuntValueByName(std::string_view naam, std::int32_t defaultValue) const;

    /// True when the point table has an entry named naam: the socket has a value this step.
    bool PuntExists(std::string_view naam) const;

    /// Spreads values along the wires and through the blocks until nothing changes, colouring
    /// every wire that carries a value (in the list and told as it happens) and telling the
    /// counter's counting. Always returns false. Ends for every wire list, loops included,
    /// whatever names the wires carry.
    bool Run(BoardWires& lines);

    /// The counter's count input as last seen, 0 to 50; 0 for a new evaluator.
    std::int32_t LastCountValue() const { return lastcountvalue; }

private:
    /// A name's place in the table of values: the board's sockets by their number, then the
    /// counter's marker, then names of damaged boards in the order first met.
    using Slot = std::int32_t;

    /// The slot of `naam`, made when it has none.
    Slot SlotOf(std::string_view naam);
    /// The slot of `naam`, or -1 when no slot was ever made for it.
    Slot FindSlot(std::string_view naam) const;
    bool Known(Slot s) const { return known_[static_cast<std::size_t>(s)] != 0; }
    std::int32_t ValueAt(Slot s) const { return values_[static_cast<std::size_t>(s)]; }
    /// Gives slot s its value unless it has one: the first entry of a name is the one read.
    void Enter(Slot s, std::int32_t v);
    /// Numbers both ends of every wire, and notes which slots are wired.
    void PrepareWires(BoardWires& lines);

    /// One pass over the wires: a wire with one known end passes that value to its other end
    /// and takes the colour of it. True when a value was entered.
    bool PropagateWires(BoardWires& lines);
    /// One pass over the nine blocks in their fixed order. True when a value was entered.
    bool EvaluateBlocks();
    /// True when some wire has the name of slot s at one of its ends.
    bool IsWired(Slot s) const { return wired_[static_cast<std::size_t>(s)] != 0; }
    /// A socket is ready when it is not wired or already known.
    bool IsReady(Slot s) const { return !IsWired(s) || Known(s); }
    /// The value of slot s, 0 when it has none.
    std::int32_t Val(Slot s) const { return Known(s) ? ValueAt(s) : 0; }
    /// Colour number of a wire carrying v: 8 - 7v/50 rounded, halves to even.
    static std::int32_t ColorOf(std::int32_t v);

    GraphEvents* events_ = nullptr;
    std::int32_t lastcountvalue = 0;
    std::vector<std::int32_t> values_;
    std::vector<unsigned char> known_;
    std::vector<unsigned char> wired_;
    /// Slots given a value since Clear.
    std::vector<Slot> entered_;
    /// Looks names up without making a string of them.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view naam) const {
            return std::hash<std::string_view>{}(naam);
        }
    };
    /// Names outside the socket table, with their slots.
    std::unordered_map<std::string, Slot, NameHash, std::equal_to<>> extra_;
};
