// The capture controls on virtual inputs stepped by hand.
#include "platform/ui/ScriptedPrompter.h"
#include "tests/wave_capture/WaveCaptureTestSupport.h"

#include <QImage>
#include <QPointer>
#include <climits>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Shown = ScriptedPrompter::Shown;

std::int32_t Long(ITheWaveIn2* c, HRESULT (ITheWaveIn2::*get)(std::int32_t*)) {
    std::int32_t value = -12345;
    EXPECT_EQ((c->*get)(&value), S_OK);
    return value;
}

std::int32_t Volume(ITheWaveIn2* c) {
    return Long(c, &ITheWaveIn2::get_InputVolume);
}
std::int32_t Size(ITheWaveIn2* c) {
    return Long(c, &ITheWaveIn2::WaveDataSize);
}

std::int32_t Byte(ITheWaveIn2* c, std::int32_t index) {
    std::int32_t value = -1;
    EXPECT_EQ(c->GetWaveData(index, &value), S_OK);
    return value;
}

bool Running(ITheWaveIn2* c) {
    VARIANT_BOOL value = 1;
    EXPECT_EQ(c->get_Running(&value), S_OK);
    EXPECT_TRUE(value == VARIANT_TRUE || value == VARIANT_FALSE);
    return value == VARIANT_TRUE;
}

std::int32_t Calc(ITheWaveIn2* c, float freq) {
    std::int32_t value = -1;
    EXPECT_EQ(c->CalcFreq(freq, &value), S_OK);
    return value;
}

/// Fills the buffer the device of input 1 is filling with `bytes`, completes it and lets
/// the controls handle it.
void FeedAndDeliver(const Bytes& bytes, bool complete = true) {
    WaveInDevices::Instance().Feed(0, bytes, complete);
    DeliverNotifications();
}

class TheWaveIn2Test : public ::testing::Test {
protected:
    ComPtr<ITheWaveIn2> Make() {
        return MakeControl<ITheWaveIn2>(CLSID_TheWaveIn2, IID_ITheWaveIn2, container);
    }

    QWidget container;
    ScopedScriptedPrompter prompter;
};

TEST_F(TheWaveIn2Test, MembersHaveTheirNumbersAndInterfaces) {
    HandSteppedInputs inputs("");
    ComPtr<ITheWaveIn2> wave = Make();
    ComPtr<IVolWaveIn> vol = MakeControl<IVolWaveIn>(CLSID_VolWaveIn, IID_IVolWaveIn, container);
    ASSERT_TRUE(wave && vol);
    struct Row {
        const char* name;
        DISPID wave;
        DISPID vol;
    };
    const Row rows[] = {
        {"InCount", 1, 1},
        {"InName", 2, 2},
        {"InSelected", 3, 3},
        {"Start", 4, 4},
        {"End", 5, 5},
        {"Running", 6, 6},
        {"InputVolume", 7, 7},
        {"CalcFreq", 8, DISPID_UNKNOWN},
        {"GetFaseByFreq", 10, DISPID_UNKNOWN},
        {"SubSine", 11, DISPID_UNKNOWN},
        {"GetWaveData", 12, DISPID_UNKNOWN},
        {"WaveDataSize", 13, DISPID_UNKNOWN},
        {"InValid", 14, 9},
    };
    for (const Row& row : rows) {
        for (auto [object, expected] : {std::pair<IDispatch*, DISPID>{wave.Get(), row.wave},
                                        std::pair<IDispatch*, DISPID>{vol.Get(), row.vol}}) {
            DISPID id = 99;
            const HRESULT hr =
                object->GetIDsOfNames(IID_NULL, &row.name, 1, LOCALE_USER_DEFAULT, &id);
            EXPECT_EQ(id, expected) << row.name;
            EXPECT_EQ(hr, expected == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK) << row.name;
        }
    }
    ComPtr<IUnknown> other;
    EXPECT_EQ(wave->QueryInterface(IID_IVolWaveIn, other.PutVoid()), E_NOINTERFACE);
    EXPECT_EQ(vol->QueryInterface(IID_ITheWaveIn2, other.PutVoid()), E_NOINTERFACE);
}

