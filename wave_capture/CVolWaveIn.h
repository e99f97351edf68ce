#pragma once
// The volume meter control VolWaveIn: captures one wave input and measures its level only.

#include "platform/com/DispatchObject.h"
#include "platform/com/IHostedControl.h"
#include "platform/com/ServerModule.h"
#include "wave_capture/CWaveInControl.h"
#include "wave_capture/IVolWaveIn.h"

class CVolWaveIn final : public DispatchObject,
                         public IVolWaveIn,
                         public IHostedControl,
                         private CWaveInControl {
public:
    /// A new control with one reference, as its IUnknown.
    static IUnknown* Create();

    /// Answers IUnknown, IDispatch, IVolWaveIn and IHostedControl.
    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    HRESULT GetTypeInfoCount(std::uint32_t* pctinfo) override;
    HRESULT GetIDsOfNames(REFIID riid, const char* const* rgszNames, std::uint32_t cNames,
                          LCID lcid, DISPID* rgDispId) override;
    /// Also sets InSelected with DISPATCH_PROPERTYPUT.
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, std::uint16_t wFlags,
                   DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                   std::uint32_t* puArgErr) override;

    HRESULT InCount(std::int32_t* pVal) override;
    HRESULT InName(std::int32_t Nr, std::string* pVal) override;
    HRESULT get_InSelected(std::int32_t* pVal) override;
    HRESULT put_InSelected(std::int32_t newVal) override;
    HRESULT Start() override;
    HRESULT End() override;
    HRESULT get_Running(VARIANT_BOOL* pVal) override;
    HRESULT get_InputVolume(std::int32_t* pVal) override;
    HRESULT InValid(std::int32_t Nr, VARIANT_BOOL* pVal) override;

    HRESULT CreateControlWindow(QWidget* container) override;
    QWidget* ControlWindow() override;

private:
    CVolWaveIn();
    ~CVolWaveIn() override;

    HRESULT OnWIMData(WAVEHDR* header) override;

    ServerModule::ObjectLock moduleLock_;
};
