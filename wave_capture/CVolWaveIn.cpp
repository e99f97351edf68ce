#include "wave_capture/CVolWaveIn.h"

#include "wave_capture/WavGrab2Module.h"

#include <new>

CVolWaveIn::CVolWaveIn()
    : WaveInControlObject(IID_IVolWaveIn, "VolWaveIn"), moduleLock_(WavGrab2Module()) {
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

HRESULT CVolWaveIn::InName(std::int32_t Nr, std::string* pVal) {
    return DoInName(Nr, pVal, false);
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
