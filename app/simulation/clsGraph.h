#pragma once
// The circuit evaluator: settles the values of all sockets for one simulation step.

#include "app/components/clsLine.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class clsDisplay;

/// Computes the value of every socket for one step. Values are tenths of a volt, 0 to 50;
/// 50 is logic high. A socket without an entry in the point table is unknown, which differs
/// from 0. Per step: clear every wire's done mark, Clear, set comparatorvalue, AddPunt each
/// source, Run, then read the sinks with GetPuntValueByName. Within one Run each name gets at
/// most one value. The memory cell, the counter's last count-input level and the display keep
/// their state from step to step.
class clsGraph {
public:
    /// Entries the point table holds without growing: the board's own sockets and markers
    /// never need more. Wires of a damaged board that name unknown sockets make it grow.
    static constexpr std::int32_t MaxPunten = 100;

    /// Level stored in the memory cell, 0 or 50; 0 for a new evaluator; kept across steps.
    std::int32_t memoryvalue = 0;
    /// The comparator's reference level, 0 to 50.
    std::int32_t comparatorvalue = 0;

    /// Keeps the counter display the pulse counter counts on (not owned; must outlive the
    /// evaluator or be replaced). Without a display the counter still tracks its count input
    /// but counts and resets nothing.
    void Constructor(clsDisplay* theDisplay);

    /// Empties the point table; memoryvalue, comparatorvalue and the counter's state stay.
    void Clear();
    /// Appends an entry without looking for an earlier one of the same name.
    void AddPunt(std::string_view naam, std::int32_t Value);
    /// Value of the first entry named naam, or defaultValue when there is none.
    std::int32_t GetPuntValueByName(std::string_view naam, std::int32_t defaultValue) const;

    /// True when the point table has an entry named naam: the socket has a value this step.
    bool PuntExists(std::string_view naam) const;

    /// Spreads values along the wires and through the blocks until nothing changes, colouring
    /// every wire that carries a value and counting on the display. Always returns false.
    /// Ends for every wire list, loops included, whatever names the wires carry.
    bool Run(const WireList& lines);

private:
    struct Punt {
        std::string naam;
        std::int32_t Value = 0;
    };

    /// One pass over the wires: a wire with one known end passes that value to its other end
    /// and takes the colour of it. True when a value was entered.
    bool PropagateWires(const WireList& lines);
    /// One pass over the nine blocks in their fixed order. True when a value was entered.
    bool EvaluateBlocks(const WireList& lines);
    /// True when some wire has naam at one of its ends.
    static bool IsWired(const WireList& lines, std::string_view naam);
    /// A socket is ready when it is not wired or already known.
    bool IsReady(const WireList& lines, std::string_view naam) const;
    /// GetPuntValueByName(naam, 0).
    std::int32_t Val(std::string_view naam) const { return GetPuntValueByName(naam, 0); }
    /// Colour number of a wire carrying v: 8 - 7v/50 rounded, halves to even.
    static std::int32_t ColorOf(std::int32_t v);

    clsDisplay* theDisplay_ = nullptr;
    std::int32_t lastcountvalue = 0;
    // Entries 1..count_; position 0 is never filled.
    std::vector<Punt> punten_ = std::vector<Punt>(MaxPunten + 1);
    std::int32_t count_ = 0;
};
