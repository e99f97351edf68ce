#include "app/cli/TraceRun.h"

#include "app/cli/CheckBoard.h"
#include "app/measure/TraceWriter.h"
#include "app/simulation/SocketTable.h"
#include "platform/files/DurableFile.h"
#include "platform/files/DurableFileError.h"

std::vector<std::string> TraceRun::Sockets(const std::vector<std::string>& probes) {
    if (!probes.empty()) {
        return probes;
    }
    std::vector<std::string> all;
    for (const SocketEntry& entry : kSocketTable) {
        all.emplace_back(entry.naam);
    }
    return all;
}

std::string TraceRun::Run(CheckBoard& board, const CliOptions& options) {
    const std::vector<std::string> names = Sockets(options.probes);
    // The options were checked: the extension names a format.
    const TraceWriter::Format format =
        TraceWriter::FormatOf(options.trace).value_or(TraceWriter::Format::Csv);
    const std::unique_ptr<TraceWriter> writer = TraceWriter::Make(format, names);
    std::vector<SocketReading> readings(names.size());
    // One step at a time, each recorded after it; the clock goes on from the steps run.
    for (std::int32_t k = 0; k < options.ticks; ++k) {
        board.Run(1);
        for (std::size_t i = 0; i < names.size(); ++i) {
            readings[i] = board.Model().Value(names[i]);
        }
        writer->Step(board.Steps() * 1000 / CheckBoard::kStepsPerSecond, readings);
    }
    try {
        DurableFile::Write(options.trace, writer->Text());
    } catch (const DurableFileError& e) {
        return e.Reason();
    }
    return {};
}
