#include "platform/registry/Registry.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
constexpr auto HKCR = RegistryRoot::ClassesRoot;
constexpr auto HKCU = RegistryRoot::CurrentUser;

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("tavsim-registry-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        path_ = (folder_ / "registry.reg").string();
    }
    void TearDown() override { fs::remove_all(folder_); }

    void WriteFile(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
    static std::string ReadFile(const fs::path& path) {
        std::stringstream s;
        s << std::ifstream(path, std::ios::binary).rdbuf();
        return s.str();
    }

    fs::path folder_;
    std::string path_;
};

TEST_F(RegistryTest, ReadsTheTextFormat) {
    WriteFile("REGEDIT4\r\n\r\n"
              "; a comment\r\n"
              "[HKEY_CLASSES_ROOT\\Thing.1]\r\n"
              "@=\"Thing Class\"\r\n\r\n"
              "[HKEY_CLASSES_ROOT\\Thing.1\\Empty]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Tavsim]\r\n"
              "\"Path\"=\"C:\\\\dir\\\\\\\"q\\\"\"\r\n"
              "\"Count\"=dword:0000001A\r\n");
    Registry registry(path_);
    EXPECT_EQ(registry.GetString(HKCR, "Thing.1", ""), "Thing Class");
    EXPECT_TRUE(registry.KeyExists(HKCR, "Thing.1\\Empty"));
    EXPECT_EQ(registry.GetString(HKCU, "Software\\Tavsim", "Path"), "C:\\dir\\\"q\"");
    EXPECT_EQ(registry.GetDword(HKCU, "Software\\Tavsim", "Count"), 26u);
    EXPECT_EQ(registry.GetString(HKCU, "Software\\Tavsim", "Count"), std::nullopt);
    EXPECT_EQ(registry.SkippedLines(), 0u);
}

TEST_F(RegistryTest, WritesTheTextFormatSortedWithEmptyKeysAndEscapes) {
    Registry registry(path_);
    ASSERT_TRUE(registry.SetString(HKCU, "Software\\b", "Name", "a\\b \"c\"\nd"));
    ASSERT_TRUE(registry.SetDword(HKCU, "Software\\b", "count", 0x1a));
    ASSERT_TRUE(registry.SetString(HKCR, "Z", "", "last"));
    ASSERT_TRUE(registry.CreateKey(HKCR, "a\\Empty"));
    EXPECT_EQ(ReadFile(path_), "REGEDIT4\n\n"
                               "[HKEY_CLASSES_ROOT\\a]\n\n"
                               "[HKEY_CLASSES_ROOT\\a\\Empty]\n\n"
                               "[HKEY_CLASSES_ROOT\\Z]\n"
                               "@=\"last\"\n\n"
                               "[HKEY_CURRENT_USER\\Software]\n\n"
                               "[HKEY_CURRENT_USER\\Software\\b]\n"
                               "\"count\"=dword:0000001a\n"
                               "\"Name\"=\"a\\\\b \\\"c\\\"\\nd\"\n\n");
    EXPECT_EQ(Registry(path_).GetString(HKCU, "Software\\b", "Name"), "a\\b \"c\"\nd");
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    Registry registry(path_);
    ASSERT_TRUE(registry.SetString(HKCR, "CLSID\\{ab}\\Inproc", "Threading", "x"));
    ASSERT_TRUE(registry.SetString(HKCR, "clsid\\{AB}\\INPROC", "threading", "y"));
    EXPECT_EQ(registry.GetString(HKCR, "Clsid\\{aB}\\inPROC", "THREADING"), "y");
    EXPECT_EQ(registry.SubKeyNames(HKCR, "CLSID"), std::vector<std::string>{"{ab}"});
    EXPECT_EQ(registry.ValueNames(HKCR, "CLSID\\{ab}\\Inproc"),
              std::vector<std::string>{"Threading"});
    EXPECT_TRUE(registry.DeleteKey(HKCR, "CLSID\\{AB}"));
    EXPECT_EQ(registry.DeleteKey(HKCR, "clsid\\{ab}").code, RegistryStatus::Code::NotFound);
    EXPECT_EQ(registry.CreateKey(HKCR, "A\\\\B").code, RegistryStatus::Code::BadName);
}

