// The undo history driven as the main window drives it: snapshots of a board document
// written into memory streams and read back.

#include "app/documents/UndoHistory.h"

#include "app/documents/BoardDocument.h"
#include "app/documents/KistError.h"

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
    UndoHistory::Outcome Undo() { return history.Undo(Reader()); }
    UndoHistory::Outcome Redo() { return history.Redo(Reader()); }
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
    Session s;
    enum Op { Start, AddA, AddB, AddC, Undo, Redo };
    struct Step {
        Op op;
        bool restored; // for undo and redo
        MenuState after;
        Wires wires;
        const char* message; // what the window says; nullptr when it says nothing
    };
    const BoardDocument::Wire a{"Sensor 1 Uit Geel", "LED 1 Ingang"};
    const BoardDocument::Wire b{"Drukknop 1 Uit Geel", "LED 2 Ingang"};
    const BoardDocument::Wire c{"EN-poort Uit", "Zoemer"};
    // clang-format off
    const Step steps[] = {
        {Undo,     false, {0, 0, false, false}, {},        "No more Undo's possible"},
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
        {Undo,     true,  {2, 3, true,  true},  {b},       nullptr},
        {Undo,     true,  {1, 3, false, true},  {},        nullptr},
        {Undo,     false, {1, 3, false, true},  {},        "No more Undo's possible"},
        {Start,    false, {1, 1, false, false}, {},        nullptr},
    };
    // clang-format on
    int number = 0;
    for (const Step& step : steps) {
        ++number;
        UndoHistory::Outcome outcome = UndoHistory::Outcome::Restored;
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
            outcome = s.Undo();
            break;
        case Redo:
            outcome = s.Redo();
            break;
        }
        const bool restored =
            (step.op == Undo || step.op == Redo) && outcome == UndoHistory::Outcome::Restored;
        SCOPED_TRACE("step " + std::to_string(number));
        EXPECT_EQ(restored, step.restored);
        EXPECT_EQ(StateOf(s.history), step.after);
        EXPECT_EQ(s.board.wires, step.wires);
        const char* refusal = UndoHistory::Refusal(outcome);
        EXPECT_STREQ(refusal, step.message);
    }
}

TEST(UndoHistory, TwoUndosAndTwoRedosReturnToTheSameSnapshot) {
    Session s;
    s.Start();
    s.AddWire("Sensor 1 Uit Geel", "EN-poort Ingang 1");
    s.board.sensor1 = 2;
    s.Record();
    s.AddWire("EN-poort Uit", "LED 4 Ingang");
    const BoardDocument before = s.board;
    const MenuState menus = StateOf(s.history);
    const std::vector<std::uint8_t> snapshot = s.history.State(4)->Buffer();

    ASSERT_EQ(s.Undo(), UndoHistory::Outcome::Restored);
    ASSERT_EQ(s.Undo(), UndoHistory::Outcome::Restored);
    EXPECT_EQ(s.board.wires.size(), 1u);
    EXPECT_EQ(s.board.sensor1, 0);
    ASSERT_EQ(s.Redo(), UndoHistory::Outcome::Restored);
    ASSERT_EQ(s.Redo(), UndoHistory::Outcome::Restored);
    EXPECT_EQ(s.board, before);
    EXPECT_EQ(StateOf(s.history), menus);
    EXPECT_EQ(s.history.State(4)->Buffer(), snapshot) << "reading never changes a snapshot";
}

// A snapshot that cannot be read or written leaves the history as it was, and the error
// reaches the caller.
TEST(UndoHistory, FailuresLeaveTheHistoryConsistent) {
    Session s;
    s.Start();
    s.AddWire("A", "B");
    s.AddWire("C", "D");
    ASSERT_EQ(s.Undo(), UndoHistory::Outcome::Restored);
    const MenuState before = StateOf(s.history); // index 2 of 3

    auto failingRead = [](KistReader&) { throw KistReadError("damaged snapshot"); };
    EXPECT_THROW(s.history.Undo(failingRead), KistReadError);
    EXPECT_EQ(StateOf(s.history), before);
    EXPECT_THROW(s.history.Redo(failingRead), KistReadError);
    EXPECT_EQ(StateOf(s.history), before);

    auto failingWrite = [](KistWriter& w) {
        w.BeginChunk(BoardDocument::kDocumentChunk);
        w.writeString("Ω"); // no single-byte code
    };
    EXPECT_THROW(s.history.AddThisState(failingWrite), KistCharacterError);
    EXPECT_EQ(StateOf(s.history), before) << "the redo state survives a failed recording";

    ASSERT_EQ(s.Redo(), UndoHistory::Outcome::Restored);
    EXPECT_EQ(s.board.wires, (Wires{{"A", "B"}, {"C", "D"}}));
}

} // namespace