TEST_F(TheWaveIn2Test, StartsEmptyWithSilentData) {
    HandSteppedInputs inputs("Stil=silence");
    ComPtr<ITheWaveIn2> wave = Make();
    ASSERT_TRUE(wave);
    EXPECT_EQ(Size(wave.Get()), 0);
    EXPECT_EQ(Volume(wave.Get()), 0);
    EXPECT_EQ(Long(wave.Get(), &ITheWaveIn2::get_InSelected), 0);
    EXPECT_FALSE(Running(wave.Get()));
    for (std::int32_t i : {0, 1, 3999, 4000, 39999}) {
        EXPECT_EQ(Byte(wave.Get(), i), 128) << i;
    }
    for (std::int32_t i : {-1, 40000, INT_MIN, INT_MAX}) {
        std::int32_t untouched = -7;
        EXPECT_EQ(wave->GetWaveData(i, &untouched), E_INVALIDARG) << i;
        EXPECT_EQ(untouched, -7);
    }
    // Nothing to analyse yet: 0, and the slot's parts stay 0 (phase of v = 0).
    EXPECT_EQ(Calc(wave.Get(), 1000.0f), 0);
    float phase = 0.0f;
    EXPECT_EQ(wave->GetFaseByFreq(1000.0f, &phase), S_OK);
    EXPECT_EQ(phase, 1001 * 0.00157075f);
    EXPECT_TRUE(prompter->messages.empty());
}

TEST_F(TheWaveIn2Test, LevelIs256TimesTheMeanDeviationFromSilence) {
    HandSteppedInputs inputs("Stil=silence");
    ComPtr<ITheWaveIn2> wave = Make();
    ComPtr<IVolWaveIn> vol = MakeControl<IVolWaveIn>(CLSID_VolWaveIn, IID_IVolWaveIn, container);
    ASSERT_TRUE(wave && vol);
    wave->put_InSelected(1);
    vol->put_InSelected(1);
    ASSERT_EQ(wave->Start(), S_OK);
    ASSERT_EQ(vol->Start(), S_OK);
    struct Row {
        const char* what;
        Bytes buffer;
        std::int32_t level;
        std::int32_t size;
    };
    const Row rows[] = {
        {"silence", Bytes(4000, 128), 0, 4000},
        {"all 0", Bytes(4000, 0), 32768, 4000},
        {"all 255", Bytes(4000, 255), 32512, 4000},
        {"mixed, truncated",
         {0, 255, 128, 129, 130, 131, 132},
         (128 + 127 + 1 + 2 + 3 + 4) * 256 / 7,
         7},
        {"nothing recorded keeps the level", {}, (128 + 127 + 1 + 2 + 3 + 4) * 256 / 7, 0},
    };
    for (const Row& row : rows) {
        FeedAndDeliver(row.buffer);
        EXPECT_EQ(Volume(wave.Get()), row.level) << row.what;
        EXPECT_EQ(Size(wave.Get()), row.size) << row.what;
        std::int32_t volLevel = -1;
        vol->get_InputVolume(&volLevel);
        EXPECT_EQ(volLevel, row.level) << row.what;
    }
    // Nothing was recorded in the last buffer: nothing to analyse.
    EXPECT_EQ(Calc(wave.Get(), 1000.0f), 0);
    EXPECT_TRUE(prompter->messages.empty());
}

