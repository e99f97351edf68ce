#include "platform/ui/ProgramFolder.h"

#include <QCoreApplication>

namespace {

std::string& Override() {
    static std::string folder;
    return folder;
}

} // namespace

std::string ProgramFolder::Path() {
    if (!Override().empty()) {
        return Override();
    }
    return QCoreApplication::applicationDirPath().toStdString();
}

void ProgramFolder::SetPath(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    Override() = std::move(path);
}
