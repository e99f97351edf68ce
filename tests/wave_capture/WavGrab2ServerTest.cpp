// Registration and the exports of libWavGrab2, through its exported functions.
#include "platform/com/ComPtr.h"
#include "platform/com/IClassFactory.h"
#include "platform/com/InprocServerLoader.h"
#include "platform/com/ServerExports.h"
#include "tests/com/RegistryTree.h"
#include "wave_capture/IVolWaveIn.h"

#include <climits>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

std::string LibraryPath() {
    char real[PATH_MAX];
    const std::string path = InprocServerLoader::ProgramFolder() + "/libWavGrab2.so";
    return realpath(path.c_str(), real) != nullptr ? real : path;
}

template <class Function> Function Export(const char* name) {
    static void* handle = dlopen(LibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    return handle != nullptr ? reinterpret_cast<Function>(dlsym(handle, name)) : nullptr;
}

/// Every key and value that the script of one control class writes.
std::set<std::string> ClassKeys(const std::string& path, const std::string& name,
                                const std::string& prefix, const std::string& clsid) {
    const std::string progId = prefix + name + ".1";
    const std::string independent = prefix + name;
    const std::string description = name + " Class";
    const std::string key = "CLSID\\" + clsid;
    return {
        progId,
        progId + "|@=" + description,
        progId + "\\CLSID",
        progId + "\\CLSID|@=" + clsid,
        independent,
        independent + "|@=" + description,
        independent + "\\CurVer",
        independent + "\\CurVer|@=" + progId,
        key,
        key + "|@=" + description,
        key + "\\ProgID",
        key + "\\ProgID|@=" + progId,
        key + "\\VersionIndependentProgID",
        key + "\\VersionIndependentProgID|@=" + independent,
        key + "\\Programmable",
        key + "\\InprocServer32",
        key + "\\InprocServer32|@=" + path,
        key + "\\InprocServer32|ThreadingModel=Apartment",
        key + "\\Control",
        key + "\\Insertable",
        key + "\\ToolboxBitmap32",
        key + "\\ToolboxBitmap32|@=" + path + ", 1",
        key + "\\MiscStatus",
        key + "\\MiscStatus|@=0",
        key + "\\MiscStatus\\1",
        key + "\\MiscStatus\\1|@=131473",
        key + "\\TypeLib",
        key + "\\TypeLib|@={91764280-1CF9-11D7-B551-BFF42EA5B570}",
        key + "\\Version",
        key + "\\Version|@=1.0",
    };
}

std::set<std::string> TypeLibraryKeys(const std::string& path) {
    const std::string libid = "{91764280-1CF9-11D7-B551-BFF42EA5B570}";
    const std::string lib = "TypeLib\\" + libid;
    const std::string marshaler = "{00020424-0000-0000-C000-000000000046}";
    std::set<std::string> keys = {
        "TypeLib",
        lib,
        lib + "\\1.0",
        lib + "\\1.0|@=WavGrab2 1.0 Type Library",
        lib + "\\1.0\\0",
        lib + "\\1.0\\0\\win32",
        lib + "\\1.0\\0\\win32|@=" + path,
        lib + "\\1.0\\FLAGS",
        lib + "\\1.0\\FLAGS|@=0",
        lib + "\\1.0\\HELPDIR",
        lib + "\\1.0\\HELPDIR|@=" + path.substr(0, path.rfind('/')),
        "Interface",
    };
    for (const auto& [iid, name] : {std::pair<std::string, std::string>{
                                        "{A9B89642-1CF9-11D7-B551-BFF42EA5B570}", "ITheWaveIn2"},
                                    {"{21E1AD60-1FEC-11D7-B551-9D8265B31570}", "IVolWaveIn"}}) {
        const std::string itf = "Interface\\" + iid;
        keys.merge(std::set<std::string>{
            itf,
            itf + "|@=" + name,
            itf + "\\ProxyStubClsid",
            itf + "\\ProxyStubClsid|@=" + marshaler,
            itf + "\\ProxyStubClsid32",
            itf + "\\ProxyStubClsid32|@=" + marshaler,
            itf + "\\TypeLib",
            itf + "\\TypeLib|@=" + libid,
            itf + "\\TypeLib|Version=1.0",
        });
    }
    return keys;
}

class WavGrab2ServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WipeRegistry(Registry::Instance());
        ASSERT_TRUE(getClassObject && canUnloadNow && registerServer && unregisterServer);
    }

    DllGetClassObjectFunction getClassObject =
        Export<DllGetClassObjectFunction>("DllGetClassObject");
    DllCanUnloadNowFunction canUnloadNow = Export<DllCanUnloadNowFunction>("DllCanUnloadNow");
    DllRegisterServerFunction registerServer =
        Export<DllRegisterServerFunction>("DllRegisterServer");
    DllUnregisterServerFunction unregisterServer =
        Export<DllUnregisterServerFunction>("DllUnregisterServer");
};

TEST_F(WavGrab2ServerTest, RegistersBothControlsAndTheTypeLibrary) {
    const std::string path = LibraryPath();
    std::set<std::string> expected =
        ClassKeys(path, "TheWaveIn2", "WavGrab2Lib.", "{A9B89643-1CF9-11D7-B551-BFF42EA5B570}");
    expected.merge(
        ClassKeys(path, "VolWaveIn", "VolWaveIn.", "{21E1AD61-1FEC-11D7-B551-9D8265B31570}"));
    expected.insert("CLSID");
    expected.merge(TypeLibraryKeys(path));

    Registry& registry = Registry::Instance();
    ASSERT_EQ(registerServer(), S_OK);
    EXPECT_EQ(RegistryTree(registry, RegistryRoot::ClassesRoot), expected);
    ASSERT_EQ(registerServer(), S_OK);
    EXPECT_EQ(RegistryTree(registry, RegistryRoot::ClassesRoot), expected);
    EXPECT_EQ(RegistryTree(registry, RegistryRoot::CurrentUser).size(), 0u);
    Registry onDisk(registry.FilePath());
    EXPECT_EQ(RegistryTree(onDisk, RegistryRoot::ClassesRoot), expected);

    ASSERT_EQ(unregisterServer(), S_OK);
    std::set<std::string> remaining = TypeLibraryKeys(path);
    remaining.insert("CLSID");
    EXPECT_EQ(RegistryTree(registry, RegistryRoot::ClassesRoot), remaining);
    EXPECT_EQ(unregisterServer(), S_OK);
}

TEST_F(WavGrab2ServerTest, ServesBothClassesAndCountsTheirObjects) {
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(getClassObject(CLSID_TheWaveIn2, IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(getClassObject(IID_ITheWaveIn2, IID_IClassFactory, factory.PutVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(getClassObject(CLSID_VolWaveIn, IID_IClassFactory, factory.PutVoid()), S_OK);
    EXPECT_EQ(canUnloadNow(), S_OK);
    ComPtr<IVolWaveIn> vol;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IVolWaveIn, vol.PutVoid()), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    vol.Reset();
    EXPECT_EQ(canUnloadNow(), S_OK);
    ASSERT_EQ(getClassObject(CLSID_TheWaveIn2, IID_IClassFactory, factory.PutVoid()), S_OK);
    ComPtr<ITheWaveIn2> wave;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_ITheWaveIn2, wave.PutVoid()), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
}

} // namespace