TEST_F(TheWaveIn2Test, BlocksAlternateOneNotificationLateAndNothingIsCopiedAfterEnd) {
    HandSteppedInputs inputs("Stil=silence");
    ComPtr<ITheWaveIn2> wave = Make();
    ASSERT_TRUE(wave);
    wave->put_InSelected(1);
    ASSERT_EQ(wave->Start(), S_OK);
    EXPECT_TRUE(Running(wave.Get()));
    WaveInDevices& devices = WaveInDevices::Instance();
    const std::vector<const WAVEHDR*> started = devices.Queue(0);
    ASSERT_EQ(started.size(), 2u);
    const WAVEHDR* a = started[0];
    const WAVEHDR* b = started[1];
    using Queue = std::vector<const WAVEHDR*>;

    // First buffer (A): copied, nothing re-queued; B alone is with the device.
    FeedAndDeliver(Bytes(4000, 10));
    EXPECT_EQ(devices.Queue(0), (Queue{b}));
    EXPECT_EQ(Byte(wave.Get(), 0), 10);
    // From then on each buffer re-queues the block that completed one notification earlier.
    const std::pair<std::uint8_t, const WAVEHDR*> steps[] = {{20, a}, {30, b}, {40, a}};
    for (auto [value, queued] : steps) {
        FeedAndDeliver(Bytes(4000, value));
        EXPECT_EQ(devices.Queue(0), (Queue{queued})) << int(value);
        EXPECT_EQ(Byte(wave.Get(), 0), value);
        EXPECT_EQ(Size(wave.Get()), 4000);
    }

    // Part of a buffer has come in when End stops the device: it comes back, uncopied.
    FeedAndDeliver(Bytes(1000, 0), false);
    EXPECT_EQ(wave->End(), S_OK);
    EXPECT_FALSE(Running(wave.Get()));
    EXPECT_EQ(devices.OpenCount(), 0u);
    DeliverNotifications();
    EXPECT_EQ(Byte(wave.Get(), 0), 40);
    EXPECT_EQ(Size(wave.Get()), 4000);
    EXPECT_EQ(Volume(wave.Get()), 88 * 256);
    // End again, when idle, does nothing.
    EXPECT_EQ(wave->End(), S_OK);
    EXPECT_TRUE(prompter->messages.empty());
}

TEST_F(TheWaveIn2Test, VolWaveInCopiesEveryBufferAndStaysRunningAfterEnd) {
    HandSteppedInputs inputs("Stil=silence");
    ComPtr<IVolWaveIn> vol = MakeControl<IVolWaveIn>(CLSID_VolWaveIn, IID_IVolWaveIn, container);
    ASSERT_TRUE(vol);
    vol->put_InSelected(1);
    ASSERT_EQ(vol->Start(), S_OK);
    WaveInDevices& devices = WaveInDevices::Instance();
    const std::vector<const WAVEHDR*> started = devices.Queue(0);
    ASSERT_EQ(started.size(), 2u);
    using Queue = std::vector<const WAVEHDR*>;
    const std::pair<std::uint8_t, Queue> steps[] = {
        {10, {started[1]}}, {20, {started[0]}}, {30, {started[1]}}};
    for (const auto& [value, queued] : steps) {
        FeedAndDeliver(Bytes(4000, value));
        EXPECT_EQ(devices.Queue(0), queued) << int(value);
    }
    FeedAndDeliver(Bytes(1000, 0), false);
    EXPECT_EQ(vol->End(), S_OK);
    EXPECT_EQ(devices.OpenCount(), 0u);
    VARIANT_BOOL running = VARIANT_FALSE;
    vol->get_Running(&running);
    EXPECT_EQ(running, VARIANT_TRUE);
    DeliverNotifications();
    std::int32_t level = -1;
    vol->get_InputVolume(&level);
    EXPECT_EQ(level, 32768);
    // No device is left to re-queue with; that is no failure.
    EXPECT_TRUE(prompter->messages.empty());
    VARIANT byName = CallByName(vol.Get(), "Running");
    EXPECT_EQ(byName.vt(), VT_BOOL);
    EXPECT_EQ(byName.boolVal(), VARIANT_TRUE);
}

