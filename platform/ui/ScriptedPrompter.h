#pragma once
// A prompter for tests: records every question and answers from a script, never waiting.

#include "platform/ui/Prompter.h"

#include <deque>
#include <vector>

class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        std::string text;
        std::string title;
        Buttons buttons;
        Icon icon;
    };

    Answer Message(const std::string& text, const std::string& title, Buttons buttons,
                   Icon icon) override;
    std::optional<std::string> OpenFileName(const FileRequest& request) override;
    std::optional<std::string> SaveFileName(const FileRequest& request) override;

    /// Answers for the next message boxes, in order. When none is queued a box is answered
    /// with its first button (Ok or Yes).
    std::deque<Answer> answers;
    /// Results for the next file dialogs (open and save share the queue); nullopt cancels.
    /// When none is queued a dialog is cancelled.
    std::deque<std::optional<std::string>> files;

    std::vector<Shown> messages;
    std::vector<FileRequest> fileRequests;
};

/// Installs a ScriptedPrompter for the life of the guard and restores the previous state.
class ScopedScriptedPrompter {
public:
    ScopedScriptedPrompter() { Prompter::Install(&prompter); }
    ~ScopedScriptedPrompter() { Prompter::Install(nullptr); }
    ScopedScriptedPrompter(const ScopedScriptedPrompter&) = delete;
    ScopedScriptedPrompter& operator=(const ScopedScriptedPrompter&) = delete;

    ScriptedPrompter* operator->() { return &prompter; }
    ScriptedPrompter prompter;
};
