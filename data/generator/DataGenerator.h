#pragma once
// Writes every picture and sound the program ships with into one output folder, laid out as
// the program expects them beside itself: images1/, images2/ and the two sounds.

#include "data/generator/BoardSocket.h"

#include <string>
#include <vector>

class DataGenerator {
public:
    /// Every file written, relative to the output folder, with "/" between folders.
    static std::vector<std::string> Files();
    /// The board's points as the socket table of the simulation lists them, in its order.
    static std::vector<BoardSocket> SocketTable();

    explicit DataGenerator(std::string outputFolder);
    /// Creates the subfolders and writes all files of Files(), the board drawn around
    /// `sockets`. Throws std::runtime_error naming the file or folder that failed.
    void WriteAll(const std::vector<BoardSocket>& sockets) const;

private:
    std::string Path(const std::string& relative) const;

    std::string folder_;
};
