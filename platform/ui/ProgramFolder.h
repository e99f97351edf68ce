#pragma once
// The folder the program reads its data files from: pictures, sounds and help pages.
//
// In a build the data files lie beside the program. Installed, the program and its component
// libraries lie in a folder of their own (lib/tavsim) and the data files in the shared data
// folder (share/tavsim), found relative to the program so that any install prefix works.

#include <string>

class ProgramFolder {
public:
    /// The folder, UTF-8, without a trailing "/": DataFolderFor the folder of the running
    /// program unless SetPath chose another.
    static std::string Path();
    /// Reads the data files from `folder` from now on (for tests and demonstrations); an
    /// empty text returns to the program's own folder.
    static void SetPath(const std::string& folder);

    /// The data folder of a program in `programFolder`: that folder itself when it has an
    /// "images2" folder or when the installed data folder (SharedDataFolder) has none,
    /// otherwise the installed data folder.
    static std::string DataFolderFor(const std::string& programFolder);
    /// The installed data folder of a program in `programFolder`, without "." or "..".
    static std::string SharedDataFolder(const std::string& programFolder);

    /// The path by which users start the program at `programPath` (absolute, links
    /// resolved): the launcher link in the folder for programs (bin/tavsim of the install
    /// prefix) when it leads to exactly this program, otherwise `programPath` itself.
    static std::string LauncherFor(const std::string& programPath);
    /// LauncherFor the running program.
    static std::string Launcher();
};
