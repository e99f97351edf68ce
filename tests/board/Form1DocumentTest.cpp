// Board documents on the main window: the bytes written, reading back onto the board, the
// File menu with its dialogs, damaged files, failed saves, the close question and the command
// line.

#include "BoardTestSupport.h"
#include "app/board/BoardFiles.h"
#include "app/components/clsDisplay.h"
#include "app/components/clsLED.h"
#include "app/components/clsSensor.h"
#include "app/components/clsVoltControl.h"
#include "app/documents/DocumentFile.h"
#include "app/documents/KistError.h"
#include "app/documents/clsKistRWRam.h"

#include <QCoreApplication>
#include <QDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>

namespace board_test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kTitle = "Tavelon 2.0 demonstratie";

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes StringBytes(std::string_view s) {
    Bytes b(s.begin(), s.end());
    b.push_back(0);
    return b;
}

/// Everything a failed command must leave as it was.
struct Observed {
    BoardDocument board;
    std::string title;
    std::string path;
    std::int32_t undoIndex;
    std::int32_t undoCount;
    bool bewaren;
    bool undo;
    bool redo;
    bool knobShown;
    std::size_t sprites;
    friend bool operator==(const Observed&, const Observed&) = default;
};

class Form1Document : public OnForm {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Start();
    }

    std::string PathIn(const std::string& name) const {
        return dir.path().toStdString() + "/" + name;
    }

    Observed Observe() const {
        return {form->Snapshot(),
                Title(),
                form->Files().CurrentPath(),
                form->UndoIndex(),
                form->History().Count(),
                Item("mnuBewaren")->isEnabled(),
                Item("mnuUndo")->isEnabled(),
                Item("mnuRedo")->isEnabled(),
                form->Knob()->Visible(),
                form->Kaleido1()->SpriteCount()};
    }

    /// Sets every setting a document holds to a value other than its start value.
    void SetSettings() {
        form->Model().SetCounter(3);
        form->Model().SetSensor(0, 1);
        form->Model().SetSensor(1, 2);
        form->SetPulseGeneratorSetting(7);
        form->SetComparatorValue(20);
        form->SetVariableVoltage(45);
        form->Model().SetPushButton(0, true);
        form->Model().SetPushButton(1, false);
    }

    /// Saves the present board under `name` through "Bewaren als.."; its path.
    std::string SaveAs(const std::string& name) {
        const std::string path = PathIn(name);
        prompter.files.push_back(path);
        Item("mnuBewarenAls")->trigger();
        return path;
    }

    /// A saved board with three wires and every setting changed, opened as the current
    /// document, then changed once more (a push button) and with the knob open.
    std::string OpenChangedBoard() {
        SetSettings();
        Wire("Sensor 1 Uit Geel", "LED 1 Ingang");
        Wire("Drukknop 1 Uit Geel", "EN-poort Ingang 1");
        Wire("EN-poort Uit", "Zoemer");
        const std::string path = SaveAs("board.tvb");
        EXPECT_TRUE(form->OpenBoard(path));
        Click("Drukknop 2");
        Click("Comparator Regelaar");
        EXPECT_EQ(form->UndoIndex(), 2);
        EXPECT_TRUE(form->Knob()->Visible());
        return path;
    }

    QTemporaryDir dir;
};

// The settings of SetSettings, as the settings chunk holds them.
const Bytes kSettings = {
    0x00, 0x10, 0x22, 0x00, 0x00, 0x00, // chunk 4096, 34 bytes
    0x00, 0x00, 0x00, 0x00,             // always 0
    0x00, 0x00, 0x00, 0x00,             // wire count, patched per row
    0x03, 0x00, 0x00, 0x00,             // display
    0x01, 0x00, 0x00, 0x00,             // sensor 1
    0x02, 0x00, 0x00, 0x00,             // sensor 2
    0x07, 0x00, 0x00, 0x00,             // pulse generator
    0x14, 0x00, 0x00, 0x00,             // comparator
    0x2D, 0x00, 0x00, 0x00,             // variable voltage
    0xFF,                               // push button 1 lit
    0x00,                               // push button 2 dark
};

