// Undo and redo on the main window: what records a state, the menu items' enabled states, the
// "No more" messages, and states that cannot be written or read back.

#include "BoardTestSupport.h"
#include "app/components/clsDisplay.h"
#include "app/components/clsLED.h"
#include "app/components/clsSensor.h"
#include "app/components/clsVoltControl.h"

#include <functional>

namespace board_test {
namespace {

class Form1Undo : public OnForm {
protected:
    void SetUp() override { Start(); }

    /// A wire drawn by two clicks in the new-wires mode.
    void Draw(std::string_view a, std::string_view b) {
        Click(a);
        Click(b);
    }

    void ExpectMenus(bool undo, bool redo) {
        EXPECT_EQ(Item("mnuUndo")->isEnabled(), undo);
        EXPECT_EQ(Item("mnuRedo")->isEnabled(), redo);
    }
};

TEST_F(Form1Undo, StartsWithOneStateAndNothingToUndoOrRedo) {
    EXPECT_EQ(form->UndoIndex(), 1);
    EXPECT_EQ(form->History().Count(), 1);
    ExpectMenus(false, false);
    EXPECT_FALSE(form->HasUnsavedChanges());
}

struct RecordRow {
    const char* what;
    std::function<void()> act;
    bool records;
};

TEST_F(Form1Undo, ClicksThatChangeTheBoardRecordAndKnobsAndTheCounterResetDoNot) {
    const auto click = [this](const char* naam) { return [this, naam] { Click(naam); }; };
    const RecordRow rows[] = {
        {"sensor 1", click("Sensor 1"), true},
        {"sensor 2", click("Sensor 2"), true},
        {"push button 1", click("Drukknop 1"), true},
        {"push button 2", click("Drukknop 2"), true},
        {"comparator knob", click("Comparator Regelaar"), false},
        {"variable voltage knob", click("Var. Spanning Regelaar"), false},
        {"pulse generator knob", click("Puls Generator Regelaar"), false},
        {"counter reset", click("Pulsenteller Reset Drukknop"), false},
        {"first wire end", click("Sensor 1 Uit Geel"), false},
        {"finished wire", click("LED 1 Ingang"), true},
        {"nothing there", [this] { Down(1, 400, 350); }, false},
        {"a knob turned by the tick",
         [this] {
             form->Knob()->SetValue(33);
             form->Timer1_Timer();
         },
         false},
    };
    for (const RecordRow& row : rows) {
        SCOPED_TRACE(row.what);
        const std::int32_t before = form->UndoIndex();
        row.act();
        EXPECT_EQ(form->UndoIndex(), before + (row.records ? 1 : 0));
        EXPECT_EQ(form->History().Count(), form->UndoIndex());
    }
}

TEST_F(Form1Undo, RecordingAfterAnUndoDropsTheUndoneStates) {
    Draw("Sensor 1 Uit Geel", "LED 1 Ingang");
    EXPECT_EQ(form->UndoIndex(), 2);
    ExpectMenus(true, false);
    Item("mnuUndo")->trigger();
    EXPECT_TRUE(form->Lines().empty());
    ExpectMenus(false, true);
    Draw("Sensor 2 Uit Geel", "LED 2 Ingang");
    ExpectMenus(true, false);
    EXPECT_EQ(form->History().Count(), 2);

    // The first wire cannot come back.
    form->mnuRedo_Click();
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].text, "No more Redo's possible");
    EXPECT_EQ(WireNames(), (std::vector<std::pair<std::string, std::string>>{
                               {"Sensor 2 Uit Geel", "LED 2 Ingang"}}));
    EXPECT_EQ(form->UndoIndex(), 2);
}

TEST_F(Form1Undo, TwoUndosAndTwoRedosReturnToTheSameBoardAndMenus) {
    Click("Drukknop 1");
    Click("Sensor 2");
    Draw("Drukknop 1 Uit Geel", "LED 1 Ingang");
    const BoardDocument last = form->Snapshot();
    ASSERT_EQ(form->UndoIndex(), 4);

    Item("mnuUndo")->trigger();
    Item("mnuUndo")->trigger();
    EXPECT_EQ(form->UndoIndex(), 2);
    EXPECT_TRUE(form->Lines().empty());
    EXPECT_EQ(form->Sensor(2)->Value(), 0);
    EXPECT_TRUE(form->PushButton(1)->Value());
    ExpectMenus(true, true);

    Item("mnuRedo")->trigger();
    Item("mnuRedo")->trigger();
    EXPECT_EQ(form->Snapshot(), last);
    EXPECT_EQ(form->UndoIndex(), 4);
    ExpectMenus(true, false);
    EXPECT_EQ(form->Lines()[0]->Color(), 1);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(Form1Undo, UndoAtTheFirstStateSaysSo) {
    Click("Drukknop 1");
    Item("mnuUndo")->trigger();
    form->mnuUndo_Click();
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].text, "No more Undo's possible");
    EXPECT_EQ(prompter.messages[0].title, "Tavelon");
    EXPECT_EQ(form->UndoIndex(), 1);
    ExpectMenus(false, true);
}

TEST_F(Form1Undo, UndoLeavesThePendingWireAndTheCounterAlone) {
    Click("Drukknop 1");
    form->Model().SetCounter(6);
    Click("Sensor 1 Uit Geel");
    ASSERT_NE(form->PendingLine(), nullptr);
    Item("mnuUndo")->trigger();
    EXPECT_NE(form->PendingLine(), nullptr);
    // The first state was recorded with the counter at 0.
    EXPECT_EQ(form->Display()->Value(), 0);
    EXPECT_FALSE(form->PushButton(1)->Value());
}

TEST_F(Form1Undo, AStateThatCannotBeReadBackChangesNothing) {
    // A sensor mode no document may hold: the state is written but refused when read.
    form->Model().SetSensor(0, 7);
    ASSERT_TRUE(form->Undo_AddThisState());
    form->Model().SetSensor(0, 0);
    Click("Drukknop 1");
    ASSERT_EQ(form->UndoIndex(), 3);
    const BoardDocument shown = form->Snapshot();

    Item("mnuUndo")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].title, "Fout");
    EXPECT_EQ(prompter.messages[0].text.rfind("Ongedaan maken is mislukt", 0), 0U);
    EXPECT_EQ(form->Snapshot(), shown);
    EXPECT_EQ(form->UndoIndex(), 3);
    EXPECT_EQ(form->History().Count(), 3);
    ExpectMenus(true, false);
    // The other states still work: the next change records and undoes normally.
    Click("Drukknop 2");
    Item("mnuUndo")->trigger();
    EXPECT_EQ(form->Snapshot(), shown);
}

TEST_F(Form1Undo, AStateThatCannotBeWrittenIsNotRecorded) {
    Wire("Sensor 1 Uit Geel", "\xE4\xB8\xAD"); // no single-byte code
    EXPECT_FALSE(form->Undo_AddThisState());
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].title, "Fout");
    EXPECT_EQ(form->UndoIndex(), 1);
    EXPECT_EQ(form->History().Count(), 1);
    ExpectMenus(false, false);
}

} // namespace
} // namespace board_test
