// Capture from a real sound server: a private PulseAudio server with a virtual microphone,
// a tone played into it, and the level of a TheWaveIn2 rising well above silence. Uses the
// Qt Multimedia inputs, so TAVSIM_WAVE_INPUTS is cleared.
#include "data/generator/WavWriter.h"
#include "tests/wave_capture/WaveCaptureTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <numbers>

namespace {

/// 16-bit mono 44.1 kHz WAV of a sine of `hz` at `amplitude` (0..1) for `seconds`.
QByteArray ToneFile(double hz, double amplitude, int seconds) {
    std::vector<std::int16_t> samples(44100u * static_cast<std::uint32_t>(seconds));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double s = amplitude * std::sin(2.0 * std::numbers::pi * hz * double(i) / 44100.0);
        samples[i] = static_cast<std::int16_t>(std::lround(s * 32767.0));
    }
    const std::vector<std::uint8_t> file = WavWriter::Encode(samples, 44100);
    return QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
}

class PulseCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        pulseaudio_ = QStandardPaths::findExecutable("pulseaudio");
        pactl_ = QStandardPaths::findExecutable("pactl");
        paplay_ = QStandardPaths::findExecutable("paplay");
        if (pulseaudio_.isEmpty() || pactl_.isEmpty() || paplay_.isEmpty()) {
            GTEST_SKIP() << "pulseaudio of pulseaudio-utils ontbreekt: opname via een echte "
                            "geluidsserver niet getest";
        }
        ASSERT_TRUE(folder_.isValid());
        const QString dir = folder_.path();
        const QString socket = dir + "/native";
        QFile script(dir + "/ci.pa");
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QString("load-module module-native-protocol-unix auth-anonymous=1 socket=%1\n"
                             "load-module module-null-sink sink_name=vsink rate=44100 channels=1 "
                             "sink_properties=device.description=VirtualSink\n"
                             "load-module module-remap-source master=vsink.monitor "
                             "source_name=vmic source_properties=device.description=VirtualMic\n"
                             "load-module module-null-sink sink_name=drain rate=44100 channels=1 "
                             "sink_properties=device.description=Drain\n"
                             "load-module module-loopback source=vsink.monitor sink=drain "
                             "latency_msec=20 source_dont_move=true sink_dont_move=true\n"
                             "set-default-sink vsink\n"
                             "set-default-source vmic\n"
                             "suspend-sink vsink 1\n"
                             "suspend-sink vsink 0\n")
                         .arg(socket)
                         .toUtf8());
        script.close();
        QDir(dir).mkdir("xdg");
        QFile::setPermissions(dir + "/xdg", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", (dir + "/xdg").toUtf8());
        qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
        qunsetenv("TAVSIM_WAVE_INPUTS");
        WaveInDevices::Instance().Reload();

        server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server_.start(pulseaudio_,
                      {"-n", "-F", dir + "/ci.pa", "--daemonize=no", "--exit-idle-time=-1",
                       "--use-pid-file=no", "--log-target=file:" + dir + "/pa.log"});
        ASSERT_TRUE(server_.waitForStarted(5000));
        bool ready = false;
        for (int i = 0; i < 100 && !ready; ++i) {
            QProcess info;
            info.start(pactl_, {"info"});
            ready = info.waitForFinished(2000) && info.exitStatus() == QProcess::NormalExit &&
                    info.exitCode() == 0;
            if (!ready) {
                QThread::msleep(50);
            }
        }
        ASSERT_TRUE(ready) << "de PulseAudio-server start niet";
    }

    void TearDown() override {
        control_.Reset();
        WaveInDevices::Instance().Shutdown();
        for (QProcess* process : {&player_, &server_}) {
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(3000)) {
                    process->kill();
                    process->waitForFinished(3000);
                }
            }
        }
    }

    /// The highest InputVolume seen while the event loop runs for `ms`, or until `enough`.
    std::int32_t Loudest(int ms, std::int32_t enough = INT32_MAX) {
        QElapsedTimer clock;
        clock.start();
        std::int32_t loudest = 0;
        while (clock.elapsed() < ms && loudest < enough) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            std::int32_t level = 0;
            control_->get_InputVolume(&level);
            loudest = std::max(loudest, level);
        }
        return loudest;
    }

    QString pulseaudio_, pactl_, paplay_;
    QTemporaryDir folder_;
    QProcess server_;
    QProcess player_;
    QWidget container_;
    ComPtr<ITheWaveIn2> control_;
};

TEST_F(PulseCaptureTest, AToneIntoTheVirtualMicrophoneRaisesTheLevel) {
    control_ = MakeControl<ITheWaveIn2>(CLSID_TheWaveIn2, IID_ITheWaveIn2, container_);
    ASSERT_TRUE(control_);
    std::int32_t count = 0;
    ASSERT_EQ(control_->InCount(&count), S_OK);
    std::int32_t microphone = 0;
    for (std::int32_t nr = 1; nr <= count; ++nr) {
        std::string name;
        control_->InName(nr, &name);
        if (name == "VirtualMic") {
            microphone = nr;
        }
    }
    ASSERT_NE(microphone, 0) << count << " inputs, none named VirtualMic";
    VARIANT_BOOL valid = VARIANT_FALSE;
    control_->InValid(microphone, &valid);
    EXPECT_EQ(valid, VARIANT_TRUE);
    control_->put_InSelected(microphone);
    ASSERT_EQ(control_->Start(), S_OK);

    const std::int32_t silence = Loudest(700);
    std::int32_t size = 0;
    control_->WaveDataSize(&size);
    EXPECT_EQ(size, 4000) << "no buffer came in from the silent microphone";

    const QString tone = folder_.path() + "/tone.wav";
    QFile file(tone);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ToneFile(1000.0, 0.5, 4)); // amplitude 64 sample units: level about 10400
    file.close();
    player_.start(paplay_, {"-d", "vsink", tone});
    ASSERT_TRUE(player_.waitForStarted(5000));
    const std::int32_t loud = Loudest(4000, silence + 5000);
    EXPECT_GE(loud, silence + 5000) << "silence " << silence << ", with the tone " << loud;
    std::int32_t amplitude = 0;
    control_->CalcFreq(1000.0f, &amplitude);
    RecordProperty("silence", silence);
    RecordProperty("tone", loud);
    RecordProperty("calcfreq_1000", amplitude);
}

} // namespace
