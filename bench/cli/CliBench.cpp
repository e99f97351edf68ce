// What tavsim --check costs: 1,000 boards of 40 wires, 100 steps each, in one process, from
// reading the files to the last JSON line.

#include "app/documents/BoardDocument.h"
#include "app/documents/DocumentFile.h"
#include "app/simulation/clsSnaps.h"
#include "bench/support/BoardSockets.h"
#include "bench/support/TimeCommand.h"

#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

/// `count` boards of 40 distinct wires from outputs to inputs, each board wired differently,
/// with the pulse generator running and a push button on, so that wires recolour, LEDs
/// change and the counter counts.
std::vector<std::string> WriteBoards(const QString& folder, int count) {
    const clsSnaps snaps;
    const std::vector<std::string> outputs = ConnectableSockets(snaps, 2);
    const std::vector<std::string> inputs = ConnectableSockets(snaps, 1);
    std::vector<std::string> files;
    for (int b = 0; b < count; ++b) {
        BoardDocument document;
        document.pulseGenerator = 10 + b % 41;
        document.variableVoltage = b % 51;
        document.pushButton1 = b % 2 == 0;
        for (std::size_t i = 0; document.wires.size() < 40; ++i) {
            const std::string& a = outputs[(i * 5 + std::size_t(b)) % outputs.size()];
            const std::string& z = inputs[(i * 7 + std::size_t(b) * 3) % inputs.size()];
            const BoardDocument::Wire wire{a, z};
            if (std::find(document.wires.begin(), document.wires.end(), wire) ==
                document.wires.end()) {
                document.wires.push_back(wire);
            }
        }
        files.push_back((folder + QString("/leerling%1.tvb").arg(b)).toStdString());
        DocumentFile::Save(document, files.back());
    }
    return files;
}

void BM_Check1000Boards(benchmark::State& state) {
    QTemporaryDir folder;
    TimeCommand(state, {"--check", "--ticks", "100"}, WriteBoards(folder.path(), 1000));
}
BENCHMARK(BM_Check1000Boards)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
