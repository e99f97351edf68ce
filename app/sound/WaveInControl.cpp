#include "app/sound/WaveInControl.h"

#include "platform/com/ComRuntime.h"
#include "platform/com/IHostedControl.h"

#include <cstdio>
#include <utility>

namespace {

const char* const kMemberNames[] = {"InCount", "InName",      "InSelected",
                                    "Start",   "InputVolume", "InValid"};

WaveInControl::Maker& InstalledMaker() {
    static WaveInControl::Maker maker;
    return maker;
}

std::string Hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(hr));
    return text;
}

HRESULT MakeByProgId(ComPtr<IDispatch>& control, std::string& why) {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(WaveInControl::kProgId, &clsid);
    if (SUCCEEDED(hr)) {
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              control.PutVoid());
    }
    if (SUCCEEDED(hr) && control) {
        return S_OK;
    }
    if (hr == CO_E_CLASSSTRING || hr == REGDB_E_CLASSNOTREG) {
        why = "de geluidsbibliotheek WavGrab2 is niet gevonden";
    } else if (hr == CO_E_DLLNOTFOUND) {
        why = "de geluidsbibliotheek WavGrab2 kan niet worden geladen";
    } else {
        why = "de geluidsbibliotheek WavGrab2 kan geen opnameregelaar maken (" + Hex(hr) + ")";
    }
    // The whole story, with the class and the files, for whoever looks into it.
    std::fprintf(stderr, "tavsim: %s kan niet worden gemaakt: %s (%s)\n", WaveInControl::kProgId,
                 CoLastErrorText().c_str(), Hex(hr).c_str());
    return FAILED(hr) ? hr : E_FAIL;
}

} // namespace

void WaveInControl::InstallMaker(Maker maker) {
    InstalledMaker() = std::move(maker);
}

std::unique_ptr<WaveInControl> WaveInControl::Create(QWidget* container, std::string& why) {
    ComPtr<IDispatch> control;
    const Maker& maker = InstalledMaker();
    if (FAILED(maker ? maker(control, why) : MakeByProgId(control, why))) {
        return nullptr;
    }
    if (!control) {
        why = "de geluidsbibliotheek WavGrab2 gaf geen opnameregelaar";
        return nullptr;
    }
    ComPtr<IHostedControl> hosted;
    if (FAILED(control.As(IID_IHostedControl, hosted)) || !hosted) {
        why = "de opnameregelaar " + std::string(kProgId) + " heeft geen eigen venster";
        return nullptr;
    }
    if (const HRESULT hr = hosted->CreateControlWindow(container); FAILED(hr)) {
        why = "het venster van " + std::string(kProgId) + " kan niet worden gemaakt (" + Hex(hr) +
              ")";
        return nullptr;
    }
    std::unique_ptr<WaveInControl> result(new WaveInControl(std::move(control), std::move(hosted)));
    for (int m = 0; m < kMemberCount; ++m) {
        const char* const name = kMemberNames[m];
        if (FAILED(result->control_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT,
                                                   &result->ids_[m]))) {
            why = "de opnameregelaar " + std::string(kProgId) + " kent " + name + " niet";
            return nullptr;
        }
    }
    return result;
}

WaveInControl::WaveInControl(ComPtr<IDispatch> control, ComPtr<IHostedControl> hosted)
    : control_(std::move(control)), hosted_(std::move(hosted)) {}

WaveInControl::~WaveInControl() = default;

QWidget* WaveInControl::Window() const {
    return hosted_->ControlWindow();
}

HRESULT WaveInControl::Call(Member member, std::uint16_t flags, VARIANT* args,
                            std::uint32_t argCount, VARIANT* result) {
    DISPPARAMS params;
    DISPID named = DISPID_PROPERTYPUT;
    params.rgvarg = args;
    params.cArgs = argCount;
    if (flags == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    std::uint32_t argErr = 0;
    return control_->Invoke(ids_[member], IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                            nullptr, &argErr);
}

std::int32_t WaveInControl::CallLong(Member member, std::uint16_t flags, VARIANT* args,
                                     std::uint32_t argCount) {
    result_.Clear();
    if (FAILED(Call(member, flags, args, argCount, &result_))) {
        return 0;
    }
    if (result_.vt() == VT_I4) {
        return result_.lVal();
    }
    VARIANT number;
    return SUCCEEDED(result_.ChangeType(number, VT_I4)) ? number.lVal() : 0;
}

std::int32_t WaveInControl::InCount() {
    return CallLong(kInCount, DISPATCH_METHOD, nullptr, 0);
}

std::string WaveInControl::InName(std::int32_t nr) {
    VARIANT arg = VARIANT::I4(nr);
    result_.Clear();
    if (FAILED(Call(kInName, DISPATCH_METHOD, &arg, 1, &result_)) || result_.vt() != VT_BSTR) {
        return {};
    }
    return result_.bstrVal();
}

bool WaveInControl::InValid(std::int32_t nr) {
    VARIANT arg = VARIANT::I4(nr);
    return CallLong(kInValid, DISPATCH_METHOD, &arg, 1) != 0;
}

void WaveInControl::SetInSelected(std::int32_t nr) {
    VARIANT arg = VARIANT::I4(nr);
    Call(kInSelected, DISPATCH_PROPERTYPUT, &arg, 1, nullptr);
}

bool WaveInControl::Start() {
    return SUCCEEDED(Call(kStart, DISPATCH_METHOD, nullptr, 0, nullptr));
}

std::int32_t WaveInControl::InputVolume() {
    return CallLong(kInputVolume, DISPATCH_PROPERTYGET, nullptr, 0);
}
