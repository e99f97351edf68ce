// Per-user program settings in the registry file.

#include "platform/registry/ProgramSettings.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

TEST(ProgramSettings, KeptPerApplicationAndSectionUnderTheUsersProgramSettings) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string file = folder.filePath("registry.reg").toStdString();
    {
        std::ofstream(file) << "REGEDIT4\n\n"
                               "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\"
                               "TAVLON2\\Sound]\n"
                               "\"Value\"=\"Off\"\n"
                               "\"Number\"=dword:00000001\n";
    }
    Registry registry(file);
    EXPECT_EQ(ProgramSettings::GetSetting(registry, "TAVLON2", "Sound", "Value", "On"), "Off");
    EXPECT_EQ(ProgramSettings::GetSetting(registry, "tavlon2", "sound", "value", "On"), "Off");
    EXPECT_EQ(ProgramSettings::GetSetting(registry, "TAVLON2", "Sound", "Number", "x"), "x");
    EXPECT_EQ(ProgramSettings::GetSetting(registry, "TAVLON2", "Sound", "Missing", "On"), "On");
    EXPECT_EQ(ProgramSettings::GetSetting(registry, "Other", "Sound", "Value"), "");

    ASSERT_TRUE(ProgramSettings::SaveSetting(registry, "TAVLON2", "Sound", "Value", "On"));
    ASSERT_TRUE(ProgramSettings::SaveSetting(registry, "Tavsim", "Window", "Size", "2"));
    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    EXPECT_NE(text.str().find("[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\"
                              "TAVLON2\\Sound]\n\"Number\"=dword:00000001\n\"Value\"=\"On\"\n"),
              std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find("[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\"
                              "Tavsim\\Window]\n\"Size\"=\"2\"\n"),
              std::string::npos)
        << text.str();
}

} // namespace