std::string KeyPath(std::size_t depth) {
    std::string path = "k";
    for (std::size_t i = 1; i < depth; ++i) {
        path += "\\k";
    }
    return path;
}

// The limits the system's registry has always had: 255 characters per key name, 512 levels,
// and no control characters, which would split a line of the saved file.
TEST_F(RegistryTest, RefusesNamesBeyondTheLimits) {
    struct Row {
        std::string path;
        std::string value;
        bool ok;
    };
    const Row rows[] = {
        {KeyPath(512), "v", true},
        {KeyPath(513), "v", false},
        {std::string(255, 'n'), "v", true},
        {std::string(256, 'n'), "v", false},
        {"A\nB", "v", false},
        {"A\tB", "v", false},
        {"A", "v\r", false},
        {"A", "v\x7f", false},
        {"A", "v\xc3\xa9", true}, // UTF-8 is not a control character
    };
    Registry registry(path_);
    for (const Row& row : rows) {
        const RegistryStatus status = registry.SetString(HKCU, row.path, row.value, "x");
        EXPECT_EQ(status.code, row.ok ? RegistryStatus::Code::Ok : RegistryStatus::Code::BadName)
            << row.path.size() << " " << status.message;
        EXPECT_EQ(registry.CreateKey(HKCR, row.path).ok(), row.path != "A" ? row.ok : true);
    }
    Registry reread(path_);
    EXPECT_EQ(reread.GetString(HKCU, KeyPath(512), "v"), "x");
    EXPECT_EQ(reread.SkippedLines(), 0u);
}

/// Runs `work` in a child process; its exit status 0 means it returned true.
pid_t InChild(const std::function<bool()>& work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(work() ? 0 : 1);
    }
    return pid;
}

