#pragma once
// Writes every picture and sound the program ships with into one output folder, laid out as
// the program expects them beside itself: images1/, images2/ and the two sounds.

#include "data/generator/BoardSocket.h"

#include <array>
#include <string>
#include <vector>

class DataGenerator {
public:
    /// The sharper versions written of every picture the board is drawn with.
    static constexpr std::array<int, 2> kSharperFactors = {2, 3};
    /// The pictures the board is drawn with, at their own size.
    static std::vector<std::string> BoardPictures();
    /// The name of the version of `file` drawn at `factor` times its size: "Bord.bmp" gives
    /// "Bord@3x.bmp".
    static std::string SharperName(const std::string& file, int factor);

    /// Every file written, relative to the output folder, with "/" between folders.
    static std::vector<std::string> Files();
    /// The board's points as the socket table of the simulation lists them, in its order.
    static std::vector<BoardSocket> SocketTable();

    explicit DataGenerator(std::string outputFolder);
    /// Creates the subfolders and writes all files of Files(), the board drawn around
    /// `sockets`. Throws std::runtime_error naming the file or folder that failed.
    void WriteAll(const std::vector<BoardSocket>& sockets) const;

    /// The icons for desktops, relative to their folder, in the layout of the hicolor icon
    /// theme: the program's icon "SIZExSIZE/apps/tavsim.png" at every size of
    /// TitlePainter::kAppIconSizes, the document icon
    /// "SIZExSIZE/mimetypes/application-x-tavelon.png" at each of its sizes.
    static std::vector<std::string> IconFiles();
    /// Writes every file of IconFiles() below `folder`; throws std::runtime_error naming the
    /// file or folder that failed.
    static void WriteIcons(const std::string& folder);

private:
    std::string Path(const std::string& relative) const;

    std::string folder_;
};
