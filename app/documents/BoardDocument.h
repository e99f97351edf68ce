#pragma once
// The content of one board document: what the user has built and set on the board, as
// plain values. The main window gathers it from its board objects to write a document or an
// undo state, and applies it to them after a successful read, so that a document that cannot
// be read leaves the board as it was.

#include "app/documents/KistReader.h"
#include "app/documents/KistWriter.h"

#include <cstdint>
#include <string>
#include <vector>

class BoardDocument {
public:
    /// Chunk types of the document layout.
    static constexpr std::int16_t kDocumentChunk = -9510;
    static constexpr std::int16_t kSettingsChunk = 4096;
    static constexpr std::int16_t kWiresChunk = 8192;

    /// Ranges a read document must respect; anything outside is a damaged document.
    static constexpr std::int32_t kMaxDisplayValue = 9;
    static constexpr std::int32_t kMaxSensorMode = 2;
    static constexpr std::int32_t kMaxKnobSetting = 50;
    /// Far above the 1431 distinct wires between 54 sockets; a larger count is damage.
    static constexpr std::int32_t kMaxWireCount = 10000;

    /// One wire, by the socket names at its two ends.
    struct Wire {
        std::string naam1;
        std::string naam2;
        friend bool operator==(const Wire&, const Wire&) = default;
    };

    /// False when the document read had no settings chunk; the board's components then keep
    /// their state and the settings below are not to be applied. Writing ignores it: a
    /// written document always holds its settings.
    bool hasSettings = true;
    /// Digit of the counter display, 0 to 9.
    std::int32_t displayValue = 0;
    /// Modes of sensor 1 and sensor 2, 0 to 2.
    std::int32_t sensor1 = 0;
    std::int32_t sensor2 = 0;
    /// Knob settings, 0 to 50 each.
    std::int32_t pulseGenerator = 0;
    std::int32_t comparator = 0;
    std::int32_t variableVoltage = 0;
    /// Lamps of push buttons 1 and 2 lit.
    bool pushButton1 = false;
    bool pushButton2 = false;
    /// The finished wires in the order of the wire list.
    std::vector<Wire> wires;

    /// Writes the whole document: the outer chunk, the settings chunk (a 0, the number of
    /// wires, display, sensor 1, sensor 2, pulse generator, comparator, variable voltage, the
    /// two lamps) and the wire chunk (naam1 and naam2 of every wire). Errors of the stream
    /// (KistError) are passed on; what was written before stays in the stream.
    void WriteTo(KistWriter& dest) const;

    /// Reads a document from the present position of `src`. A stream that does not begin
    /// with the outer chunk gives a document with no wires and no settings; one without the
    /// settings chunk has no settings and no wires. Reading stops after the last wire. Never
    /// makes more wires than the stream holds: a negative count reads none, and a count larger
    /// than the data ends in the stream's KistReadError. Raises BoardDocumentError for a
    /// display, sensor or knob value out of range. Nothing is returned unless all went well.
    static BoardDocument ReadFrom(KistReader& src);

    friend bool operator==(const BoardDocument&, const BoardDocument&) = default;
};
