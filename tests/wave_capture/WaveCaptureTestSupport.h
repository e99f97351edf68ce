#pragma once
// What the tests of the capture controls share: virtual inputs stepped by hand, controls made
// through the component runtime in a container window, and calls by name.

#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/IHostedControl.h"
#include "platform/wave/WaveInDevices.h"
#include "platform/wave/WaveInEvent.h"
#include "wave_capture/ITheWaveIn2.h"
#include "wave_capture/IVolWaveIn.h"

#include <QCoreApplication>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

/// Uses the virtual inputs of `spec`, stepped by hand, for one test.
class HandSteppedInputs {
public:
    explicit HandSteppedInputs(const char* spec) {
        setenv("TAVSIM_WAVE_INPUTS", spec, 1);
        WaveInDevices::Instance().Reload();
        WaveInDevices::Instance().SetStepByHand(true);
    }
    ~HandSteppedInputs() {
        WaveInDevices::Instance().Shutdown();
        unsetenv("TAVSIM_WAVE_INPUTS");
        WaveInDevices::Instance().Reload();
    }
    HandSteppedInputs(const HandSteppedInputs&) = delete;
    HandSteppedInputs& operator=(const HandSteppedInputs&) = delete;
};

/// Hands every pending device notification to its control.
inline void DeliverNotifications() {
    QCoreApplication::sendPostedEvents(nullptr, WaveInEvent::EventType());
}

/// Device numbers of the calls (0-based) for a control's 1-based InSelected.
inline std::uint32_t DeviceOf(std::int32_t selected) {
    return static_cast<std::uint32_t>(selected - 1);
}

/// A new control of `clsid` as `Interface`, with its window in `container`.
template <class Interface>
ComPtr<Interface> MakeControl(REFCLSID clsid, REFIID iid, QWidget& container) {
    ComPtr<Interface> control;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, control.PutVoid()), S_OK)
        << CoLastErrorText();
    if (control) {
        ComPtr<IHostedControl> hosted;
        EXPECT_EQ(control->QueryInterface(IID_IHostedControl, hosted.PutVoid()), S_OK);
        if (hosted) {
            EXPECT_EQ(hosted->CreateControlWindow(&container), S_OK);
        }
    }
    return control;
}

/// Calls member `name` by name with `args` (call order); the result, or VT_ERROR with the
/// failure code.
inline VARIANT CallByName(IDispatch* object, const char* name, std::vector<VARIANT> args = {},
                          std::uint16_t flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET) {
    DISPID id = DISPID_UNKNOWN;
    const HRESULT found = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(found)) {
        return VARIANT::Error(found);
    }
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<std::uint32_t>(reversed.size()), 0};
    VARIANT result;
    EXCEPINFO exception;
    std::uint32_t badArgument = 0;
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result,
                                      &exception, &badArgument);
    return FAILED(hr) ? VARIANT::Error(hr) : result;
}
