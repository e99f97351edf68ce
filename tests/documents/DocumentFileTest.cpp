// Documents on disk: loading names the file in its errors, and saving never destroys the
// document that was there. Also the small path routines of the File menu and command line.

#include "app/documents/DocumentFile.h"

#include "app/documents/BoardDocumentError.h"
#include "app/documents/DocumentPaths.h"
#include "app/documents/KistError.h"
#include "app/documents/clsKistRWRam.h"
#include "tests/documents/KistTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

BoardDocument TwoWireBoard() {
    BoardDocument board;
    board.displayValue = 4;
    board.comparator = 30;
    board.wires = {{"Drukknop 1 Uit Geel", "LED 1 Ingang"}, {"Sensor 2 Uit Geel", "Zoemer"}};
    return board;
}

// The names in `folder`, to see that no temporary file stayed behind.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(DocumentFile, SavedFileHoldsTheDocumentBytesAndLoadsBack) {
    TempFolder folder;
    const std::string path = folder.File("bord met spaties.tvb");
    DocumentFile::Save(TwoWireBoard(), path);
    clsKistRWRam ram;
    TwoWireBoard().WriteTo(ram);
    EXPECT_EQ(ReadFileBytes(path), Bytes(ram.Buffer().begin(), ram.Buffer().begin() + ram.Pos()));
    EXPECT_EQ(DocumentFile::Load(path), TwoWireBoard());

    // Saving again over a longer document leaves only the new one.
    BoardDocument empty;
    DocumentFile::Save(empty, path);
    EXPECT_EQ(ReadFileBytes(path).size(), 52u);
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"bord met spaties.tvb"});
}

TEST(DocumentFile, SaveKeepsPermissionsAndFollowsSymbolicLinks) {
    TempFolder folder;
    const std::string real = folder.File("echt.tvb");
    const std::string link = folder.File("link.tvb");
    WriteFileBytes(real, {1, 2, 3});
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, link);
    DocumentFile::Save(TwoWireBoard(), link);
    EXPECT_TRUE(fs::is_symlink(link)) << "the link stays a link";
    EXPECT_EQ(DocumentFile::Load(real), TwoWireBoard());
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A save that fails leaves the old file as it was and no temporary file.
TEST(DocumentFile, SaveFailingHalfWayKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.File("oud.tvb");
    const Bytes old = {0xDA, 0xDA, 0x00, 0x00, 0x00, 0x00};

    WriteFileBytes(path, old);
    // A socket name that has no single-byte code fails half-way through writing.
    BoardDocument unwritable = TwoWireBoard();
    unwritable.wires.push_back({"LED 1 Ingang", "Ω"});
    try {
        DocumentFile::Save(unwritable, path);
        ADD_FAILURE() << "saved a name with no single-byte code";
    } catch (const KistError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"oud.tvb"});
}

TEST(DocumentFile, SaveIntoAReadOnlyFolderKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.File("oud.tvb");
    const Bytes old = {0xDA, 0xDA, 0x00, 0x00, 0x00, 0x00};
    WriteFileBytes(path, old);
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(folder.Path().c_str(), W_OK) == 0) {
        fs::permissions(folder.Path(), fs::perms::owner_all);
        GTEST_SKIP() << "this user may write into read-only folders";
    }
    try {
        DocumentFile::Save(TwoWireBoard(), path);
        ADD_FAILURE() << "saved into a read-only folder";
    } catch (const KistOpenError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    fs::permissions(folder.Path(), fs::perms::owner_all);
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"oud.tvb"});
}

// Even a user who may write anywhere cannot make files in /proc: the same failure, for root.
TEST(DocumentFile, SaveIntoAFolderThatTakesNoFilesFails) {
    const std::string path = "/proc/version";
    if (!DocumentPaths::FileExists(path)) {
        GTEST_SKIP() << path << " is not there";
    }
    const Bytes before = ReadFileBytes(path);
    EXPECT_THROW(DocumentFile::Save(TwoWireBoard(), path), KistOpenError);
    EXPECT_EQ(ReadFileBytes(path), before);
    TempFolder folder;
    EXPECT_THROW(DocumentFile::Save(TwoWireBoard(), folder.Path()), KistOpenError)
        << "a folder is not a document";
}