TEST_F(TheWaveIn2Test, EndBeforeTheFirstBufferAndReleaseWhileCapturingCloseTheDevice) {
    HandSteppedInputs inputs("Stil=silence");
    WaveInDevices& devices = WaveInDevices::Instance();
    {
        ComPtr<ITheWaveIn2> wave = Make();
        ASSERT_TRUE(wave);
        ASSERT_EQ(wave->Start(), S_OK);
        EXPECT_EQ(devices.Queue(0).size(), 2u);
        EXPECT_EQ(wave->End(), S_OK);
        EXPECT_EQ(devices.OpenCount(), 0u);
        DeliverNotifications();
        EXPECT_EQ(Size(wave.Get()), 0);
        ASSERT_EQ(wave->Start(), S_OK);
        FeedAndDeliver(Bytes(4000, 7));
        EXPECT_EQ(devices.OpenCount(), 1u);
    }
    EXPECT_EQ(devices.OpenCount(), 0u);
    {
        ComPtr<IVolWaveIn> vol =
            MakeControl<IVolWaveIn>(CLSID_VolWaveIn, IID_IVolWaveIn, container);
        ASSERT_EQ(vol->Start(), S_OK);
    }
    EXPECT_EQ(devices.OpenCount(), 0u);
    DeliverNotifications();
    EXPECT_TRUE(prompter->messages.empty());
}

TEST_F(TheWaveIn2Test, StartOnARunningControlReopensWithoutStaleBuffers) {
    HandSteppedInputs inputs("Stil=silence");
    ComPtr<ITheWaveIn2> wave = Make();
    ASSERT_TRUE(wave);
    wave->put_InSelected(1);
    ASSERT_EQ(wave->Start(), S_OK);
    FeedAndDeliver(Bytes(4000, 50));
    WaveInDevices::Instance().Feed(0, Bytes(100, 60), false);
    ASSERT_EQ(wave->Start(), S_OK);
    EXPECT_EQ(WaveInDevices::Instance().OpenCount(), 1u);
    // The buffer the first device returned is not taken for the new capture's.
    DeliverNotifications();
    EXPECT_EQ(Byte(wave.Get(), 0), 50);
    EXPECT_EQ(WaveInDevices::Instance().Queue(0).size(), 2u);
    for (std::uint8_t value : {70, 80, 90}) {
        FeedAndDeliver(Bytes(4000, value));
        EXPECT_EQ(Byte(wave.Get(), 0), value);
        EXPECT_EQ(WaveInDevices::Instance().Queue(0).size(), 1u);
    }
    EXPECT_TRUE(Running(wave.Get()));
    EXPECT_TRUE(prompter->messages.empty());
}