bool Succeeded(pid_t pid) {
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

TEST_F(RegistryTest, ProcessesSharingTheFileKeepEachOthersChanges) {
    {
        Registry seed(path_);
        ASSERT_TRUE(seed.SetString(HKCU, "Shared", "gone", "x"));
        ASSERT_TRUE(seed.SetString(HKCU, "Shared", "kept", "x"));
    }
    Registry mine(path_);
    ASSERT_EQ(mine.GetString(HKCU, "Shared", "gone"), "x"); // read before the other writes
    ASSERT_TRUE(Succeeded(InChild([&] {
        Registry other(path_);
        return other.SetString(HKCR, ".other", "", "theirs").ok();
    })));
    ASSERT_TRUE(mine.SetString(HKCR, ".mine", "", "ours"));
    ASSERT_TRUE(mine.DeleteValue(HKCU, "Shared", "gone"));
    EXPECT_EQ(mine.GetString(HKCR, ".other", ""), "theirs") << "a save takes in the file";
    Registry after(path_);
    EXPECT_EQ(after.GetString(HKCR, ".other", ""), "theirs");
    EXPECT_EQ(after.GetString(HKCR, ".mine", ""), "ours");
    EXPECT_EQ(after.ValueNames(HKCU, "Shared"), std::vector<std::string>{"kept"});

    // Two processes saving at the same moment, key after key.
    constexpr int kKeys = 30;
    std::vector<pid_t> writers;
    for (const char* key : {"One", "Two"}) {
        writers.push_back(InChild([&, key] {
            Registry registry(path_);
            bool ok = true;
            for (int i = 0; i < kKeys; ++i) {
                ok = registry.SetDword(HKCU, key, "v" + std::to_string(i), i).ok() && ok;
            }
            return ok;
        }));
    }
    for (pid_t writer : writers) {
        EXPECT_TRUE(Succeeded(writer));
    }
    Registry both(path_);
    EXPECT_EQ(both.ValueNames(HKCU, "One").size(), std::size_t{kKeys});
    EXPECT_EQ(both.ValueNames(HKCU, "Two").size(), std::size_t{kKeys});
    EXPECT_EQ(both.GetString(HKCR, ".mine", ""), "ours");
}

TEST_F(RegistryTest, AKeyTooDeepIsDroppedAndTheRestIsKept) {
    // 500,000 levels in one line of a megabyte: once a crash at every start.
    std::string text = "REGEDIT4\n[HKEY_CLASSES_ROOT\\" + KeyPath(500000) + "]\n\"v\"=\"x\"\n";
    text += "[HKEY_CLASSES_ROOT\\" + KeyPath(512) + "]\n\"deep\"=\"kept\"\n";
    WriteFile(text + "[HKEY_CLASSES_ROOT\\Good]\n\"Kept\"=\"yes\"\n");
    {
        Registry registry(path_);
        EXPECT_EQ(registry.GetString(HKCR, "Good", "Kept"), "yes");
        EXPECT_EQ(registry.GetString(HKCR, KeyPath(512), "deep"), "kept");
        EXPECT_EQ(registry.SkippedLines(), 2u);
        ASSERT_TRUE(registry.SetString(HKCR, "Good", "Saved", "yes"));
    }
    Registry reread(path_);
    EXPECT_EQ(reread.GetString(HKCR, KeyPath(512), "deep"), "kept");
    EXPECT_EQ(reread.SkippedLines(), 0u);
    EXPECT_LT(ReadFile(path_).size(), 2000u * 512u);
}

TEST_F(RegistryTest, SavesByRenamingANewFileOverTheOld) {
    Registry registry(path_);
    ASSERT_TRUE(registry.SetString(HKCU, "K", "v", "old"));
    // A second name for the old file keeps the old text only if the registry is never
    // written into the file itself.
    fs::create_hard_link(path_, folder_ / "old.reg");
    // A temporary file of a save that was killed goes with the next save.
    std::ofstream(folder_ / ".registry.reg.tmp-0123456789abcdef") << "REGEDIT4\n";
    ASSERT_TRUE(registry.SetString(HKCU, "K", "v", "new"));
    EXPECT_NE(ReadFile(path_).find("\"v\"=\"new\""), std::string::npos);
    EXPECT_NE(ReadFile(folder_ / "old.reg").find("\"v\"=\"old\""), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2)
        << "no temporary file is left behind";
}

// A registry file the user may not write is refused and left as it is; a symbolic link
// stays a link, and the file it points to is saved.
TEST_F(RegistryTest, AReadOnlyFileIsRefusedAndALinkIsFollowed) {
    const fs::path real = folder_ / "echt" / "registry.reg";
    fs::create_directories(real.parent_path());
    fs::create_symlink("echt/registry.reg", path_);
    ASSERT_TRUE(Registry(path_).SetString(HKCU, "K", "v", "through the link"));
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(Registry(real.string()).GetString(HKCU, "K", "v"), "through the link");

    const std::string locked = (folder_ / "alleen-lezen.reg").string();
    std::ofstream(locked) << "REGEDIT4\n";
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder_, fs::perms::all); // the folder would take a new file
    // Root may write any file: as root, the save runs as nobody.
    EXPECT_TRUE(Succeeded(InChild([&] {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            return false;
        }
        Registry registry(locked);
        const RegistryStatus status = registry.SetString(HKCU, "K", "v", "x");
        return status.code == RegistryStatus::Code::SaveFailed &&
               status.message ==
                   "Het register kon niet worden opgeslagen in " + locked + ": geen toestemming" &&
               registry.LastSaveError() == status.message;
    })));
    EXPECT_EQ(ReadFile(locked), "REGEDIT4\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 3)
        << "no temporary file is left behind";
}

TEST_F(RegistryTest, AFailedSaveIsReportedKeptAndRetried) {
    // A file where the folder should be makes every save fail, also for root.
    const fs::path blocker = folder_ / "blocker";
    std::ofstream(blocker) << "x";
    const std::string path = (blocker / "r.reg").string();
    Registry registry(path);
    const RegistryStatus status = registry.SetString(HKCU, "K", "v", "kept");
    EXPECT_EQ(status.code, RegistryStatus::Code::SaveFailed);
    EXPECT_NE(status.message.find(path), std::string::npos) << status.message;
    EXPECT_NE(status.message.find(": een deel van het pad is geen map"), std::string::npos)
        << "the reason, in Dutch: " << status.message;
    EXPECT_EQ(registry.GetString(HKCU, "K", "v"), "kept");

    fs::remove(blocker);
    EXPECT_TRUE(registry.Flush());
    EXPECT_EQ(Registry(path).GetString(HKCU, "K", "v"), "kept");
}

