#include "app/simulation/clsSnaps.h"

#include "app/simulation/Rounding.h"

#include <stdexcept>

clsSnaps::clsSnaps() {
    AddSnap(44, 49, 24.0f, "Sensor 1", false, false, 2);
    AddSnap(44, 102, 24.0f, "Sensor 2", false, false, 2);
    AddSnap(31, 145, 10.0f, "Geluids Sensor", false, false, 2);
    AddSnap(98, 50, 10.0f, "Sensor 1 Uit Geel", true, false, 2);
    AddSnap(98, 101, 10.0f, "Sensor 2 Uit Geel", true, false, 2);
    AddSnap(98, 144, 10.0f, "Geluids Sensor Uit Geel", true, false, 2);
    AddSnap(98, 179, 10.0f, "Drukknop 1 Uit Geel", true, false, 2);
    AddSnap(98, 214, 10.0f, "Drukknop 2 Uit Geel", true, false, 2);
    AddSnap(98, 256, 10.0f, "Var. Spanning Uit Geel", true, false, 2);
    AddSnap(98, 295, 10.0f, "Puls Generator Uit Geel", true, false, 2);
    AddSnap(133, 41, 10.0f, "Transistor In", true, false, 1);
    AddSnap(133, 110, 10.0f, "EN-poort Ingang 1", true, false, 1);
    AddSnap(133, 145, 10.0f, "EN-poort Ingang 2", true, false, 1);
    AddSnap(134, 180, 10.0f, "Geheugen Set (In)", true, false, 1);
    AddSnap(134, 215, 10.0f, "Geheugen Reset (In)", true, false, 1);
    AddSnap(199, 41, 10.0f, "Transistor Uit", true, false, 2);
    AddSnap(199, 128, 10.0f, "EN-poort Uit", true, false, 2);
    AddSnap(200, 198, 10.0f, "Geheugen Uit", true, false, 2);
    AddSnap(222, 42, 10.0f, "Comparator In", true, false, 1);
    AddSnap(287, 41, 10.0f, "Comparator Uit", true, false, 2);
    AddSnap(222, 111, 10.0f, "OF-poort Ingang 1", true, false, 1);
    AddSnap(222, 145, 10.0f, "OF-poort Ingang 2", true, false, 1);
    AddSnap(287, 128, 10.0f, "OF-poort Uit", true, false, 2);
    AddSnap(222, 197, 10.0f, "Invertor Ingang", true, false, 1);
    AddSnap(288, 197, 10.0f, "Invertor Uitgang", true, false, 2);
    AddSnap(322, 41, 10.0f, "LED 1 Ingang", true, false, 1);
    AddSnap(322, 75, 10.0f, "LED 2 Ingang", true, false, 1);
    AddSnap(323, 110, 10.0f, "LED 3 Ingang", true, false, 1);
    AddSnap(323, 145, 10.0f, "LED 4 Ingang", true, false, 1);
    AddSnap(323, 197, 10.0f, "Zoemer", true, false, 1);
    AddSnap(323, 245, 10.0f, "Relais Controle (In)", true, false, 1);
    AddSnap(368, 246, 10.0f, "Relais Ingang 1 (in/uit)", true, false, 3);
    AddSnap(393, 245, 10.0f, "Relais Ingang 2 (in/uit)", true, false, 3);
    AddSnap(369, 285, 10.0f, "Relais Uitgang 1 (in/uit)", true, false, 3);
    AddSnap(394, 285, 10.0f, "Relais Uitgang 2 (in/uit)", true, false, 3);
    AddSnap(288, 250, 10.0f, "Pulsenteller Uitgang 1", true, false, 2);
    AddSnap(266, 249, 10.0f, "Pulsenteller Uitgang 2", true, false, 2);
    AddSnap(244, 249, 10.0f, "Pulsenteller Uitgang 4", true, false, 2);
    AddSnap(222, 250, 10.0f, "Pulsenteller Uitgang 8", true, false, 2);
    AddSnap(133, 249, 10.0f, "Pulsenteller Tel pulsen (In)", true, false, 1);
    AddSnap(133, 281, 10.0f, "Pulsenteller Teller aan/uit (In)", true, false, 1);
    AddSnap(134, 305, 10.0f, "Pulsenteller Reset (In)", true, false, 1);
    AddSnap(30, 336, 10.0f, "AD-omzetter In", true, false, 1);
    AddSnap(51, 335, 10.0f, "AD-omzetter Uitgang 8", true, false, 2);
    AddSnap(70, 335, 10.0f, "AD-omzetter Uitgang 4", true, false, 2);
    AddSnap(87, 335, 10.0f, "AD-omzetter Uitgang 2", true, false, 2);
    AddSnap(104, 335, 10.0f, "AD-omzetter Uitgang 1", true, false, 2);
    AddSnap(30, 180, 10.0f, "Drukknop 1", false, true, 0);
    AddSnap(29, 214, 10.0f, "Drukknop 2", false, true, 0);
    AddSnap(31, 256, 10.0f, "Var. Spanning In Zwart", true, false, 0);
    AddSnap(63, 256, 10.0f, "Var. Spanning Regelaar", false, true, 0);
    AddSnap(64, 296, 10.0f, "Puls Generator Regelaar", false, true, 0);
    AddSnap(200, 305, 10.0f, "Pulsenteller Reset Drukknop", false, true, 0);
    AddSnap(266, 72, 10.0f, "Comparator Regelaar", false, true, 0);
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
