// Build-time generator of the program's pictures and sounds.
// Usage: tavsim_datagen <output folder>
//        tavsim_datagen --icons <icon folder>

#include "data/generator/DataGenerator.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <string_view>

int main(int argc, char** argv) {
    const bool icons = argc == 3 && std::string_view(argv[1]) == "--icons";
    if (argc != 2 && !icons) {
        std::fprintf(stderr, "usage: %s <output folder> | --icons <icon folder>\n",
                     argc > 0 ? argv[0] : "tavsim_datagen");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (!QFontDatabase::families().contains(QStringLiteral("DejaVu Sans"))) {
        std::fprintf(stderr,
                     "tavsim_datagen: warning: the font DejaVu Sans is missing (scripts/"
                     "install-deps.sh installs it); the pictures' text uses a substitute\n");
    }
    try {
        if (icons) {
            DataGenerator::WriteIcons(argv[2]);
        } else {
            DataGenerator(argv[1]).WriteAll(DataGenerator::SocketTable());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavsim_datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
