#pragma once
// What the main-window tests share: a started main window on the real pictures beside the
// test program, with the prompter, clock, pointer, sound player and document registration
// replaced so that nothing waits for a person, every tick is steered and no test writes into
// the user's desktop folders.

#include "app/board/FORM1.h"
#include "app/components/clsBordLines.h"
#include "app/simulation/clsSnaps.h"
#include "platform/ui/ClockSource.h"
#include "platform/ui/PointerSource.h"
#include "platform/ui/ScriptedPrompter.h"
#include "platform/ui/SoundPlayer.h"
#include "sprite_control/KaleidoATL.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace board_test {

class OnForm : public testing::Test {
protected:
    OnForm() {
        Prompter::Install(&prompter);
        ClockSource::Install(&clock);
        PointerSource::Install(&pointer);
        SoundPlayer::Install(&sound);
        FORM1::InstallDocumentTypeRegistrar(
            [this](const std::string& program) { registered.push_back(program); });
    }
    ~OnForm() override {
        form.reset();
        FORM1::InstallDocumentTypeRegistrar({});
        SoundPlayer::Install(nullptr);
        PointerSource::Install(nullptr);
        ClockSource::Install(nullptr);
        Prompter::Install(nullptr);
    }

    /// Makes the window and runs its start-up; the timer is stopped again, and never fires
    /// when an event starts it, so that only the test ticks.
    void Start(std::string_view commandLine = {}) {
        form = std::make_unique<FORM1>();
        ASSERT_TRUE(form->Form_Load(commandLine));
        form->Timer1()->stop();
        form->Timer1()->blockSignals(true);
    }

    QAction* Item(const char* name) const {
        QAction* action = form->findChild<QAction*>(name);
        EXPECT_NE(action, nullptr) << name;
        return action;
    }

    /// The pointer events of the canvas, in board pixels, on no sprite.
    void Down(int button, int x, int y) { emit form->Kaleido1()->PointerDown(0, button, x, y); }
    void Move(int x, int y) { emit form->Kaleido1()->PointerMove(0, x, y); }
    /// A left click on the named point, at its centre.
    void Click(std::string_view naam) {
        clsSnaps& snaps = form->Snaps();
        Down(1, snaps.GetXbyName(naam), snaps.GetYbyName(naam));
    }
    /// A mouse event sent to the canvas widget at the middle of a board pixel.
    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held) {
        KaleidoATL* canvas = form->Kaleido1();
        const QPointF at = canvas->WidgetPointFromBoard(QPointF(x + 0.5, y + 0.5));
        QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &event);
    }

    /// The wires of the board as (naam1, naam2) in list order.
    std::vector<std::pair<std::string, std::string>> WireNames() const {
        std::vector<std::pair<std::string, std::string>> names;
        for (const auto& line : form->Lines()) {
            names.emplace_back(line->naam1, line->naam2);
        }
        return names;
    }

    std::string Title() const { return form->windowTitle().toStdString(); }

    /// A finished wire between two sockets, placed as a board document places it.
    std::shared_ptr<clsLine> Wire(std::string_view a, std::string_view b) {
        auto line = form->BordLines()->CreateLine();
        line->naam1 = a;
        line->naam2 = b;
        clsSnaps& snaps = form->Snaps();
        line->SetAll(snaps.GetXbyName(a), snaps.GetYbyName(a), snaps.GetXbyName(b),
                     snaps.GetYbyName(b), 1);
        form->AppendWire(line);
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
    /// The program paths start-up registered the document type for.
    std::vector<std::string> registered;
    std::unique_ptr<FORM1> form;
};

/// The bytes of a file; empty when it cannot be read.
inline std::vector<std::uint8_t> FileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray data = file.readAll();
    return {data.begin(), data.end()};
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path;
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

} // namespace board_test
