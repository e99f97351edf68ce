#include "platform/com/ComRuntime.h"

#include "bitmap_loader/IKaleidPixload.h"
#include "platform/com/ComPtr.h"
#include "platform/com/InprocServerLoader.h"
#include "platform/com/ServerExports.h"
#include "tests/com/RegistryTree.h"
#include "tests/com/TestServer.h"

#include <array>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
constexpr auto HKCR = RegistryRoot::ClassesRoot;

std::string Bin(const std::string& file) {
    return InprocServerLoader::ProgramFolder() + "/" + file;
}

void* TestServerHandle() {
    static void* handle = dlopen(TAVSIM_TEST_SERVER, RTLD_NOW | RTLD_LOCAL);
    return handle;
}

HRESULT CallTestServer(const char* function) {
    auto entry = reinterpret_cast<DllRegisterServerFunction>(dlsym(TestServerHandle(), function));
    return entry != nullptr ? entry() : E_UNEXPECTED;
}

class ComRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override { WipeRegistry(Registry::Instance()); }
};

TEST_F(ComRuntimeTest, AnUnregisteredClassIsFoundBesideTheProgram) {
    for (const char* progId : {"KaleidPixload.KaleidPixload", "kaleidpixload.kaleidpixload.1"}) {
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << CoLastErrorText();
        EXPECT_EQ(clsid, CLSID_KaleidPixload);
    }
    ComPtr<IKaleidPixload> loader;
    ASSERT_EQ(CoCreateInstance(CLSID_KaleidPixload, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IKaleidPixload, loader.PutVoid()),
              S_OK)
        << CoLastErrorText();
    EXPECT_EQ(CoLastErrorText(), "");
}

TEST_F(ComRuntimeTest, ARegisteredClassIsFoundThroughTheRegistryOnly) {
    ASSERT_NE(TestServerHandle(), nullptr) << dlerror();
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID("TavsimTest.Gadget", &clsid), CO_E_CLASSSTRING);
    ComPtr<IDispatch> gadget;
    EXPECT_EQ(
        CoCreateInstance(CLSID_TestGadget, nullptr, CLSCTX_ALL, IID_IDispatch, gadget.PutVoid()),
        REGDB_E_CLASSNOTREG);
    EXPECT_NE(CoLastErrorText().find(CLSID_TestGadget.ToString()), std::string::npos);

    ASSERT_EQ(CallTestServer("DllRegisterServer"), S_OK);
    // The version-independent ProgID leads to the class through CurVer.
    ASSERT_EQ(CLSIDFromProgID("TavsimTest.Gadget", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TestGadget);
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, gadget.PutVoid()), S_OK);
    VARIANT answer;
    DISPPARAMS none;
    ASSERT_EQ(gadget->Invoke(1, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &none, &answer,
                             nullptr, nullptr),
              S_OK);
    EXPECT_EQ(answer.lVal(), 42);

    ASSERT_EQ(CallTestServer("DllUnregisterServer"), S_OK);
    EXPECT_EQ(CLSIDFromProgID("TavsimTest.Gadget.1", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(
        CoCreateInstance(CLSID_TestGadget, nullptr, CLSCTX_ALL, IID_IDispatch, gadget.PutVoid()),
        REGDB_E_CLASSNOTREG);
}

TEST_F(ComRuntimeTest, AStaleRegistrationFallsBackToTheProgramFolder) {
    Registry& registry = Registry::Instance();
    registry.SetString(HKCR, "CLSID\\" + CLSID_KaleidPixload.ToString() + "\\InprocServer32", "",
                       "/nonexistent/libpixload.so");
    ComPtr<IUnknown> loader;
    EXPECT_EQ(CoCreateInstance(CLSID_KaleidPixload, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               loader.PutVoid()),
              S_OK);

    // A class that only a missing library could serve names that library.
    registry.SetString(HKCR, "CLSID\\" + CLSID_TestGadget.ToString() + "\\InprocServer32", "",
                       "/nonexistent/libgadget.so");
    EXPECT_EQ(CoCreateInstance(CLSID_TestGadget, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               loader.PutVoid()),
              CO_E_DLLNOTFOUND);
    EXPECT_NE(CoLastErrorText().find("/nonexistent/libgadget.so"), std::string::npos)
        << CoLastErrorText();
}

// Looking for a class, the loader runs code only from the library that serves it, and only
// from an absolute path: a library beside a double-clicked document must not run.
TEST_F(ComRuntimeTest, RunsNoLibraryThatDoesNotServeTheClass) {
    ASSERT_TRUE(fs::exists(Bin("libtavsim_test_trap.so")));
    const std::string key = "CLSID\\" + CLSID_TestGadget.ToString() + "\\InprocServer32";
    const fs::path here = fs::current_path();
    fs::current_path(InprocServerLoader::ProgramFolder());
    // Relative paths, each of which names the trap in the working folder.
    for (const char* registered :
         {"./libtavsim_test_trap.so", "libtavsim_test_trap.so", "../bin/libtavsim_test_trap.so"}) {
        SCOPED_TRACE(registered);
        Registry::Instance().SetString(HKCR, key, "", registered);
        ComPtr<IUnknown> object;
        EXPECT_EQ(CoCreateInstance(CLSID_TestGadget, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   object.PutVoid()),
                  CO_E_DLLNOTFOUND);
        EXPECT_NE(CoLastErrorText().find(CLSID_TestGadget.ToString()), std::string::npos);
        EXPECT_NE(CoLastErrorText().find("\"" + std::string(registered) +
                                         "\" onder InprocServer32 is niet absoluut"),
                  std::string::npos)
            << CoLastErrorText();
        EXPECT_EQ(std::getenv("TAVSIM_TRAP_LOADED"), nullptr) << "the trap library ran";
    }
    fs::current_path(here);
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID("No.Such.Class", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID("KaleidPixload.KaleidPixload", &clsid), S_OK);
    EXPECT_EQ(std::getenv("TAVSIM_TRAP_LOADED"), nullptr) << "the trap library ran";
}

TEST_F(ComRuntimeTest, RefusesBadRequests) {
    struct Row {
        const char* what;
        std::uint32_t context;
        IUnknown* outer;
        IID iid;
        bool withOutput;
        HRESULT expected;
    };
    ComPtr<IUnknown> someone;
    ASSERT_EQ(
        CoCreateInstance(CLSID_KaleidPixload, nullptr, CLSCTX_ALL, IID_IUnknown, someone.PutVoid()),
        S_OK);
    const Row rows[] = {
        {"no output", CLSCTX_ALL, nullptr, IID_IUnknown, false, E_POINTER},
        {"aggregation", CLSCTX_ALL, someone.Get(), IID_IUnknown, true, CLASS_E_NOAGGREGATION},
        {"out of process", CLSCTX_LOCAL_SERVER, nullptr, IID_IUnknown, true, REGDB_E_CLASSNOTREG},
    };
    for (const Row& row : rows) {
        void* out = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(CoCreateInstance(CLSID_KaleidPixload, row.outer, row.context, row.iid,
                                   row.withOutput ? &out : nullptr),
                  row.expected)
            << row.what;
        if (row.withOutput) {
            EXPECT_EQ(out, nullptr) << row.what;
        }
    }
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID("KaleidPixload.KaleidPixload", nullptr), E_POINTER);
    for (const char* progId : {"", "No.Such.Class", "KaleidPixload.KaleidPixload\\CLSID"}) {
        EXPECT_EQ(CLSIDFromProgID(progId, &clsid), CO_E_CLASSSTRING) << progId;
        EXPECT_NE(CoLastErrorText(), "");
    }
}

