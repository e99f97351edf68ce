#include "fuzz/support/FuzzTempFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Folder() {
    struct stat st {};
    if (::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && ::access("/dev/shm", W_OK) == 0) {
        return "/dev/shm";
    }
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
}

} // namespace

FuzzTempFile::FuzzTempFile(const char* suffix) {
    std::string name = Folder() + "/tavsim-fuzz-XXXXXX" + suffix;
    const int fd = ::mkstemps(name.data(), static_cast<int>(std::strlen(suffix)));
    if (fd < 0) {
        std::perror("tavsim fuzz: cannot make a temporary file");
        std::abort();
    }
    ::close(fd);
    path_ = name;
}

FuzzTempFile::~FuzzTempFile() {
    ::unlink(path_.c_str());
}

void FuzzTempFile::Write(const std::uint8_t* data, std::size_t size) const {
    const int fd = ::open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    std::size_t done = 0;
    while (fd >= 0 && done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (fd < 0 || done < size || ::close(fd) != 0) {
        std::perror("tavsim fuzz: cannot write the temporary file");
        std::abort();
    }
}
