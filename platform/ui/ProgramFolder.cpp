#include "platform/ui/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// TAVSIM_SHARED_DATA_FROM_PROGRAM and TAVSIM_LAUNCHER_FROM_PROGRAM, set by the build from the
// install layout: where an installed program's data files and launcher lie, relative to the
// program's folder.

namespace {

std::string& Override() {
    static std::string folder;
    return folder;
}

QString ToQ(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

std::string ProgramFolder::Path() {
    if (!Override().empty()) {
        return Override();
    }
    return DataFolderFor(QCoreApplication::applicationDirPath().toStdString());
}

void ProgramFolder::SetPath(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    Override() = std::move(path);
}

std::string ProgramFolder::SharedDataFolder(const std::string& programFolder) {
    return QDir::cleanPath(ToQ(programFolder) + "/" + TAVSIM_SHARED_DATA_FROM_PROGRAM)
        .toStdString();
}

std::string ProgramFolder::DataFolderFor(const std::string& programFolder) {
    if (QFileInfo(ToQ(programFolder) + "/images2").isDir()) {
        return programFolder;
    }
    const std::string shared = SharedDataFolder(programFolder);
    if (QFileInfo(ToQ(shared) + "/images2").isDir()) {
        return shared;
    }
    return programFolder;
}

std::string ProgramFolder::LauncherFor(const std::string& programPath) {
    const QFileInfo program(ToQ(programPath));
    const QFileInfo launcher(
        QDir::cleanPath(program.absolutePath() + "/" + TAVSIM_LAUNCHER_FROM_PROGRAM));
    const QString target = program.canonicalFilePath();
    if (launcher.exists() && !target.isEmpty() && launcher.canonicalFilePath() == target) {
        return launcher.absoluteFilePath().toStdString();
    }
    return programPath;
}

std::string ProgramFolder::Launcher() {
    return LauncherFor(QCoreApplication::applicationFilePath().toStdString());
}
