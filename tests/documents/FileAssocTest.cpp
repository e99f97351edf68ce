// Registration of the document type: the registry keys, the three files for Linux desktops,
// and that a registration with nothing new writes nothing and starts no tools.

#include "app/documents/modFileAssoc.h"
#include "platform/registry/Registry.h"
#include "platform/ui/ProgramFolder.h"
#include "tests/documents/KistTestSupport.h"

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QThread>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    /// Without a value the variable is unset.
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string ReadText(const std::string& path) {
    const Bytes bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// A program folder with the document icon in it; the program itself need not exist.
struct TestProgramFolder {
    TempFolder folder;
    std::string program;

    explicit TestProgramFolder(int iconSize) {
        program = folder.File("tavsim");
        if (iconSize > 0) {
            fs::create_directories(folder.File("images1"));
            QImage icon(iconSize, iconSize, QImage::Format_ARGB32);
            icon.fill(QColor(200, 30, 40));
            const QString ico = QString::fromStdString(folder.File("images1/doc.ico"));
            EXPECT_TRUE(icon.save(ico, "ICO"));
        }
    }
};

const char* const kMimeFile = "mime/packages/tavsim.xml";
const char* const kDesktopFile = "applications/tavsim.desktop";
const char* const kIconFile = "icons/hicolor/48x48/mimetypes/application-x-tavelon.png";

// Fake update tools that note their argument in a file of their own name, so a test sees
// that they ran and on which folder.
struct FakeTools {
    TempFolder bin;
    TempFolder notes;

    FakeTools() {
        for (const char* tool : {"update-mime-database", "update-desktop-database"}) {
            const std::string script = bin.File(tool);
            const std::string text = "#!/bin/sh\necho \"$1\" > \"" + notes.File(tool) +
                                     ".tmp\" && /bin/mv \"" + notes.File(tool) + ".tmp\" \"" +
                                     notes.File(tool) + "\"\n";
            WriteFileBytes(script, Bytes(text.begin(), text.end()));
            fs::permissions(script, fs::perms::owner_all);
        }
    }
    // The argument the tool was run with, waiting up to `ms` for it; empty when it did not run.
    std::string RanOn(const char* tool, int ms) const {
        QElapsedTimer timer;
        timer.start();
        while (!fs::exists(notes.File(tool)) && timer.elapsed() < ms) {
            QThread::msleep(20);
        }
        std::string text = ReadText(notes.File(tool));
        while (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        return text;
    }
    void Forget() const {
        for (const char* tool : {"update-mime-database", "update-desktop-database"}) {
            fs::remove(notes.File(tool));
        }
    }
};

TEST(FileAssoc, RegistersTheDocumentTypeEverywhere) {
    TestProgramFolder program(48);
    TempFolder data;
    FakeTools tools;
    ScopedEnv xdg("XDG_DATA_HOME", data.Path());
    ScopedEnv path("PATH", tools.bin.Path());

    modFileAssoc::RegisterDocumentType(program.program);

    Registry& registry = Registry::Instance();
    constexpr RegistryRoot root = RegistryRoot::ClassesRoot;
    const std::pair<const char*, std::string> keys[] = {
        {".tvb", "Tavelon.Document"},
        {"Tavelon.Document", "Tavelon Document"},
        {"Tavelon.Document\\shell\\open\\command", program.program + " \"%1\""},
        {"Tavelon.Document\\DefaultIcon", program.folder.Path() + "/images1/doc.ico,0"},
    };
    for (const auto& [key, value] : keys) {
        EXPECT_EQ(registry.GetString(root, key, ""), value) << key;
        EXPECT_EQ(registry.ValueNames(root, key), std::vector<std::string>{""}) << key;
    }

    EXPECT_EQ(ReadText(data.File(kMimeFile)),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"application/x-tavelon\">\n"
              "    <comment>Tavelon bord</comment>\n"
              "    <glob pattern=\"*.tvb\"/>\n"
              "  </mime-type>\n"
              "</mime-info>\n");
    EXPECT_EQ(ReadText(data.File(kDesktopFile)), "[Desktop Entry]\n"
                                                 "Type=Application\n"
                                                 "Name=Tavelon Simulator\n"
                                                 "Exec=" +
                                                     program.program +
                                                     " %f\n"
                                                     "MimeType=application/x-tavelon;\n"
                                                     "Icon=application-x-tavelon\n"
                                                     "Terminal=false\n"
                                                     "Categories=Education;Science;\n");
    const QImage icon(QString::fromStdString(data.File(kIconFile)), "PNG");
    EXPECT_EQ(icon.size(), QSize(48, 48));
    EXPECT_EQ(icon.pixelColor(24, 24), QColor(200, 30, 40));

    EXPECT_EQ(tools.RanOn("update-mime-database", 5000), data.File("mime"));
    EXPECT_EQ(tools.RanOn("update-desktop-database", 5000), data.File("applications"));

    // A second start-up finds everything in place: nothing is written, no tool runs.
    tools.Forget();
    std::vector<fs::file_time_type> times;
    for (const char* file : {kMimeFile, kDesktopFile, kIconFile}) {
        times.push_back(fs::last_write_time(data.File(file)));
    }
    const modFileAssoc::DesktopFiles again =
        modFileAssoc::WriteDesktopFiles(program.program, data.Path());
    EXPECT_FALSE(again.mimeWritten || again.desktopWritten || again.iconWritten);
    EXPECT_TRUE(again.failures.empty());
    modFileAssoc::RegisterDocumentType(program.program);
    int i = 0;
    for (const char* file : {kMimeFile, kDesktopFile, kIconFile}) {
        EXPECT_EQ(fs::last_write_time(data.File(file)), times[i++]) << file;
    }
    EXPECT_EQ(tools.RanOn("update-mime-database", 300), "");
    EXPECT_EQ(tools.RanOn("update-desktop-database", 0), "");
    EXPECT_EQ(registry.GetString(root, ".tvb", ""), "Tavelon.Document");
}

// A program path that holds characters with a meaning in the Exec key is quoted and escaped,
// so that it stays one argument; and only the changed entry is written again.
TEST(FileAssoc, ExecKeyKeepsAnyProgramPathOneArgument) {
    TempFolder data;
    const std::pair<std::string, std::string> cases[] = {
        {"/opt/tavsim/tavsim", "/opt/tavsim/tavsim"},
        {"/home/jan de vries/tavsim", "\"/home/jan de vries/tavsim\""},
        {"/opt/100%/tavsim", "/opt/100%%/tavsim"},
        {"/opt/a$b/tavsim", "\"/opt/a\\\\$b/tavsim\""},
        {"/opt/\"q\"/tavsim", "\"/opt/\\\\\"q\\\\\"/tavsim\""},
        {"/opt/back\\slash/tavsim", "\"/opt/back\\\\\\\\slash/tavsim\""},
        {"/opt/new\nline/tavsim", "\"/opt/new\\nline/tavsim\""},
    };
    for (const auto& [program, exec] : cases) {
        const modFileAssoc::DesktopFiles written =
            modFileAssoc::WriteDesktopFiles(program, data.Path());
        EXPECT_TRUE(written.failures.empty());
        EXPECT_FALSE(written.iconWritten) << "no icon beside this program";
        const std::string text = ReadText(data.File(kDesktopFile));
        EXPECT_NE(text.find("\nExec=" + exec + " %f\n"), std::string::npos) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8) << "no line of its own";
    }
    EXPECT_FALSE(fs::exists(data.File(kIconFile)));
}

TEST(FileAssoc, IconOfAnotherSizeIsScaledAndFailuresNeverStopStartUp) {
    TestProgramFolder program(32);
    TempFolder data;
    const modFileAssoc::DesktopFiles written =
        modFileAssoc::WriteDesktopFiles(program.program, data.Path());
    EXPECT_TRUE(written.iconWritten);
    EXPECT_EQ(QImage(QString::fromStdString(data.File(kIconFile))).size(), QSize(48, 48));

    // A file where the folders should be: every write fails, each failure names its file.
    TempFolder blocked;
    WriteFileBytes(blocked.File("mime"), {});
    WriteFileBytes(blocked.File("applications"), {});
    WriteFileBytes(blocked.File("icons"), {});
    const modFileAssoc::DesktopFiles failed =
        modFileAssoc::WriteDesktopFiles(program.program, blocked.Path());
    EXPECT_FALSE(failed.mimeWritten || failed.desktopWritten || failed.iconWritten);
    ASSERT_EQ(failed.failures.size(), 3u);
    EXPECT_NE(failed.failures[0].find("tavsim.xml"), std::string::npos) << failed.failures[0];

    ScopedEnv xdg("XDG_DATA_HOME", blocked.Path());
    ScopedEnv path("PATH", "");
    EXPECT_NO_THROW(modFileAssoc::RegisterDocumentType(program.program));

    // A damaged icon is reported and skipped.
    WriteFileBytes(program.folder.File("images1/doc.ico"), {0, 0, 1, 0, 9});
    const modFileAssoc::DesktopFiles damaged =
        modFileAssoc::WriteDesktopFiles(program.program, data.Path());
    EXPECT_FALSE(damaged.iconWritten);
    ASSERT_EQ(damaged.failures.size(), 1u);
    EXPECT_NE(damaged.failures[0].find("doc.ico"), std::string::npos) << damaged.failures[0];
}

// An installed program: lib/tavsim/tavsim with a launcher link bin/tavsim, its data files in
// share/tavsim and, when `desktopEntry`, the desktop entry and MIME type for every user.
struct InstalledProgram {
    TempFolder prefix;
    std::string program, launcher, data;

    explicit InstalledProgram(bool desktopEntry) {
        program = prefix.File("lib/tavsim/tavsim");
        launcher = prefix.File("bin/tavsim");
        data = prefix.File("share/tavsim");
        fs::create_directories(prefix.File("lib/tavsim"));
        fs::create_directories(prefix.File("bin"));
        fs::create_directories(data + "/images1");
        fs::create_directories(data + "/images2");
        WriteFileBytes(program, {});
        fs::create_symlink("../lib/tavsim/tavsim", launcher);
        QImage icon(48, 48, QImage::Format_ARGB32);
        icon.fill(QColor(10, 200, 40));
        EXPECT_TRUE(icon.save(QString::fromStdString(data + "/images1/doc.ico"), "ICO"));
        if (desktopEntry) {
            fs::create_directories(prefix.File("share/applications"));
            fs::create_directories(prefix.File("share/mime/packages"));
            WriteFileBytes(prefix.File("share/applications/tavsim.desktop"), {});
            WriteFileBytes(prefix.File("share/mime/packages/tavsim.xml"), {});
        }
    }
};

// Installed, the program finds its data in share/tavsim and is known by its launcher; a build
// (data beside the program, no launcher) keeps its own folder and path.
TEST(FileAssoc, InstalledProgramIsFoundThroughItsLauncherAndSharedData) {
    InstalledProgram installed(false);
    const std::string folder = installed.prefix.File("lib/tavsim");
    EXPECT_EQ(ProgramFolder::SharedDataFolder(folder), installed.data);
    EXPECT_EQ(ProgramFolder::DataFolderFor(folder), installed.data);
    EXPECT_EQ(ProgramFolder::LauncherFor(installed.program), installed.launcher);

    // A link that leads elsewhere is not this program's launcher.
    fs::remove(installed.launcher);
    WriteFileBytes(installed.prefix.File("lib/tavsim/other"), {});
    fs::create_symlink("../lib/tavsim/other", installed.launcher);
    EXPECT_EQ(ProgramFolder::LauncherFor(installed.program), installed.program);
    fs::remove(installed.launcher);
    EXPECT_EQ(ProgramFolder::LauncherFor(installed.program), installed.program);

    // Data beside the program wins; with data nowhere the program's folder stays.
    fs::create_directories(folder + "/images2");
    EXPECT_EQ(ProgramFolder::DataFolderFor(folder), folder);
    TestProgramFolder build(48);
    EXPECT_EQ(ProgramFolder::DataFolderFor(build.folder.Path()), build.folder.Path());
    EXPECT_EQ(ProgramFolder::LauncherFor(build.program), build.program);
}

// The association of an installed program names the launcher users start and the icon in the
// shared data; with the system's desktop entry installed no per-user copy is written.
TEST(FileAssoc, InstalledProgramRegistersItsLauncher) {
    Registry& registry = Registry::Instance();
    constexpr RegistryRoot root = RegistryRoot::ClassesRoot;
    for (const bool desktopEntry : {false, true}) {
        SCOPED_TRACE(desktopEntry ? "system desktop entry" : "no system desktop entry");
        InstalledProgram installed(desktopEntry);
        TempFolder home;
        ScopedEnv xdg("XDG_DATA_HOME", home.Path());
        ScopedEnv path("PATH", "");
        EXPECT_EQ(modFileAssoc::HasSystemDesktopEntry(installed.launcher), desktopEntry);

        modFileAssoc::RegisterDocumentType(installed.launcher);

        EXPECT_EQ(registry.GetString(root, "Tavelon.Document\\shell\\open\\command", ""),
                  installed.launcher + " \"%1\"");
        EXPECT_EQ(registry.GetString(root, "Tavelon.Document\\DefaultIcon", ""),
                  installed.data + "/images1/doc.ico,0");
        if (desktopEntry) {
            EXPECT_TRUE(fs::is_empty(home.Path()));
            continue;
        }
        const std::string entry = ReadText(home.File(kDesktopFile));
        EXPECT_NE(entry.find("\nExec=" + installed.launcher + " %f\n"), std::string::npos) << entry;
        const QImage icon(QString::fromStdString(home.File(kIconFile)), "PNG");
        EXPECT_EQ(icon.pixelColor(24, 24), QColor(10, 200, 40));
    }
}

// Without an absolute data folder nothing is written for the desktop, least of all under the
// root folder, and that is said once.
TEST(FileAssoc, DataFolderOnlyFromAbsolutePaths) {
    using Env = std::optional<std::string>;
    struct Row {
        Env xdg;
        Env home;
        std::string expected;
    };
    const Row rows[] = {
        {"/data", "/home/jan", "/data"},
        {std::nullopt, "/home/jan", "/home/jan/.local/share"},
        {"relatief", "/home/jan", "/home/jan/.local/share"},
        {std::nullopt, std::nullopt, ""},
        {"", "", ""},
        {"relatief", "home/jan", ""},
        {"/data", std::nullopt, "/data"},
    };
    for (const Row& row : rows) {
        ScopedEnv xdg("XDG_DATA_HOME", row.xdg);
        ScopedEnv home("HOME", row.home);
        EXPECT_EQ(modFileAssoc::XdgDataHome(), row.expected)
            << row.xdg.value_or("(unset)") << " " << row.home.value_or("(unset)");
    }

    TestProgramFolder program(48);
    ScopedEnv xdg("XDG_DATA_HOME", std::nullopt);
    ScopedEnv home("HOME", std::nullopt);
    ScopedEnv path("PATH", "");
    testing::internal::CaptureStderr();
    modFileAssoc::RegisterDocumentType(program.program);
    modFileAssoc::RegisterDocumentType(program.program);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Registry::Instance().GetString(RegistryRoot::ClassesRoot, ".tvb", ""),
              "Tavelon.Document")
        << "the registry is still written";
    EXPECT_FALSE(fs::exists("/.local/share/mime/packages/tavsim.xml"));
    std::size_t lines = 0;
    for (std::size_t at = said.find("geen bruikbare thuismap"); at != std::string::npos;
         at = said.find("geen bruikbare thuismap", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 1u) << said;
}

} // namespace
