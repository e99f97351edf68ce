#pragma once
// The fixed table of named points of the board: sockets and the points the user operates.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

/// The socket table. A new object holds the 54 points of the board, numbered from 1 in the
/// order of the board's layout; every search runs from entry 1 upwards and takes the first
/// match. Names are compared exactly and case-sensitively.
class clsSnaps {
public:
    /// Largest number of entries the table can hold.
    static constexpr std::int32_t MaxSnaps = 100;

    /// Builds the board's table: GetSnapCount() is 54 afterwards.
    clsSnaps();

    /// Appends an entry at position GetSnapCount() + 1. Radius is stored rounded to the
    /// nearest integer, halves to even. Throws std::out_of_range when the table already holds
    /// MaxSnaps entries; the table is then unchanged.
    void AddSnap(std::int32_t x, std::int32_t y, float Radius, std::string_view naam = {},
                 bool Connectable = false, bool Changeable = false, std::int32_t soort = 0);

    /// Number of entries.
    std::int32_t GetSnapCount() const { return count_; }

    /// Name at position Index; "" for position 0 and for positions beyond the count. Throws
    /// std::out_of_range for an Index outside 0..MaxSnaps.
    std::string GetSnapItemName(std::int32_t Index) const;

    /// x of the first entry named naam; 0 when no entry has that name.
    std::int32_t GetXbyName(std::string_view naam) const;
    /// y of the first entry named naam; 0 when no entry has that name.
    std::int32_t GetYbyName(std::string_view naam) const;
    /// -1 when a wire may end on the first entry named naam, else 0 (also for unknown names).
    std::int32_t GetConnectablebyName(std::string_view naam) const;
    /// Kind of the first entry named naam: 0 other, 1 input, 2 output, 3 relay contact; 0 for
    /// unknown names.
    std::int32_t GetSoortbyName(std::string_view naam) const;

    /// Name of the first entry whose open square (centre +/- Radius, edges excluded) contains
    /// the board point (x, y); "" when none does.
    std::string GetSnapName(std::int32_t x, std::int32_t y) const;

private:
    struct Snap {
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t Radius = 0;
        std::string naam;
        bool Connectable = false;
        bool Changeable = false;
        std::int32_t soort = 0;
    };

    /// Entry with that name, or nullptr.
    const Snap* Find(std::string_view naam) const;

    // Position 0 exists but is never filled.
    std::array<Snap, MaxSnaps + 1> snaps_;
    std::int32_t count_ = 0;
};
