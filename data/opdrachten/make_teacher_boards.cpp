// Writes the teacher's boards of the example assignments into the folder given:
//   tavsim_make_teacher_boards data/opdrachten
// The boards are committed; run this again only when one of them is to change.

#include "app/documents/BoardDocument.h"
#include "app/documents/DocumentFile.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

struct TeacherBoard {
    const char* file;
    std::vector<BoardDocument::Wire> wires;
    /// Knob settings, tenths of a volt.
    std::int32_t pulse = 0;
    std::int32_t comparator = 0;
};

const std::vector<TeacherBoard>& Boards() {
    static const std::vector<TeacherBoard> boards = {
        {"en-poort.tvb",
         {{"Drukknop 1 Uit Geel", "EN-poort Ingang 1"},
          {"Drukknop 2 Uit Geel", "EN-poort Ingang 2"},
          {"EN-poort Uit", "LED 1 Ingang"}}},
        {"geheugen-alarm.tvb",
         {{"Drukknop 1 Uit Geel", "Geheugen Set (In)"},
          {"Drukknop 2 Uit Geel", "Geheugen Reset (In)"},
          {"Geheugen Uit", "Zoemer"},
          {"Geheugen Uit", "LED 1 Ingang"}}},
        {"knipperlicht.tvb",
         {{"Puls Generator Uit Geel", "LED 1 Ingang"},
          {"Puls Generator Uit Geel", "Pulsenteller Tel pulsen (In)"}},
         10},
        {"lichtsensor.tvb",
         {{"Sensor 1 Uit Geel", "Comparator In"}, {"Comparator Uit", "LED 2 Ingang"}},
         0,
         25},
        {"geluidssensor.tvb",
         {{"Geluids Sensor Uit Geel", "Comparator In"}, {"Comparator Uit", "Zoemer"}},
         0,
         20},
    };
    return boards;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Gebruik: tavsim_make_teacher_boards MAP\n");
        return 2;
    }
    try {
        for (const TeacherBoard& board : Boards()) {
            BoardDocument document;
            document.wires = board.wires;
            document.pulseGenerator = board.pulse;
            document.comparator = board.comparator;
            DocumentFile::Save(document, std::string(argv[1]) + "/" + board.file);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavsim_make_teacher_boards: %s\n", error.what());
        return 1;
    }
    return 0;
}