struct BytesRow {
    const char* what;
    std::vector<std::pair<std::string, std::string>> wires;
    Bytes wireBytes;
};

TEST_F(Form1Document, SavesExactlyTheDocumentBytes) {
    const BytesRow rows[] = {
        {"empty board", {}, {}},
        {"names unknown to the board", {{"A", "B"}}, {0x41, 0x00, 0x42, 0x00}},
        {"one wire",
         {{"Drukknop 1 Uit Geel", "LED 1 Ingang"}},
         Concat({StringBytes("Drukknop 1 Uit Geel"), StringBytes("LED 1 Ingang")})},
        {"two wires in list order",
         {{"Sensor 2 Uit Geel", "Zoemer"}, {"A", "B"}},
         Concat({StringBytes("Sensor 2 Uit Geel"), StringBytes("Zoemer"), StringBytes("A"),
                 StringBytes("B")})},
    };
    int n = 0;
    for (const BytesRow& row : rows) {
        SCOPED_TRACE(row.what);
        form->ClearWires();
        SetSettings();
        for (const auto& [a, b] : row.wires) {
            Wire(a, b);
        }
        const std::string path = SaveAs("bytes" + std::to_string(n++) + ".tvb");
        Bytes settings = kSettings;
        settings[10] = std::uint8_t(row.wires.size());
        const auto length = std::uint8_t(row.wireBytes.size());
        const Bytes expected =
            Concat({{0xDA, 0xDA, std::uint8_t(46 + length), 0x00, 0x00, 0x00}, // outer chunk
                    settings,
                    {0x00, 0x20, length, 0x00, 0x00, 0x00}, // chunk 8192
                    row.wireBytes});
        EXPECT_EQ(FileBytes(path), expected);
        if (row.wires.empty()) {
            EXPECT_EQ(expected.size(), 52U);
        }
        // The undo history's snapshot holds the same bytes.
        clsKistRWRam ram;
        form->WriteTo(ram);
        EXPECT_EQ(Bytes(ram.Buffer().begin(), ram.Buffer().begin() + ram.Pos()), expected);
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(Form1Document, ReadingBackPlacesTheWiresAtTheirSocketsInColourOne) {
    SetSettings();
    Wire("Sensor 1 Uit Geel", "LED 1 Ingang");
    Wire("Nergens", "Zoemer");
    Wire("Puls Generator Uit Geel", "Pulsenteller Tel pulsen (In)");
    const BoardDocument written = form->Snapshot();
    clsKistRWRam ram;
    form->WriteTo(ram);

    prompter.answers.push_back(Prompter::Answer::No);
    Item("mnuNieuw")->trigger();
    form->Model().SetCounter(0);
    ASSERT_TRUE(form->Lines().empty());
    ram.ResetToStart();
    form->ReadFrom(ram);

    EXPECT_EQ(form->Snapshot(), written);
    const struct {
        std::int32_t x1, y1, x2, y2;
    } ends[] = {{98, 50, 322, 41}, {0, 0, 323, 197}, {98, 295, 133, 249}};
    ASSERT_EQ(form->Lines().size(), std::size(ends));
    for (std::size_t i = 0; i < std::size(ends); ++i) {
        const clsLine& line = *form->Lines()[i];
        EXPECT_EQ(line.Color(), 1) << i;
        EXPECT_EQ(line.Valid1(), -1) << i;
        EXPECT_EQ(line.Valid2(), -1) << i;
        EXPECT_EQ((std::array{line.X1(), line.Y1(), line.X2(), line.Y2()}),
                  (std::array{ends[i].x1, ends[i].y1, ends[i].x2, ends[i].y2}))
            << i;
    }
}

TEST_F(Form1Document, ADocumentWithoutSettingsLeavesTheComponentsAsTheyAre) {
    SetSettings();
    Wire("Sensor 1 Uit Geel", "LED 1 Ingang");
    BoardDocument before = form->Snapshot();
    clsKistRWRam ram;
    ram.BeginChunk(BoardDocument::kDocumentChunk); // the outer chunk and nothing in it
    ram.EndChunk();
    ram.ResetToStart();
    form->ReadFrom(ram);
    before.wires.clear();
    EXPECT_EQ(form->Snapshot(), before);
}

TEST_F(Form1Document, OpenMakesTheFileTheCurrentDocumentWithAFreshHistory) {
    SetSettings();
    Wire("Sensor 1 Uit Geel", "LED 1 Ingang");
    const BoardDocument saved = form->Snapshot();
    const std::string path = SaveAs("open me.tvb");
    Item("mnuNieuw")->trigger();
    Click("Drukknop 1");
    Click("Puls Generator Regelaar");
    ASSERT_EQ(form->UndoIndex(), 2);

    prompter.answers.push_back(Prompter::Answer::No);
    prompter.files.push_back(path);
    Item("mnuOpenen")->trigger();
    EXPECT_EQ(form->Snapshot(), saved);
    EXPECT_EQ(Title(), kTitle + " - open me.tvb");
    EXPECT_EQ(form->Files().CurrentPath(), path);
    EXPECT_TRUE(Item("mnuBewaren")->isEnabled());
    EXPECT_EQ(form->UndoIndex(), 1);
    EXPECT_EQ(form->History().Count(), 1);
    EXPECT_FALSE(Item("mnuUndo")->isEnabled());
    EXPECT_FALSE(Item("mnuRedo")->isEnabled());
    EXPECT_FALSE(form->Knob()->Visible());
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].text, "Dit tavelon bewaren?");
    ASSERT_EQ(prompter.fileRequests.size(), 2U);
    EXPECT_EQ(prompter.fileRequests[1].filter, "Tavelon bestanden (*.tvb)");
    // The next dialog starts at the file last opened.
    prompter.files.push_back(std::nullopt);
    Item("mnuOpenen")->trigger();
    EXPECT_EQ(prompter.fileRequests.back().initialPath, path);
}

