// What the sound sensor adds to every simulation tick: GetVolume over the capture controls
// of the virtual inputs, none to five, each with a level.

#include "app/sound/UCWaveIn.h"
#include "platform/wave/WaveInDevices.h"
#include "platform/wave/WaveInEvent.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void BM_GetVolume(benchmark::State& state) {
    const int inputs = static_cast<int>(state.range(0));
    std::string list;
    for (int i = 1; i <= inputs; ++i) {
        list += (i > 1 ? ";In " : "In ") + std::to_string(i) + "=silence";
    }
    setenv("TAVSIM_WAVE_INPUTS", list.c_str(), 1);
    WaveInDevices::Instance().Reload();
    WaveInDevices::Instance().SetStepByHand(true);
    {
        UCWaveIn wi;
        wi.Timer1_Timer();
        for (int i = 0; i < inputs; ++i) {
            const std::vector<std::uint8_t> bytes(4000, std::uint8_t(100 + i));
            WaveInDevices::Instance().Feed(std::uint32_t(i), bytes);
        }
        QCoreApplication::sendPostedEvents(nullptr, WaveInEvent::EventType());
        for (auto _ : state) {
            benchmark::DoNotOptimize(wi.GetVolume());
        }
        state.counters["inputs"] = wi.GetUsedCount();
    }
    WaveInDevices::Instance().Shutdown();
}
BENCHMARK(BM_GetVolume)->Arg(0)->Arg(1)->Arg(5)->Unit(benchmark::kNanosecond);

} // namespace
