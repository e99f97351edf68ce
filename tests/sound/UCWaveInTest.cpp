// The sound user control on virtual inputs: which inputs it uses and starts, the sound
// setting, and how input levels become the sensor's value.

#include "tests/sound/SoundTestSupport.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace {

using UCWaveInTest = sound_test::WithVirtualInputs;

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
        Registry::Instance().DeleteKey(RegistryRoot::CurrentUser, "Software");
        if (c.setting != nullptr) {
            SetSoundSetting(c.setting);
        }
        UseSilentInputs(c.devices);
        UCWaveIn wi;
        EXPECT_EQ(wi.GetUsedCount(), c.used);
        EXPECT_TRUE(wi.NotAvailableReason().empty()) << wi.NotAvailableReason();
        // Five controls, each with its own window in the user control.
        EXPECT_EQ(wi.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 5);
        EXPECT_EQ(wi.SwitchedOff(), c.setting != nullptr && std::string(c.setting) == "Off");
        EXPECT_EQ(wi.PeakLevel(), wi.SwitchedOff() ? 0 : 1);
        // Switched off there is no peak to divide by: every input reads 0.
        EXPECT_FLOAT_EQ(wi.GetWaveVolume(1), 0.0F);
        wi.Timer1_Timer();
        EXPECT_EQ(WaveInDevices::Instance().OpenCount(), std::size_t(c.used));
        for (int i = 1; i <= c.used; ++i) {
            Level(i, 10);
        }
        EXPECT_EQ(wi.GetVolume(), c.used > 0 ? 50 : 0);
    }
}

TEST_F(UCWaveInTest, TheFirstTickStartsTheUsableInputsOnceEachOnItsOwnInput) {
    UseInputs("Mic=silence;Dead=noformat;USB=silence");
    // The first input fails to start (its device stays open): the others start all the same.
    WaveInDevices::Instance().InjectFailure(WaveInDevices::Call::Start, 0, MMSYSERR_ERROR);
    UCWaveIn wi;
    EXPECT_TRUE(wi.Timer1()->isActive());
    EXPECT_EQ(WaveInDevices::Instance().OpenCount(), 0u);
    // The real timer, as the program runs it.
    QElapsedTimer waited;
    waited.start();
    while (!wi.Started() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ASSERT_TRUE(wi.Started());
    wi.Timer1_Timer();
    EXPECT_EQ(WaveInDevices::Instance().OpenCount(), 2u); // the noformat input is never started
    EXPECT_FALSE(wi.Timer1()->isActive());
    // Input 3 is captured by its own control: only the sensor hears it.
    Level(3, 40);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(1), 0.0F);
    EXPECT_EQ(wi.GetVolume(), 50);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(3), 1.0F);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Error waveInStart");
}

TEST_F(UCWaveInTest, TheVolumeIsTheLoudestLevelAgainstAPeakThatIsNeverLowered) {
    UseSilentInputs(3);
    UCWaveIn wi;
    wi.Timer1_Timer();
    struct Step {
        int deviations[3]; // level = 256 × deviation
        std::int32_t volume;
        std::int32_t peak;
    };
    const Step steps[] = {
        {{0, 0, 0}, 0, 1},         // silence from the start
        {{0, 0, 0}, 0, 1},         //
        {{100, 20, 0}, 50, 25600}, // the loudest yet gives 50
        {{50, 0, 0}, 25, 25600},   // half the peak
        {{0, 0, 1}, 0, 25600},     // 1/100 of the peak: 0.5 rounds to even
        {{3, 0, 0}, 2, 25600},     // 1.5 rounds to even
        {{0, 99, 0}, 50, 25600},   // 49.5
        {{0, 0, 128}, 50, 32768},  // a louder sound sets a new scale
        {{64, 0, 0}, 25, 32768},   //
        {{0, 0, 0}, 0, 32768},
    };
    for (const Step& s : steps) {
        for (int i = 1; i <= 3; ++i) {
            Level(i, s.deviations[i - 1]);
        }
        EXPECT_EQ(wi.GetVolume(), s.volume)
            << s.deviations[0] << " " << s.deviations[1] << " " << s.deviations[2];
        EXPECT_EQ(wi.PeakLevel(), s.peak);
    }
}

TEST_F(UCWaveInTest, AnInputsVolumeIsItsLevelAgainstThePeakWithoutRaisingIt) {
    UseSilentInputs(2);
    UCWaveIn wi;
    wi.Timer1_Timer();
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(1), 0.0F);
    Level(1, 80);
    Level(2, 20);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(1), 20480.0F); // against the start peak of 1
    EXPECT_EQ(wi.PeakLevel(), 1);
    EXPECT_EQ(wi.GetVolume(), 50);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(1), 1.0F);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(2), 0.25F);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(0), 0.0F);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(6), 0.0F);
}

TEST_F(UCWaveInTest, NamesAndUsabilityComeFromTheFirstControl) {
    UseInputs("Microfoon (USB)=silence;Lijningang=noformat");
    UCWaveIn wi;
    EXPECT_EQ(wi.GetWaveName(1), "Microfoon (USB)");
    EXPECT_TRUE(wi.GetWaveInValid(1));
    EXPECT_FALSE(wi.GetWaveInValid(2));
    EXPECT_EQ(wi.GetWaveName(3), "");
    EXPECT_FALSE(wi.GetWaveInValid(3));
}

TEST_F(UCWaveInTest, WithoutControlsThereIsNoSoundInputAndTheReasonIsKept) {
    FailControls("de geluidsbibliotheek WavGrab2 is niet gevonden");
    UseSilentInputs(2);
    UCWaveIn wi;
    EXPECT_EQ(wi.GetUsedCount(), 0);
    EXPECT_EQ(wi.NotAvailableReason(),
              "Geluidsinvoer is niet beschikbaar: de geluidsbibliotheek WavGrab2 is niet gevonden");
    wi.Timer1_Timer();
    EXPECT_EQ(WaveInDevices::Instance().OpenCount(), 0u);
    EXPECT_EQ(wi.GetVolume(), 0);
    EXPECT_FLOAT_EQ(wi.GetWaveVolume(1), 0.0F);
    EXPECT_EQ(wi.GetWaveName(1), "");
    EXPECT_FALSE(wi.GetWaveInValid(1));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(UCWaveInTest, DestroyedWhileCapturingItClosesEveryInput) {
    UseInputs("A=tone:441:100;B=tone:882:50");
    WaveInDevices::Instance().SetStepByHand(false); // real time, as in the program
    {
        UCWaveIn wi;
        wi.Timer1_Timer();
        EXPECT_EQ(WaveInDevices::Instance().OpenCount(), 2u);
        QElapsedTimer waited;
        waited.start();
        while (wi.GetVolume() == 0 && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        EXPECT_EQ(wi.GetVolume(), 50);
    }
    EXPECT_EQ(WaveInDevices::Instance().OpenCount(), 0u);
    // Buffers that were still under way reach no control.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
}

} // namespace
