#include "tests/com/TestServer.h"

#include "platform/com/DispatchObject.h"
#include "platform/com/ServerExports.h"

namespace {

// Shaped like the capture library's scripts: the version-independent ProgID leads to the
// class only through CurVer.
constexpr const char* kScript = R"(
HKCR
{
    TavsimTest.Gadget.1 = s 'TestGadget Class'
    {
        CLSID = s '{5A1E0001-7AB5-4C0D-9E11-000000000001}'
    }
    TavsimTest.Gadget = s 'TestGadget Class'
    {
        CurVer = s 'TavsimTest.Gadget.1'
    }
    NoRemove CLSID
    {
        ForceRemove {5A1E0001-7AB5-4C0D-9E11-000000000001} = s 'TestGadget Class'
        {
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
        }
    }
}
)";

ServerModule& TestServerModule();

class TestGadget final : public DispatchObject {
public:
    TestGadget() : DispatchObject(IID_ITestGadget), lock_(TestServerModule()) {
        AddMember("Answer", 1, 0, [](DispatchArgs, VARIANT* result) {
            if (result != nullptr) {
                *result = VARIANT::I4(42);
            }
            return S_OK;
        });
    }

private:
    ServerModule::ObjectLock lock_;
};

IUnknown* CreateTestGadget() {
    return new TestGadget();
}

ServerModule& TestServerModule() {
    static const char anchor = 0;
    static ServerModule module(
        {ClassEntry{CLSID_TestGadget, "TavsimTest.Gadget.1", "TavsimTest.Gadget",
                    "TestGadget Class", kScript, &CreateTestGadget}},
        nullptr, &anchor);
    return module;
}

} // namespace

TAVSIM_SERVER_EXPORTS(TestServerModule)