TEST(InprocServerLoader, RecognisesLibrariesByTheirExports) {
    const fs::path folder = fs::temp_directory_path() / ("tavsim-elf-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "text.so") << "not a library\n";
    {
        std::ifstream in(Bin("libpixload.so"), std::ios::binary);
        std::array<char, 4096> head{};
        in.read(head.data(), head.size());
        std::ofstream(folder / "truncated.so", std::ios::binary).write(head.data(), head.size());
    }
    struct Row {
        std::string path;
        const char* function;
        bool expected;
    };
    const Row rows[] = {
        {Bin("libpixload.so"), "DllGetClassObject", true},
        {Bin("libtavsim_registry.so"), "DllGetClassObject", false},
        {TAVSIM_TEST_SERVER, "DllCanUnloadNow", true},
        {(folder / "text.so").string(), "DllGetClassObject", false},
        {(folder / "truncated.so").string(), "DllGetClassObject", false},
        {"/nonexistent.so", "DllGetClassObject", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(InprocServerLoader::ExportsFunction(row.path, row.function), row.expected)
            << row.path << " " << row.function;
    }
    // The class list, read from the file: the class, its ProgID and version-independent one.
    EXPECT_EQ(InprocServerLoader::ExportedText(Bin("libpixload.so"), "TavsimServerClasses"),
              "{20FA4677-FEE0-11D5-B550-D1D72E725270} KaleidPixload.KaleidPixload.1 "
              "KaleidPixload.KaleidPixload\n");
    EXPECT_EQ(InprocServerLoader::ExportedText(Bin("libpixload.so"), "DllGetClassObject"),
              std::nullopt);
    EXPECT_EQ(
        InprocServerLoader::ExportedText(Bin("libtavsim_test_trap.so"), "TavsimServerClasses"),
        std::nullopt);
    fs::remove_all(folder);
}

} // namespace
