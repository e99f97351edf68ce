#pragma once
// What the main-window tests share: a started main window on the real pictures beside the
// test program, with the prompter, clock, pointer and sound player replaced so that nothing
// waits for a person and every tick is steered.

#include "app/board/FORM1.h"
#include "app/components/clsBordLines.h"
#include "app/simulation/clsSnaps.h"
#include "platform/ui/ClockSource.h"
#include "platform/ui/PointerSource.h"
#include "platform/ui/ScriptedPrompter.h"
#include "platform/ui/SoundPlayer.h"

#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <string_view>

namespace board_test {

class OnForm : public testing::Test {
protected:
    OnForm() {
        Prompter::Install(&prompter);
        ClockSource::Install(&clock);
        PointerSource::Install(&pointer);
        SoundPlayer::Install(&sound);
    }
    ~OnForm() override {
        form.reset();
        SoundPlayer::Install(nullptr);
        PointerSource::Install(nullptr);
        ClockSource::Install(nullptr);
        Prompter::Install(nullptr);
    }

    /// Makes the window and runs its start-up; the timer is stopped again so that only the
    /// test ticks.
    void Start() {
        form = std::make_unique<FORM1>();
        ASSERT_TRUE(form->Form_Load());
        form->Timer1()->stop();
    }

    /// A finished wire between two sockets, placed as a board document places it.
    std::shared_ptr<clsLine> Wire(std::string_view a, std::string_view b) {
        auto line = form->BordLines()->CreateLine();
        line->naam1 = a;
        line->naam2 = b;
        clsSnaps& snaps = form->Snaps();
        line->SetAll(snaps.GetXbyName(a), snaps.GetYbyName(a), snaps.GetXbyName(b),
                     snaps.GetYbyName(b), 1);
        form->Lines().push_back(line);
        return line;
    }

    /// The value the last step entered for a source; -1 when it entered none of that name.
    std::int32_t Source(std::string_view naam) const {
        for (const FORM1::Source& s : form->LastSources()) {
            if (s.naam == naam) {
                return s.Value;
            }
        }
        return -1;
    }

    ScriptedPrompter prompter;
    ManualClock clock;
    ManualPointer pointer;
    RecordingSoundPlayer sound;
    std::unique_ptr<FORM1> form;
};

} // namespace board_test
