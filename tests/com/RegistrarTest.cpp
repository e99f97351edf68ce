#include "platform/com/Registrar.h"

#include "platform/com/RegistryScript.h"
#include "tests/com/RegistryTree.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

constexpr auto HKCR = RegistryRoot::ClassesRoot;

constexpr const char* kScript = R"(HKCR
{
    Thing.Thing.1 = s 'Thing Class'
    {
        CLSID = s '{11111111-2222-3333-4444-555555555555}'
    }
    NoRemove CLSID
    {
        val Shared = d 7
        ForceRemove {11111111-2222-3333-4444-555555555555} = s 'Thing Class'
        {
            ForceRemove 'Programmable'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            'Quoted Name' = s 'it''s 100%% sure'
            MiscStatus = s '0' { '1' = s '131473' }
            Flags = d 0x1F
        }
    }
    Delete Obsolete.Thing
}
HKCU
{
    NoRemove Software
    {
        Tavsim { val Answer = d '42' }
    }
}
)";

TEST(RegistryScript, RefusesBrokenScriptsNamingTheLine) {
    struct Row {
        std::string script;
        const char* expected;
    };
    std::string nested = "HKCR {";
    for (int i = 0; i < 100000; ++i) {
        nested += " K {";
    }
    const Row rows[] = {
        {nested, "regel 1: te diep genest: meer dan 512 niveaus"},
        {"HKCR\n{\n  Key = s 'x'\n", "regel 4: '}' ontbreekt"},
        {"HKLM { Key }", "regel 1: onbekende hoofdsleutel 'HKLM'"},
        {"HKCR {\n Key = s '%NOPE%'\n}", "regel 2: onbekende variabele %NOPE%"},
        {"HKCR { Key = x 'y' }", "regel 1: waardetype 's' of 'd' verwacht, niet 'x'"},
        {"HKCR { Key = d 4294967296 }", "regel 1: ongeldig getal '4294967296'"},
        {"HKCR { Key = s 'open }", "regel 1: ' zonder einde"},
        {"HKCR { val Name 'x' }", "regel 1: '=' verwacht na val Name"},
    };
    for (const Row& row : rows) {
        std::string error;
        EXPECT_FALSE(RegistryScript::Parse(row.script, {{"MODULE", "m"}}, &error)) << row.script;
        EXPECT_EQ(error, row.expected) << row.script;
    }
}

class RegistrarTest : public ::testing::Test {
protected:
    RegistrarTest()
        : path_(std::filesystem::temp_directory_path() /
                ("tavsim-registrar-" + std::to_string(::getpid()) + ".reg")),
          registry_(path_.string()) {}
    ~RegistrarTest() override { std::filesystem::remove(path_); }

    std::filesystem::path path_;
    Registry registry_;
};

TEST_F(RegistrarTest, RegistersAndUnregistersExactlyWhatTheScriptWrites) {
    // Present before: a neighbour under the NoRemove key, and a stale subkey that
    // ForceRemove must clear.
    const std::string thing = "CLSID\\{11111111-2222-3333-4444-555555555555}";
    registry_.SetString(HKCR, "CLSID\\{other}", "", "Other Class");
    registry_.SetString(HKCR, thing + "\\Stale", "", "old");
    registry_.SetString(HKCR, "Obsolete.Thing\\CLSID", "", "x");

    Registrar registrar(registry_);
    registrar.AddReplacement("MODULE", "/lib/thing.so");
    ASSERT_EQ(registrar.Register(kScript), S_OK) << registrar.LastError();
    const std::set<std::string> registered{
        "CLSID",
        "CLSID|Shared=dword:7",
        "CLSID\\{other}",
        "CLSID\\{other}|@=Other Class",
        thing,
        thing + "|@=Thing Class",
        thing + "\\Flags",
        thing + "\\Flags|@=dword:31",
        thing + "\\InprocServer32",
        thing + "\\InprocServer32|@=/lib/thing.so",
        thing + "\\InprocServer32|ThreadingModel=Apartment",
        thing + "\\MiscStatus",
        thing + "\\MiscStatus|@=0",
        thing + "\\MiscStatus\\1",
        thing + "\\MiscStatus\\1|@=131473",
        thing + "\\Programmable",
        thing + "\\Quoted Name",
        thing + "\\Quoted Name|@=it's 100% sure",
        "Thing.Thing.1",
        "Thing.Thing.1|@=Thing Class",
        "Thing.Thing.1\\CLSID",
        "Thing.Thing.1\\CLSID|@={11111111-2222-3333-4444-555555555555}",
    };
    EXPECT_EQ(RegistryTree(registry_, HKCR), registered);
    EXPECT_EQ(registry_.GetDword(RegistryRoot::CurrentUser, "Software\\Tavsim", "Answer"), 42u);

    ASSERT_EQ(registrar.Register(kScript), S_OK);
    EXPECT_EQ(RegistryTree(registry_, HKCR), registered);

    // Something added later below a removable key goes with it.
    registry_.SetString(HKCR, "Thing.Thing.1\\Extra", "", "x");
    ASSERT_EQ(registrar.Unregister(kScript), S_OK) << registrar.LastError();
    EXPECT_EQ(RegistryTree(registry_, HKCR),
              (std::set<std::string>{"CLSID", "CLSID\\{other}", "CLSID\\{other}|@=Other Class"}));
    EXPECT_EQ(RegistryTree(registry_, RegistryRoot::CurrentUser),
              std::set<std::string>{"Software"});

    // Unregistering what is not there is no failure.
    EXPECT_EQ(registrar.Unregister(kScript), S_OK);
    // The file holds what memory holds.
    Registry reread(path_.string());
    EXPECT_EQ(RegistryTree(reread, HKCR), RegistryTree(registry_, HKCR));
}

TEST_F(RegistrarTest, ABrokenScriptWritesNothing) {
    Registrar registrar(registry_);
    EXPECT_EQ(registrar.Register("HKCR { Good = s 'x' }\nHKCR { Bad = s '%MODULE%' }"), E_FAIL);
    EXPECT_EQ(registrar.LastError(), "Registerscript onleesbaar: regel 2: onbekende variabele "
                                     "%MODULE%");
    EXPECT_TRUE(RegistryTree(registry_, HKCR).empty());
}

} // namespace
