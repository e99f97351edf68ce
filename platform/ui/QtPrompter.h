#pragma once
// The prompter that shows real Qt message boxes and file dialogs.

#include "platform/ui/Prompter.h"

class QtPrompter : public Prompter {
public:
    Answer Message(const std::string& text, const std::string& title, Buttons buttons,
                   Icon icon) override;
    std::optional<std::string> OpenFileName(const FileRequest& request) override;
    std::optional<std::string> SaveFileName(const FileRequest& request) override;
};