TEST_F(Form1Document, CancelledDialogsChangeNothing) {
    const std::string path = OpenChangedBoard();
    const Bytes onDisk = FileBytes(path);
    const Observed before = Observe();
    for (const char* item : {"mnuOpenen", "mnuBewarenAls"}) {
        SCOPED_TRACE(item);
        prompter.answers.push_back(Prompter::Answer::No); // to the question before Openen
        prompter.files.push_back(std::nullopt);
        Item(item)->trigger();
        EXPECT_EQ(Observe(), before);
    }
    EXPECT_EQ(FileBytes(path), onDisk);
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].text, "Dit tavelon bewaren?");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(Form1Document, SaveWritesTheCurrentDocument) {
    const std::string path = OpenChangedBoard();
    Item("mnuBewaren")->trigger();
    EXPECT_EQ(prompter.fileRequests.size(), 1U) << "Bewaren asks no file name";
    EXPECT_TRUE(form->PushButton(2)->Value());
    EXPECT_TRUE(form->OpenBoard(path));
    EXPECT_TRUE(form->PushButton(2)->Value());
    EXPECT_EQ(form->Lines().size(), 3U);
}

TEST_F(Form1Document, SaveAsMakesTheSavedFileTheCurrentDocument) {
    Wire("Sensor 1 Uit Geel", "LED 1 Ingang");
    const std::string chosen = PathIn("zonder");
    prompter.files.push_back(chosen);
    Item("mnuBewarenAls")->trigger();
    EXPECT_EQ(form->Files().CurrentPath(), chosen + ".tvb");
    EXPECT_EQ(FileBytes(chosen + ".tvb").size(), 52U + 31U);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(chosen)));
    EXPECT_EQ(Title(), kTitle + " - zonder.tvb");
    EXPECT_TRUE(Item("mnuBewaren")->isEnabled());

    // A name with ".tvb" added that is taken: asked first, and "No" saves nothing.
    form->ClearWires();
    prompter.files.push_back(chosen);
    prompter.answers.push_back(Prompter::Answer::No);
    Item("mnuBewarenAls")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].text, "Het bestand " + chosen + ".tvb bestaat al. Vervangen?");
    EXPECT_EQ(FileBytes(chosen + ".tvb").size(), 52U + 31U);

    // Save then writes to the new current document.
    Item("mnuBewaren")->trigger();
    EXPECT_EQ(FileBytes(chosen + ".tvb").size(), 52U);
}

