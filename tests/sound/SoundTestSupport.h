#pragma once
// What the sound tests share: fake capture controls installed for the test's life, the sound
// setting written into the test's own registry file, and the scripted prompter.

#include "app/sound/UCWaveIn.h"
#include "app/sound/WaveInControl.h"
#include "platform/registry/ProgramSettings.h"
#include "platform/registry/Registry.h"
#include "platform/ui/ScriptedPrompter.h"
#include "tests/sound/FakeWaveIn.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace sound_test {

class WithFakeControls : public testing::Test {
protected:
    WithFakeControls() {
        Prompter::Install(&prompter);
        WaveInControl::InstallMaker([this](ComPtr<IDispatch>& control, std::string& why) {
            if (!failure.empty()) {
                why = failure;
                return E_FAIL;
            }
            sound->controls.emplace_back();
            control = ComPtr<IDispatch>::Attach(new FakeWaveIn(sound, sound->controls.size() - 1));
            return S_OK;
        });
        Registry::Instance().DeleteKey(RegistryRoot::CurrentUser, "Software");
    }
    ~WithFakeControls() override {
        WaveInControl::InstallMaker({});
        Prompter::Install(nullptr);
    }

    void SetDevices(std::vector<FakeSound::Device> devices) { sound->devices = std::move(devices); }
    static void SetSoundSetting(const std::string& value) {
        ASSERT_TRUE(ProgramSettings::SaveSetting("TAVLON2", "Sound", "Value", value));
    }
    /// The control made for input i (1-based), as the fake sees it.
    FakeSound::Control& Control(int i) { return sound->controls.at(std::size_t(i - 1)); }

    std::shared_ptr<FakeSound> sound = std::make_shared<FakeSound>();
    /// When not empty, making a control fails with this reason.
    std::string failure;
    ScriptedPrompter prompter;
};

} // namespace sound_test
