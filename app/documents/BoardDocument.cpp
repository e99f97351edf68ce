#include "app/documents/BoardDocument.h"

#include "app/documents/BoardDocumentError.h"

#include <limits>

namespace {

void CheckRange(const char* field, std::int32_t value, std::int32_t max) {
    if (value < 0 || value > max) {
        throw BoardDocumentError("damaged board document: " + std::string(field) + " " +
                                 std::to_string(value) + " is outside 0 to " + std::to_string(max));
    }
}

} // namespace

void BoardDocument::WriteTo(KistWriter& dest) const {
    if (wires.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw KistWriteError("cannot write a board of " + std::to_string(wires.size()) +
                             " wires: the count does not fit in the document");
    }
    dest.BeginChunk(kDocumentChunk);
    dest.BeginChunk(kSettingsChunk);
    dest.writeLong(0);
    dest.writeLong(static_cast<std::int32_t>(wires.size()));
    dest.writeLong(displayValue);
    dest.writeLong(sensor1);
    dest.writeLong(sensor2);
    dest.writeLong(pulseGenerator);
    dest.writeLong(comparator);
    dest.writeLong(variableVoltage);
    dest.writeBool(pushButton1);
    dest.writeBool(pushButton2);
    dest.EndChunk();
    dest.BeginChunk(kWiresChunk);
    for (const Wire& wire : wires) {
        dest.writeString(wire.naam1);
        dest.writeString(wire.naam2);
    }
    dest.EndChunk();
    dest.EndChunk();
}

BoardDocument BoardDocument::ReadFrom(KistReader& src) {
    BoardDocument document;
    document.hasSettings = false;
    if (src.PeekChunkType() != kDocumentChunk) {
        return document;
    }
    src.GoIntoChunk();
    std::int32_t count = 0;
    if (src.PeekChunkType() == kSettingsChunk) {
        src.GoIntoChunk();
        src.readLong(); // always 0, no meaning
        count = src.readLong();
        document.displayValue = src.readLong();
        document.sensor1 = src.readLong();
        document.sensor2 = src.readLong();
        document.pulseGenerator = src.readLong();
        document.comparator = src.readLong();
        document.variableVoltage = src.readLong();
        document.pushButton1 = src.readBool() != 0;
        document.pushButton2 = src.readBool() != 0;
        document.hasSettings = true;
        CheckRange("display value", document.displayValue, kMaxDisplayValue);
        CheckRange("sensor 1 mode", document.sensor1, kMaxSensorMode);
        CheckRange("sensor 2 mode", document.sensor2, kMaxSensorMode);
        CheckRange("pulse generator setting", document.pulseGenerator, kMaxKnobSetting);
        CheckRange("comparator setting", document.comparator, kMaxKnobSetting);
        CheckRange("variable voltage setting", document.variableVoltage, kMaxKnobSetting);
    }
    if (count < 0) {
        throw BoardDocumentError("damaged board document: wire count " + std::to_string(count) +
                                 " is negative");
    }
    // A board has 54 sockets, so at most a few thousand distinct wires; a count far beyond
    // that is damage, refused before any wire is read.
    CheckRange("wire count", count, kMaxWireCount);
    if (count > 0) {
        // A document that counts wires but lacks their chunk has lost them.
        if (src.PeekChunkType() != kWiresChunk) {
            throw BoardDocumentError("damaged board document: " + std::to_string(count) +
                                     " wires counted but no wire chunk follows");
        }
        src.GoIntoChunk();
        // The count comes from the file: wires are added as they are read, so a damaged count
        // ends in a read error instead of a huge allocation.
        for (std::int32_t i = 0; i < count; ++i) {
            Wire wire;
            wire.naam1 = src.readString();
            wire.naam2 = src.readString();
            document.wires.push_back(std::move(wire));
        }
    }
    return document;
}