TEST_F(TheWaveIn2Test, FailedStepsOfStartShowTheirMessage) {
    HandSteppedInputs inputs("Stil=silence;Geen=noformat");
    using Call = WaveInDevices::Call;
    struct Row {
        std::int32_t selected;
        std::optional<std::pair<Call, int>> failure;
        const char* text;
        std::size_t stillOpen;
    };
    const Row rows[] = {
        {9, std::nullopt, "Error waveInOpen: 2", 0},
        {2, std::nullopt, "Error waveInOpen: 32", 0},
        {1, std::pair{Call::PrepareHeader, 0}, "Error waveInPrepareHeader", 1},
        {1, std::pair{Call::PrepareHeader, 1}, "Error waveInPrepareHeader 2", 1},
        {1, std::pair{Call::AddBuffer, 0}, "Error waveInAddBuffer", 1},
        {1, std::pair{Call::AddBuffer, 1}, "Error waveInAddBuffer 2", 1},
        {1, std::pair{Call::Start, 0}, "Error waveInStart", 1},
    };
    for (const Row& row : rows) {
        for (bool volume : {false, true}) {
            prompter->messages.clear();
            ComPtr<IDispatch> control = MakeControl<IDispatch>(
                volume ? CLSID_VolWaveIn : CLSID_TheWaveIn2, IID_IDispatch, container);
            ASSERT_TRUE(control);
            VARIANT selected = VARIANT::I4(row.selected);
            DISPID named = DISPID_PROPERTYPUT;
            DISPPARAMS put{&selected, &named, 1, 1};
            ASSERT_EQ(control->Invoke(DISPID_InSelected, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put,
                                      nullptr, nullptr, nullptr),
                      S_OK);
            EXPECT_EQ(CallByName(control.Get(), "InSelected").lVal(), row.selected);
            if (row.failure) {
                WaveInDevices::Instance().InjectFailure(row.failure->first, row.failure->second,
                                                        WAVERR_STILLPLAYING);
            }
            const VARIANT started = CallByName(control.Get(), "Start");
            EXPECT_EQ(started.vt(), VT_ERROR);
            EXPECT_EQ(started.scode(), E_FAIL) << row.text;
            ASSERT_EQ(prompter->messages.size(), 1u) << row.text;
            const Shown& shown = prompter->messages[0];
            EXPECT_EQ(shown.text, row.text);
            EXPECT_EQ(shown.title, "Start");
            EXPECT_EQ(shown.buttons, Prompter::Buttons::Ok);
            EXPECT_EQ(shown.icon, Prompter::Icon::None);
            EXPECT_EQ(CallByName(control.Get(), "Running").boolVal(), VARIANT_FALSE);
            EXPECT_EQ(WaveInDevices::Instance().OpenCount(), row.stillOpen) << row.text;
            CallByName(control.Get(), "End");
            EXPECT_EQ(WaveInDevices::Instance().OpenCount(), 0u) << row.text;
        }
    }
}

TEST_F(TheWaveIn2Test, NoDeviceAtAllFailsToOpenTheDefaultInput) {
    HandSteppedInputs inputs("");
    ComPtr<ITheWaveIn2> wave = Make();
    ASSERT_TRUE(wave);
    std::int32_t count = -1;
    EXPECT_EQ(wave->InCount(&count), S_OK);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(wave->Start(), E_FAIL);
    ASSERT_EQ(prompter->messages.size(), 1u);
    EXPECT_EQ(prompter->messages[0].text, "Error waveInOpen: 6");
}

TEST_F(TheWaveIn2Test, AFailedRequeueShowsItsMessage) {
    HandSteppedInputs inputs("Stil=silence");
    ComPtr<ITheWaveIn2> wave = Make();
    ComPtr<IVolWaveIn> vol = MakeControl<IVolWaveIn>(CLSID_VolWaveIn, IID_IVolWaveIn, container);
    ASSERT_TRUE(wave && vol);
    for (IDispatch* control :
         {static_cast<IDispatch*>(wave.Get()), static_cast<IDispatch*>(vol.Get())}) {
        prompter->messages.clear();
        ASSERT_EQ(CallByName(control, "Start").vt(), VT_EMPTY);
        FeedAndDeliver(Bytes(4000, 128)); // phase 0: nothing to re-queue
        WaveInDevices::Instance().InjectFailure(WaveInDevices::Call::AddBuffer, 0,
                                                MMSYSERR_INVALHANDLE);
        FeedAndDeliver(Bytes(4000, 0));
        ASSERT_EQ(prompter->messages.size(), 1u);
        EXPECT_EQ(prompter->messages[0].text, "Error OnWIMData an action failed.");
        EXPECT_EQ(prompter->messages[0].title, "CTheWaveIn");
        EXPECT_EQ(prompter->messages[0].icon, Prompter::Icon::None);
        // The buffer was still measured.
        EXPECT_EQ(CallByName(control, "InputVolume").lVal(), 32768);
        CallByName(control, "End");
    }
}

