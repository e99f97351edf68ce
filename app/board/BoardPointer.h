#pragma once
// The board's pointer interaction: drawing and deleting wires and operating the sensors,
// push buttons, knobs and the counter's reset button, by the main window's edit mode.

#include "app/board/SocketProbe.h"
#include "app/components/clsLine.h"

#include <QObject>
#include <cstdint>
#include <string>

class FORM1;

/// Listens to the main window's canvas from its construction on and acts on the window's
/// board. Events reported on a sprite (the knob's scale) and events while the pointer is over
/// the shown knob belong to the knob and are ignored here, as is everything once the window
/// has no board. Made after the knob, so that the knob sees each event first.
class BoardPointer : public QObject {
public:
    /// Buttons as the canvas reports them.
    static constexpr int kLeftButton = 1;
    static constexpr int kRightButton = 2;
    /// The distance every wire is compared with first; a wire at least this far away is
    /// never the nearest.
    static constexpr std::int32_t kFarAway = 10000000;

    explicit BoardPointer(FORM1& form);

    /// Every mode: tells the probe where the pointer is (and that there is nothing to probe
    /// while the event belongs to the knob). Modes 0 and 2: remembers the pointer's board
    /// position and whether it rests on a named point (in mode 2 a socket a wire may end on
    /// does not count), for the tick's highlight cursor. Mode 1: highlights the wire nearest
    /// to the pointer and no other.
    void Kaleido1_PointerMove(int sprite, int x, int y);

    /// Modes 0 and 2, left button: operates the named point under the pointer (sensors and
    /// push buttons are recorded for undo; knobs open the knob; the counter's reset button
    /// clears the display) and, in mode 0, adds a wire end at a socket: the first end starts
    /// a pending wire, the second finishes it (refused with "Deze lijn bestaat al." when the
    /// two sockets are already joined), records it and takes it back when it joins two
    /// outputs. Right button: drops the pending wire. Mode 1, any press with the left button:
    /// removes the nearest wire, then records a state, also when there was no wire.
    void Kaleido1_PointerDown(int sprite, int button, int x, int y);

    /// Index in `lines` of the wire nearest to (x, y) by clsLine::Distance, the earliest of
    /// equally near ones; -1 when the list is empty or every wire is kFarAway or further.
    static std::ptrdiff_t NearestWire(const WireList& lines, std::int32_t x, std::int32_t y);

    /// The probe the pointer feeds; the tick refreshes it.
    SocketProbe& Probe() { return probe_; }

private:
    bool Ignored(int sprite) const;
    /// Acts on the named point `name` at socket position (sx, sy) for a left press.
    void Operate(const std::string& name, std::int32_t sx, std::int32_t sy);
    void AddWireEnd(const std::string& name, std::int32_t sx, std::int32_t sy);
    void DeleteNearestWire(std::int32_t x, std::int32_t y);

    FORM1& form_;
    SocketProbe probe_;
};
