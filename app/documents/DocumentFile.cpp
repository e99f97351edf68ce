#include "app/documents/DocumentFile.h"

#include "app/documents/BoardDocumentError.h"
#include "app/documents/DocumentPaths.h"
#include "app/documents/KistError.h"
#include "app/documents/clsKistRFile.h"
#include "app/documents/clsKistWFile.h"
#include "platform/errors/SystemError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Reason(int error) {
    return SystemError::Reason(error);
}

// The file that saving `path` must replace: the target of a symbolic link, else `path`.
fs::path SaveTarget(const std::string& path) {
    const fs::path given(path);
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(given, ec))) {
        fs::path resolved = fs::weakly_canonical(given, ec);
        if (!ec) {
            return resolved;
        }
    }
    return given;
}

// Creates a new, empty file beside `target` with a name no other file has; its path, or an
// empty path with the reason in `error` when none can be made.
fs::path CreateTempBeside(const fs::path& target, int& error) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::random_device seed;
    std::mt19937_64 random(seed());
    error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        const fs::path temp = folder / ("." + target.filename().string() + ".tmp-" + suffix);
        errno = 0;
        std::FILE* file = std::fopen(temp.c_str(), "wbx");
        if (file != nullptr) {
            std::fclose(file);
            return temp;
        }
        error = errno;
        if (error != EEXIST) {
            break;
        }
    }
    return {};
}

// The whole document as bytes, written through the file writer into a file that lives in
// memory only.
std::string DocumentBytes(const BoardDocument& document) {
    const int fd = ::memfd_create("tavsim-document", MFD_CLOEXEC);
    if (fd < 0) {
        throw KistWriteError("geen geheugen voor het document: " + Reason(errno));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    clsKistWFile file;
    file.OpenFile("/proc/self/fd/" + std::to_string(fd));
    document.WriteTo(file);
    file.CloseFile();
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        throw KistWriteError("geen geheugen voor het document: " + Reason(errno));
    }
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n <= 0) {
            throw KistWriteError("geen geheugen voor het document: " + Reason(n < 0 ? errno : EIO));
        }
        done += static_cast<std::size_t>(n);
    }
    return bytes;
}

// For a folder that takes no new files but holds a writable document: the document, made
// completely in memory first, is written over the file in place and the file is cut to its
// length. Not atomic: a crash or a failing disk half-way leaves a damaged file.
void SaveInPlace(const BoardDocument& document, const fs::path& target, const std::string& path) {
    const std::string bytes = DocumentBytes(document);
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        throw KistOpenError("\"" + path + "\" kan niet worden bewaard: " + Reason(errno));
    }
    std::size_t done = 0;
    int error = 0;
    while (done < bytes.size() && error == 0) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) {
            error = errno;
        } else if (n > 0) {
            done += static_cast<std::size_t>(n);
        }
    }
    if (error == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        error = errno;
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        throw KistWriteError("\"" + path + "\" kan niet worden bewaard: " + Reason(error));
    }
}

// Makes sure the written bytes of `file` are on the disk before it replaces the old one.
void SyncToDisk(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        throw KistWriteError("\"" + file.string() +
                             "\" kan niet naar de schijf worden geschreven: " + Reason(error));
    }
    ::close(fd);
}

// Best effort: the rename itself reaches the disk. Not every file system can sync a folder.
void SyncFolder(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

BoardDocument DocumentFile::Load(const std::string& path) {
    // Only a regular file can hold a document; opening a pipe or device could block or never
    // end.
    if (const std::string why = DocumentPaths::WhyNotReadable(path); !why.empty()) {
        throw KistOpenError("\"" + path + "\" kan niet worden geopend: " + why, why);
    }
    clsKistRFile file;
    file.OpenFile(path);
    try {
        // Anything that does not begin as a board document is refused, so that opening a
        // wrong file cannot empty the board and then be overwritten by the next save.
        if (file.PeekChunkType() != BoardDocument::kDocumentChunk) {
            throw KistReadError("het is geen borddocument");
        }
        return BoardDocument::ReadFrom(file);
    } catch (const BoardDocumentError& e) {
        throw BoardDocumentError("\"" + path + "\" kan niet worden geopend: " + e.what());
    } catch (const KistError& e) {
        throw KistReadError("\"" + path + "\" kan niet worden gelezen: " + e.what());
    }
}

void DocumentFile::Save(const BoardDocument& document, const std::string& path) {
    const fs::path target = SaveTarget(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        throw KistOpenError("\"" + path + "\" kan niet worden bewaard: het is een map");
    }
    int tempError = 0;
    const fs::path temp = CreateTempBeside(target, tempError);
    if (temp.empty()) {
        // A folder the user may not write into can still hold a file the user may write (a
        // shared class folder); only then is the file written in place.
        if ((tempError == EACCES || tempError == EPERM) && fs::is_regular_file(target, ec) &&
            ::access(target.c_str(), W_OK) == 0) {
            SaveInPlace(document, target, path);
            return;
        }
        const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
        throw KistOpenError("\"" + path + "\" kan niet worden bewaard: in de map \"" +
                            folder.string() +
                            "\" kan geen nieuw bestand worden gemaakt: " + Reason(tempError));
    }
    try {
        const fs::file_status old = fs::status(target, ec);
        if (!ec && fs::is_regular_file(old)) {
            fs::permissions(temp, old.permissions(), ec); // a failure keeps the default mode
        }
        clsKistWFile file;
        file.OpenFile(temp.string());
        document.WriteTo(file);
        file.CloseFile();
        SyncToDisk(temp);
        fs::rename(temp, target);
    } catch (const std::exception& e) {
        fs::remove(temp, ec);
        throw KistWriteError("\"" + path + "\" kan niet worden bewaard: " + e.what());
    }
    SyncFolder(target);
}
