// The server frame as the real libpixload uses it, through its exported functions.
#include "bitmap_loader/IKaleidPixload.h"
#include "platform/com/ComPtr.h"
#include "platform/com/IClassFactory.h"
#include "platform/com/InprocServerLoader.h"
#include "platform/com/ServerExports.h"
#include "tests/com/RegistryTree.h"

#include <climits>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

/// Full path of libpixload beside the test program.
std::string PixloadPath() {
    char real[PATH_MAX];
    const std::string path = InprocServerLoader::ProgramFolder() + "/libpixload.so";
    return realpath(path.c_str(), real) != nullptr ? real : path;
}

/// An export of libpixload, which is loaded once and stays.
template <class Function> Function Export(const char* name) {
    static void* handle = dlopen(PixloadPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    return handle != nullptr ? reinterpret_cast<Function>(dlsym(handle, name)) : nullptr;
}

class PixloadServerTest : public ::testing::Test {
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

std::set<std::string> TypeLibraryKeys(const std::string& path) {
    const std::string lib = "TypeLib\\{20FA4668-FEE0-11D5-B550-D1D72E725270}";
    const std::string itf = "Interface\\{20FA4675-FEE0-11D5-B550-D1D72E725270}";
    const std::string marshaler = "{00020424-0000-0000-C000-000000000046}";
    return {
        "TypeLib",
        lib,
        lib + "\\1.0",
        lib + "\\1.0|@=pixload 1.0 Type Library",
        lib + "\\1.0\\0",
        lib + "\\1.0\\0\\win32",
        lib + "\\1.0\\0\\win32|@=" + path,
        lib + "\\1.0\\FLAGS",
        lib + "\\1.0\\FLAGS|@=0",
        lib + "\\1.0\\HELPDIR",
        lib + "\\1.0\\HELPDIR|@=" + path.substr(0, path.rfind('/')),
        "Interface",
        itf,
        itf + "|@=IKaleidPixload",
        itf + "\\ProxyStubClsid",
        itf + "\\ProxyStubClsid|@=" + marshaler,
        itf + "\\ProxyStubClsid32",
        itf + "\\ProxyStubClsid32|@=" + marshaler,
        itf + "\\TypeLib",
        itf + "\\TypeLib|@={20FA4668-FEE0-11D5-B550-D1D72E725270}",
        itf + "\\TypeLib|Version=1.0",
    };
}

TEST_F(PixloadServerTest, RegistersExactlyItsClassAndTypeLibrary) {
    const std::string path = PixloadPath();
    const std::string clsid = "{20FA4677-FEE0-11D5-B550-D1D72E725270}";
    const std::string key = "CLSID\\" + clsid;
    std::set<std::string> expected{
        "KaleidPixload.KaleidPixload.1",
        "KaleidPixload.KaleidPixload.1|@=KaleidPixload Class",
        "KaleidPixload.KaleidPixload.1\\CLSID",
        "KaleidPixload.KaleidPixload.1\\CLSID|@=" + clsid,
        "KaleidPixload.KaleidPixload",
        "KaleidPixload.KaleidPixload|@=KaleidPixload Class",
        "KaleidPixload.KaleidPixload\\CurVer",
        "KaleidPixload.KaleidPixload\\CurVer|@=KaleidPixload.KaleidPixload.1",
        "CLSID",
        key,
        key + "|@=KaleidPixload Class",
        key + "\\ProgID",
        key + "\\ProgID|@=KaleidPixload.KaleidPixload.1",
        key + "\\VersionIndependentProgID",
        key + "\\VersionIndependentProgID|@=KaleidPixload.KaleidPixload",
        key + "\\Programmable",
        key + "\\InprocServer32",
        key + "\\InprocServer32|@=" + path,
        key + "\\InprocServer32|ThreadingModel=Apartment",
    };
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

TEST_F(PixloadServerTest, ServesOnlyItsClassAndNeedsAnOutput) {
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(getClassObject(CLSID_KaleidPixload, IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(getClassObject(IID_IKaleidPixload, IID_IClassFactory, factory.PutVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_FALSE(factory);
    ASSERT_EQ(getClassObject(CLSID_KaleidPixload, IID_IClassFactory, factory.PutVoid()), S_OK);
}

TEST_F(PixloadServerTest, CanUnloadFollowsObjectsAndServerLocks) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClassObject(CLSID_KaleidPixload, IID_IClassFactory, factory.PutVoid()), S_OK);
    EXPECT_EQ(canUnloadNow(), S_OK);
    ComPtr<IKaleidPixload> loader;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IKaleidPixload, loader.PutVoid()), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    factory->LockServer(true);
    loader.Reset();
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    factory->LockServer(false);
    EXPECT_EQ(canUnloadNow(), S_OK);
}

} // namespace
