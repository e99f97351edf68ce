// Documents on disk: loading names the file in its errors, and saving never destroys the
// document that was there. Also the small path routines of the File menu and command line.

#include "app/documents/DocumentFile.h"

#include "app/documents/BoardDocumentError.h"
#include "app/documents/DocumentPaths.h"
#include "app/documents/KistError.h"
#include "app/documents/clsKistRWRam.h"
#include "tests/documents/KistTestSupport.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// A read-only folder holding a file the user may write (a shared class folder): the document
// is written in place. A read-only file there still fails, in Dutch, and keeps its bytes.
TEST(DocumentFile, SaveIntoAReadOnlyFolderWritesAWritableFileInPlace) {
    TempFolder folder;
    const std::string shared = folder.File("gedeeld.tvb");
    const std::string locked = folder.File("oud.tvb");
    const Bytes old = {0xDA, 0xDA, 0x00, 0x00, 0x00, 0x00, 1,  2,  3,  4,  5,  6,  7,  8,  9,
                       10,   11,   12,   13,   14,   15,   16, 17, 18, 19, 20, 21, 22, 23, 24,
                       25,   26,   27,   28,   29,   30,   31, 32, 33, 34, 35, 36, 37, 38, 39,
                       40,   41,   42,   43,   44,   45,   46, 47, 48, 49, 50, 51, 52, 53, 54,
                       55,   56,   57,   58,   59,   60,   61, 62, 63, 64, 65, 66};
    WriteFileBytes(shared, old); // longer than the new document: the rest must go
    WriteFileBytes(locked, old);
    fs::permissions(shared, fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec |
                                               fs::perms::others_exec));
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec |
                                       fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
    // A read-only board in a folder everyone may write: refused, and the message names the
    // board, not the temporary file beside it.
    TempFolder open;
    const std::string readOnly = open.File("alleen-lezen.tvb");
    WriteFileBytes(readOnly, old);
    fs::permissions(readOnly,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(open.Path(), fs::perms::all);
    // Root may write anywhere, so as root the saves run as an ordinary user.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(10);
        }
        if (::access(folder.Path().c_str(), W_OK) == 0) {
            ::_exit(11);
        }
        int result = 0;
        try {
            DocumentFile::Save(TwoWireBoard(), shared);
        } catch (const std::exception&) {
            result |= 1;
        }
        try {
            DocumentFile::Save(TwoWireBoard(), locked);
            result |= 2;
        } catch (const KistOpenError& e) {
            const std::string text = e.what();
            if (text.find(locked) == std::string::npos ||
                text.find("geen toestemming") == std::string::npos) {
                result |= 4;
            }
        }
        try {
            DocumentFile::Save(TwoWireBoard(), readOnly);
            result |= 8;
        } catch (const KistOpenError& e) {
            if (std::string(e.what()) !=
                "\"" + readOnly + "\" kan niet worden bewaard: geen toestemming") {
                result |= 8;
            }
        }
        ::_exit(result);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    fs::permissions(folder.Path(), fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 11) {
        GTEST_SKIP() << "this user may write into read-only folders";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: not saved in place, 2: read-only file written, "
                                         "4: reason not named in Dutch, 8: board not named";
    EXPECT_EQ(DocumentFile::Load(shared), TwoWireBoard());
    EXPECT_EQ(ReadFileBytes(locked), old);
    EXPECT_EQ(Entries(folder.Path()), (std::vector<std::string>{"gedeeld.tvb", "oud.tvb"}));
    EXPECT_EQ(ReadFileBytes(readOnly), old);
    EXPECT_EQ(Entries(open.Path()), std::vector<std::string>{"alleen-lezen.tvb"});
}

// Temporary files of saves that were killed go with the next save of the same board; one
// that a living save holds (locked), another board's, and other names stay.
TEST(DocumentFile, SaveRemovesAbandonedTemporaryFilesOfItsBoard) {
    TempFolder folder;
    const std::string path = folder.File("oud.tvb");
    const std::vector<std::string> stay = {".ander.tvb.tmp-0123456789abcdef",
                                           ".oud.tvb.tmp-0123456789abcde", ".oud.tvb.tmp-bewaard1",
                                           ".oud.tvb.tmp-fedcba9876543210", "oud.tvb"};
    for (const std::string& name : stay) {
        WriteFileBytes(folder.File(name), {1});
    }
    WriteFileBytes(folder.File(".oud.tvb.tmp-0123456789abcdef"), {1});
    const int held = ::open(folder.File(".oud.tvb.tmp-fedcba9876543210").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    DocumentFile::Save(TwoWireBoard(), path);
    ::close(held);
    EXPECT_EQ(Entries(folder.Path()), stay);
    EXPECT_EQ(DocumentFile::Load(path), TwoWireBoard());
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
