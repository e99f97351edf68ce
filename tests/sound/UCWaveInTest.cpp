// The sound user control: which inputs it uses and starts, the sound setting, and how input
// levels become the sensor's value.

#include "tests/sound/SoundTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <vector>

namespace {

using sound_test::WithFakeControls;

std::vector<FakeSound::Device> Devices(int count) {
    std::vector<FakeSound::Device> devices;
    for (int i = 1; i <= count; ++i) {
        devices.push_back({"Mic " + std::to_string(i), true});
    }
    return devices;
}

using UCWaveInTest = WithFakeControls;

struct CountCase {
    const char* setting; // nullptr: not stored
    int devices;
    int used;
};

TEST_F(UCWaveInTest, UsesUpToFiveInputsUnlessTheSettingIsExactlyOff) {
    const CountCase cases[] = {
        {nullptr, 6, 5}, // only the first five
        {nullptr, 2, 2}, {nullptr, 0, 0},
        {"On", 3, 3},    {"Off", 3, 0}, // exactly "Off" switches sound off
        {"off", 3, 3},   {"OFF", 3, 3},
        {"Off ", 3, 3},  {"", 3, 3},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(std::string(c.setting ? c.setting : "(none)") + ", " +
                     std::to_string(c.devices) + " devices");
        sound = std::make_shared<FakeSound>();
        Registry::Instance().DeleteKey(RegistryRoot::CurrentUser, "Software");
        if (c.setting != nullptr) {
            SetSoundSetting(c.setting);
        }
        SetDevices(Devices(c.devices));
        UCWaveIn wi;
        EXPECT_EQ(wi.GetUsedCount(), c.used);
        ASSERT_EQ(sound->controls.size(), 5u); // always made, also when off
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(Control(i).selected, i <= c.used ? i : 0) << "control " << i;
            EXPECT_EQ(Control(i).window->parentWidget(), &wi) << "control " << i;
        }
        EXPECT_EQ(wi.SwitchedOff(), c.used == 0 && c.devices > 0);
        EXPECT_EQ(wi.PeakLevel(), wi.SwitchedOff() ? 0 : 1);
        wi.Timer1_Timer();
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(Control(i).starts, i <= c.used ? 1 : 0) << "control " << i;
        }
        EXPECT_EQ(wi.GetVolume(), 0);
    }
}

TEST_F(UCWaveInTest, TheFirstTickStartsTheUsableInputsOnceEachOnItsOwnControl) {
    SetDevices({{"Mic", true}, {"Line", false}, {"USB", true}});
    UCWaveIn wi;
    EXPECT_TRUE(wi.Timer1()->isActive());
    EXPECT_EQ(Control(1).starts + Control(3).starts, 0);
    // The real timer, as the program runs it.
    QElapsedTimer waited;
    waited.start();
    while (!wi.Started() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ASSERT_TRUE(wi.Started());
    wi.Timer1_Timer();
    EXPECT_EQ(Control(1).starts, 1);
    EXPECT_EQ(Control(2).starts, 0); // cannot be used, never started
    EXPECT_EQ(Control(3).starts, 1);
    EXPECT_FALSE(wi.Timer1()->isActive());
}

TEST_F(UCWaveInTest, TheVolumeIsTheLoudestLevelAgainstAPeakThatIsNeverLowered) {
    SetDevices(Devices(3));
    UCWaveIn wi;
    wi.Timer1_Timer();
    struct Step {
        std::int32_t levels[3];
        std::int32_t volume;
        std::int32_t peak;
    };
    const Step steps[] = {
        {{0, 0, 0}, 0, 1},          // silence from the start
        {{0, 0, 0}, 0, 1},          //
        {{1000, 200, 0}, 50, 1000}, // the loudest yet gives 50
        {{500, 0, 0}, 25, 1000},    // half the peak
        {{0, 0, 10}, 0, 1000},      // 1/100 of the peak: 0.5 rounds to even
        {{30, 0, 0}, 2, 1000},      // 1.5 rounds to even
        {{0, 14, 0}, 1, 1000},      // 0.7
        {{990, 0, 0}, 50, 1000},    // 49.5
        {{0, 0, 2000}, 50, 2000},   // a louder sound sets a new scale
        {{1000, 0, 0}, 25, 2000},   {{32768, 0, 0}, 50, 32768}, // the largest level a control gives
    };
    for (const Step& s : steps) {
        for (int i = 1; i <= 3; ++i) {
            Control(i).level = s.levels[i - 1];
        }
        EXPECT_EQ(wi.GetVolume(), s.volume)
            << s.levels[0] << " " << s.levels[1] << " " << s.levels[2];
        EXPECT_EQ(wi.PeakLevel(), s.peak);
    }
}

TEST_F(UCWaveInTest, AnInputsVolumeIsItsLevelAgainstThePeakWithoutRaisingIt) {
    SetDevices(Devices(2));
    UCWaveIn wi;
    wi.Timer1_Timer();
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(1), 0.0F);
    Control(1).level = 800;
    Control(2).level = 200;
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(1), 800.0F); // against the start peak of 1
    EXPECT_EQ(wi.PeakLevel(), 1);
    EXPECT_EQ(wi.GetVolume(), 50);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(1), 1.0F);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(2), 0.25F);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(0), 0.0F);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(6), 0.0F);
}

TEST_F(UCWaveInTest, NamesAndUsabilityComeFromTheFirstControl) {
    SetDevices({{"Microfoon (USB)", true}, {"Lijningang", false}});
    UCWaveIn wi;
    EXPECT_EQ(wi.GetWaveName(1), "Microfoon (USB)");
    EXPECT_EQ(wi.GetWaveName(2), "Lijningang");
    EXPECT_TRUE(wi.GetWaveInValid(1));
    EXPECT_FALSE(wi.GetWaveInValid(2));
    EXPECT_EQ(wi.GetWaveName(3), "");
    EXPECT_FALSE(wi.GetWaveInValid(3));
}

TEST_F(UCWaveInTest, WithoutControlsThereIsNoSoundInputAndTheReasonIsKept) {
    failure = "de geluidsbibliotheek WavGrab2 is niet gevonden";
    SetDevices(Devices(2));
    UCWaveIn wi;
    EXPECT_EQ(wi.GetUsedCount(), 0);
    EXPECT_EQ(wi.NotAvailableReason(),
              "Geluidsinvoer is niet beschikbaar: de geluidsbibliotheek WavGrab2 is niet gevonden");
    wi.Timer1_Timer();
    EXPECT_EQ(wi.GetVolume(), 0);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(1), 0.0F);
    EXPECT_EQ(wi.GetWaveName(1), "");
    EXPECT_FALSE(wi.GetWaveInValid(1));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(UCWaveInWithoutLibrary, AMissingComponentLeavesSoundOffAndSaysWhy) {
    // Nothing beside this test program serves the capture control's ProgID, or it does and
    // then the control must be usable: either way the control is made without a crash.
    UCWaveIn wi;
    if (wi.NotAvailableReason().empty()) {
        GTEST_SKIP() << "the capture control is available here";
    }
    EXPECT_EQ(wi.GetUsedCount(), 0);
    EXPECT_EQ(wi.NotAvailableReason(),
              "Geluidsinvoer is niet beschikbaar: de geluidsbibliotheek WavGrab2 is niet gevonden");
    EXPECT_EQ(wi.GetVolume(), 0);
}

} // namespace
