#pragma once
// Replacing the whole contents of a file so that a crash, a full disk or a refused write
// never leaves it damaged: the new bytes go into a temporary file beside it, which reaches
// the disk and then takes the file's place in one step.

#include <string>
#include <string_view>

class DurableFile {
public:
    /// Whether a folder that takes no new files may have its writable file written in place
    /// (not in one step: a reader at that moment sees part of the new bytes).
    enum class InPlace { Allowed, Refused };

    /// The file a save of `path` replaces: the end of the chain of symbolic links when `path`
    /// is one (also when the last one points nowhere yet), else `path`.
    static std::string Target(const std::string& path);

    /// Makes the file at Target(`path`) hold exactly `bytes`. Only a regular file or a new
    /// name is written; an existing file the user may not write is refused. The new file gets
    /// the old one's permissions (and, where allowed, owner), a new one the umask's mode; a
    /// symbolic link stays a link. Temporary files of this target (".NAME.tmp-" and 16 hex
    /// digits) that no living save holds are removed first.
    ///
    /// With InPlace::Allowed, a folder that takes no new files but holds a writable file gets
    /// the bytes written into the file itself, after the room for them has been reserved; a
    /// failed write there puts the old bytes back.
    ///
    /// Raises DurableFileError naming `path` as given; the old file is then as it was and no
    /// temporary file of this save is left.
    static void Write(const std::string& path, std::string_view bytes,
                      InPlace inPlace = InPlace::Allowed);
};