TEST_F(TheWaveIn2Test, NamesAndValidityOfDevices) {
    HandSteppedInputs inputs("Stil=silence;Geen=noformat");
    ComPtr<ITheWaveIn2> wave = Make();
    ComPtr<IVolWaveIn> vol = MakeControl<IVolWaveIn>(CLSID_VolWaveIn, IID_IVolWaveIn, container);
    ASSERT_TRUE(wave && vol);
    struct Row {
        std::int32_t nr;
        const char* name;
        bool valid;
        bool warned;
    };
    const Row rows[] = {
        {1, "Stil", true, false},    {2, "Geen", false, true}, {0, "Stil", true, false},
        {3, "", false, false},       {-5, "", false, false},   {INT_MIN, "", false, false},
        {INT_MAX, "", false, false},
    };
    for (const Row& row : rows) {
        prompter->messages.clear();
        std::string name = "x";
        VARIANT_BOOL valid = 1;
        EXPECT_EQ(wave->InName(row.nr, &name), S_OK);
        EXPECT_EQ(wave->InValid(row.nr, &valid), S_OK);
        EXPECT_EQ(name, row.name) << row.nr;
        EXPECT_EQ(valid, row.valid ? VARIANT_TRUE : VARIANT_FALSE) << row.nr;
        if (row.warned) {
            ASSERT_EQ(prompter->messages.size(), 1u);
            EXPECT_EQ(prompter->messages[0].text, "Don't support 44.100 kHz, Mono, 8-bit");
            EXPECT_EQ(prompter->messages[0].title, "InName");
        } else {
            EXPECT_TRUE(prompter->messages.empty()) << row.nr;
        }
        prompter->messages.clear();
        name = "x";
        EXPECT_EQ(vol->InName(row.nr, &name), S_OK);
        EXPECT_EQ(name, row.name);
        EXPECT_TRUE(prompter->messages.empty());
        const VARIANT byName = CallByName(vol.Get(), "InValid", {VARIANT::I4(row.nr)});
        EXPECT_EQ(byName.vt(), VT_BOOL);
        EXPECT_EQ(byName.boolVal(), row.valid ? VARIANT_TRUE : VARIANT_FALSE);
    }
}

TEST_F(TheWaveIn2Test, CalcFreqOfAToneIsSixteenTimesItsAmplitude) {
    HandSteppedInputs inputs("Eén=tone:1000:100;Twee=tone:440:50");
    ComPtr<ITheWaveIn2> one = Make();
    ComPtr<ITheWaveIn2> two = Make();
    ASSERT_TRUE(one && two);
    one->put_InSelected(1);
    two->put_InSelected(2);
    ASSERT_EQ(one->Start(), S_OK);
    ASSERT_EQ(two->Start(), S_OK);
    EXPECT_EQ(WaveInDevices::Instance().Step(0), 1);
    EXPECT_EQ(WaveInDevices::Instance().Step(1), 1);
    DeliverNotifications();
    EXPECT_NEAR(Calc(one.Get(), 1000.0f), 1600, 16);
    EXPECT_NEAR(Calc(two.Get(), 440.0f), 800, 8);
    // Far from the tone's frequency there is almost nothing.
    EXPECT_LE(Calc(one.Get(), 5000.0f), 16);
    EXPECT_LE(Calc(two.Get(), 3000.0f), 8);
    // Again, from the cached slot: the same answer.
    EXPECT_NEAR(Calc(one.Get(), 1000.0f), 1600, 16);
    // By name, with a frequency that needs conversion.
    const VARIANT byName = CallByName(one.Get(), "CalcFreq", {VARIANT::I4(1000)});
    EXPECT_EQ(byName.vt(), VT_I4);
    EXPECT_EQ(byName.lVal(), Calc(one.Get(), 1000.0f));
}

