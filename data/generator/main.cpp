// Build-time generator of the program's pictures and sounds.
// Usage: tavsim_datagen <output folder>

#include "data/generator/DataGenerator.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argc > 0 ? argv[0] : "tavsim_datagen");
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
        DataGenerator(argv[1]).WriteAll(DataGenerator::SocketTable());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavsim_datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
