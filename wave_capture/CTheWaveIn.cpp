#include "wave_capture/CTheWaveIn.h"

#include "wave_capture/WavGrab2Module.h"

#include <cmath>
#include <new>

namespace {

/// 2π and 1/44100 as single-precision constants.
constexpr float kTwoPi = 6.2831855f;
constexpr float kInverseRate = 0.000022675737f;
/// Step of the phase grid of GetFaseByFreq (single precision; not π/2000).
constexpr float kPhaseStep = 0.00157075f;

/// trunc(sin(i·w) × 1024) and trunc(cos(i·w) × 1024), as the tables hold them.
std::int32_t SineEntry(int i, float w) {
    const double value = std::sin(static_cast<double>(static_cast<float>(i) * w)) * 1024.0;
    return std::isnan(value) ? 0 : static_cast<std::int32_t>(value);
}

std::int32_t CosineEntry(int i, float w) {
    const double value = std::cos(static_cast<double>(static_cast<float>(i) * w)) * 1024.0;
    return std::isnan(value) ? 0 : static_cast<std::int32_t>(value);
}

HRESULT ArgToFloat(DispatchArgs args, std::size_t index, float& out) {
    VARIANT converted;
    const HRESULT hr = args[index].ChangeType(converted, VT_R4);
    if (FAILED(hr)) {
        return hr;
    }
    out = converted.fltVal();
    return S_OK;
}

} // namespace

CTheWaveIn::CTheWaveIn()
    : WaveInControlObject(IID_ITheWaveIn2, "TheWaveIn2"), moduleLock_(WavGrab2Module()) {
    AddMember("CalcFreq", DISPID_CalcFreq, 1, [this](DispatchArgs args, VARIANT* result) {
        float freq = 0.0f;
        if (const HRESULT bad = ArgToFloat(args, 0, freq); FAILED(bad)) {
            return bad;
        }
        std::int32_t value = 0;
        const HRESULT hr = CalcFreq(freq, &value);
        return Integer(hr, value, result);
    });
    AddMember("GetFaseByFreq", DISPID_GetFaseByFreq, 1, [this](DispatchArgs args, VARIANT* result) {
        float freq = 0.0f;
        if (const HRESULT bad = ArgToFloat(args, 0, freq); FAILED(bad)) {
            return bad;
        }
        float value = 0.0f;
        const HRESULT hr = GetFaseByFreq(freq, &value);
        if (result != nullptr && SUCCEEDED(hr)) {
            *result = VARIANT::R4(value);
        }
        return hr;
    });
    AddMember("SubSine", DISPID_SubSine, 3, [this](DispatchArgs args, VARIANT*) {
        float values[3] = {};
        for (std::size_t i = 0; i < 3; ++i) {
            if (const HRESULT bad = ArgToFloat(args, i, values[i]); FAILED(bad)) {
                return bad;
            }
        }
        return SubSine(values[0], values[1], values[2]);
    });
    AddMember("GetWaveData", DISPID_GetWaveData, 1, [this](DispatchArgs args, VARIANT* result) {
        std::int32_t index = 0;
        if (const HRESULT bad = ArgToLong(args, 0, index); FAILED(bad)) {
            return bad;
        }
        std::int32_t value = 0;
        const HRESULT hr = GetWaveData(index, &value);
        return Integer(hr, value, result);
    });
    AddMember("WaveDataSize", DISPID_WaveDataSize, 0, [this](DispatchArgs, VARIANT* result) {
        std::int32_t value = 0;
        const HRESULT hr = WaveDataSize(&value);
        return Integer(hr, value, result);
    });
    AddMember("InValid", DISPID_InValid, 1, [this](DispatchArgs args, VARIANT* result) {
        std::int32_t nr = 0;
        if (const HRESULT bad = ArgToLong(args, 0, nr); FAILED(bad)) {
            return bad;
        }
        VARIANT_BOOL value = VARIANT_FALSE;
        const HRESULT hr = InValid(nr, &value);
        return Boolean(hr, value, result);
    });
}

CTheWaveIn::~CTheWaveIn() {
    End();
    for (int slot = 0; slot < kSlots; ++slot) {
        m_freq[slot] = 0.0f;
        m_sinTable[slot].reset();
        m_cosTable[slot].reset();
    }
}

IUnknown* CTheWaveIn::Create() {
    return static_cast<ITheWaveIn2*>(new (std::nothrow) CTheWaveIn());
}

HRESULT CTheWaveIn::InName(std::int32_t Nr, std::string* pVal) {
    return DoInName(Nr, pVal, true);
}

HRESULT CTheWaveIn::Start() {
    End();
    return OpenAndStart(true);
}

HRESULT CTheWaveIn::End() {
    if (m_hWaveIn != nullptr) {
        m_nPhase = 3;
        CloseDevice();
        m_bRunning = false;
    }
    return S_OK;
}

HRESULT CTheWaveIn::OnWIMData(WAVEHDR* header) {
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
    if (m_nPhase < 3) {
        CopyBuffer(*header);
    }
    if (!requeued) {
        ReportRequeueFailure();
        return E_FAIL;
    }
    return S_OK;
}

int CTheWaveIn::FindSlot(float freq) const {
    if (!(freq != 0.0f)) {
        return -1;
    }
    for (int slot = kSlots - 1; slot >= 0; --slot) {
        if (m_freq[slot] == freq) {
            return slot;
        }
    }
    return -1;
}