TEST_F(TheWaveIn2Test, SlotsAreKeptAndAFullTableStillAnswers) {
    HandSteppedInputs inputs("Toon=tone:1234:80");
    ComPtr<ITheWaveIn2> full = Make();
    ComPtr<ITheWaveIn2> fresh = Make();
    ASSERT_TRUE(full && fresh);
    full->put_InSelected(1);
    fresh->put_InSelected(1);
    ASSERT_EQ(full->Start(), S_OK);
    ASSERT_EQ(fresh->Start(), S_OK);
    // Both devices on the input make the same sound from its start.
    EXPECT_EQ(WaveInDevices::Instance().Step(0), 2);
    DeliverNotifications();
    for (int f = 1; f <= 1000; ++f) {
        Calc(full.Get(), static_cast<float>(f));
    }
    float phase = 0.0f;
    EXPECT_EQ(full->GetFaseByFreq(1000.0f, &phase), S_OK);
    const std::int32_t uncached = Calc(full.Get(), 1234.0f);
    EXPECT_NEAR(uncached, 1280, 13);
    EXPECT_EQ(uncached, Calc(fresh.Get(), 1234.0f));
    phase = -7.0f;
    EXPECT_EQ(full->GetFaseByFreq(1234.0f, &phase), E_FAIL);
    EXPECT_EQ(phase, -7.0f);
    float freshPhase = -7.0f;
    EXPECT_EQ(fresh->GetFaseByFreq(1234.0f, &freshPhase), S_OK);
    EXPECT_NE(freshPhase, -7.0f);
    // A frequency seen before keeps its one slot: asking for it a thousand times more leaves
    // the other slots free for a new one.
    for (int i = 0; i < 1000; ++i) {
        Calc(fresh.Get(), 1234.0f);
    }
    Calc(fresh.Get(), 4321.0f);
    EXPECT_EQ(fresh->GetFaseByFreq(4321.0f, &freshPhase), S_OK);
    // 0 marks a free slot: it is answered but never kept.
    std::int32_t atZero = -1;
    EXPECT_EQ(fresh->CalcFreq(0.0f, &atZero), S_OK);
    EXPECT_GE(atZero, 0);
    EXPECT_EQ(fresh->GetFaseByFreq(0.0f, &phase), E_FAIL);
}

TEST_F(TheWaveIn2Test, PhaseOfTheLastAnalysis) {
    HandSteppedInputs inputs("Stil=silence");
    ComPtr<ITheWaveIn2> wave = Make();
    ASSERT_TRUE(wave);
    wave->put_InSelected(1);
    ASSERT_EQ(wave->Start(), S_OK);
    float phase = -7.0f;
    EXPECT_EQ(wave->GetFaseByFreq(440.0f, &phase), E_FAIL);
    EXPECT_EQ(phase, -7.0f);
    // One byte above silence: the sine part is 0 and the cosine part 1, so v = 1 and no
    // angle of the grid qualifies.
    FeedAndDeliver({200});
    EXPECT_EQ(Calc(wave.Get(), 440.0f), 72 * 32);
    EXPECT_EQ(wave->GetFaseByFreq(440.0f, &phase), S_OK);
    EXPECT_EQ(phase, -1.0f);
    // One byte below silence: v = -1, the first angle qualifies.
    FeedAndDeliver({50});
    EXPECT_EQ(Calc(wave.Get(), 440.0f), 78 * 32);
    EXPECT_EQ(wave->GetFaseByFreq(440.0f, &phase), S_OK);
    EXPECT_EQ(phase, 0.0f);
    const VARIANT byName = CallByName(wave.Get(), "GetFaseByFreq", {VARIANT::R4(440.0f)});
    EXPECT_EQ(byName.vt(), VT_R4);
    EXPECT_EQ(byName.fltVal(), 0.0f);
    // Silence, then one byte 78 below it: sine part -0.0626 and cosine part -0.998; as the
    // sine part is below 0 the cosine part is negated, v = 0.998, and the angle lies near π.
    FeedAndDeliver({128, 50});
    EXPECT_EQ(Calc(wave.Get(), 440.0f), 1246);
    EXPECT_EQ(wave->GetFaseByFreq(440.0f, &phase), S_OK);
    EXPECT_FLOAT_EQ(phase, 1961 * 0.00157075f);
}

