#include "platform/files/DurableFile.h"

#include "platform/errors/SystemError.h"
#include "platform/files/DurableFileError.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTempMark = ".tmp-";
constexpr std::size_t kTempDigits = 16;
constexpr int kMaxLinks = 40;

using Stage = DurableFileError::Stage;

[[noreturn]] void Fail(Stage stage, const std::string& path, int error) {
    throw DurableFileError(stage, path, SystemError::Reason(error), error);
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    /// Closes now; the error number of a failed close, else 0.
    int Close() {
        const int result = ::close(std::exchange(fd_, -1));
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

std::string FolderOf(const std::string& file) {
    const fs::path p(file);
    return p.has_parent_path() ? p.parent_path().string() : std::string(".");
}

std::string TempPrefix(const std::string& target) {
    return "." + fs::path(target).filename().string() + std::string(kTempMark);
}

bool IsTempOf(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + kTempDigits || name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

/// Writes all of `bytes` at `offset`; 0 or the error number.
int WriteAll(int fd, std::string_view bytes, off_t offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                   offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return EIO;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

/// The whole file; false with the error number in `error` when it cannot be read.
bool ReadAll(int fd, std::string& bytes, int& error) {
    bytes.clear();
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return false;
        }
        if (n == 0) {
            return true;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        offset += n;
    }
}

/// A temporary file of an earlier save is abandoned when its lock can be had: a save holds
/// the lock on its temporary file until the file has taken the target's place.
void RemoveAbandonedTemps(const std::string& target) {
    const std::string folder = FolderOf(target);
    const std::string prefix = TempPrefix(target);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(dir)) {
        if (IsTempOf(entry->d_name, prefix)) {
            candidates.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    for (const std::string& name : candidates) {
        const std::string path = folder + "/" + name;
        Fd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat held {};
        struct stat named {};
        if (fd.get() < 0 || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode) ||
            ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        // Still the same file under that name: only then is it ours to remove.
        if (::lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
            named.st_ino == held.st_ino) {
            ::unlink(path.c_str());
        }
    }
}

/// Creates and locks a new temporary file beside `target`; its descriptor and name, or -1
/// with the error number in `error`.
int CreateTemp(const std::string& target, mode_t mode, std::string& name, int& error) {
    const std::string base = FolderOf(target) + "/" + TempPrefix(target);
    std::random_device seed;
    std::mt19937_64 random((static_cast<std::uint64_t>(seed()) << 32) ^ seed() ^
                           static_cast<std::uint64_t>(::getpid()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        char digits[kTempDigits + 1];
        std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(random()));
        name = base + digits;
        const int fd =
            ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0) {
            error = errno;
            if (error == EEXIST) {
                continue;
            }
            return -1;
        }
        // Between creating and locking, another save may have taken the file for an
        // abandoned one and removed it; then it is not ours any more and another is made.
        struct stat held {};
        struct stat named {};
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        if (::fstat(fd, &held) == 0 && ::lstat(name.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            return fd;
        }
        ::close(fd);
    }
    error = EEXIST;
    return -1;
}

/// Best effort: the rename itself reaches the disk. Not every file system can sync a folder.
void SyncFolder(const std::string& target) {
    const int fd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

/// For a folder that takes no new files: the bytes are written over the file itself. The room
/// is reserved first, so that a full disk refuses the save before anything changes; a write
/// that fails all the same puts the old bytes back.
void WriteInPlace(const std::string& path, const std::string& target, std::string_view bytes) {
    Fd fd(::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    if (fd.get() < 0) {
        Fail(Stage::Refused, path, errno);
    }
    std::string old;
    int error = 0;
    if (!ReadAll(fd.get(), old, error)) {
        Fail(Stage::Refused, path, error);
    }
    const off_t size = static_cast<off_t>(bytes.size());
    if (size > 0) {
        error = ::posix_fallocate(fd.get(), 0, size);
        if (error == ENOSPC || error == EDQUOT || error == EFBIG || error == EIO) {
            // A failed reservation may have grown the file; it gets its own length back.
            ::ftruncate(fd.get(), static_cast<off_t>(old.size()));
            Fail(Stage::Refused, path, error);
        }
        // A file system that cannot reserve room still gets the bytes; a failure then is
        // undone below.
    }
    error = WriteAll(fd.get(), bytes, 0);
    if (error == 0 && ::ftruncate(fd.get(), size) != 0) {
        error = errno;
    }
    if (error == 0 && ::fsync(fd.get()) != 0) {
        error = errno;
    }
    if (error != 0) {
        if (WriteAll(fd.get(), old, 0) == 0) {
            ::ftruncate(fd.get(), static_cast<off_t>(old.size()));
            ::fsync(fd.get());
        }
        Fail(Stage::Failed, path, error);
    }
    if (const int closeError = fd.Close(); closeError != 0) {
        Fail(Stage::Failed, path, closeError);
    }
}

} // namespace

std::string DurableFile::Target(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return current;
        }
        std::error_code ec;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) {
            return current;
        }
        current = next.is_absolute()
                      ? next.string()
                      : (fs::path(FolderOf(current)) / next).lexically_normal().string();
    }
    return current;
}

void DurableFile::Write(const std::string& path, std::string_view bytes, InPlace inPlace) {
    const std::string target = Target(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        Fail(Stage::Refused, path, errno);
    }
    if (exists && S_ISDIR(old.st_mode)) {
        Fail(Stage::Refused, path, EISDIR);
    }
    if (exists && !S_ISREG(old.st_mode)) {
        // A pipe or a device would be replaced by a plain file.
        throw DurableFileError(Stage::Refused, path, "het is geen gewoon bestand", 0);
    }
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        Fail(Stage::Refused, path, errno);
    }

    RemoveAbandonedTemps(target);
    std::string temp;
    int error = 0;
    Fd fd(CreateTemp(target, exists ? 0600 : 0666, temp, error));
    if (fd.get() < 0) {
        // A folder the user may not write into can still hold a file the user may write (a
        // shared class folder).
        if (inPlace == InPlace::Allowed && exists && (error == EACCES || error == EPERM)) {
            WriteInPlace(path, target, bytes);
            return;
        }
        throw DurableFileError(
            Stage::Refused, path,
            "in de map \"" + FolderOf(target) +
                "\" kan geen nieuw bestand worden gemaakt: " + SystemError::Reason(error),
            error);
    }
    error = WriteAll(fd.get(), bytes, 0);
    if (error == 0 && exists) {
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            (void)::fchown(fd.get(), old.st_uid, old.st_gid); // where allowed
        }
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0) {
            error = errno;
        }
    }
    if (error == 0 && ::fsync(fd.get()) != 0) {
        error = errno;
    }
    // The lock on the temporary file is held until it has taken the target's place.
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp.c_str());
        Fail(Stage::Failed, path, error);
    }
    fd.Close(); // the new file is in place; a late close error changes nothing on disk
    SyncFolder(target);
}
