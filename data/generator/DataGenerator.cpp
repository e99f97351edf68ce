#include "data/generator/DataGenerator.h"

#include "app/simulation/clsSnaps.h"
#include "data/generator/BmpWriter.h"
#include "data/generator/BoardPainter.h"
#include "data/generator/IcoWriter.h"
#include "data/generator/PartPainter.h"
#include "data/generator/SoundMaker.h"
#include "data/generator/TitlePainter.h"
#include "data/generator/WavWriter.h"
#include "data/generator/WaveInputsPainter.h"
#include "data/generator/WirePainter.h"

#include <QImage>
#include <filesystem>
#include <stdexcept>
#include <system_error>

std::string DataGenerator::SharperName(const std::string& file, int factor) {
    const std::size_t dot = file.rfind('.');
    return file.substr(0, dot) + "@" + std::to_string(factor) + "x" + file.substr(dot);
}

std::vector<std::string> DataGenerator::BoardPictures() {
    std::vector<std::string> files;
    for (int i = 1; i <= 9; ++i) {
        files.push_back("images1/Line" + std::to_string(i) + ".bmp");
    }
    files.push_back("images1/LineMask.bmp");
    for (int i = 1; i <= 8; ++i) {
        files.push_back("images1/LineCB" + std::to_string(i) + ".bmp");
    }
    for (const char* name : {"Bord", "HighLight", "HighLightMask", "RedLight", "RedLightMask"}) {
        files.push_back(std::string("images2/") + name + ".bmp");
    }
    for (int i = 0; i <= 9; ++i) {
        files.push_back("images2/Display" + std::to_string(i) + ".bmp");
    }
    for (const char* name : {"Sensors", "0-5V", "VPointer", "VPointerMask", "KnobFaces",
                             "KnobFacesMask", "KnobValues"}) {
        files.push_back(std::string("images2/") + name + ".bmp");
    }
    return files;
}

std::vector<std::string> DataGenerator::Files() {
    std::vector<std::string> files = BoardPictures();
    for (const std::string& picture : BoardPictures()) {
        for (int factor : kSharperFactors) {
            files.push_back(SharperName(picture, factor));
        }
    }
    files.push_back("images1/doc.ico");
    for (const char* name : {"splash", "about", "WaveInputs", "VolumeBar"}) {
        files.push_back(std::string("images2/") + name + ".bmp");
    }
    files.push_back("Ringin.wav");
    files.push_back("SILENCE.wav");
    return files;
}

std::vector<BoardSocket> DataGenerator::SocketTable() {
    const clsSnaps table;
    std::vector<BoardSocket> sockets;
    for (std::int32_t i = 1; i <= table.GetSnapCount(); ++i) {
        BoardSocket s;
        s.name = table.GetSnapItemName(i);
        s.x = table.GetXbyName(s.name);
        s.y = table.GetYbyName(s.name);
        s.connectable = table.GetConnectablebyName(s.name) != 0;
        s.soort = table.GetSoortbyName(s.name);
        sockets.push_back(std::move(s));
    }
    return sockets;
}

namespace {

std::string IconName(int size, const char* context, const char* name) {
    const std::string edge = std::to_string(size);
    return edge + "x" + edge + "/" + context + "/" + name + ".png";
}

} // namespace

std::vector<std::string> DataGenerator::IconFiles() {
    std::vector<std::string> files;
    for (int size : TitlePainter::kAppIconSizes) {
        files.push_back(IconName(size, "apps", "tavsim"));
    }
    for (const QImage& icon : TitlePainter::DocumentIcon()) {
        files.push_back(IconName(icon.width(), "mimetypes", "application-x-tavelon"));
    }
    return files;
}

