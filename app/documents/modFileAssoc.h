#pragma once
// Registers the board document type (*.tvb) with the desktop at every start-up: in our
// registry's classes root, for programs that look there, and in the user's XDG data folder
// (a shared-mime-info type, a .desktop entry and the document icon) for Linux desktops.

#include <string>
#include <vector>

class modFileAssoc {
public:
    /// Names under which the document type is registered.
    static constexpr const char* kExtension = ".tvb";
    static constexpr const char* kProgId = "Tavelon.Document";
    static constexpr const char* kDescription = "Tavelon Document";
    static constexpr const char* kMimeType = "application/x-tavelon";

    /// What WriteDesktopFiles did: which files it wrote (only those whose content was new)
    /// and what went wrong, one line per failure naming the file.
    struct DesktopFiles {
        bool mimeWritten = false;
        bool desktopWritten = false;
        bool iconWritten = false;
        std::vector<std::string> failures;
    };

    /// Registers the document type for the program at `programPath` (full path, UTF-8) in
    /// the registry and, unless HasSystemDesktopEntry, in XdgDataHome(). When the shared-mime-info
    /// package or the desktop entry changed, starts update-mime-database or update-desktop-database
    /// on their folders, detached and only when found on PATH. Never fails and never waits:
    /// failures are written to stderr only. Without a data folder (XdgDataHome() empty) only the
    /// registry is written, and stderr says so once per process.
    static void RegisterDocumentType(const std::string& programPath);

    /// Writes the classes-root keys: ".tvb" = kProgId, kProgId = kDescription,
    /// "Tavelon.Document\shell\open\command" = the program path, a blank and "%1" in double
    /// quotes, "Tavelon.Document\DefaultIcon" = the program's data folder
    /// (ProgramFolder::DataFolderFor the folder of the program the path leads to) +
    /// "/images1/doc.ico,0". Returns false when a write or the save failed; nothing else happens
    /// then.
    static bool RegisterClassesRoot(const std::string& programPath);

    /// Writes, below `dataHome`, "mime/packages/tavsim.xml", "applications/tavsim.desktop"
    /// and "icons/hicolor/48x48/mimetypes/application-x-tavelon.png" (from "images1/doc.ico"
    /// of the program's data folder; skipped when that file is missing). Each file is written,
    /// through a temporary file and a rename, only when its content differs from what is there.
    static DesktopFiles WriteDesktopFiles(const std::string& programPath,
                                          const std::string& dataHome);

    /// Whether the program at `programPath` is installed together with a desktop entry and
    /// MIME type for every user: "applications/tavsim.desktop" and
    /// "mime/packages/tavsim.xml" beside its data folder (share/tavsim). RegisterDocumentType
    /// then writes the registry only.
    static bool HasSystemDesktopEntry(const std::string& programPath);

    /// $XDG_DATA_HOME when it is an absolute path, otherwise $HOME followed by
    /// "/.local/share" when HOME is an absolute path; otherwise empty.
    static std::string XdgDataHome();
};