TEST(BoardFilesExtension, AddsTvbOnlyToANameWithoutExtension) {
    const std::pair<const char*, const char*> rows[] = {
        {"/tmp/bord", "/tmp/bord.tvb"},
        {"/tmp/bord.tvb", "/tmp/bord.tvb"},
        {"/tmp/bord.txt", "/tmp/bord.txt"},
        {"/tmp/bord.", "/tmp/bord.tvb"},
        {"/tmp/map.d/bord", "/tmp/map.d/bord.tvb"},
        {"/tmp/.bord", "/tmp/.bord.tvb"},
    };
    for (const auto& [given, expected] : rows) {
        EXPECT_EQ(BoardFiles::WithExtension(given), expected) << given;
    }
}

TEST_F(Form1Document, NewEmptiesTheBoardButKeepsTheCounter) {
    OpenChangedBoard();
    Item("mnuNieuw")->trigger();
    BoardDocument expected;
    expected.displayValue = 3;
    EXPECT_EQ(form->Snapshot(), expected);
    EXPECT_EQ(form->Files().CurrentPath(), "");
    EXPECT_EQ(Title(), kTitle);
    EXPECT_FALSE(Item("mnuBewaren")->isEnabled());
    EXPECT_FALSE(form->Knob()->Visible());
    EXPECT_EQ(form->UndoIndex(), 1);
    EXPECT_EQ(form->History().Count(), 1);
    EXPECT_FALSE(Item("mnuUndo")->isEnabled());
}

