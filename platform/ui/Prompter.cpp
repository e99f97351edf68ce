#include "platform/ui/Prompter.h"

#include "platform/ui/QtPrompter.h"

namespace {

Prompter* installed = nullptr;

} // namespace

Prompter& Prompter::Current() {
    if (installed != nullptr) {
        return *installed;
    }
    static QtPrompter real;
    return real;
}

void Prompter::Install(Prompter* prompter) { installed = prompter; }