TEST_F(TheWaveIn2Test, SubSineChangesTheFirst4000BytesInPlace) {
    HandSteppedInputs inputs("Stil=silence");
    ComPtr<ITheWaveIn2> wave = Make();
    ASSERT_TRUE(wave);
    wave->put_InSelected(1);
    ASSERT_EQ(wave->Start(), S_OK);
    Bytes data(4000);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i * 7);
    }
    FeedAndDeliver(data);
    EXPECT_EQ(wave->SubSine(1000.0f, 0.0f, 0.3f), S_OK);
    for (std::int32_t i = 0; i < 4000; ++i) {
        ASSERT_EQ(Byte(wave.Get(), i), data[i]) << i;
    }
    // A quarter period per sample; amplitude volume / 32 = 50.5, truncated toward zero and
    // kept to 8 bits.
    FeedAndDeliver(Bytes(2, 0));
    EXPECT_EQ(wave->SubSine(11025.0f, 1616.0f, 0.0f), S_OK);
    EXPECT_EQ(Byte(wave.Get(), 1), 206); // 0 - 50.5 -> -50 -> 206
    // Beyond the 2 bytes of the last buffer, all 4000 bytes change, and nothing after them.
    EXPECT_EQ(Byte(wave.Get(), 3), 71);  // 21 + 50.5
    EXPECT_EQ(Byte(wave.Get(), 5), 241); // 35 - 50.5 -> -15
    EXPECT_EQ(Byte(wave.Get(), 3999), 3999 * 7 % 256 + 50);
    EXPECT_EQ(Byte(wave.Get(), 4001), 128);
    EXPECT_EQ(Size(wave.Get()), 2);
}

TEST_F(TheWaveIn2Test, TheControlPaintsItsFaceInItsOwnWindow) {
    HandSteppedInputs inputs("");
    ComPtr<IHostedControl> hosted;
    ASSERT_EQ(CoCreateInstance(CLSID_TheWaveIn2, nullptr, CLSCTX_INPROC_SERVER, IID_IHostedControl,
                               hosted.PutVoid()),
              S_OK);
    EXPECT_EQ(hosted->ControlWindow(), nullptr);
    EXPECT_EQ(hosted->CreateControlWindow(nullptr), E_POINTER);
    ASSERT_EQ(hosted->CreateControlWindow(&container), S_OK);
    QWidget* window = hosted->ControlWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), &container);
    QWidget other;
    ASSERT_EQ(hosted->CreateControlWindow(&other), S_OK);
    EXPECT_EQ(hosted->ControlWindow(), window);
    EXPECT_EQ(window->parentWidget(), &other);

    ComPtr<IHostedControl> volume;
    ASSERT_EQ(CoCreateInstance(CLSID_VolWaveIn, nullptr, CLSCTX_INPROC_SERVER, IID_IHostedControl,
                               volume.PutVoid()),
              S_OK);
    ASSERT_EQ(volume->CreateControlWindow(&container), S_OK);
    volume->ControlWindow()->resize(window->size());
    const QImage wave = window->grab().toImage();
    const QImage vol = volume->ControlWindow()->grab().toImage();
    EXPECT_NE(wave, vol);
    // The text sits in the middle; the border runs around the whole area.
    const QRgb background = wave.pixel(wave.width() / 2, 2);
    EXPECT_NE(wave.pixel(0, wave.height() / 2), background);
    int inked = 0;
    for (int x = wave.width() / 4; x < 3 * wave.width() / 4; ++x) {
        for (int y = wave.height() / 3; y < 2 * wave.height() / 3; ++y) {
            inked += wave.pixel(x, y) != background ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 20);
    // Released, the control leaves its window to the container, hidden.
    QPointer<QWidget> watched(window);
    window->show();
    hosted.Reset();
    ASSERT_FALSE(watched.isNull());
    EXPECT_TRUE(watched->isHidden());
    EXPECT_EQ(watched->parentWidget(), &other);
}

} // namespace
