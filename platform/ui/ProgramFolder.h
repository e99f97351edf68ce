#pragma once
// The folder the program reads its data files from: pictures, sounds and help pages.

#include <string>

class ProgramFolder {
public:
    /// The folder, UTF-8, without a trailing "/": the folder of the running program unless
    /// SetPath chose another.
    static std::string Path();
    /// Reads the data files from `folder` from now on (for tests and demonstrations); an
    /// empty text returns to the program's own folder.
    static void SetPath(const std::string& folder);
};
