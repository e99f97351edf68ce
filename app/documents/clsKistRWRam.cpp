#include "app/documents/clsKistRWRam.h"

#include "app/documents/KistError.h"
#include "app/documents/LittleEndian.h"
#include "app/documents/Windows1252.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace {

// Positions and chunk lengths are 32-bit Longs in the stream, so the buffer stops there.
constexpr std::size_t kMaxSize = std::numeric_limits<std::int32_t>::max();

} // namespace

clsKistRWRam::clsKistRWRam() : buffer_(kInitialSize, 0) {}

void clsKistRWRam::ResetToStart() {
    pos_ = 0;
}

const std::uint8_t* clsKistRWRam::Take(std::size_t count) {
    if (count > buffer_.size() - pos_) {
        throw KistReadError("read past the end of a memory stream: " + std::to_string(count) +
                            " bytes wanted at position " + std::to_string(pos_) + " of " +
                            std::to_string(buffer_.size()));
    }
    const std::uint8_t* p = buffer_.data() + pos_;
    pos_ += count;
    return p;
}

std::uint8_t* clsKistRWRam::Put(std::size_t count) {
    if (count > buffer_.size() - pos_) {
        if (count > kMaxSize - pos_) {
            throw KistWriteError("a memory stream cannot grow beyond " + std::to_string(kMaxSize) +
                                 " bytes");
        }
        const std::size_t doubled = std::min(buffer_.size() * 2, kMaxSize);
        buffer_.resize(std::max(pos_ + count, doubled), 0);
    }
    std::uint8_t* p = buffer_.data() + pos_;
    pos_ += count;
    return p;
}

void clsKistRWRam::BeginChunk(std::int16_t i) {
    chunks_.CheckCanBegin();
    writeInt(i);
    chunks_.Push(static_cast<std::int64_t>(pos_));
    writeLong(0);
}

void clsKistRWRam::EndChunk() {
    const auto start = static_cast<std::size_t>(chunks_.Innermost());
    little_endian::Store32(buffer_.data() + start, static_cast<std::uint32_t>(pos_ - start - 4));
    chunks_.Pop();
}

std::int16_t clsKistRWRam::PeekChunkType() {
    const std::size_t at = pos_;
    const std::int16_t type = readInt();
    pos_ = at;
    return type;
}

void clsKistRWRam::GoIntoChunk() {
    Take(6);
}

std::string clsKistRWRam::readString() {
    const std::uint8_t* begin = buffer_.data() + pos_;
    const std::size_t available = std::min(buffer_.size() - pos_, kMaxStringBytes);
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(begin, 0, available));
    if (end == nullptr && available == kMaxStringBytes) {
        throw KistReadError("damaged board document: the string at position " +
                            std::to_string(pos_) + " of a memory stream runs past " +
                            std::to_string(kMaxStringBytes) + " bytes");
    }
    if (end == nullptr) {
        throw KistReadError("read past the end of a memory stream: no end to the string at "
                            "position " +
                            std::to_string(pos_) + " of " + std::to_string(buffer_.size()));
    }
    std::string text;
    Windows1252::AppendDecoded(begin, static_cast<std::size_t>(end - begin), text);
    pos_ += static_cast<std::size_t>(end - begin) + 1;
    return text;
}

std::int16_t clsKistRWRam::readInt() {
    return static_cast<std::int16_t>(little_endian::Load16(Take(2)));
}

std::int32_t clsKistRWRam::readLong() {
    return static_cast<std::int32_t>(little_endian::Load32(Take(4)));
}

std::int32_t clsKistRWRam::readBool() {
    return *Take(1) == 0xFF ? -1 : 0;
}

float clsKistRWRam::readSingle() {
    return std::bit_cast<float>(little_endian::Load32(Take(4)));
}