TEST_F(RegistryTest, DamagedLinesAreSkippedAndTheRestIsRead) {
    const char* damaged[] = {
        "\"Orphan\"=\"before any section\"",
        "[HKEY_CLASSES_ROOT\\Unclosed",
        "[HKEY_LOCAL_MACHINE\\Other]", // a root we do not keep...
        "\"InOther\"=\"x\"",           // ...so its values go too
        "[HKEY_CLASSES_ROOT\\Good]",   // (read)
        "\"Unterminated\"=\"abc",
        "\"Trailing\"=\"abc\" junk",
        "\"Dword\"=dword:123456789", // nine digits
        "\"Binary\"=hex:01,02,\\",   // value types we do not keep
        "NoQuotes=\"x\"",
        "\"Line\\nBreak\"=\"x\"",      // a control character in a value name
        "[HKEY_CLASSES_ROOT\\A\\\\B]", // empty key name
        "[HKEY_CLASSES_ROOT\\A\x01"
        "B]", // a control character in a key name
        "\xff\xfe\x01garbage",
    };
    std::string text = "REGEDIT4\n";
    for (const char* line : damaged) {
        text += line;
        text += '\n';
    }
    WriteFile(text + "[HKEY_CLASSES_ROOT\\Good]\n\"Kept\"=\"yes\"\n");
    Registry registry(path_);
    EXPECT_EQ(registry.ValueNames(HKCR, "Good"), std::vector<std::string>{"Kept"});
    EXPECT_EQ(registry.SubKeyNames(HKCR, ""), std::vector<std::string>{"Good"});
    EXPECT_EQ(registry.SkippedLines(), std::size(damaged) - 1);
    EXPECT_EQ(registry.LoadError(), "");
}