/// Damaged and foreign files next to a good board: every one must be refused, quickly, with
/// the Dutch message and nothing else changed.
TEST_F(Form1Document, DamagedFilesAreRefusedAndChangeNothing) {
    const std::string good = OpenChangedBoard();
    const Bytes board = FileBytes(good);
    ASSERT_EQ(board.size(), 52U + 89U);

    std::vector<std::pair<std::string, Bytes>> corpus;
    for (std::size_t n = 0; n < board.size(); ++n) {
        corpus.emplace_back("truncated to " + std::to_string(n),
                            Bytes(board.begin(), board.begin() + long(n)));
    }
    std::mt19937 random(20240611);
    for (int i = 0; i < 40; ++i) {
        Bytes noise(std::size_t(random() % 200));
        for (auto& b : noise) {
            b = std::uint8_t(random());
        }
        corpus.emplace_back("random bytes " + std::to_string(i), noise);
        // Random bytes behind a good start.
        Bytes tail = board;
        // Cut within the settings, so that the noise gives values no board can have.
        tail.resize(12 + random() % 28);
        tail.insert(tail.end(), noise.begin(), noise.end());
        corpus.emplace_back("good start, random rest " + std::to_string(i), tail);
    }
    const auto patched = [&board](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        Bytes b = board;
        std::copy(bytes.begin(), bytes.end(), b.begin() + long(at));
        return b;
    };
    corpus.emplace_back("huge wire count", patched(16, {0xFF, 0xFF, 0xFF, 0x7F}));
    corpus.emplace_back("four wires counted, three there", patched(16, {0x04}));
    corpus.emplace_back("display 10", patched(20, {0x0A}));
    corpus.emplace_back("sensor 1 at -1", patched(24, {0xFF, 0xFF, 0xFF, 0xFF}));
    corpus.emplace_back("sensor 2 at 3", patched(28, {0x03}));
    corpus.emplace_back("pulse generator 51", patched(32, {0x33}));
    corpus.emplace_back("comparator -50", patched(36, {0xCE, 0xFF, 0xFF, 0xFF}));
    corpus.emplace_back("variable voltage 2^31-1", patched(40, {0xFF, 0xFF, 0xFF, 0x7F}));
    corpus.emplace_back("no board document", Bytes{'h', 'a', 'l', 'l', 'o', '\n'});

    const Observed before = Observe();
    const Bytes goodBytes = FileBytes(good);
    int refused = 0;
    for (const auto& [what, bytes] : corpus) {
        SCOPED_TRACE(what);
        const std::string path = PathIn("damaged.tvb");
        WriteBytes(path, bytes);
        prompter.messages.clear();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(form->OpenBoard(path));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        ASSERT_EQ(prompter.messages.size(), 1U);
        EXPECT_EQ(prompter.messages[0].text,
                  "Het bestand " + path +
                      " kan niet worden geopend: het is beschadigd of onleesbaar.");
        EXPECT_EQ(prompter.messages[0].title, "Fout");
        EXPECT_EQ(Observe(), before);
        ++refused;
    }
    EXPECT_EQ(refused, int(board.size()) + 80 + 9);

    // Paths that hold no file: missing, a folder, a pipe no one writes to. The message says
    // why, in place of "beschadigd of onleesbaar".
    const std::string fifo = PathIn("pipe.tvb");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> holdNoFile[] = {
        {PathIn("missing.tvb"), "niet gevonden"},
        {dir.path().toStdString(), "het is een map"},
        {fifo, "het is geen gewoon bestand"},
    };
    for (const auto& [path, why] : holdNoFile) {
        SCOPED_TRACE(path);
        prompter.messages.clear();
        prompter.answers.push_back(Prompter::Answer::No);
        prompter.files.push_back(path);
        Item("mnuOpenen")->trigger();
        ASSERT_EQ(prompter.messages.size(), 2U);
        EXPECT_EQ(prompter.messages[1].text,
                  "Het bestand " + path + " kan niet worden geopend: " + why + ".");
        EXPECT_EQ(Observe(), before);
    }
    EXPECT_EQ(FileBytes(good), goodBytes);
}

TEST_F(Form1Document, AFailedSaveKeepsTheOldFileAndTheDocument) {
    const std::string good = OpenChangedBoard();
    const Bytes onDisk = FileBytes(good);
    const Observed before = Observe();
    // No file can be made under a regular file or in /proc, whoever runs the test.
    for (const std::string path : {"/etc/passwd/x.tvb", "/proc/x.tvb"}) {
        SCOPED_TRACE(path);
        prompter.messages.clear();
        prompter.files.push_back(path);
        Item("mnuBewarenAls")->trigger();
        ASSERT_EQ(prompter.messages.size(), 1U);
        EXPECT_EQ(prompter.messages[0].text.rfind("\"" + path + "\" kan niet worden bewaard: ", 0),
                  0U)
            << prompter.messages[0].text;
        EXPECT_EQ(prompter.messages[0].title, "Fout");
        EXPECT_EQ(Observe(), before);
    }

    // A board that cannot be written halfway: the document on disk keeps its bytes.
    Wire("Sensor 1 Uit Geel", "\xE4\xB8\xAD"); // a character no document can hold
    prompter.messages.clear();
    Item("mnuBewaren")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].title, "Fout");
    EXPECT_EQ(FileBytes(good), onDisk);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    // Not saved, so closing still asks.
    EXPECT_TRUE(form->HasUnsavedChanges());
}

enum class Step { Change, Save, Undo, Open, Knob, Count, CounterReset };

struct CloseRow {
    const char* what;
    std::vector<Step> steps;
    bool asks;
};

