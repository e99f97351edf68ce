#include "app/simulation/clsSnaps.h"

#include "app/simulation/Rounding.h"
#include "app/simulation/SocketTable.h"

#include <stdexcept>

clsSnaps::clsSnaps() {
    for (const SocketEntry& entry : kSocketTable) {
        AddSnap(entry.x, entry.y, entry.Radius, entry.naam, entry.Connectable, entry.Changeable,
                entry.soort);
    }
}

void clsSnaps::AddSnap(std::int32_t x, std::int32_t y, float Radius, std::string_view naam,
                       bool Connectable, bool Changeable, std::int32_t soort) {
    if (count_ >= MaxSnaps) {
        throw std::out_of_range("clsSnaps::AddSnap: the socket table is full (" +
                                std::to_string(MaxSnaps) + " entries), cannot add \"" +
                                std::string(naam) + "\"");
    }
    Snap& s = snaps_[static_cast<std::size_t>(count_ + 1)];
    s.x = x;
    s.y = y;
    s.Radius = RoundHalfEven(Radius);
    s.naam = naam;
    s.Connectable = Connectable;
    s.Changeable = Changeable;
    s.soort = soort;
    ++count_;
}

std::string clsSnaps::GetSnapItemName(std::int32_t Index) const {
    if (Index < 0 || Index > MaxSnaps) {
        throw std::out_of_range("clsSnaps::GetSnapItemName: position " + std::to_string(Index) +
                                " is outside 0.." + std::to_string(MaxSnaps));
    }
    return snaps_[static_cast<std::size_t>(Index)].naam;
}

const clsSnaps::Snap* clsSnaps::Find(std::string_view naam) const {
    for (std::int32_t i = 1; i <= count_; ++i) {
        const Snap& s = snaps_[static_cast<std::size_t>(i)];
        if (s.naam == naam) {
            return &s;
        }
    }
    return nullptr;
}

std::int32_t clsSnaps::GetXbyName(std::string_view naam) const {
    const Snap* s = Find(naam);
    return s ? s->x : 0;
}

std::int32_t clsSnaps::GetYbyName(std::string_view naam) const {
    const Snap* s = Find(naam);
    return s ? s->y : 0;
}

std::int32_t clsSnaps::GetConnectablebyName(std::string_view naam) const {
    const Snap* s = Find(naam);
    return (s && s->Connectable) ? -1 : 0;
}

std::int32_t clsSnaps::GetSoortbyName(std::string_view naam) const {
    const Snap* s = Find(naam);
    return s ? s->soort : 0;
}

std::string clsSnaps::GetSnapName(std::int32_t x, std::int32_t y) const {
    // Widened, so that points near the ends of the 32-bit range cannot overflow.
    const std::int64_t px = x;
    const std::int64_t py = y;
    for (std::int32_t i = 1; i <= count_; ++i) {
        const Snap& s = snaps_[static_cast<std::size_t>(i)];
        const std::int64_t r = s.Radius;
        if (s.x > px - r && s.x < px + r && s.y > py - r && s.y < py + r) {
            return s.naam;
        }
    }
    return {};
}
