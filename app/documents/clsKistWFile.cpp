#include "app/documents/clsKistWFile.h"

#include "app/documents/KistError.h"
#include "app/documents/LittleEndian.h"
#include "platform/errors/SystemError.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

int NextFileNr() {
    static int last = 0;
    last = last == std::numeric_limits<int>::max() ? 1 : last + 1;
    return last;
}

std::string Reason(int error) {
    return SystemError::Reason(error);
}

} // namespace

clsKistWFile::~clsKistWFile() {
    try {
        CloseFile();
    } catch (const KistError&) {
        // A caller who needed to know called CloseFile itself.
    }
}

void clsKistWFile::OpenFile(const std::string& fname) {
    CloseFile();
    errno = 0;
    std::FILE* file = std::fopen(fname.c_str(), "wb");
    if (file == nullptr) {
        const int error = errno;
        throw KistOpenError("\"" + fname + "\" kan niet worden geschreven: " + Reason(error));
    }
    // Our own buffer does the buffering; the stream passes whole blocks straight through, so
    // that a failed write shows at once.
    std::setvbuf(file, nullptr, _IONBF, 0);
    file_ = file;
    name_ = fname;
    fileNr_ = NextFileNr();
    buffer_.resize(kBufferSize);
    used_ = 0;
    written_ = 0;
    failure_.clear();
    chunks_.Clear();
}

void clsKistWFile::CloseFile() {
    if (file_ == nullptr) {
        return;
    }
    if (failure_.empty()) {
        try {
            Flush();
        } catch (const KistWriteError&) {
            // Remembered in failure_, raised below once the file is closed.
        }
    }
    errno = 0;
    const bool closed = std::fclose(file_) == 0;
    const int error = errno;
    file_ = nullptr;
    fileNr_ = 0;
    buffer_.clear();
    buffer_.shrink_to_fit();
    used_ = 0;
    if (!closed && failure_.empty()) {
        failure_ = "\"" + name_ + "\" kan niet worden gesloten: " + Reason(error);
    }
    if (!failure_.empty()) {
        std::string failure = std::move(failure_);
        failure_.clear();
        throw KistWriteError(failure);
    }
}

void clsKistWFile::CheckWritable() const {
    if (file_ == nullptr) {
        throw KistWriteError("cannot write: no file is open");
    }
    if (!failure_.empty()) {
        throw KistWriteError(failure_);
    }
}

void clsKistWFile::Fail(const std::string& what, int error) {
    failure_ = what + " \"" + name_ + "\": " + Reason(error);
    throw KistWriteError(failure_);
}

void clsKistWFile::Flush() {
    if (used_ == 0) {
        return;
    }
    errno = 0;
    const std::size_t done = std::fwrite(buffer_.data(), 1, used_, file_);
    const int error = errno;
    const std::size_t wanted = used_;
    written_ += static_cast<std::int64_t>(done);
    used_ = 0;
    if (done != wanted) {
        Fail("schrijven mislukt in", error);
    }
}

std::uint8_t* clsKistWFile::Put(std::size_t count) {
    CheckWritable();
    if (count > buffer_.size() - used_) {
        Flush();
        if (count > buffer_.size()) {
            buffer_.resize(count);
        }
    }
    std::uint8_t* p = buffer_.data() + used_;
    used_ += count;
    return p;
}

void clsKistWFile::Patch(std::int64_t at, std::int32_t value) {
    std::uint8_t bytes[4];
    little_endian::Store32(bytes, static_cast<std::uint32_t>(value));
    // Put never splits an item between the file and the buffer, so the field is wholly in
    // one of them.
    if (at >= written_) {
        std::memcpy(buffer_.data() + (at - written_), bytes, sizeof bytes);
        return;
    }
    Flush();
    errno = 0;
    if (std::fseek(file_, static_cast<long>(at), SEEK_SET) != 0 ||
        std::fwrite(bytes, 1, sizeof bytes, file_) != sizeof bytes ||
        std::fseek(file_, 0, SEEK_END) != 0) {
        Fail("schrijven mislukt in", errno);
    }
}

void clsKistWFile::BeginChunk(std::int16_t i) {
    CheckWritable();
    chunks_.CheckCanBegin();
    writeInt(i);
    chunks_.Push(Position());
    writeLong(0);
}

void clsKistWFile::EndChunk() {
    CheckWritable();
    const std::int64_t start = chunks_.Innermost();
    const std::int64_t length = Position() - start - 4;
    if (length > std::numeric_limits<std::int32_t>::max()) {
        throw KistWriteError("cannot end a chunk of " + std::to_string(length) + " bytes in \"" +
                             name_ + "\": a chunk holds at most 2147483647 bytes");
    }
    Patch(start, static_cast<std::int32_t>(length));
    chunks_.Pop();
}
