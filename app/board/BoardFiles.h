#pragma once
// The File menu's work on the main window: the current document, New, Open, Save and Save
// As with their dialogs and messages, and the document named on the command line.

#include "app/documents/BoardDocument.h"

#include <exception>
#include <string>
#include <string_view>

class FORM1;

/// Keeps the main window's current document. Every failure is told to the user in a message
/// box titled "Fout"; a failed or cancelled command leaves the board, its settings, the
/// current document, the title and the undo history as they were, and a failed save never
/// touches the file that was there.
class BoardFiles {
public:
    /// The filter of the open and save dialogs.
    static constexpr const char* kFilter = "Tavelon bestanden (*.tvb)";
    /// Added by Save As to a chosen name without an extension.
    static constexpr const char* kExtension = ".tvb";

    explicit BoardFiles(FORM1& form) : form_(form) {}
    BoardFiles(const BoardFiles&) = delete;
    BoardFiles& operator=(const BoardFiles&) = delete;

    /// Reads the document at `path`; only when the whole document could be read it hides the
    /// knob, puts the document on the board, makes `path` the current document (title and
    /// "Bewaren" follow) and begins a fresh undo history. Otherwise shows UnreadableFileText
    /// and returns false.
    bool OpenBoard(const std::string& path);

    /// "Nieuw": no wires, both sensors at 0, the knob settings at 0, both push-button lamps
    /// off, no current document, the knob hidden, a fresh undo history. The counter display
    /// keeps its digit.
    void New();
    /// "Openen": asks for a file with the open dialog and opens it; a cancelled dialog
    /// changes nothing.
    void Open();
    /// "Bewaren": saves the board to the current document; Save As when there is none. True
    /// when the board was saved.
    bool Save();
    /// "Bewaren als..": asks for a file name with the save dialog (".tvb" is added to a name
    /// without extension, after asking when that file already exists) and saves the board
    /// there; the saved file then becomes the current document. True when the board was
    /// saved; false when the user cancelled or the save failed.
    bool SaveAs();

    /// The command line of the program, at start-up: nothing for an empty line; otherwise the
    /// path it names (DocumentPaths::CommandLinePath) is opened when it exists, and "Te openen
    /// bestand <path> bestaat niet." is shown when it does not.
    void OpenCommandLine(std::string_view commandLine);

    /// Full path of the current document; empty at start-up and after New.
    const std::string& CurrentPath() const { return currentPath_; }
    /// Where the next open or save dialog starts: the last file opened or saved.
    const std::string& DialogFileName() const { return dialogFileName_; }

    /// What the user is told when the document named on the command line does not exist:
    /// "Te openen bestand <path> bestaat niet."
    static std::string MissingFileText(const std::string& path);
    /// What the user is told when the document at `path` cannot be read: "Het bestand
    /// <path> kan niet worden geopend: het is beschadigd of onleesbaar." When the file could
    /// not even be opened, the system's Dutch `reason` ("geen toestemming") takes the place
    /// of "het is beschadigd of onleesbaar".
    static std::string UnreadableFileText(const std::string& path, const std::string& reason = {});
    /// The same for the failure `error` of DocumentFile::Load.
    static std::string UnreadableFileText(const std::string& path, const std::exception& error);
    /// Reads the document at `path` into `document` for a board without a window. Returns
    /// "" when it could, else what the window would tell (MissingFileText when there is no
    /// such file, UnreadableFileText otherwise); `document` is then unchanged.
    static std::string ReadDocument(const std::string& path, BoardDocument& document);
    /// `path` with kExtension added when its file name has no extension.
    static std::string WithExtension(const std::string& path);

private:
    /// Saves the board to `path`; tells the user and returns false when it fails.
    bool SaveTo(const std::string& path);

    FORM1& form_;
    std::string currentPath_;
    std::string dialogFileName_;
};
