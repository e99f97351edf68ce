#include "platform/ui/ScriptedPrompter.h"

Prompter::Answer ScriptedPrompter::Message(const std::string& text, const std::string& title,
                                           Buttons buttons, Icon icon) {
    messages.push_back(Shown{text, title, buttons, icon});
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::Yes
                                                                           : Answer::Ok;
}

std::optional<std::string> ScriptedPrompter::OpenFileName(const FileRequest& request) {
    fileRequests.push_back(request);
    if (files.empty()) {
        return std::nullopt;
    }
    auto r = files.front();
    files.pop_front();
    return r;
}

std::optional<std::string> ScriptedPrompter::SaveFileName(const FileRequest& request) {
    return OpenFileName(request);
}
