// Benchmarks of TheWaveIn2: one analysis of a cached frequency, and one buffer's level.
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/IHostedControl.h"
#include "platform/wave/WaveInDevices.h"
#include "wave_capture/ITheWaveIn2.h"

#include <QCoreApplication>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

/// A running TheWaveIn2 on a hand-stepped virtual tone of 1000 Hz, with one buffer in.
struct Capturing {
    Capturing() {
        setenv("TAVSIM_WAVE_INPUTS", "Toon=tone:1000:100", 1);
        WaveInDevices::Instance().Reload();
        WaveInDevices::Instance().SetStepByHand(true);
        CoCreateInstance(CLSID_TheWaveIn2, nullptr, CLSCTX_INPROC_SERVER, IID_ITheWaveIn2,
                         control.PutVoid());
        ComPtr<IHostedControl> hosted;
        control->QueryInterface(IID_IHostedControl, hosted.PutVoid());
        hosted->CreateControlWindow(&container);
        control->put_InSelected(1);
        control->Start();
        WaveInDevices::Instance().Step(0);
        QCoreApplication::sendPostedEvents();
    }
    ~Capturing() {
        control.Reset();
        WaveInDevices::Instance().Shutdown();
    }
    QWidget container;
    ComPtr<ITheWaveIn2> control;
};

void BM_CalcFreqCached(benchmark::State& state) {
    Capturing capturing;
    std::int32_t amplitude = 0;
    capturing.control->CalcFreq(1000.0f, &amplitude); // fills the slot's tables
    for (auto _ : state) {
        capturing.control->CalcFreq(1000.0f, &amplitude);
        benchmark::DoNotOptimize(amplitude);
    }
    state.counters["amplitude"] = amplitude;
}
BENCHMARK(BM_CalcFreqCached);

/// One completed 4000-byte buffer, from the device to the level: notification, re-queue,
/// copy and level.
void BM_BufferLevel(benchmark::State& state) {
    Capturing capturing;
    std::vector<std::uint8_t> buffer(4000);
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        buffer[i] = static_cast<std::uint8_t>(i * 31);
    }
    std::int32_t level = 0;
    for (auto _ : state) {
        WaveInDevices::Instance().Feed(0, buffer);
        QCoreApplication::sendPostedEvents();
        capturing.control->get_InputVolume(&level);
        benchmark::DoNotOptimize(level);
    }
    state.counters["level"] = level;
}
BENCHMARK(BM_BufferLevel);

} // namespace
