#pragma once
// The part of a capture control object that is the same for TheWaveIn2 and VolWaveIn: one
// object answering IUnknown, IDispatch, its own dual interface `Interface` and IHostedControl;
// calls by name through DispatchObject's member table (the members both have), with
// InSelected also settable as a property; and the members that only hand over to the shared
// capture machinery.

#include "platform/com/DispatchObject.h"
#include "platform/com/IHostedControl.h"
#include "wave_capture/CWaveInControl.h"
#include "wave_capture/ITheWaveIn2.h"

#include <string>
#include <utility>

template <class Interface>
class WaveInControlObject : public DispatchObject,
                            public Interface,
                            public IHostedControl,
                            protected CWaveInControl {
public:
    /// Answers IUnknown, IDispatch, the control's own interface and IHostedControl.
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == interfaceId_) {
            *ppv = static_cast<Interface*>(this);
        } else if (riid == IID_IHostedControl) {
            *ppv = static_cast<IHostedControl*>(this);
        } else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() override { return DispatchObject::AddRef(); }
    std::uint32_t Release() override { return DispatchObject::Release(); }
    HRESULT GetTypeInfoCount(std::uint32_t* pctinfo) override {
        return DispatchObject::GetTypeInfoCount(pctinfo);
    }
    HRESULT GetIDsOfNames(REFIID riid, const char* const* rgszNames, std::uint32_t cNames,
                          LCID lcid, DISPID* rgDispId) override {
        return DispatchObject::GetIDsOfNames(riid, rgszNames, cNames, lcid, rgDispId);
    }
    /// Also sets InSelected with DISPATCH_PROPERTYPUT.
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, std::uint16_t wFlags,
                   DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                   std::uint32_t* puArgErr) override {
        if (dispIdMember == DISPID_InSelected && (wFlags & DISPATCH_PROPERTYPUT) != 0) {
            return InvokePut(pDispParams, puArgErr,
                             [this](std::int32_t value) { return put_InSelected(value); });
        }
        return DispatchObject::Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult,
                                      pExcepInfo, puArgErr);
    }

    HRESULT InCount(std::int32_t* pVal) override { return DoInCount(pVal); }
    HRESULT InValid(std::int32_t Nr, VARIANT_BOOL* pVal) override { return DoInValid(Nr, pVal); }
    HRESULT get_InSelected(std::int32_t* pVal) override {
        if (pVal == nullptr) {
            return E_POINTER;
        }
        *pVal = m_nSelected;
        return S_OK;
    }
    HRESULT put_InSelected(std::int32_t newVal) override {
        m_nSelected = newVal;
        return S_OK;
    }

    HRESULT get_Running(VARIANT_BOOL* pVal) override {
        if (pVal == nullptr) {
            return E_POINTER;
        }
        *pVal = m_bRunning ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT get_InputVolume(std::int32_t* pVal) override {
        if (pVal == nullptr) {
            return E_POINTER;
        }
        *pVal = m_nLevel;
        return S_OK;
    }

    HRESULT CreateControlWindow(QWidget* container) override { return MakeWindow(container); }
    QWidget* ControlWindow() override { return Window(); }

protected:
    /// `interfaceId` is the control's own dual interface; `face` the text of its window.
    /// The members both controls have come first in the member table, in this order; the
    /// control adds its own after them.
    WaveInControlObject(const IID& interfaceId, const char* face)
        : DispatchObject(interfaceId), CWaveInControl(face), interfaceId_(interfaceId) {
        AddMember("InCount", DISPID_InCount, 0, [this](DispatchArgs, VARIANT* result) {
            std::int32_t value = 0;
            const HRESULT hr = InCount(&value);
            return Integer(hr, value, result);
        });
        AddMember("InName", DISPID_InName, 1, [this](DispatchArgs args, VARIANT* result) {
            std::int32_t nr = 0;
            if (const HRESULT bad = ArgToLong(args, 0, nr); FAILED(bad)) {
                return bad;
            }
            std::string name;
            const HRESULT hr = this->InName(nr, &name);
            if (result != nullptr && SUCCEEDED(hr)) {
                *result = VARIANT::Str(std::move(name));
            }
            return hr;
        });
        AddMember("InSelected", DISPID_InSelected, 0, [this](DispatchArgs, VARIANT* result) {
            std::int32_t value = 0;
            const HRESULT hr = get_InSelected(&value);
            return Integer(hr, value, result);
        });
        AddMember("Start", DISPID_Start, 0,
                  [this](DispatchArgs, VARIANT*) { return this->Start(); });
        AddMember("End", DISPID_End, 0, [this](DispatchArgs, VARIANT*) { return this->End(); });
        AddMember("Running", DISPID_Running, 0, [this](DispatchArgs, VARIANT* result) {
            VARIANT_BOOL value = VARIANT_FALSE;
            const HRESULT hr = get_Running(&value);
            return Boolean(hr, value, result);
        });
        AddMember("InputVolume", DISPID_InputVolume, 0, [this](DispatchArgs, VARIANT* result) {
            std::int32_t value = 0;
            const HRESULT hr = get_InputVolume(&value);
            return Integer(hr, value, result);
        });
    }

    /// `hr`, after putting `value` into `result` when there is one and the call succeeded.
    static HRESULT Integer(HRESULT hr, std::int32_t value, VARIANT* result) {
        if (result != nullptr && SUCCEEDED(hr)) {
            *result = VARIANT::I4(value);
        }
        return hr;
    }
    static HRESULT Boolean(HRESULT hr, VARIANT_BOOL value, VARIANT* result) {
        if (result != nullptr && SUCCEEDED(hr)) {
            *result = VARIANT::Bool(value != VARIANT_FALSE);
        }
        return hr;
    }

private:
    IID interfaceId_;
};
