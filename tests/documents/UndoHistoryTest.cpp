// The undo history driven as the main window drives it: snapshots of a board document
// written into memory streams and read back.

#include "app/documents/UndoHistory.h"

#include "app/documents/BoardDocument.h"
#include "app/documents/KistError.h"
#include "platform/ui/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace {

using Wires = std::vector<BoardDocument::Wire>;

// A board and its history, with the two callbacks the main window passes.
struct Session {
    BoardDocument board;
    UndoHistory history;

    void Record() {
        history.AddThisState([this](KistWriter& w) { board.WriteTo(w); });
    }
    std::function<void(KistReader&)> Reader() {
        return [this](KistReader& r) { board = BoardDocument::ReadFrom(r); };
    }
    bool Undo() { return history.Undo(Reader()); }
    bool Redo() { return history.Redo(Reader()); }
    bool Rollback() { return history.Rollback(Reader()); }
    void AddWire(const char* a, const char* b) {
        board.wires.push_back({a, b});
        Record();
    }
    // The start of a run, of New and of Open: a fresh history holding the present board.
    void Start() {
        history.Reset();
        Record();
    }
};

struct MenuState {
    std::int32_t index;
    std::int32_t count;
    bool canUndo;
    bool canRedo;
    friend bool operator==(const MenuState&, const MenuState&) = default;
};

MenuState StateOf(const UndoHistory& h) {
    return {h.Index(), h.Count(), h.CanUndo(), h.CanRedo()};
}

std::ostream& operator<<(std::ostream& out, const MenuState& s) {
    return out << "index " << s.index << " of " << s.count << (s.canUndo ? ", undo" : "")
               << (s.canRedo ? ", redo" : "");
}

TEST(UndoHistory, StepsOfAnEditingSession) {
    ScopedScriptedPrompter prompter;
    Session s;
    enum Op { Start, AddA, AddB, AddC, Undo, Redo, Rollback };
    struct Step {
        Op op;
        bool restored; // for undo, redo and rollback
        MenuState after;
        Wires wires;
        const char* message; // nullptr when none is shown
    };
    const BoardDocument::Wire a{"Sensor 1 Uit Geel", "LED 1 Ingang"};
    const BoardDocument::Wire b{"Drukknop 1 Uit Geel", "LED 2 Ingang"};
    const BoardDocument::Wire c{"EN-poort Uit", "Zoemer"};
    // clang-format off
    const Step steps[] = {
        {Undo,     false, {0, 0, false, false}, {},        "No more Undo's possible"},
        {Rollback, false, {0, 0, false, false}, {},        "No more Undo's possible"},
        {Redo,     false, {0, 0, false, false}, {},        "No more Redo's possible"},
        {Start,    false, {1, 1, false, false}, {},        nullptr},
        {Undo,     false, {1, 1, false, false}, {},        "No more Undo's possible"},
        {Redo,     false, {1, 1, false, false}, {},        "No more Redo's possible"},
        {AddA,     false, {2, 2, true,  false}, {a},       nullptr},
        {Undo,     true,  {1, 2, false, true},  {},        nullptr},
        {AddB,     false, {2, 2, true,  false}, {b},       nullptr}, // a is gone for good
        {Redo,     false, {2, 2, true,  false}, {b},       "No more Redo's possible"},
        {Undo,     true,  {1, 2, false, true},  {},        nullptr},
        {Redo,     true,  {2, 2, true,  false}, {b},       nullptr},
        {AddC,     false, {3, 3, true,  false}, {b, c},    nullptr},
        {Rollback, true,  {2, 2, true,  false}, {b},       nullptr}, // c cannot come back
        {Redo,     false, {2, 2, true,  false}, {b},       "No more Redo's possible"},
        {Undo,     true,  {1, 2, false, true},  {},        nullptr},
        {Rollback, false, {1, 2, false, true},  {},        "No more Undo's possible"},
        {Start,    false, {1, 1, false, false}, {},        nullptr},
    };
    // clang-format on
    int number = 0;
    for (const Step& step : steps) {
        ++number;
        prompter->messages.clear();
        bool restored = false;
        switch (step.op) {
        case Start:
            s.Start();
            break;
        case AddA:
            s.AddWire(a.naam1.c_str(), a.naam2.c_str());
            break;
        case AddB:
            s.AddWire(b.naam1.c_str(), b.naam2.c_str());
            break;
        case AddC:
            s.AddWire(c.naam1.c_str(), c.naam2.c_str());
            break;
        case Undo:
            restored = s.Undo();
            break;
        case Redo:
            restored = s.Redo();
            break;
        case Rollback:
            restored = s.Rollback();
            break;
        }
        SCOPED_TRACE("step " + std::to_string(number));
        EXPECT_EQ(restored, step.restored);
        EXPECT_EQ(StateOf(s.history), step.after);
        EXPECT_EQ(s.board.wires, step.wires);
        if (step.message == nullptr) {
            EXPECT_TRUE(prompter->messages.empty());
        } else {
            ASSERT_EQ(prompter->messages.size(), 1u);
            EXPECT_EQ(prompter->messages[0].text, step.message);
            EXPECT_EQ(prompter->messages[0].title, "Tavelon");
            EXPECT_EQ(prompter->messages[0].buttons, Prompter::Buttons::Ok);
        }
    }
}