void DataGenerator::WriteIcons(const std::string& folder) {
    const auto write = [&](const QImage& image, const std::string& relative) {
        const std::filesystem::path path = std::filesystem::path(folder) / relative;
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        if (error) {
            throw std::runtime_error("cannot create folder " + path.parent_path().string() + ": " +
                                     error.message());
        }
        if (!image.save(QString::fromStdString(path.string()), "PNG")) {
            throw std::runtime_error("cannot write " + path.string());
        }
    };
    for (int size : TitlePainter::kAppIconSizes) {
        write(TitlePainter::AppIcon(size), IconName(size, "apps", "tavsim"));
    }
    for (const QImage& icon : TitlePainter::DocumentIcon()) {
        write(icon, IconName(icon.width(), "mimetypes", "application-x-tavelon"));
    }
}

DataGenerator::DataGenerator(std::string outputFolder) : folder_(std::move(outputFolder)) {}

std::string DataGenerator::Path(const std::string& relative) const {
    return folder_ + "/" + relative;
}

void DataGenerator::WriteAll(const std::vector<BoardSocket>& sockets) const {
    for (const char* sub : {"images1", "images2"}) {
        std::error_code error;
        std::filesystem::create_directories(Path(sub), error);
        if (error) {
            throw std::runtime_error("cannot create folder " + Path(sub) + ": " + error.message());
        }
    }
    for (int factor = 1; factor <= kSharperFactors.back(); ++factor) {
        // The board's pictures at 1x under their own names, sharper ones beside them.
        const auto write = [&](const QImage& image, const std::string& file) {
            BmpWriter::Write(image, Path(factor == 1 ? file : SharperName(file, factor)));
        };
        for (int i = 1; i <= 9; ++i) {
            write(WirePainter::Strip(i, factor), "images1/Line" + std::to_string(i) + ".bmp");
        }
        write(WirePainter::Mask(factor), "images1/LineMask.bmp");
        for (int i = 1; i <= 8; ++i) {
            write(WirePainter::Strip(i, factor, WirePalette::ColourBlind),
                  "images1/LineCB" + std::to_string(i) + ".bmp");
        }
        write(BoardPainter(sockets).Paint(factor), "images2/Bord.bmp");
        write(PartPainter::Cursor(factor), "images2/HighLight.bmp");
        write(PartPainter::CursorMask(factor), "images2/HighLightMask.bmp");
        write(PartPainter::Lamp(factor), "images2/RedLight.bmp");
        write(PartPainter::LampMask(factor), "images2/RedLightMask.bmp");
        for (int i = 0; i <= 9; ++i) {
            write(PartPainter::Digit(i, factor), "images2/Display" + std::to_string(i) + ".bmp");
        }
        write(PartPainter::Sensors(factor), "images2/Sensors.bmp");
        write(PartPainter::Dial(factor), "images2/0-5V.bmp");
        write(PartPainter::Pointer(factor), "images2/VPointer.bmp");
        write(PartPainter::PointerMask(factor), "images2/VPointerMask.bmp");
        write(PartPainter::KnobFaces(factor), "images2/KnobFaces.bmp");
        write(PartPainter::KnobFacesMask(factor), "images2/KnobFacesMask.bmp");
        write(PartPainter::KnobValues(factor), "images2/KnobValues.bmp");
    }
    IcoWriter::Write(TitlePainter::DocumentIcon(), Path("images1/doc.ico"));
    BmpWriter::Write(TitlePainter::Splash(), Path("images2/splash.bmp"));
    BmpWriter::Write(TitlePainter::About(), Path("images2/about.bmp"));
    BmpWriter::Write(WaveInputsPainter::Background(), Path("images2/WaveInputs.bmp"));
    BmpWriter::Write(WaveInputsPainter::Bar(), Path("images2/VolumeBar.bmp"));

    WavWriter::Write(SoundMaker::Ring(), SoundMaker::kSampleRate, Path("Ringin.wav"));
    WavWriter::Write(SoundMaker::Silence(), SoundMaker::kSampleRate, Path("SILENCE.wav"));
}
