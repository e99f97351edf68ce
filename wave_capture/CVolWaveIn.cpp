#include "wave_capture/CVolWaveIn.h"

#include "wave_capture/WavGrab2Module.h"

#include <new>

CVolWaveIn::CVolWaveIn()
    : DispatchObject(IID_IVolWaveIn), CWaveInControl("VolWaveIn"), moduleLock_(WavGrab2Module()) {
    auto integer = [](HRESULT hr, std::int32_t value, VARIANT* result) {
        if (result != nullptr && SUCCEEDED(hr)) {
            *result = VARIANT::I4(value);
        }
        return hr;
    };
    auto boolean = [](HRESULT hr, VARIANT_BOOL value, VARIANT* result) {
        if (result != nullptr && SUCCEEDED(hr)) {
            *result = VARIANT::Bool(value != VARIANT_FALSE);
        }
        return hr;
    };
    AddMember("InCount", DISPID_InCount, 0, [this, integer](DispatchArgs, VARIANT* result) {
        std::int32_t value = 0;
        const HRESULT hr = InCount(&value);
        return integer(hr, value, result);
    });
    AddMember("InName", DISPID_InName, 1, [this](DispatchArgs args, VARIANT* result) {
        std::int32_t nr = 0;
        if (const HRESULT bad = ArgToLong(args, 0, nr); FAILED(bad)) {
            return bad;
        }
        std::string name;
        const HRESULT hr = InName(nr, &name);
        if (result != nullptr && SUCCEEDED(hr)) {
            *result = VARIANT::Str(std::move(name));
        }
        return hr;
    });
    AddMember("InSelected", DISPID_InSelected, 0, [this, integer](DispatchArgs, VARIANT* result) {
        std::int32_t value = 0;
        const HRESULT hr = get_InSelected(&value);
        return integer(hr, value, result);
    });
    AddMember("Start", DISPID_Start, 0, [this](DispatchArgs, VARIANT*) { return Start(); });
    AddMember("End", DISPID_End, 0, [this](DispatchArgs, VARIANT*) { return End(); });
    AddMember("Running", DISPID_Running, 0, [this, boolean](DispatchArgs, VARIANT* result) {
        VARIANT_BOOL value = VARIANT_FALSE;
        const HRESULT hr = get_Running(&value);
        return boolean(hr, value, result);
    });
    AddMember("InputVolume", DISPID_InputVolume, 0, [this, integer](DispatchArgs, VARIANT* result) {
        std::int32_t value = 0;
        const HRESULT hr = get_InputVolume(&value);
        return integer(hr, value, result);
    });
    AddMember("InValid", DISPID_VolInValid, 1, [this, boolean](DispatchArgs args, VARIANT* result) {
        std::int32_t nr = 0;
        if (const HRESULT bad = ArgToLong(args, 0, nr); FAILED(bad)) {
            return bad;
        }
        VARIANT_BOOL value = VARIANT_FALSE;
        const HRESULT hr = InValid(nr, &value);
        return boolean(hr, value, result);
    });
}

CVolWaveIn::~CVolWaveIn() {
    End();
}

IUnknown* CVolWaveIn::Create() {
    return static_cast<IVolWaveIn*>(new (std::nothrow) CVolWaveIn());
}

HRESULT CVolWaveIn::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IVolWaveIn) {
        *ppv = static_cast<IVolWaveIn*>(this);
    } else if (riid == IID_IHostedControl) {
        *ppv = static_cast<IHostedControl*>(this);
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

std::uint32_t CVolWaveIn::AddRef() {
    return DispatchObject::AddRef();
}

std::uint32_t CVolWaveIn::Release() {
    return DispatchObject::Release();
}

HRESULT CVolWaveIn::GetTypeInfoCount(std::uint32_t* pctinfo) {
    return DispatchObject::GetTypeInfoCount(pctinfo);
}

HRESULT CVolWaveIn::GetIDsOfNames(REFIID riid, const char* const* rgszNames, std::uint32_t cNames,
                                  LCID lcid, DISPID* rgDispId) {
    return DispatchObject::GetIDsOfNames(riid, rgszNames, cNames, lcid, rgDispId);
}

HRESULT CVolWaveIn::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, std::uint16_t wFlags,
                           DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                           std::uint32_t* puArgErr) {
    if (dispIdMember == DISPID_InSelected && (wFlags & DISPATCH_PROPERTYPUT) != 0) {
        return InvokePut(pDispParams, puArgErr,
                         [this](std::int32_t value) { return put_InSelected(value); });
    }
    return DispatchObject::Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult,
                                  pExcepInfo, puArgErr);
}

HRESULT CVolWaveIn::InCount(std::int32_t* pVal) {
    return DoInCount(pVal);
}

HRESULT CVolWaveIn::InName(std::int32_t Nr, std::string* pVal) {
    return DoInName(Nr, pVal, false);
}

HRESULT CVolWaveIn::InValid(std::int32_t Nr, VARIANT_BOOL* pVal) {
    return DoInValid(Nr, pVal);
}

HRESULT CVolWaveIn::get_InSelected(std::int32_t* pVal) {
    if (pVal == nullptr) {
        return E_POINTER;
    }
    *pVal = m_nSelected;
    return S_OK;
}

HRESULT CVolWaveIn::put_InSelected(std::int32_t newVal) {
    m_nSelected = newVal;
    return S_OK;
}

HRESULT CVolWaveIn::Start() {
    End();
    return OpenAndStart(false);
}

HRESULT CVolWaveIn::End() {
    CloseDevice();
    return S_OK;
}

HRESULT CVolWaveIn::get_Running(VARIANT_BOOL* pVal) {
    if (pVal == nullptr) {
        return E_POINTER;
    }
    *pVal = m_bRunning ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT CVolWaveIn::get_InputVolume(std::int32_t* pVal) {
    if (pVal == nullptr) {
        return E_POINTER;
    }
    *pVal = m_nLevel;
    return S_OK;
}

HRESULT CVolWaveIn::OnWIMData(WAVEHDR* header) {
    CopyBuffer(*header);
    bool requeued = true;
    switch (m_nPhase) {
    case 1:
        requeued = Requeue(m_hdrA);
        m_nPhase = 2;
        break;
    case 2:
        requeued = Requeue(m_hdrB);
        m_nPhase = 1;
        break;
    default:
        ++m_nPhase;
        break;
    }
    if (!requeued) {
        ReportRequeueFailure();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CVolWaveIn::CreateControlWindow(QWidget* container) {
    return MakeWindow(container);
}

QWidget* CVolWaveIn::ControlWindow() {
    return Window();
}
