// Pointer interaction on the board: hovering, operating the board's controls, drawing wires
// (with refused duplicates and output conflicts), deleting and highlighting wires, and the
// events that belong to the knob.

#include "app/board/BoardPointer.h"

#include "BoardTestSupport.h"
#include "app/board/clsCursor.h"
#include "app/components/clsDisplay.h"
#include "app/components/clsLED.h"
#include "app/components/clsSensor.h"
#include "app/components/clsVoltControl.h"

namespace board_test {
namespace {

using Names = std::vector<std::pair<std::string, std::string>>;

class Pointer : public OnForm {
protected:
    void SetUp() override { Start(); }

    void MoveTo(std::string_view naam) {
        clsSnaps& snaps = form->Snaps();
        Move(snaps.GetXbyName(naam), snaps.GetYbyName(naam));
    }

    /// Whether the tick shows the highlight cursor, and where (its centre).
    bool CursorShown(QPoint* centre = nullptr) {
        form->Timer1_Timer();
        const auto info = form->Kaleido1()->SpriteInfo(form->Cursor()->Sprite());
        if (centre != nullptr && info) {
            *centre = QPoint(info->x + 16, info->y + 16);
        }
        return form->Kaleido1()->GetSpriteState(form->Cursor()->Sprite()) == 0;
    }
};

struct HoverRow {
    std::int32_t mode;
    const char* naam;
    bool shown;
};

TEST_F(Pointer, TheCursorShowsOverNamedPointsAndInOperateModeNotOverSockets) {
    const HoverRow rows[] = {
        {FORM1::kModeNewWires, "Sensor 1 Uit Geel", true},
        {FORM1::kModeNewWires, "Drukknop 1", true},
        {FORM1::kModeNewWires, "Comparator Regelaar", true},
        {FORM1::kModeOperate, "LED 1 Ingang", false},
        {FORM1::kModeOperate, "Drukknop 2", true},
        {FORM1::kModeOperate, "Sensor 2", true},
        {FORM1::kModeOperate, "Puls Generator Regelaar", true},
        {FORM1::kModeOperate, "Var. Spanning In Zwart", false},
    };
    for (const HoverRow& row : rows) {
        SCOPED_TRACE(row.naam);
        Item(row.mode == FORM1::kModeOperate ? "mnuRegelen" : "mnuNieuweVerbindingen")->trigger();
        MoveTo(row.naam);
        QPoint centre;
        EXPECT_EQ(CursorShown(&centre), row.shown);
        if (row.shown) {
            EXPECT_EQ(centre, QPoint(form->Snaps().GetXbyName(row.naam),
                                     form->Snaps().GetYbyName(row.naam)));
        }
        Move(410, 350); // nothing there
        EXPECT_FALSE(CursorShown());
    }
}

TEST_F(Pointer, OperatingTheControlsWorksInBothModes) {
    for (const char* mode : {"mnuNieuweVerbindingen", "mnuRegelen"}) {
        SCOPED_TRACE(mode);
        Item(mode)->trigger();
        const bool lamp = form->PushButton(1)->Value();
        Click("Drukknop 1");
        EXPECT_NE(form->PushButton(1)->Value(), lamp);
        const std::int32_t sensor = form->Sensor(2)->Value();
        Click("Sensor 2");
        EXPECT_EQ(form->Sensor(2)->Value(), (sensor + 1) % 3);
        form->Model().SetCounter(7);
        Click("Pulsenteller Reset Drukknop");
        EXPECT_EQ(form->Display()->Value(), 0);
        EXPECT_EQ(form->PendingLine(), nullptr);
    }
    // Right and middle buttons operate nothing.
    Down(2, 30, 180);
    Down(4, 30, 180);
    EXPECT_FALSE(form->PushButton(1)->Value());
}

struct KnobRow {
    const char* naam;
    QPoint place;
    std::function<void(FORM1&, std::int32_t)> set;
};

TEST_F(Pointer, KnobControlsOpenTheKnobOnTheirSetting) {
    const KnobRow rows[] = {
        {"Comparator Regelaar", {150, 100}, &FORM1::SetComparatorValue},
        {"Var. Spanning Regelaar", {90, 236}, &FORM1::SetVariableVoltage},
        {"Puls Generator Regelaar", {90, 276}, &FORM1::SetPulseGeneratorSetting},
    };
    std::int32_t value = 10;
    for (const KnobRow& row : rows) {
        SCOPED_TRACE(row.naam);
        form->Knob()->Hide();
        row.set(*form, value);
        Click(row.naam);
        clsVoltControl* knob = form->Knob();
        EXPECT_TRUE(knob->Visible());
        EXPECT_EQ(knob->tag, row.naam);
        EXPECT_EQ(knob->Value(), value);
        EXPECT_EQ(QPoint(form->Kaleido1()->GetSpriteX(knob->DialSprite()),
                         form->Kaleido1()->GetSpriteY(knob->DialSprite())),
                  row.place);
        value += 15;
    }
}

TEST_F(Pointer, TwoClicksOnSocketsDrawAWire) {
    // Real presses on the canvas, at the sockets' pixels.
    Mouse(QEvent::MouseButtonPress, 98, 50, Qt::LeftButton, Qt::LeftButton);
    const std::shared_ptr<clsLine> pending = form->PendingLine();
    ASSERT_NE(pending, nullptr);
    EXPECT_EQ(pending->naam1, "Sensor 1 Uit Geel");
    EXPECT_EQ(pending->Color(), 8);
    EXPECT_EQ(pending->Valid1(), -1);
    EXPECT_EQ(QPoint(pending->X1(), pending->Y1()), QPoint(98, 50));
    EXPECT_EQ(form->UndoIndex(), 1);

    // The tick pulls the loose end to the pointer.
    Mouse(QEvent::MouseMove, 250, 60, Qt::NoButton, Qt::NoButton);
    form->Timer1_Timer();
    EXPECT_EQ(QPoint(pending->X2(), pending->Y2()), QPoint(250, 60));

    // The first socket again does nothing; the second finishes the wire.
    Mouse(QEvent::MouseButtonPress, 101, 47, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(form->PendingLine(), pending);
    Mouse(QEvent::MouseButtonPress, 324, 43, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(form->PendingLine(), nullptr);
    EXPECT_EQ(WireNames(), (Names{{"Sensor 1 Uit Geel", "LED 1 Ingang"}}));
    EXPECT_EQ(QPoint(pending->X2(), pending->Y2()), QPoint(322, 41));
    EXPECT_EQ(form->UndoIndex(), 2);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(Pointer, ADuplicateWireIsRefusedAndStaysPending) {
    Click("Sensor 1 Uit Geel");
    Click("LED 1 Ingang");
    for (const char* from : {"Sensor 1 Uit Geel", "LED 1 Ingang"}) {
        SCOPED_TRACE(from);
        prompter.messages.clear();
        Click(from);
        Click(from == std::string("LED 1 Ingang") ? "Sensor 1 Uit Geel" : "LED 1 Ingang");
        ASSERT_EQ(prompter.messages.size(), 1U);
        EXPECT_EQ(prompter.messages[0].text, "Deze lijn bestaat al.");
        EXPECT_EQ(prompter.messages[0].title, "Tavelon 2");
        EXPECT_EQ(prompter.messages[0].buttons, Prompter::Buttons::Ok);
        ASSERT_NE(form->PendingLine(), nullptr);
        EXPECT_EQ(form->PendingLine()->naam1, from);
        EXPECT_EQ(form->Lines().size(), 1U);
        EXPECT_EQ(form->UndoIndex(), 2);
        Down(2, 0, 0); // the right button drops the pending wire
        EXPECT_EQ(form->PendingLine(), nullptr);
    }
}

/// Answers as the scripted prompter does and notes the wires the board has while a message
/// is shown, when the timer may tick.
class WatchingPrompter : public ScriptedPrompter {
public:
    explicit WatchingPrompter(const FORM1& form) : form_(form) {}
    Answer Message(const std::string& text, const std::string& title, Buttons buttons,
                   Icon icon) override {
        wiresWhileShown.push_back(form_.Lines().size());
        return ScriptedPrompter::Message(text, title, buttons, icon);
    }
    std::vector<std::size_t> wiresWhileShown;

private:
    const FORM1& form_;
};

TEST_F(Pointer, AWireJoiningTwoOutputsIsReportedAndTakenBack) {
    WatchingPrompter watching(*form);
    Prompter::Install(&watching);
    // A board whose variable voltage, turned up, lights LED 1; then a push button, a sensor
    // and the counter set, none of which a refused wire may change.
    Click("Var. Spanning Uit Geel");
    Click("LED 1 Ingang");
    Click("Drukknop 1");
    Click("Var. Spanning Regelaar");
    form->Knob()->SetValue(50);
    form->Timer1_Timer();
    form->Model().SetCounter(5);
    ASSERT_TRUE(form->LED(1)->Value());
    const BoardDocument before = form->Snapshot();

    Click("Sensor 1 Uit Geel");
    Click("LED 1 Ingang");
    Prompter::Install(&prompter);
    ASSERT_EQ(watching.messages.size(), 1U);
    EXPECT_EQ(watching.messages[0].text,
              "Je begaat een fout: Je hebt 2 of meer uitgangen aan elkaar verbonden.\r\n"
              "Het gaat om de uitgangen:\r\n\r\n"
              "\"Var. Spanning Uit Geel\" en \"Sensor 1 Uit Geel\"\r\n");
    EXPECT_EQ(watching.messages[0].title, "Tavelon");
    EXPECT_EQ(watching.messages[0].icon, Prompter::Icon::None);
    EXPECT_EQ(watching.messages[0].buttons, Prompter::Buttons::Ok);
    EXPECT_EQ(watching.wiresWhileShown, std::vector<std::size_t>{1U});
    EXPECT_EQ(form->PendingLine(), nullptr);
    // Only the wire is gone: knob, lamp, counter and LED are as they were.
    EXPECT_EQ(form->Snapshot(), before);
    EXPECT_TRUE(form->Knob()->Visible());
    form->Timer1_Timer();
    EXPECT_EQ(form->VariableVoltage(), 50);
    EXPECT_TRUE(form->LED(1)->Value());
    // The history is as if the wire had never been drawn.
    EXPECT_EQ(form->UndoIndex(), 3);
    EXPECT_EQ(form->History().Count(), 3);
    Item("mnuUndo")->trigger();
    EXPECT_EQ(WireNames(), (Names{{"Var. Spanning Uit Geel", "LED 1 Ingang"}}));
    EXPECT_FALSE(form->PushButton(1)->Value());
    EXPECT_TRUE(Item("mnuRedo")->isEnabled());
    Click("Sensor 1 Uit Geel");
    Click("Drukknop 1 Uit Geel");
    EXPECT_EQ(form->UndoIndex(), 2);
    EXPECT_EQ(form->History().Count(), 3);
    Item("mnuRedo")->trigger();
    EXPECT_TRUE(form->PushButton(1)->Value());
}

TEST_F(Pointer, DeleteModeRemovesTheNearestWireAndRecordsEvenWithoutOne) {
    Item("mnuVerwijderVerbindingen")->trigger();
    Down(1, 200, 200);
    EXPECT_EQ(form->UndoIndex(), 2);

    auto first = Wire("Sensor 1 Uit Geel", "LED 1 Ingang");  // along y ≈ 45
    auto second = Wire("Sensor 2 Uit Geel", "LED 2 Ingang"); // through (210, 88)
    auto twin = Wire("Sensor 2 Uit Geel", "LED 2 Ingang");   // as near, but later in the list
    Down(2, 210, 88);                                        // no left button: nothing
    EXPECT_EQ(form->Lines().size(), 3U);
    Down(1 | 2, 210, 88);
    EXPECT_EQ(form->UndoIndex(), 3);
    EXPECT_EQ(form->Lines(), (WireList{first, twin}));
    Mouse(QEvent::MouseButtonPress, 100, 300, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(form->Lines().size(), 1U);
}

TEST_F(Pointer, DeleteModeHighlightsTheNearestWireOnlyAndOperateModeKeepsIt) {
    auto first = Wire("Sensor 1 Uit Geel", "LED 1 Ingang");
    auto second = Wire("Sensor 2 Uit Geel", "LED 2 Ingang");
    auto twin = Wire("Sensor 2 Uit Geel", "LED 2 Ingang");
    Move(200, 40);
    EXPECT_EQ(first->Highlight(), 0) << "no highlight in new-wires mode";
    Item("mnuVerwijderVerbindingen")->trigger();
    Move(200, 40);
    EXPECT_EQ((std::array{first->Highlight(), second->Highlight(), twin->Highlight()}),
              (std::array{-1, 0, 0}));
    Move(200, 95);
    EXPECT_EQ((std::array{first->Highlight(), second->Highlight(), twin->Highlight()}),
              (std::array{0, -1, 0}));
    Item("mnuRegelen")->trigger();
    EXPECT_EQ(second->Highlight(), -1);
    Item("mnuNieuweVerbindingen")->trigger();
    EXPECT_EQ(second->Highlight(), 0);
}

TEST(BoardPointerNearest, StrictlyNearerWinsAndFarAwayNeverDoes) {
    WireList lines;
    const auto add = [&lines](std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
        auto line = std::make_shared<clsLine>();
        line->SetAll(x1, y1, x2, y2, 1);
        lines.push_back(line);
    };
    EXPECT_EQ(BoardPointer::NearestWire(lines, 0, 0), -1);
    add(0, 0, 100, 0);
    add(0, 10, 100, 10);
    add(0, 0, 100, 0);
    const struct {
        std::int32_t x, y;
        std::ptrdiff_t nearest;
    } rows[] = {
        {50, -3, 0}, {50, 0, 0}, {50, 5, 0}, {50, 6, 1}, {50, 20, 1}, {20'000'000, 0, -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(BoardPointer::NearestWire(lines, row.x, row.y), row.nearest)
            << row.x << ", " << row.y;
    }
}

TEST_F(Pointer, EventsOnASpriteOrOverTheShownKnobAreTheKnobs) {
    emit form->Kaleido1()->PointerDown(5, 1, 30, 180);
    EXPECT_FALSE(form->PushButton(1)->Value());

    // The comparator's knob covers "OF-poort Ingang 1".
    Click("Comparator Regelaar");
    ASSERT_TRUE(form->Knob()->Visible());
    Mouse(QEvent::MouseMove, 222, 111, Qt::NoButton, Qt::NoButton);
    ASSERT_TRUE(form->Knob()->InBound());
    Down(1, 222, 111);
    EXPECT_EQ(form->PendingLine(), nullptr);
    form->Knob()->Hide();
    Down(1, 222, 111);
    ASSERT_NE(form->PendingLine(), nullptr);
    EXPECT_EQ(form->PendingLine()->naam1, "OF-poort Ingang 1");
}

TEST_F(Pointer, NothingHappensOnceTheBoardIsGone) {
    form->close();
    Down(1, 30, 180);
    Move(98, 50);
    form->mnuUndo_Click();
    form->mnuNieuw_Click();
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
} // namespace board_test