HRESULT CTheWaveIn::CalcFreq(float freq, std::int32_t* pVal) {
    if (pVal == nullptr) {
        return E_POINTER;
    }
    const float w = freq * kTwoPi * kInverseRate;
    int slot = FindSlot(freq);
    if (slot < 0 && freq != 0.0f && !std::isnan(freq)) {
        for (int free = 0; free < kSlots; ++free) {
            if (m_freq[free] == 0.0f) {
                auto sine =
                    std::unique_ptr<std::int32_t[]>(new (std::nothrow) std::int32_t[kTableLength]);
                auto cosine =
                    std::unique_ptr<std::int32_t[]>(new (std::nothrow) std::int32_t[kTableLength]);
                if (sine && cosine) {
                    for (int i = 0; i < kTableLength; ++i) {
                        sine[i] = SineEntry(i, w);
                        cosine[i] = CosineEntry(i, w);
                    }
                    m_freq[free] = freq;
                    m_sinTable[free] = std::move(sine);
                    m_cosTable[free] = std::move(cosine);
                    slot = free;
                }
                break;
            }
        }
    }
    const std::int32_t n = std::min<std::int32_t>(m_nDataSize, kTableLength);
    if (n <= 0) {
        if (slot >= 0) {
            m_sinPart[slot] = 0.0f;
            m_cosPart[slot] = 0.0f;
        }
        *pVal = 0;
        return S_OK;
    }
    const auto* d = reinterpret_cast<const std::uint8_t*>(m_pData.get());
    std::int32_t S = 0;
    std::int32_t C = 0;
    if (slot >= 0) {
        const std::int32_t* sine = m_sinTable[slot].get();
        const std::int32_t* cosine = m_cosTable[slot].get();
        for (std::int32_t i = 0; i < n; ++i) {
            const std::int32_t sample = static_cast<std::int32_t>(d[i]) - 128;
            S += sample * sine[i];
            C += sample * cosine[i];
        }
    } else {
        // No slot to keep the tables in: the same sums, with the entries made on the way.
        for (std::int32_t i = 0; i < n; ++i) {
            const std::int32_t sample = static_cast<std::int32_t>(d[i]) - 128;
            S += sample * SineEntry(i, w);
            C += sample * CosineEntry(i, w);
        }
    }
    const double scale = static_cast<double>(n) * 1024.0;
    const float a = static_cast<float>(static_cast<double>(S) / scale);
    const float b = static_cast<float>(static_cast<double>(C) / scale);
    const float m = std::sqrt(a * a + b * b);
    if (slot >= 0) {
        m_sinPart[slot] = m > 0.0f ? a / m : 0.0f;
        m_cosPart[slot] = m > 0.0f ? b / m : 0.0f;
    }
    *pVal = static_cast<std::int32_t>(m * 32.0f);
    return S_OK;
}

HRESULT CTheWaveIn::GetFaseByFreq(float freq, float* pVal) {
    if (pVal == nullptr) {
        return E_POINTER;
    }
    const int slot = FindSlot(freq);
    if (slot < 0) {
        return E_FAIL;
    }
    float v = m_sinPart[slot] < 0.0f ? -m_cosPart[slot] : m_cosPart[slot];
    v = std::clamp(v, -1.0f, 1.0f);
    for (int i = 0; i < 2000; ++i) {
        const float angle = static_cast<float>(i) * kPhaseStep;
        if (-std::cos(static_cast<double>(angle)) >= v) {
            *pVal = angle;
            return S_OK;
        }
    }
    *pVal = -1.0f;
    return S_OK;
}

HRESULT CTheWaveIn::SubSine(float freq, float volume, float phase) {
    const double w =
        static_cast<double>(freq) * static_cast<double>(kTwoPi) * static_cast<double>(kInverseRate);
    auto* d = reinterpret_cast<std::uint8_t*>(m_pData.get());
    for (int i = 0; i < kTableLength; ++i) {
        const double value =
            static_cast<double>(d[i]) -
            std::sin(i * w + static_cast<double>(phase)) * static_cast<double>(volume) * 0.03125;
        if (!std::isfinite(value)) {
            continue;
        }
        // The low 8 bits of the value truncated toward zero, also far outside 32 bits.
        double low = std::fmod(std::trunc(value), 256.0);
        if (low < 0.0) {
            low += 256.0;
        }
        d[i] = static_cast<std::uint8_t>(low);
    }
    return S_OK;
}

HRESULT CTheWaveIn::GetWaveData(std::int32_t index, std::int32_t* pVal) {
    if (pVal == nullptr) {
        return E_POINTER;
    }
    if (index < 0 || index >= static_cast<std::int32_t>(kBlockSize)) {
        return E_INVALIDARG;
    }
    *pVal = static_cast<std::uint8_t>(m_pData[index]);
    return S_OK;
}

HRESULT CTheWaveIn::WaveDataSize(std::int32_t* pVal) {
    if (pVal == nullptr) {
        return E_POINTER;
    }
    *pVal = m_nDataSize;
    return S_OK;
}

int CTheWaveIn::TablesInUse() const {
    int used = 0;
    for (const auto& table : m_sinTable) {
        used += table ? 1 : 0;
    }
    return used;
}
