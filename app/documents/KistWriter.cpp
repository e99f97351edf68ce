#include "app/documents/KistWriter.h"

#include "app/documents/LittleEndian.h"
#include "app/documents/Windows1252.h"

#include <bit>
#include <cstring>
#include <string>

void KistWriter::writeString(std::string_view s) {
    thread_local std::string encoded;
    Windows1252::Encode(s, encoded);
    std::uint8_t* p = Put(encoded.size() + 1);
    std::memcpy(p, encoded.data(), encoded.size());
    p[encoded.size()] = 0;
}

void KistWriter::writeInt(std::int16_t i) {
    little_endian::Store16(Put(2), static_cast<std::uint16_t>(i));
}

void KistWriter::writeLong(std::int32_t l) {
    little_endian::Store32(Put(4), static_cast<std::uint32_t>(l));
}

void KistWriter::writeBool(bool b) {
    *Put(1) = b ? 0xFF : 0x00;
}

void KistWriter::writeSingle(float s) {
    little_endian::Store32(Put(4), std::bit_cast<std::uint32_t>(s));
}
