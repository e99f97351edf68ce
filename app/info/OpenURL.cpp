#include "app/info/OpenURL.h"

#include "platform/shell/Shell.h"

namespace {

std::function<bool(const std::string&)>& Opener() {
    static std::function<bool(const std::string&)> opener;
    return opener;
}

} // namespace

bool OpenURL(const std::string& address) {
    if (Opener()) {
        return Opener()(address);
    }
    return Shell::OpenAddress(address);
}

void SetUrlOpener(std::function<bool(const std::string&)> opener) {
    Opener() = std::move(opener);
}
