#include "wave_capture/CWaveInControl.h"

#include "platform/ui/Prompter.h"

#include <cstdio>
#include <cstring>

namespace {

/// Device id of a 1-based device number (0 gives WAVE_MAPPER), without overflow.
std::uint32_t DeviceId(std::int32_t number) {
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(number) - 1);
}

std::unique_ptr<char[]> SilentBlock() {
    auto block = std::make_unique<char[]>(CWaveInControl::kBlockSize);
    std::memset(block.get(), 0x80, CWaveInControl::kBlockSize);
    return block;
}

} // namespace

CWaveInControl::CWaveInControl(const char* face)
    : m_pBufferA(SilentBlock()), m_pBufferB(SilentBlock()), m_pData(SilentBlock()),
      face_(QString::fromUtf8(face)) {}

CWaveInControl::~CWaveInControl() {
    CloseDevice();
    if (window_) {
        window_->Detach();
        delete window_.data();
    }
}

void CWaveInControl::ShowMessage(const std::string& text, const char* caption) {
    Prompter::Current().Message(text, caption, Prompter::Buttons::Ok, Prompter::Icon::None);
}

void CWaveInControl::ReportRequeueFailure() {
    ShowMessage("Error OnWIMData an action failed.", "CTheWaveIn");
}

HRESULT CWaveInControl::DoInCount(std::int32_t* pVal) {
    if (pVal == nullptr) {
        return E_POINTER;
    }
    *pVal = static_cast<std::int32_t>(waveInGetNumDevs());
    return S_OK;
}

HRESULT CWaveInControl::DoInName(std::int32_t Nr, std::string* pVal, bool warnWithoutFormats) {
    if (pVal == nullptr) {
        return E_POINTER;
    }
    WAVEINCAPS caps;
    if (waveInGetDevCaps(DeviceId(Nr), &caps, sizeof caps) != MMSYSERR_NOERROR) {
        pVal->clear();
        return S_OK;
    }
    if (warnWithoutFormats && caps.dwFormats == 0) {
        ShowMessage("Don't support 44.100 kHz, Mono, 8-bit", "InName");
    }
    *pVal = std::string(caps.szPname, strnlen(caps.szPname, sizeof caps.szPname));
    return S_OK;
}

HRESULT CWaveInControl::DoInValid(std::int32_t Nr, VARIANT_BOOL* pVal) {
    if (pVal == nullptr) {
        return E_POINTER;
    }
    WAVEINCAPS caps;
    const bool valid = waveInGetDevCaps(DeviceId(Nr), &caps, sizeof caps) == MMSYSERR_NOERROR &&
                       (caps.dwFormats & WAVE_FORMAT_4M08) != 0;
    *pVal = valid ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT CWaveInControl::OpenAndStart(bool resetPhase) {
    m_format = WAVEFORMATEX{};
    m_format.wFormatTag = WAVE_FORMAT_PCM;
    m_format.nChannels = 1;
    m_format.nSamplesPerSec = 44100;
    m_format.wBitsPerSample = 8;
    m_format.nBlockAlign = 1;
    m_format.nAvgBytesPerSec = 44100;
    m_format.cbSize = 0;

    WaveControlWindow* window = EnsureWindow();
    const MMRESULT opened =
        waveInOpen(&m_hWaveIn, DeviceId(m_nSelected), &m_format, window, 0, CALLBACK_WINDOW);
    if (opened != MMSYSERR_NOERROR) {
        m_hWaveIn = nullptr;
        char text[48];
        std::snprintf(text, sizeof text, "Error waveInOpen: %d", static_cast<int>(opened));
        ShowMessage(text, "Start");
        return E_FAIL;
    }
    if (resetPhase) {
        m_nPhase = 0;
    }
    auto setUp = [&](WAVEHDR& header, char* block) {
        header = WAVEHDR{};
        header.lpData = block;
        header.dwBufferLength = kBufferLength;
        header.dwBytesRecorded = 0;
        header.dwUser = reinterpret_cast<std::uintptr_t>(window);
        header.dwFlags = 0;
        header.dwLoops = 0;
    };
    setUp(m_hdrA, m_pBufferA.get());
    if (waveInPrepareHeader(m_hWaveIn, &m_hdrA, sizeof m_hdrA) != MMSYSERR_NOERROR) {
        ShowMessage("Error waveInPrepareHeader", "Start");
        return E_FAIL;
    }
    setUp(m_hdrB, m_pBufferB.get());
    if (waveInPrepareHeader(m_hWaveIn, &m_hdrB, sizeof m_hdrB) != MMSYSERR_NOERROR) {
        ShowMessage("Error waveInPrepareHeader 2", "Start");
        return E_FAIL;
    }
    if (waveInAddBuffer(m_hWaveIn, &m_hdrA, sizeof m_hdrA) != MMSYSERR_NOERROR) {
        ShowMessage("Error waveInAddBuffer", "Start");
        return E_FAIL;
    }
    if (waveInAddBuffer(m_hWaveIn, &m_hdrB, sizeof m_hdrB) != MMSYSERR_NOERROR) {
        ShowMessage("Error waveInAddBuffer 2", "Start");
        return E_FAIL;
    }
    if (waveInStart(m_hWaveIn) != MMSYSERR_NOERROR) {
        ShowMessage("Error waveInStart", "Start");
        return E_FAIL;
    }
    m_bRunning = true;
    return S_OK;
}

void CWaveInControl::CloseDevice() {
    if (m_hWaveIn == nullptr) {
        return;
    }
    // Stopping returns only the buffer being filled; the reset returns the other one too, so
    // that the device really closes and never writes into these blocks again.
    waveInStop(m_hWaveIn);
    waveInReset(m_hWaveIn);
    waveInUnprepareHeader(m_hWaveIn, &m_hdrA, sizeof m_hdrA);
    waveInUnprepareHeader(m_hWaveIn, &m_hdrB, sizeof m_hdrB);
    waveInClose(m_hWaveIn);
    m_hWaveIn = nullptr;
}

void CWaveInControl::CopyBuffer(const WAVEHDR& header) {
    const std::uint32_t n = std::min(header.dwBytesRecorded, kBlockSize);
    if (n > 0) {
        std::memcpy(m_pData.get(), header.lpData, n);
    }
    m_nDataSize = static_cast<std::int32_t>(n);
    if (n == 0) {
        return;
    }
    std::int32_t sum = 0;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_pData.get());
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::int32_t deviation = static_cast<std::int32_t>(bytes[i]) - 128;
        sum += deviation < 0 ? -deviation : deviation;
    }
    m_nLevel = sum * 256 / static_cast<std::int32_t>(n);
}