TEST_F(Form1Document, CloseAsksOnlyWhenTheBoardDiffersFromWhatIsKept) {
    const CloseRow rows[] = {
        {"right after start-up", {}, false},
        {"after a change", {Step::Change}, true},
        {"after undoing every change", {Step::Change, Step::Change, Step::Undo, Step::Undo}, false},
        {"right after Open", {Step::Change, Step::Save, Step::Open}, false},
        {"after a save", {Step::Change, Step::Save}, false},
        {"after a change since the save", {Step::Change, Step::Save, Step::Change}, true},
        {"undone past the save", {Step::Change, Step::Change, Step::Save, Step::Undo}, true},
        {"undone to the saved board", {Step::Change, Step::Save, Step::Change, Step::Undo}, false},
        {"saved board left the history",
         {Step::Change, Step::Change, Step::Save, Step::Undo, Step::Change, Step::Undo},
         true},
        // Changes that record no undo state count too.
        {"a knob turned after a save", {Step::Change, Step::Save, Step::Knob}, true},
        {"a pulse counted", {Step::Count}, true},
        {"the counter reset after a save", {Step::Count, Step::Save, Step::CounterReset}, true},
        {"a knob turned right after start-up", {Step::Knob}, true},
    };
    for (const CloseRow& row : rows) {
        SCOPED_TRACE(row.what);
        Start();
        prompter.messages.clear();
        std::string saved;
        for (Step step : row.steps) {
            switch (step) {
            case Step::Change:
                Click("Sensor 1");
                break;
            case Step::Save:
                saved = SaveAs("close.tvb");
                break;
            case Step::Undo:
                Item("mnuUndo")->trigger();
                break;
            case Step::Open:
                ASSERT_TRUE(form->OpenBoard(saved));
                break;
            case Step::Knob:
                Click("Comparator Regelaar");
                form->Knob()->SetValue(25);
                form->Timer1_Timer();
                break;
            case Step::Count:
                form->Model().SetCounter((form->Model().Counter() + 1) % 10);
                break;
            case Step::CounterReset:
                Click("Pulsenteller Reset Drukknop");
                break;
            }
        }
        ASSERT_TRUE(prompter.messages.empty());
        prompter.answers.push_back(Prompter::Answer::Cancel);
        form->close();
        EXPECT_EQ(prompter.messages.size(), row.asks ? 1U : 0U);
        EXPECT_EQ(form->isVisible(), row.asks);
        if (row.asks) {
            EXPECT_EQ(prompter.messages[0].text, "Dit tavelon bewaren?");
            EXPECT_EQ(prompter.messages[0].buttons, Prompter::Buttons::YesNoCancel);
        }
    }
}

TEST_F(Form1Document, YesToTheCloseQuestionSavesAndKeepsTheWindowOpen) {
    Click("Drukknop 1");
    const std::string path = PathIn("bij sluiten.tvb");
    prompter.answers.push_back(Prompter::Answer::Yes);
    prompter.files.push_back(path);
    Item("mnuSluiten")->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(FileBytes(path).size(), 52U);
    EXPECT_EQ(Title(), kTitle + " - bij sluiten.tvb");
    // Saved: the second close asks nothing.
    prompter.messages.clear();
    Item("mnuSluiten")->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(prompter.messages.empty());
}

struct ReplaceRow {
    const char* what;
    const char* item;
    /// Whether the board was saved as a document (in a folder that `saveFails` removes) and
    /// then changed, before the item.
    bool document;
    bool change;
    Prompter::Answer answer;
    /// The name chosen in the save dialog, "" to cancel it; only Ja without a document asks.
    const char* saveAs;
    bool saveFails;
    bool asks;
    bool replaced;
};