TEST_F(RegistryTest, AnUnreadableFileIsNeverOverwritten) {
    fs::create_directory(path_); // a folder cannot be read as a file
    Registry registry(path_);
    EXPECT_NE(registry.LoadError(), "");
    EXPECT_EQ(registry.SetString(HKCU, "K", "v", "x").code, RegistryStatus::Code::SaveFailed);
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST(RegistryLocation, FollowsTheEnvironment) {
    ::setenv("TAVSIM_REGISTRY", "", 1);
    ::setenv("XDG_CONFIG_HOME", "/x", 1);
    EXPECT_EQ(Registry::DefaultFilePath(), "/x/tavsim/registry.reg");
    ::setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored
    ::setenv("HOME", "/h", 1);
    EXPECT_EQ(Registry::DefaultFilePath(), "/h/.config/tavsim/registry.reg");
    ::setenv("TAVSIM_REGISTRY", "/tmp/r.reg", 1);
    EXPECT_EQ(Registry::DefaultFilePath(), "/tmp/r.reg");
}

// What the registry does not understand stays where it was through every later save: its
// own changes, another program's, and saves after them.
TEST_F(RegistryTest, KeepsWhatItDoesNotUnderstandInPlace) {
    WriteFile("REGEDIT4\r\n"
              "; before every key\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Tavsim]\r\n"
              "; first\r\n"
              "\"b\"=\"1\"\r\n"
              "\"Bin\"=hex:01,02,\\\r\n"
              "  03,04\r\n"
              "\"Exp\"=hex(2):25,00\r\n"
              "\"Big\"=qword:0000000000000001\r\n"
              "\"a\"=\"2\"\r\n"
              "\xff\xfe garbage\r\n"
              "[HKEY_LOCAL_MACHINE\\Other]\r\n"
              "\"InOther\"=\"x\"\r\n"
              "[HKEY_CURRENT_USER\\Software\\Tavsim\\Sub]\r\n"
              "\"Open\"=hex:01,\\\r\n");
    {
        Registry registry(path_);
        EXPECT_EQ(registry.ValueNames(HKCU, "Software\\Tavsim"),
                  (std::vector<std::string>{"a", "b"}));
        ASSERT_TRUE(registry.SetString(HKCU, "Software\\Tavsim", "c", "3"));
        ASSERT_TRUE(registry.DeleteValue(HKCU, "Software\\Tavsim", "b"));
        ASSERT_TRUE(Succeeded(InChild([&] {
            Registry other(path_);
            return other.SetString(HKCU, "Software\\Tavsim", "aa", "theirs").ok();
        })));
        ASSERT_TRUE(registry.SetString(HKCR, ".mine", "", "ours"));
    }
    const std::string expected = "REGEDIT4\n\n"
                                 "; before every key\n\n"
                                 "[HKEY_CLASSES_ROOT\\.mine]\n"
                                 "@=\"ours\"\n\n"
                                 "[HKEY_CURRENT_USER\\Software]\n\n"
                                 "[HKEY_CURRENT_USER\\Software\\Tavsim]\n"
                                 "; first\n"
                                 "\"a\"=\"2\"\n"
                                 "\xff\xfe garbage\n"
                                 "\"Bin\"=hex:01,02,\\\n"
                                 "  03,04\n"
                                 "\"Exp\"=hex(2):25,00\n"
                                 "\"Big\"=qword:0000000000000001\n"
                                 "\"aa\"=\"theirs\"\n"
                                 "\"c\"=\"3\"\n"
                                 "[HKEY_LOCAL_MACHINE\\Other]\n"
                                 "\"InOther\"=\"x\"\n\n"
                                 "[HKEY_CURRENT_USER\\Software\\Tavsim\\Sub]\n"
                                 "\"Open\"=hex:01,\\\n\n";
    EXPECT_EQ(ReadFile(path_), expected);
    for (int save = 0; save < 2; ++save) {
        Registry registry(path_);
        ASSERT_TRUE(registry.SetString(HKCU, "Software\\Tavsim", "c", std::to_string(4 + save)));
        ASSERT_TRUE(registry.SetString(HKCU, "Software\\Tavsim", "c", "3"));
    }
    EXPECT_EQ(ReadFile(path_), expected);
}

// A file that is no registry text is kept aside under a free name, and the registry starts
// empty; an ordinary file with damaged lines is read as before.
TEST_F(RegistryTest, AFileThatIsNoRegistryIsSetAside) {
    struct Row {
        const char* name;
        std::string text;
        int asideBefore; // .beschadigd files already there
        const char* aside;
    };
    const Row rows[] = {
        {"NUL bytes", std::string("REGEDIT4\n\0\0[x]\n", 16), 0, ".beschadigd"},
        {"no header", "[HKEY_CURRENT_USER\\K]\n\"v\"=\"x\"\n", 0, ".beschadigd"},
        {"binary", "\x89PNG\r\n\x1a\n", 1, ".beschadigd.1"},
        {"two set aside already", "geen register", 2, ".beschadigd.2"},
        {"blank", " \n\r\n", 0, nullptr},
        {"header after blank lines", "\n\nREGEDIT4\n[HKEY_CURRENT_USER\\K]\n", 0, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        WriteFile(row.text);
        for (int i = 0; i < row.asideBefore; ++i) {
            std::ofstream(path_ + ".beschadigd" + (i == 0 ? "" : "." + std::to_string(i)))
                << "old " << i;
        }
        testing::internal::CaptureStderr();
        {
            Registry registry(path_);
            EXPECT_EQ(registry.LoadError(), "");
            EXPECT_EQ(registry.KeyExists(HKCU, "K"), row.aside == nullptr && row.name[0] == 'h');
            ASSERT_TRUE(registry.SetString(HKCU, "New", "v", "x"));
        }
        const std::string said = testing::internal::GetCapturedStderr();
        if (row.aside == nullptr) {
            EXPECT_EQ(said, "");
            continue;
        }
        EXPECT_EQ(ReadFile(path_ + row.aside), row.text);
        EXPECT_EQ(said, "Register " + path_ + " is geen registerbestand (" +
                            (row.name[0] == 'N' ? "het bevat nul-bytes"
                                                : "de eerste regel is niet REGEDIT4") +
                            "): bewaard als " + path_ + row.aside + "; het register begint leeg\n");
        for (int i = 0; i < row.asideBefore; ++i) {
            EXPECT_EQ(ReadFile(path_ + ".beschadigd" + (i == 0 ? "" : "." + std::to_string(i))),
                      "old " + std::to_string(i));
        }
        EXPECT_EQ(Registry(path_).GetString(HKCU, "New", "v"), "x");
    }
}

} // namespace
