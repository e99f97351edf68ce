#pragma once
// What the sound tests share: the real capture controls (the library beside the test program)
// on virtual inputs that the test steps by hand, the sound setting in the test's own registry
// file, and the scripted prompter.

#include "app/sound/UCWaveIn.h"
#include "app/sound/WaveInControl.h"
#include "platform/registry/ProgramSettings.h"
#include "platform/registry/Registry.h"
#include "platform/ui/ScriptedPrompter.h"
#include "platform/wave/WaveInDevices.h"
#include "platform/wave/WaveInEvent.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace sound_test {

class WithVirtualInputs : public testing::Test {
protected:
    WithVirtualInputs() {
        Prompter::Install(&prompter);
        Registry::Instance().DeleteKey(RegistryRoot::CurrentUser, "Software");
    }
    ~WithVirtualInputs() override {
        WaveInControl::InstallMaker({});
        WaveInDevices::Instance().Shutdown();
        unsetenv("TAVSIM_WAVE_INPUTS");
        WaveInDevices::Instance().Reload();
        Prompter::Install(nullptr);
    }

    /// Only the virtual inputs of `list` (NAME=SOURCE;...), making sound only when fed.
    static void UseInputs(const std::string& list) {
        setenv("TAVSIM_WAVE_INPUTS", list.c_str(), 1);
        WaveInDevices::Instance().Reload();
        WaveInDevices::Instance().SetStepByHand(true);
    }
    /// `count` silent inputs named "In 1", "In 2" ...
    static void UseSilentInputs(int count) {
        std::string list;
        for (int i = 1; i <= count; ++i) {
            list += (i > 1 ? ";In " : "In ") + std::to_string(i) + "=silence";
        }
        UseInputs(list);
    }
    static void SetSoundSetting(const std::string& value) {
        ASSERT_TRUE(ProgramSettings::SaveSetting("TAVLON2", "Sound", "Value", value));
    }
    /// Makes every control fail to be made, for `why`.
    static void FailControls(const std::string& why) {
        WaveInControl::InstallMaker([why](ComPtr<IDispatch>&, std::string& reason) {
            reason = why;
            return E_FAIL;
        });
    }

    /// Completes a buffer of input i (1-based) holding 4000 samples that lie `deviation`
    /// below silence, so that its level becomes 256 × deviation; and hands it to its control.
    static void Level(int i, int deviation) {
        const std::vector<std::uint8_t> bytes(4000, std::uint8_t(128 - deviation));
        WaveInDevices::Instance().Feed(std::uint32_t(i - 1), bytes);
        QCoreApplication::sendPostedEvents(nullptr, WaveInEvent::EventType());
    }

    ScriptedPrompter prompter;
};

} // namespace sound_test
