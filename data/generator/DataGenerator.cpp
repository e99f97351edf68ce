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

#include <filesystem>
#include <stdexcept>
#include <system_error>

std::vector<std::string> DataGenerator::Files() {
    std::vector<std::string> files;
    for (int i = 1; i <= 9; ++i) {
        files.push_back("images1/Line" + std::to_string(i) + ".bmp");
    }
    files.push_back("images1/LineMask.bmp");
    files.push_back("images1/doc.ico");
    for (const char* name : {"Bord", "HighLight", "HighLightMask", "RedLight", "RedLightMask"}) {
        files.push_back(std::string("images2/") + name + ".bmp");
    }
    for (int i = 0; i <= 9; ++i) {
        files.push_back("images2/Display" + std::to_string(i) + ".bmp");
    }
    for (const char* name : {"Sensors", "0-5V", "VPointer", "VPointerMask", "splash", "about",
                             "WaveInputs", "VolumeBar"}) {
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
    const QImage lineMask = WirePainter::Mask();
    for (int i = 1; i <= 9; ++i) {
        BmpWriter::Write(WirePainter::Strip(i), Path("images1/Line" + std::to_string(i) + ".bmp"));
    }
    BmpWriter::Write(lineMask, Path("images1/LineMask.bmp"));
    IcoWriter::Write(TitlePainter::DocumentIcon(), Path("images1/doc.ico"));

    BmpWriter::Write(BoardPainter(sockets).Paint(), Path("images2/Bord.bmp"));
    BmpWriter::Write(PartPainter::Cursor(), Path("images2/HighLight.bmp"));
    BmpWriter::Write(PartPainter::CursorMask(), Path("images2/HighLightMask.bmp"));
    BmpWriter::Write(PartPainter::Lamp(), Path("images2/RedLight.bmp"));
    BmpWriter::Write(PartPainter::LampMask(), Path("images2/RedLightMask.bmp"));
    for (int i = 0; i <= 9; ++i) {
        BmpWriter::Write(PartPainter::Digit(i),
                         Path("images2/Display" + std::to_string(i) + ".bmp"));
    }
    BmpWriter::Write(PartPainter::Sensors(), Path("images2/Sensors.bmp"));
    BmpWriter::Write(PartPainter::Dial(), Path("images2/0-5V.bmp"));
    BmpWriter::Write(PartPainter::Pointer(), Path("images2/VPointer.bmp"));
    BmpWriter::Write(PartPainter::PointerMask(), Path("images2/VPointerMask.bmp"));
    BmpWriter::Write(TitlePainter::Splash(), Path("images2/splash.bmp"));
    BmpWriter::Write(TitlePainter::About(), Path("images2/about.bmp"));
    BmpWriter::Write(WaveInputsPainter::Background(), Path("images2/WaveInputs.bmp"));
    BmpWriter::Write(WaveInputsPainter::Bar(), Path("images2/VolumeBar.bmp"));

    WavWriter::Write(SoundMaker::Ring(), SoundMaker::kSampleRate, Path("Ringin.wav"));
    WavWriter::Write(SoundMaker::Silence(), SoundMaker::kSampleRate, Path("SILENCE.wav"));
}