TEST_F(Form1Document, NewAndOpenAskFirstWhenTheBoardHasChanged) {
    using A = Prompter::Answer;
    const ReplaceRow rows[] = {
        {"unchanged", "mnuNieuw", false, false, A::Cancel, "", false, false, true},
        {"unchanged since the save", "mnuOpenen", true, false, A::Cancel, "", false, false, true},
        {"Annuleren", "mnuNieuw", false, true, A::Cancel, "", false, true, false},
        {"Annuleren", "mnuOpenen", true, true, A::Cancel, "", false, true, false},
        {"Nee", "mnuOpenen", false, true, A::No, "", false, true, true},
        {"Ja without a document", "mnuNieuw", false, true, A::Yes, "ja.tvb", false, true, true},
        {"Ja, save dialog cancelled", "mnuOpenen", false, true, A::Yes, "", false, true, false},
        {"Ja with a document", "mnuOpenen", true, true, A::Yes, "", false, true, true},
        {"Ja, the save fails", "mnuNieuw", true, true, A::Yes, "", true, true, false},
    };
    const std::string other = PathIn("ander.tvb");
    BoardDocument otherBoard;
    otherBoard.wires.push_back({"Sensor 2 Uit Geel", "LED 2 Ingang"});
    DocumentFile::Save(otherBoard, other);
    for (const ReplaceRow& row : rows) {
        SCOPED_TRACE(std::string(row.what) + ", " + row.item);
        Start();
        prompter.files.clear();
        QDir(dir.path()).mkpath("map");
        const std::string document = PathIn("map/bord.tvb");
        if (row.document) {
            prompter.files.push_back(document);
            Item("mnuBewarenAls")->trigger();
        }
        if (row.change) {
            Click("Drukknop 1");
        }
        if (row.saveFails) {
            QDir(QString::fromStdString(PathIn("map"))).removeRecursively();
        }
        const Observed before = Observe();
        prompter.messages.clear();
        prompter.fileRequests.clear();
        prompter.answers = {row.answer};
        if (row.answer == A::Yes && !row.document) {
            prompter.files.push_back(*row.saveAs != 0 ? std::optional(PathIn(row.saveAs))
                                                      : std::nullopt);
        }
        prompter.files.push_back(other);
        Item(row.item)->trigger();

        ASSERT_EQ(prompter.messages.empty(), !row.asks);
        if (row.asks) {
            EXPECT_EQ(prompter.messages[0].text, "Dit tavelon bewaren?");
            EXPECT_EQ(prompter.messages[0].buttons, Prompter::Buttons::YesNoCancel);
        }
        if (!row.replaced) {
            EXPECT_EQ(Observe(), before);
            const bool saveDialog = row.answer == A::Yes && !row.document;
            EXPECT_EQ(prompter.fileRequests.size(), saveDialog ? 1U : 0U) << "no open dialog";
        } else if (row.item == std::string("mnuNieuw")) {
            EXPECT_EQ(form->Snapshot(), BoardDocument());
        } else {
            EXPECT_EQ(form->Snapshot(), otherBoard);
            EXPECT_EQ(form->Files().CurrentPath(), other);
        }
        // Only Ja keeps the changed board: in the document, or where the save dialog said.
        const bool saves =
            row.answer == A::Yes && !row.saveFails && (row.document || *row.saveAs != 0);
        if (row.document && row.change && !row.saveFails) {
            EXPECT_EQ(DocumentFile::Load(document) == before.board, saves);
        } else if (!row.document) {
            const QStringList boards = QDir(dir.path()).entryList({"*.tvb"}, QDir::Files);
            const QStringList expected =
                saves ? QStringList{"ander.tvb", "ja.tvb"} : QStringList{"ander.tvb"};
            EXPECT_EQ(boards, expected);
            if (saves) {
                EXPECT_EQ(DocumentFile::Load(PathIn(row.saveAs)), before.board);
            }
        }
        QFile::remove(QString::fromStdString(PathIn("ja.tvb")));
    }
}

struct CommandLineRow {
    const char* what;
    std::string commandLine;
    bool opens;
    std::string message;
};

