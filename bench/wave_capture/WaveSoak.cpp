// One start-capture-exit cycle of the capture controls, as the program runs them: N
// TheWaveIn2 controls in a window, capturing from the default input (or input i when
// --inputs is given), for a while; then it prints the levels and the memory in use, releases
// the controls, lets the sound system wind down for --settle ms, and ends.
//
//   wave_soak [--controls N] [--ms MS] [--settle MS] [--inputs]
//   wave_soak --tone FILE      writes 2 s of a 1000 Hz tone (16-bit mono, amplitude 0.5)
#include "data/generator/WavWriter.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/IHostedControl.h"
#include "platform/ui/Prompter.h"
#include "wave_capture/ITheWaveIn2.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <numbers>
#include <string>
#include <vector>

namespace {

void RunEvents(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

/// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
long StatusKiB(const char* field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(static_cast<qsizetype>(std::strlen(field)) + 1)
                .trimmed()
                .split(' ')
                .front()
                .toLong();
        }
    }
    return -1;
}

/// A WAV file of 2 s of 1000 Hz at half amplitude, 16-bit mono 44.1 kHz.
bool WriteTone(const char* path) {
    std::vector<std::int16_t> samples(2 * 44100);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double s = 16383.0 * std::sin(2.0 * std::numbers::pi * 1000.0 * double(i) / 44100.0);
        samples[i] = static_cast<std::int16_t>(std::lround(s));
    }
    try {
        WavWriter::Write(samples, 44100, path);
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return false;
    }
}

/// Messages of the controls go to stderr: a measurement never waits for a person.
class StderrPrompter : public Prompter {
public:
    Answer Message(const std::string& text, const std::string& title, Buttons, Icon) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        return Answer::Ok;
    }
    std::optional<std::string> OpenFileName(const FileRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFileName(const FileRequest&) override { return std::nullopt; }
};

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--tone") == 0) {
        return WriteTone(argv[2]) ? 0 : 1;
    }
    QApplication app(argc, argv);
    StderrPrompter prompter;
    Prompter::Install(&prompter);
    int controls = 5;
    int ms = 1000;
    int settle = 100;
    bool perInput = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--controls" && i + 1 < argc) {
            controls = std::atoi(argv[++i]);
        } else if (arg == "--ms" && i + 1 < argc) {
            ms = std::atoi(argv[++i]);
        } else if (arg == "--settle" && i + 1 < argc) {
            settle = std::atoi(argv[++i]);
        } else if (arg == "--inputs") {
            perInput = true;
        }
    }
    int result = 0;
    {
        QWidget window;
        window.resize(120, 40 * controls);
        std::vector<ComPtr<ITheWaveIn2>> waves;
        for (int i = 0; i < controls; ++i) {
            ComPtr<ITheWaveIn2> wave;
            if (CoCreateInstance(CLSID_TheWaveIn2, nullptr, CLSCTX_INPROC_SERVER, IID_ITheWaveIn2,
                                 wave.PutVoid()) != S_OK) {
                std::fprintf(stderr, "TheWaveIn2 niet te maken: %s\n", CoLastErrorText().c_str());
                return 2;
            }
            ComPtr<IHostedControl> hosted;
            wave->QueryInterface(IID_IHostedControl, hosted.PutVoid());
            hosted->CreateControlWindow(&window);
            hosted->ControlWindow()->move(0, 40 * i);
            wave->put_InSelected(perInput ? i + 1 : 0);
            if (wave->Start() != S_OK) {
                result = 1;
            }
            waves.push_back(wave);
        }
        window.show();
        RunEvents(ms);
        std::printf("controls=%d", controls);
        for (const ComPtr<ITheWaveIn2>& wave : waves) {
            std::int32_t level = 0;
            std::int32_t size = 0;
            std::int32_t amplitude = 0;
            wave->get_InputVolume(&level);
            wave->WaveDataSize(&size);
            for (float f : {250.0f, 500.0f, 1000.0f}) {
                wave->CalcFreq(f, &amplitude);
            }
            std::printf(" level=%d/size=%d/calc1000=%d", level, size, amplitude);
            if (size == 0) {
                result = 1;
            }
        }
        std::printf(" rss_kib=%ld hwm_kib=%ld\n", StatusKiB("VmRSS:"), StatusKiB("VmHWM:"));
        std::fflush(stdout);
    }
    RunEvents(settle);
    return result;
}
