#include "app/documents/clsKistRFile.h"

#include "app/documents/KistError.h"
#include "app/documents/LittleEndian.h"
#include "app/documents/Windows1252.h"
#include "platform/errors/SystemError.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

int NextFileNr() {
    static int last = 0;
    last = last == std::numeric_limits<int>::max() ? 1 : last + 1;
    return last;
}

} // namespace

clsKistRFile::~clsKistRFile() {
    CloseFile();
}

void clsKistRFile::OpenFile(const std::string& fname) {
    CloseFile();
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::path(fname), ec)) {
        throw KistOpenError("\"" + fname + "\" kan niet worden gelezen: het is een map",
                            "het is een map");
    }
    errno = 0;
    std::FILE* file = std::fopen(fname.c_str(), "rb");
    if (file == nullptr) {
        const int error = errno;
        throw KistOpenError("\"" + fname +
                                "\" kan niet worden gelezen: " + SystemError::Reason(error),
                            SystemError::Reason(error));
    }
    // Our own buffer does the buffering; the stream passes whole blocks straight through.
    std::setvbuf(file, nullptr, _IONBF, 0);
    file_ = file;
    name_ = fname;
    fileNr_ = NextFileNr();
    buffer_.assign(kBufferSize, 0);
    head_ = tail_ = 0;
    offset_ = 0;
}

void clsKistRFile::CloseFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    fileNr_ = 0;
    buffer_.clear();
    buffer_.shrink_to_fit();
    head_ = tail_ = 0;
}

void clsKistRFile::CheckOpen() const {
    if (file_ == nullptr) {
        throw KistReadError("cannot read: no file is open");
    }
}

bool clsKistRFile::Refill() {
    if (head_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + head_, tail_ - head_);
        tail_ -= head_;
        head_ = 0;
    }
    if (tail_ == buffer_.size()) {
        buffer_.resize(buffer_.size() * 2);
    }
    errno = 0;
    const std::size_t got = std::fread(buffer_.data() + tail_, 1, buffer_.size() - tail_, file_);
    if (got == 0 && std::ferror(file_) != 0) {
        const int error = errno;
        std::clearerr(file_);
        throw KistReadError("\"" + name_ +
                            "\" kan niet worden gelezen: " + SystemError::Reason(error));
    }
    tail_ += got;
    return got > 0;
}

void clsKistRFile::ThrowPastEnd(std::size_t count) const {
    throw KistReadError("read past the end of \"" + name_ + "\": " + std::to_string(count) +
                        " bytes wanted at offset " + std::to_string(offset_) + ", " +
                        std::to_string(tail_ - head_) + " left");
}

void clsKistRFile::Need(std::size_t count) {
    CheckOpen();
    while (tail_ - head_ < count) {
        if (!Refill()) {
            ThrowPastEnd(count);
        }
    }
}

const std::uint8_t* clsKistRFile::Take(std::size_t count) {
    Need(count);
    const std::uint8_t* p = buffer_.data() + head_;
    head_ += count;
    offset_ += count;
    return p;
}

void clsKistRFile::GoIntoChunk() {
    Take(6);
}

std::int16_t clsKistRFile::PeekChunkType() {
    Need(2);
    return static_cast<std::int16_t>(little_endian::Load16(buffer_.data() + head_));
}

std::string clsKistRFile::readString() {
    CheckOpen();
    std::size_t scanned = 0;
    for (;;) {
        const std::uint8_t* begin = buffer_.data() + head_;
        const std::size_t available = std::min(tail_ - head_, kMaxStringBytes);
        const auto* end =
            static_cast<const std::uint8_t*>(std::memchr(begin + scanned, 0, available - scanned));
        if (end != nullptr) {
            const auto length = static_cast<std::size_t>(end - begin);
            std::string text;
            Windows1252::AppendDecoded(begin, length, text);
            Take(length + 1);
            return text;
        }
        if (available == kMaxStringBytes) {
            throw KistReadError("damaged board document: the string at offset " +
                                std::to_string(offset_) + " in \"" + name_ + "\" runs past " +
                                std::to_string(kMaxStringBytes) + " bytes");
        }
        // Refill keeps the unread bytes in order, so what was scanned need not be again.
        scanned = available;
        if (!Refill()) {
            throw KistReadError("read past the end of \"" + name_ +
                                "\": no end to the string at offset " + std::to_string(offset_));
        }
    }
}

std::int16_t clsKistRFile::readInt() {
    return static_cast<std::int16_t>(little_endian::Load16(Take(2)));
}

std::int32_t clsKistRFile::readLong() {
    return static_cast<std::int32_t>(little_endian::Load32(Take(4)));
}

std::int32_t clsKistRFile::readBool() {
    return *Take(1) == 0xFF ? -1 : 0;
}

float clsKistRFile::readSingle() {
    return std::bit_cast<float>(little_endian::Load32(Take(4)));
}
