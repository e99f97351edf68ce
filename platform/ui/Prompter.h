#pragma once
// Every modal question the program or its libraries put to the user goes through the one
// installed prompter: message boxes and file dialogs. The default shows real dialogs; tests
// install a ScriptedPrompter that answers at once and records what was asked.

#include <optional>
#include <string>

class Prompter {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Answer { Ok, Cancel, Yes, No };

    struct FileRequest {
        std::string title;
        /// Filter in the form "Tavelon bestanden (*.tvb)".
        std::string filter;
        /// Folder or full path to start in; empty for the last one used.
        std::string initialPath;
    };

    virtual ~Prompter() = default;

    /// Shows a modal message box and returns the button the user chose. Texts are UTF-8;
    /// CR LF and LF both break lines.
    virtual Answer Message(const std::string& text, const std::string& title, Buttons buttons,
                           Icon icon) = 0;
    /// Asks for an existing file to open; nullopt when the user cancels.
    virtual std::optional<std::string> OpenFileName(const FileRequest& request) = 0;
    /// Asks for a file name to save under; nullopt when the user cancels.
    virtual std::optional<std::string> SaveFileName(const FileRequest& request) = 0;

    /// The installed prompter, or the one that shows real dialogs when none is installed.
    static Prompter& Current();
    /// Installs `prompter` (not owned) for the whole process; nullptr restores the default.
    static void Install(Prompter* prompter);
};
