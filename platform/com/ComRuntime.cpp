#include "platform/com/ComRuntime.h"

#include "platform/com/ComPtr.h"
#include "platform/com/IClassFactory.h"
#include "platform/com/InprocServerLoader.h"

namespace {

thread_local std::string lastErrorText;

HRESULT Finish(HRESULT hr, std::string text) {
    lastErrorText = SUCCEEDED(hr) ? std::string{} : std::move(text);
    return hr;
}

} // namespace

HRESULT CoGetClassObject(REFCLSID clsid, std::uint32_t context, REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return Finish(E_POINTER, "Geen plaats voor het resultaat");
    }
    *ppv = nullptr;
    if ((context & CLSCTX_INPROC_SERVER) == 0) {
        return Finish(REGDB_E_CLASSNOTREG,
                      "Klasse " + clsid.ToString() + " bestaat alleen binnen het proces");
    }
    std::string error;
    const HRESULT hr = InprocServerLoader::Instance().GetClassObject(clsid, riid, ppv, error);
    return Finish(hr, std::move(error));
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, std::uint32_t context, REFIID riid,
                         void** ppv) {
    if (ppv == nullptr) {
        return Finish(E_POINTER, "Geen plaats voor het resultaat");
    }
    *ppv = nullptr;
    ComPtr<IClassFactory> factory;
    const HRESULT got = CoGetClassObject(clsid, context, IID_IClassFactory, factory.PutVoid());
    if (FAILED(got)) {
        return got;
    }
    const HRESULT hr = factory->CreateInstance(outer, riid, ppv);
    return Finish(hr, "Klasse " + clsid.ToString() + " kan geen object maken");
}

HRESULT CLSIDFromProgID(std::string_view progId, CLSID* clsid) {
    std::string error = "Geen plaats voor het resultaat";
    const HRESULT hr = InprocServerLoader::Instance().ClassFromProgID(progId, clsid, error);
    return Finish(hr, std::move(error));
}

std::string CoLastErrorText() {
    return lastErrorText;
}