TEST_F(Form1Document, TheCommandLineOpensItsDocumentAtStartUp) {
    SetSettings();
    Wire("Sensor 1 Uit Geel", "LED 1 Ingang");
    const std::string good = SaveAs("mijn bord.tvb");
    const std::string damaged = PathIn("kapot.tvb");
    WriteBytes(damaged, {0xDA, 0xDA, 0x2E});
    form.reset();

    const CommandLineRow rows[] = {
        {"quoted, with blanks", "\"" + good + "\"", true, ""},
        {"without quotes, with blanks", good, true, ""},
        {"missing", "\"" + PathIn("weg.tvb") + "\"", false,
         "Te openen bestand " + PathIn("weg.tvb") + " bestaat niet."},
        {"unreadable", damaged, false,
         "Het bestand " + damaged + " kan niet worden geopend: het is beschadigd of onleesbaar."},
        {"empty", "", false, ""},
    };
    for (const CommandLineRow& row : rows) {
        SCOPED_TRACE(row.what);
        prompter.messages.clear();
        registered.clear();
        form = std::make_unique<FORM1>();
        ASSERT_TRUE(form->Form_Load(row.commandLine));
        EXPECT_TRUE(form->Timer1()->isActive());
        form->Timer1()->stop();
        // The association is written once the board has been shown.
        for (int i = 0; i < 200 && registered.empty(); ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        EXPECT_EQ(registered, std::vector{QCoreApplication::applicationFilePath().toStdString()});
        EXPECT_EQ(form->Lines().size(), row.opens ? 1U : 0U);
        EXPECT_EQ(form->Files().CurrentPath(), row.opens ? good : "");
        EXPECT_EQ(Title(), row.opens ? kTitle + " - mijn bord.tvb" : kTitle);
        EXPECT_EQ(form->UndoIndex(), 1);
        EXPECT_EQ(form->History().Count(), 1);
        if (row.message.empty()) {
            EXPECT_TRUE(prompter.messages.empty());
        } else {
            ASSERT_EQ(prompter.messages.size(), 1U);
            EXPECT_EQ(prompter.messages[0].text, row.message);
            EXPECT_EQ(prompter.messages[0].title, "Fout");
        }
        // Nothing changed since start-up: closing asks nothing.
        form->close();
        EXPECT_EQ(prompter.messages.size(), row.message.empty() ? 0U : 1U);
    }
}

} // namespace
// Every board under tests/data/boards is read as the File menu reads it and compared with the
// expectation beside it: "refused", or the settings and wires it must give.
TEST(BoardCorpus, EveryBoardGivesWhatItsExpectationSays) {
    int ran = 0;
    int refused = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TAVSIM_BOARD_CORPUS)) {
        if (entry.path().extension() != ".tvb") {
            continue;
        }
        const std::string board = entry.path().string();
        SCOPED_TRACE(board);
        std::ifstream expectation(std::filesystem::path(entry.path()).replace_extension(".expect"));
        ASSERT_TRUE(expectation) << "no expectation beside the board";
        BoardDocument expected;
        bool refuse = false;
        for (std::string line; std::getline(expectation, line);) {
            std::istringstream words(line);
            std::string word;
            words >> word;
            int b1 = 0;
            int b2 = 0;
            if (word == "refused") {
                refuse = true;
            } else if (word == "display") {
                words >> expected.displayValue;
            } else if (word == "sensors") {
                words >> expected.sensor1 >> expected.sensor2;
            } else if (word == "knobs") {
                words >> expected.pulseGenerator >> expected.comparator >> expected.variableVoltage;
            } else if (word == "buttons" && (words >> b1 >> b2)) {
                expected.pushButton1 = b1 != 0;
                expected.pushButton2 = b2 != 0;
            } else if (word == "wire") {
                const std::string rest = line.substr(5);
                const std::size_t bar = rest.find('|');
                expected.wires.push_back({rest.substr(0, bar), rest.substr(bar + 1)});
            } else {
                ADD_FAILURE() << "unknown expectation: " << line;
            }
        }
        ++ran;
        if (refuse) {
            ++refused;
            EXPECT_THROW(DocumentFile::Load(board), KistError);
        } else {
            EXPECT_EQ(DocumentFile::Load(board), expected);
        }
    }
    EXPECT_EQ(ran, 8) << "boards in the corpus";
    EXPECT_EQ(refused, 5) << "of them refused";
}

} // namespace board_test