TEST(UndoHistory, TwoUndosAndTwoRedosReturnToTheSameSnapshot) {
    ScopedScriptedPrompter prompter;
    Session s;
    s.Start();
    s.AddWire("Sensor 1 Uit Geel", "EN-poort Ingang 1");
    s.board.sensor1 = 2;
    s.Record();
    s.AddWire("EN-poort Uit", "LED 4 Ingang");
    const BoardDocument before = s.board;
    const MenuState menus = StateOf(s.history);
    const std::vector<std::uint8_t> snapshot = s.history.State(4)->Buffer();

    ASSERT_TRUE(s.Undo());
    ASSERT_TRUE(s.Undo());
    EXPECT_EQ(s.board.wires.size(), 1u);
    EXPECT_EQ(s.board.sensor1, 0);
    ASSERT_TRUE(s.Redo());
    ASSERT_TRUE(s.Redo());
    EXPECT_EQ(s.board, before);
    EXPECT_EQ(StateOf(s.history), menus);
    EXPECT_EQ(s.history.State(4)->Buffer(), snapshot) << "reading never changes a snapshot";
    EXPECT_TRUE(prompter->messages.empty());
}

// A snapshot that cannot be read or written leaves the history as it was, and the error
// reaches the caller.
TEST(UndoHistory, FailuresLeaveTheHistoryConsistent) {
    ScopedScriptedPrompter prompter;
    Session s;
    s.Start();
    s.AddWire("A", "B");
    s.AddWire("C", "D");
    ASSERT_TRUE(s.Undo());
    const MenuState before = StateOf(s.history); // index 2 of 3

    auto failingRead = [](KistReader&) { throw KistReadError("damaged snapshot"); };
    EXPECT_THROW(s.history.Undo(failingRead), KistReadError);
    EXPECT_EQ(StateOf(s.history), before);
    EXPECT_THROW(s.history.Redo(failingRead), KistReadError);
    EXPECT_EQ(StateOf(s.history), before);
    EXPECT_THROW(s.history.Rollback(failingRead), KistReadError);
    EXPECT_EQ(StateOf(s.history), before);

    auto failingWrite = [](KistWriter& w) {
        w.BeginChunk(BoardDocument::kDocumentChunk);
        w.writeString("Ω"); // no single-byte code
    };
    EXPECT_THROW(s.history.AddThisState(failingWrite), KistCharacterError);
    EXPECT_EQ(StateOf(s.history), before) << "the redo state survives a failed recording";

    ASSERT_TRUE(s.Redo());
    EXPECT_EQ(s.board.wires, (Wires{{"A", "B"}, {"C", "D"}}));
    EXPECT_TRUE(prompter->messages.empty());
}

} // namespace