bool CWaveInControl::Requeue(WAVEHDR& header) {
    if (m_hWaveIn == nullptr) {
        return true;
    }
    const MMRESULT unprepared = waveInUnprepareHeader(m_hWaveIn, &header, sizeof header);
    const MMRESULT prepared = waveInPrepareHeader(m_hWaveIn, &header, sizeof header);
    const MMRESULT added = waveInAddBuffer(m_hWaveIn, &header, sizeof header);
    return unprepared == MMSYSERR_NOERROR && prepared == MMSYSERR_NOERROR &&
           added == MMSYSERR_NOERROR;
}

void CWaveInControl::Receive(const WaveInEvent& event) {
    if (event.message() != WaveInEvent::MM_WIM_DATA || event.header() == nullptr) {
        return;
    }
    // A buffer of a device closed before the present one was opened belongs to a capture
    // that has ended; it must not disturb the new one.
    if (m_hWaveIn != nullptr && event.device() != m_hWaveIn) {
        return;
    }
    OnWIMData(event.header());
}

WaveControlWindow* CWaveInControl::EnsureWindow() {
    if (!window_) {
        window_ = new WaveControlWindow(face_, [this](const WaveInEvent& e) { Receive(e); });
    }
    return window_;
}

HRESULT CWaveInControl::InvokePut(DISPPARAMS* params, std::uint32_t* puArgErr,
                                  const std::function<HRESULT(std::int32_t)>& put) {
    if (params == nullptr || params->cArgs != 1) {
        return DISP_E_BADPARAMCOUNT;
    }
    if (params->rgvarg == nullptr) {
        return E_POINTER;
    }
    if (params->cNamedArgs > 1 ||
        (params->cNamedArgs == 1 && (params->rgdispidNamedArgs == nullptr ||
                                     params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))) {
        return DISP_E_NONAMEDARGS;
    }
    VARIANT value;
    if (const HRESULT hr = params->rgvarg[0].ChangeType(value, VT_I4); FAILED(hr)) {
        if (puArgErr != nullptr) {
            *puArgErr = 0;
        }
        return hr;
    }
    return put(value.lVal());
}

HRESULT CWaveInControl::MakeWindow(QWidget* container) {
    if (container == nullptr) {
        return E_POINTER;
    }
    WaveControlWindow* window = EnsureWindow();
    if (window->parentWidget() != container) {
        window->setParent(container);
    }
    window->show();
    return S_OK;
}
