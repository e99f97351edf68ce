// The wave-input calls on virtual devices: enumeration, capabilities, the buffer protocol and
// the notifications.
#include "platform/wave/WaveInDevices.h"

#include "platform/wave/WaveIn.h"
#include "platform/wave/WaveInEvent.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

/// Records every notification it receives.
class Receiver : public QObject {
public:
    struct Seen {
        WaveInEvent::Message message;
        HWAVEIN device;
        WAVEHDR* header;
        std::uint32_t recorded;
    };
    bool event(QEvent* e) override {
        if (e->type() != WaveInEvent::EventType()) {
            return QObject::event(e);
        }
        const auto& w = static_cast<const WaveInEvent&>(*e);
        seen.push_back({w.message(), w.device(), w.header(),
                        w.header() != nullptr ? w.header()->dwBytesRecorded : 0u});
        return true;
    }
    std::vector<Seen> seen;
};

/// Uses the virtual inputs of `spec`, stepped by hand, for one test.
class VirtualInputs {
public:
    explicit VirtualInputs(const char* spec, bool byHand = true) {
        setenv("TAVSIM_WAVE_INPUTS", spec, 1);
        WaveInDevices::Instance().Reload();
        WaveInDevices::Instance().SetStepByHand(byHand);
    }
    ~VirtualInputs() {
        WaveInDevices::Instance().Shutdown();
        unsetenv("TAVSIM_WAVE_INPUTS");
        WaveInDevices::Instance().Reload();
    }
};

WAVEFORMATEX CaptureFormat() {
    WAVEFORMATEX f;
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 1;
    f.nSamplesPerSec = 44100;
    f.nAvgBytesPerSec = 44100;
    f.nBlockAlign = 1;
    f.wBitsPerSample = 8;
    return f;
}

struct Buffer {
    explicit Buffer(std::uint32_t length = 4000) : bytes(length, 0x55) {
        header.lpData = bytes.data();
        header.dwBufferLength = length;
    }
    std::vector<char> bytes;
    WAVEHDR header;
};

void Deliver() {
    QCoreApplication::sendPostedEvents(nullptr, WaveInEvent::EventType());
}

TEST(WaveInDevicesTest, VirtualInputsAreTheOnlyDevicesInTheirOrder) {
    VirtualInputs inputs("Eerste=silence;Tweede=noformat;Derde=tone:1000:20");
    ASSERT_EQ(waveInGetNumDevs(), 3u);
    struct Row {
        std::uint32_t id;
        const char* name;
        std::uint32_t formats;
    };
    for (const Row& row :
         {Row{0, "Eerste", WAVE_FORMAT_4M08}, Row{1, "Tweede", 0},
          Row{2, "Derde", WAVE_FORMAT_4M08}, Row{WAVE_MAPPER, "Eerste", WAVE_FORMAT_4M08}}) {
        WAVEINCAPS caps;
        ASSERT_EQ(waveInGetDevCaps(row.id, &caps, sizeof caps), MMSYSERR_NOERROR) << row.id;
        EXPECT_STREQ(caps.szPname, row.name);
        EXPECT_EQ(caps.dwFormats, row.formats) << row.id;
    }
    WAVEINCAPS untouched;
    std::strcpy(untouched.szPname, "ongewijzigd");
    EXPECT_EQ(waveInGetDevCaps(3, &untouched, sizeof untouched), MMSYSERR_BADDEVICEID);
    EXPECT_STREQ(untouched.szPname, "ongewijzigd");
    EXPECT_EQ(waveInGetDevCaps(0, &untouched, sizeof untouched - 1), MMSYSERR_INVALPARAM);
}

