#pragma once
// Small routines on document paths and the command line, shared by the main window and the
// File menu.

#include <string>
#include <string_view>

class DocumentPaths {
public:
    /// The text after the last "/" or "\" of `path`; the whole text when it has neither.
    static std::string FileTitle(std::string_view path);
    /// True when `path` names a regular file that can be opened for reading; false for a
    /// folder, a device or pipe, a missing file and on any other error. Never blocks.
    static bool FileExists(const std::string& path);
    /// Why `path` cannot be read as a document, in Dutch ("niet gevonden", "geen
    /// toestemming", "het is een map", ...); empty when FileExists(path). Never blocks.
    static std::string WhyNotReadable(const std::string& path);
    /// The document path named by a command line: a line that begins with a double quote
    /// loses it, and its closing double quote when it ends with one; any other line is the
    /// path as it stands.
    static std::string CommandLinePath(std::string_view commandLine);
    /// The one command line of the program's arguments: argv[1] to argv[argc - 1] joined by
    /// single blanks, so that a path with blanks given as several arguments comes out whole.
    /// Empty when there are no arguments; null entries are skipped.
    static std::string JoinArguments(int argc, const char* const* argv);
};