TEST(DocumentFile, LoadErrorsNameTheFile) {
    TempFolder folder;
    const std::string missing = folder.File("weg.tvb");
    const std::string damaged = folder.File("kapot.tvb");
    const std::string shortFile = folder.File("kort.tvb");
    BoardDocument board = TwoWireBoard();
    board.sensor1 = 2;
    DocumentFile::Save(board, damaged);
    Bytes bytes = ReadFileBytes(damaged);
    WriteFileBytes(shortFile, Bytes(bytes.begin(), bytes.end() - 1));
    bytes[24] = 3; // sensor 1 mode 3
    WriteFileBytes(damaged, bytes);

    struct Case {
        std::string path;
        const char* expected;
    };
    for (const Case& c : {Case{missing, "KistOpenError"}, Case{damaged, "BoardDocumentError"},
                          Case{shortFile, "KistReadError"}}) {
        std::string kind;
        try {
            DocumentFile::Load(c.path);
        } catch (const BoardDocumentError& e) {
            kind = "BoardDocumentError";
            EXPECT_NE(std::string(e.what()).find("sensor 1 mode 3"), std::string::npos);
            EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << e.what();
        } catch (const KistOpenError& e) {
            kind = "KistOpenError";
            EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << e.what();
        } catch (const KistReadError& e) {
            kind = "KistReadError";
            EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << e.what();
        }
        EXPECT_EQ(kind, c.expected) << c.path;
    }
}

TEST(DocumentPaths, FileTitle) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\a\\b\\c.tvb", "c.tvb"},
        {"c.tvb", "c.tvb"},
        {"/home/leerling/borden/proef 1.tvb", "proef 1.tvb"},
        {"/home/mixed\\weird/x.tvb", "x.tvb"},
        {"/home/folder\\sub\\y.tvb", "y.tvb"},
        {"/home/folder/", ""},
        {"", ""},
    };
    for (const auto& [path, title] : cases) {
        EXPECT_EQ(DocumentPaths::FileTitle(path), title) << path;
    }
}

TEST(DocumentPaths, CommandLinePath) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"/tmp/bord.tvb", "/tmp/bord.tvb"},
        {"\"/tmp/mijn bord.tvb\"", "/tmp/mijn bord.tvb"},
        {"/tmp/mijn bord.tvb", "/tmp/mijn bord.tvb"},
        {"\"/tmp/zonder sluitteken.tvb", "/tmp/zonder sluitteken.tvb"},
        {"\"", ""},
        {"\"\"", ""},
        {"/tmp/\"aan\" het eind\"", "/tmp/\"aan\" het eind\""},
    };
    for (const auto& [line, path] : cases) {
        EXPECT_EQ(DocumentPaths::CommandLinePath(line), path) << line;
    }
}

TEST(DocumentPaths, JoinArguments) {
    const char* split[] = {"tavsim", "/tmp/mijn", "bord.tvb"};
    EXPECT_EQ(DocumentPaths::JoinArguments(3, split), "/tmp/mijn bord.tvb");
    const char* one[] = {"tavsim", "/tmp/mijn bord.tvb"};
    EXPECT_EQ(DocumentPaths::JoinArguments(2, one), "/tmp/mijn bord.tvb");
    const char* none[] = {"tavsim"};
    EXPECT_EQ(DocumentPaths::JoinArguments(1, none), "");
    EXPECT_EQ(DocumentPaths::JoinArguments(0, nullptr), "");
}

TEST(DocumentPaths, FileExists) {
    TempFolder folder;
    const std::string file = folder.File("er.tvb");
    WriteFileBytes(file, {});
    EXPECT_TRUE(DocumentPaths::FileExists(file)) << "an empty file is a file";
    EXPECT_FALSE(DocumentPaths::FileExists(folder.File("niet.tvb")));
    EXPECT_FALSE(DocumentPaths::FileExists(folder.Path())) << "a folder";
    EXPECT_FALSE(DocumentPaths::FileExists(""));
    EXPECT_FALSE(DocumentPaths::FileExists(folder.File("niet/er.tvb")));
    const std::string pipe = folder.File("pijp.tvb");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(DocumentPaths::FileExists(pipe)) << "a pipe holds no document, and must not block";
    const std::string link = folder.File("link.tvb");
    fs::create_symlink(file, link);
    EXPECT_TRUE(DocumentPaths::FileExists(link));
}

} // namespace
