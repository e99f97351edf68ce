#include "platform/com/ServerModule.h"

#include "platform/com/ComPtr.h"
#include "tests/com/RegistryTree.h"

#include <gtest/gtest.h>

namespace {

constexpr CLSID kGood{0xAAAA, 0, 0, {1}};
constexpr CLSID kBroken{0xBBBB, 0, 0, {1}};
constexpr CLSID kNoObjects{0xCCCC, 0, 0, {1}};

IUnknown* MakeNothing() {
    return nullptr;
}

/// Three classes; the second one's script is unreadable.
ServerModule& Module() {
    static const TypeLibInfo typeLib{{0xEEEE, 0, 0, {1}}, "TestLib", "Test 1.0", 1, 0, {}};
    static const char anchor = 0;
    static ServerModule module(
        {ClassEntry{kGood, "Test.Good.1", "Test.Good", "Good Class",
                    "HKCR { Test.Good.1 = s 'Good Class' }", &MakeNothing},
         ClassEntry{kBroken, "Test.Broken.1", "Test.Broken", "Broken Class", "HKCR { Oops",
                    &MakeNothing},
         ClassEntry{kNoObjects, "Test.None.1", "Test.None", "None Class", "", &MakeNothing}},
        &typeLib, &anchor);
    return module;
}

TEST(ServerModule, RegistrationStopsAtTheFirstBrokenScriptAndKeepsWhatCameBefore) {
    Registry& registry = Registry::Instance();
    WipeRegistry(registry);
    EXPECT_EQ(Module().RegisterServer(), E_FAIL);
    EXPECT_NE(Module().LastError().find("Broken Class"), std::string::npos) << Module().LastError();
    Registry onDisk(registry.FilePath());
    EXPECT_EQ(RegistryTree(onDisk, RegistryRoot::ClassesRoot),
              (std::set<std::string>{"Test.Good.1", "Test.Good.1|@=Good Class"}))
        << "saved, and no type library";
}

TEST(ServerModule, FactoriesRefuseAggregationAndReportObjectsThatCannotBeMade) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(Module().GetClassObject(kNoObjects, IID_IClassFactory, factory.PutVoid()), S_OK);
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(factory->CreateInstance(factory.Get(), IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, &out), E_OUTOFMEMORY);
    EXPECT_EQ(Module().GetClassObject(kNoObjects, IID_IDispatch, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}

} // namespace
