#include "wave_capture/CVolWaveIn.h"

#include "wave_capture/WavGrab2Module.h"

#include <new>

CVolWaveIn::CVolWaveIn()
    : WaveInControlObject(IID_IVolWaveIn, "VolWaveIn"), moduleLock_(WavGrab2Module()) {
    AddMember("InValid", DISPID_VolInValid, 1, [this](DispatchArgs args, VARIANT* result) {
        std::int32_t nr = 0;
        if (const HRESULT bad = ArgToLong(args, 0, nr); FAILED(bad)) {
            return bad;
        }
        VARIANT_BOOL value = VARIANT_FALSE;
        const HRESULT hr = InValid(nr, &value);
        return Boolean(hr, value, result);
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
