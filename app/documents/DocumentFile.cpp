#include "app/documents/DocumentFile.h"

#include "app/documents/BoardDocumentError.h"
#include "app/documents/DocumentPaths.h"
#include "app/documents/KistError.h"
#include "app/documents/clsKistRFile.h"
#include "app/documents/clsKistWFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Reason(int error) {
    return error != 0 ? std::strerror(error) : "unknown error";
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

// Creates a new, empty file beside `target` with a name no other file has; its path, or
// KistOpenError naming `path` when none can be made.
fs::path CreateTempBeside(const fs::path& target, const std::string& path) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::random_device seed;
    std::mt19937_64 random(seed());
    int error = 0;
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
    throw KistOpenError("cannot save \"" + path + "\": cannot make a new file in \"" +
                        folder.string() + "\": " + Reason(error));
}

// Makes sure the written bytes of `file` are on the disk before it replaces the old one.
void SyncToDisk(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        throw KistWriteError("cannot write \"" + file.string() +
                             "\" to the disk: " + Reason(error));
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
    if (!DocumentPaths::FileExists(path)) {
        throw KistOpenError("cannot open \"" + path + "\": no readable file");
    }
    clsKistRFile file;
    file.OpenFile(path);
    try {
        // Anything that does not begin as a board document is refused, so that opening a
        // wrong file cannot empty the board and then be overwritten by the next save.
        if (file.PeekChunkType() != BoardDocument::kDocumentChunk) {
            throw KistReadError("cannot read \"" + path + "\": it is not a board document");
        }
        return BoardDocument::ReadFrom(file);
    } catch (const BoardDocumentError& e) {
        throw BoardDocumentError("cannot open \"" + path + "\": " + e.what());
    }
}

void DocumentFile::Save(const BoardDocument& document, const std::string& path) {
    const fs::path target = SaveTarget(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        throw KistOpenError("cannot save \"" + path + "\": it is a folder");
    }
    const fs::path temp = CreateTempBeside(target, path);
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
        throw KistWriteError("cannot save \"" + path + "\": " + e.what());
    }
    SyncFolder(target);
}
