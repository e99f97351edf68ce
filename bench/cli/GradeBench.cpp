// What tavsim --grade costs: 1,000 boards against an assignment of one 4-row truth table and
// one 1 s sequence, in one process, from reading the files to the last JSON line.

#include "app/documents/BoardDocument.h"
#include "app/documents/DocumentFile.h"
#include "bench/support/TimeCommand.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

constexpr const char* kAssignment = "opdracht: EN-poort en knipperlicht\n"
                                    "toets: Waarheidstabel\npunten: 4\n"
                                    "tabel: Drukknop 1 | Drukknop 2 => LED 1\n"
                                    "  uit | uit => uit\n  uit | aan => uit\n"
                                    "  aan | uit => uit\n  aan | aan => aan\n"
                                    "toets: Knipperen\n"
                                    "zet Puls Generator Regelaar = 1 V\n"
                                    "wacht 1 s\n"
                                    "verwacht LED 2 wisselt 3 tot 6 keer\n";

/// Half the boards right, a quarter with an OR gate, a quarter without the blinking light.
std::vector<std::string> WriteBoards(const QString& folder, int count) {
    std::vector<std::string> files;
    for (int b = 0; b < count; ++b) {
        BoardDocument document;
        const char* gate = b % 4 == 1 ? "OF-poort" : "EN-poort";
        document.wires = {{"Drukknop 1 Uit Geel", std::string(gate) + " Ingang 1"},
                          {"Drukknop 2 Uit Geel", std::string(gate) + " Ingang 2"},
                          {std::string(gate) + " Uit", "LED 1 Ingang"}};
        if (b % 4 != 3) {
            document.wires.push_back({"Puls Generator Uit Geel", "LED 2 Ingang"});
        }
        files.push_back((folder + QString("/leerling%1.tvb").arg(b)).toStdString());
        DocumentFile::Save(document, files.back());
    }
    return files;
}

void BM_Grade1000Boards(benchmark::State& state) {
    QTemporaryDir folder;
    const QString tvo = folder.path() + "/opdracht.tvo";
    QFile file(tvo);
    if (!file.open(QIODevice::WriteOnly) || file.write(kAssignment) < 0) {
        state.SkipWithError("de opdracht kan niet worden geschreven");
        return;
    }
    file.close();
    TimeCommand(state, {"--grade", tvo.toStdString()}, WriteBoards(folder.path(), 1000));
}
BENCHMARK(BM_Grade1000Boards)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
