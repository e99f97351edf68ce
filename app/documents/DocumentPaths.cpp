#include "app/documents/DocumentPaths.h"

#include "platform/errors/SystemError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string DocumentPaths::FileTitle(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool DocumentPaths::FileExists(const std::string& path) {
    return WhyNotReadable(path).empty();
}

std::string DocumentPaths::WhyNotReadable(const std::string& path) {
    if (path.empty()) {
        return SystemError::Reason(ENOENT);
    }
    // Without blocking, so that a named pipe cannot hold up the caller; only a regular file
    // (or a link to one) can hold a document.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return SystemError::Reason(errno);
    }
    struct stat info {};
    std::string why;
    if (::fstat(fd, &info) != 0) {
        why = SystemError::Reason(errno);
    } else if (S_ISDIR(info.st_mode)) {
        why = SystemError::Reason(EISDIR);
    } else if (!S_ISREG(info.st_mode)) {
        why = "het is geen gewoon bestand";
    }
    ::close(fd);
    return why;
}

std::string DocumentPaths::CommandLinePath(std::string_view commandLine) {
    if (commandLine.empty() || commandLine.front() != '"') {
        return std::string(commandLine);
    }
    commandLine.remove_prefix(1);
    if (!commandLine.empty() && commandLine.back() == '"') {
        commandLine.remove_suffix(1);
    }
    return std::string(commandLine);
}

std::string DocumentPaths::JoinArguments(int argc, const char* const* argv) {
    std::string line;
    if (argv == nullptr) {
        return line;
    }
    bool first = true;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr) {
            continue;
        }
        if (!first) {
            line += ' ';
        }
        line += argv[i];
        first = false;
    }
    return line;
}