TEST(WaveInDevicesTest, OpeningChecksDeviceFormatAndTarget) {
    Receiver receiver;
    const WAVEFORMATEX format = CaptureFormat();
    WAVEFORMATEX stereo = format;
    stereo.nChannels = 2;
    HWAVEIN device = nullptr;
    {
        VirtualInputs none("");
        EXPECT_EQ(waveInGetNumDevs(), 0u);
        EXPECT_EQ(waveInOpen(&device, WAVE_MAPPER, &format, &receiver, 0, CALLBACK_WINDOW),
                  MMSYSERR_NODRIVER);
        EXPECT_EQ(waveInOpen(&device, 0, &format, &receiver, 0, CALLBACK_WINDOW),
                  MMSYSERR_BADDEVICEID);
    }
    VirtualInputs inputs("A=silence;B=noformat");
    EXPECT_EQ(waveInOpen(&device, 1, &format, &receiver, 0, CALLBACK_WINDOW), WAVERR_BADFORMAT);
    EXPECT_EQ(waveInOpen(&device, 0, &stereo, &receiver, 0, CALLBACK_WINDOW), WAVERR_BADFORMAT);
    EXPECT_EQ(waveInOpen(&device, 7, &stereo, &receiver, 0, CALLBACK_WINDOW), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(waveInOpen(&device, 0, &format, nullptr, 0, CALLBACK_WINDOW), MMSYSERR_INVALPARAM);
    EXPECT_EQ(WaveInDevices::Instance().OpenCount(), 0u);

    ASSERT_EQ(waveInOpen(&device, WAVE_MAPPER, &format, &receiver, 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    HWAVEIN second = nullptr;
    ASSERT_EQ(waveInOpen(&second, 0, &format, &receiver, 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    EXPECT_NE(device, second);
    EXPECT_EQ(waveInClose(second), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInClose(second), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveInClose(device), MMSYSERR_NOERROR);
    Deliver();
    ASSERT_EQ(receiver.seen.size(), 4u);
    EXPECT_EQ(receiver.seen[0].message, WaveInEvent::MM_WIM_OPEN);
    EXPECT_EQ(receiver.seen[3].message, WaveInEvent::MM_WIM_CLOSE);
    EXPECT_EQ(receiver.seen[3].device, device);
}

TEST(WaveInDevicesTest, BuffersAreFilledInQueueOrderAndReturnedByStopAndReset) {
    VirtualInputs inputs("Toon=tone:11025:100");
    Receiver receiver;
    const WAVEFORMATEX format = CaptureFormat();
    HWAVEIN device = nullptr;
    ASSERT_EQ(waveInOpen(&device, 0, &format, &receiver, 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    Buffer a, b, c;
    EXPECT_EQ(waveInAddBuffer(device, &a.header, sizeof a.header), WAVERR_UNPREPARED);
    for (Buffer* buffer : {&a, &b, &c}) {
        ASSERT_EQ(waveInPrepareHeader(device, &buffer->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        ASSERT_EQ(waveInAddBuffer(device, &buffer->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    EXPECT_EQ(waveInAddBuffer(device, &a.header, sizeof a.header), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveInUnprepareHeader(device, &a.header, sizeof a.header), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveInPrepareHeader(device, &a.header, sizeof a.header), WAVERR_STILLPLAYING);

    // Not started: stepping does nothing.
    EXPECT_EQ(WaveInDevices::Instance().Step(0), 0);
    ASSERT_EQ(waveInStart(device), MMSYSERR_NOERROR);
    EXPECT_EQ(WaveInDevices::Instance().Step(0), 1);
    EXPECT_EQ(a.header.dwBytesRecorded, 4000u);
    EXPECT_EQ(a.header.dwFlags, WHDR_PREPARED | WHDR_DONE);
    EXPECT_EQ(std::vector<char>(a.bytes.begin(), a.bytes.begin() + 4),
              (std::vector<char>{char(128), char(228), char(128), char(28)}));

    // Part of a buffer, then a stop: only the buffer being filled comes back.
    const std::uint8_t some[3] = {1, 2, 3};
    EXPECT_EQ(WaveInDevices::Instance().Feed(0, some, false), 1);
    EXPECT_EQ(waveInStop(device), MMSYSERR_NOERROR);
    EXPECT_EQ(b.header.dwBytesRecorded, 3u);
    EXPECT_EQ(b.header.dwFlags & (WHDR_DONE | WHDR_INQUEUE), WHDR_DONE);
    EXPECT_EQ(c.header.dwFlags & WHDR_INQUEUE, WHDR_INQUEUE);
    EXPECT_EQ(WaveInDevices::Instance().Step(0), 0);

    // Closing is refused while a buffer is queued; a reset returns it.
    EXPECT_EQ(waveInClose(device), WAVERR_STILLPLAYING);
    EXPECT_EQ(WaveInDevices::Instance().OpenCount(), 1u);
    EXPECT_EQ(waveInReset(device), MMSYSERR_NOERROR);
    EXPECT_EQ(c.header.dwBytesRecorded, 0u);
    EXPECT_EQ(waveInUnprepareHeader(device, &c.header, sizeof c.header), MMSYSERR_NOERROR);
    EXPECT_EQ(c.header.dwFlags, WHDR_DONE);
    EXPECT_EQ(waveInClose(device), MMSYSERR_NOERROR);
    EXPECT_EQ(WaveInDevices::Instance().OpenCount(), 0u);
    EXPECT_EQ(waveInStart(device), MMSYSERR_INVALHANDLE);

    Deliver();
    std::vector<std::pair<WAVEHDR*, std::uint32_t>> data;
    for (const Receiver::Seen& seen : receiver.seen) {
        if (seen.message == WaveInEvent::MM_WIM_DATA) {
            EXPECT_EQ(seen.device, device);
            data.emplace_back(seen.header, seen.recorded);
        }
    }
    EXPECT_EQ(data, (std::vector<std::pair<WAVEHDR*, std::uint32_t>>{
                        {&a.header, 4000}, {&b.header, 3}, {&c.header, 0}}));
}

TEST(WaveInDevicesTest, NotificationsForAGoneOwnerAreDropped) {
    VirtualInputs inputs("S=silence");
    auto receiver = std::make_unique<Receiver>();
    const WAVEFORMATEX format = CaptureFormat();
    HWAVEIN device = nullptr;
    ASSERT_EQ(waveInOpen(&device, 0, &format, receiver.get(), 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    Buffer a;
    waveInPrepareHeader(device, &a.header, sizeof a.header);
    waveInAddBuffer(device, &a.header, sizeof a.header);
    waveInStart(device);
    receiver.reset();
    EXPECT_EQ(WaveInDevices::Instance().Step(0), 1);
    Deliver(); // nothing to crash on
    EXPECT_EQ(waveInClose(device), MMSYSERR_NOERROR);
}

TEST(WaveInDevicesTest, RunningVirtualInputKeepsRealTime) {
    VirtualInputs inputs("S=silence", false);
    Receiver receiver;
    const WAVEFORMATEX format = CaptureFormat();
    HWAVEIN device = nullptr;
    ASSERT_EQ(waveInOpen(&device, 0, &format, &receiver, 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    std::vector<Buffer> buffers(8);
    for (Buffer& buffer : buffers) {
        waveInPrepareHeader(device, &buffer.header, sizeof buffer.header);
        waveInAddBuffer(device, &buffer.header, sizeof buffer.header);
    }
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(waveInStart(device), MMSYSERR_NOERROR);
    auto completed = [&] {
        return std::count_if(receiver.seen.begin(), receiver.seen.end(),
                             [](const auto& s) { return s.message == WaveInEvent::MM_WIM_DATA; });
    };
    while (completed() < 3 && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    // Three buffers of 4000 bytes are 272 ms of sound: they cannot come sooner.
    EXPECT_EQ(completed(), 3);
    EXPECT_GE(clock.elapsed(), 272);
    waveInReset(device);
    EXPECT_EQ(waveInClose(device), MMSYSERR_NOERROR);
}

} // namespace
