#include "platform/wave/WaveIn.h"

#include "platform/wave/CaptureConverter.h"
#include "platform/wave/WaveInDevice.h"
#include "platform/wave/WaveInDevices.h"

std::uint32_t waveInGetNumDevs() {
    return WaveInDevices::Instance().Count();
}

MMRESULT waveInGetDevCaps(std::uint32_t uDeviceID, WAVEINCAPS* pwic, std::uint32_t cbwic) {
    if (pwic == nullptr || cbwic < sizeof(WAVEINCAPS)) {
        return MMSYSERR_INVALPARAM;
    }
    WAVEINCAPS caps;
    if (!WaveInDevices::Instance().Caps(uDeviceID, caps)) {
        return MMSYSERR_BADDEVICEID;
    }
    *pwic = caps;
    return MMSYSERR_NOERROR;
}

MMRESULT waveInOpen(HWAVEIN* phwi, std::uint32_t uDeviceID, const WAVEFORMATEX* pwfx,
                    QObject* target, std::uintptr_t /*dwInstance*/, std::uint32_t fdwOpen) {
    if (phwi == nullptr || pwfx == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    if ((fdwOpen & ~CALLBACK_WINDOW) != 0) {
        return MMSYSERR_INVALFLAG;
    }
    if ((fdwOpen & CALLBACK_WINDOW) != 0 && target == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    const bool captureFormat = pwfx->wFormatTag == WAVE_FORMAT_PCM && pwfx->nChannels == 1 &&
                               pwfx->nSamplesPerSec == CaptureConverter::kRate &&
                               pwfx->wBitsPerSample == 8 && pwfx->nBlockAlign == 1 &&
                               pwfx->nAvgBytesPerSec == CaptureConverter::kRate;
    WaveInDevices& devices = WaveInDevices::Instance();
    if (!captureFormat) {
        // A device that does not exist is reported as such before the format.
        WAVEINCAPS caps;
        return devices.Caps(uDeviceID, caps)
                   ? WAVERR_BADFORMAT
                   : (uDeviceID == WAVE_MAPPER ? MMSYSERR_NODRIVER : MMSYSERR_BADDEVICEID);
    }
    return devices.Open(phwi, uDeviceID, (fdwOpen & CALLBACK_WINDOW) != 0 ? target : nullptr);
}

namespace {

/// The open device of a handle and a usable header, or the error to return.
MMRESULT Check(HWAVEIN hwi, const WAVEHDR* pwh, std::uint32_t cbwh, WaveInDevice** device) {
    *device = WaveInDevices::Instance().Find(hwi);
    if (*device == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    if (pwh == nullptr || cbwh < sizeof(WAVEHDR) || pwh->lpData == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    return MMSYSERR_NOERROR;
}

/// Prepares (`prepared` true) or unprepares a header that is not queued.
MMRESULT SetPrepared(HWAVEIN hwi, WAVEHDR* pwh, std::uint32_t cbwh, WaveInDevices::Call call,
                     bool prepared) {
    WaveInDevice* device = nullptr;
    if (const MMRESULT error = Check(hwi, pwh, cbwh, &device); error != MMSYSERR_NOERROR) {
        return error;
    }
    if ((pwh->dwFlags & WHDR_INQUEUE) != 0) {
        return WAVERR_STILLPLAYING;
    }
    if (const MMRESULT injected = WaveInDevices::Instance().Injected(call);
        injected != MMSYSERR_NOERROR) {
        return injected;
    }
    if (prepared) {
        pwh->dwFlags |= WHDR_PREPARED;
    } else {
        pwh->dwFlags &= ~WHDR_PREPARED;
    }
    return MMSYSERR_NOERROR;
}

} // namespace

MMRESULT waveInPrepareHeader(HWAVEIN hwi, WAVEHDR* pwh, std::uint32_t cbwh) {
    return SetPrepared(hwi, pwh, cbwh, WaveInDevices::Call::PrepareHeader, true);
}

MMRESULT waveInUnprepareHeader(HWAVEIN hwi, WAVEHDR* pwh, std::uint32_t cbwh) {
    return SetPrepared(hwi, pwh, cbwh, WaveInDevices::Call::UnprepareHeader, false);
}

MMRESULT waveInAddBuffer(HWAVEIN hwi, WAVEHDR* pwh, std::uint32_t cbwh) {
    WaveInDevice* device = nullptr;
    if (const MMRESULT error = Check(hwi, pwh, cbwh, &device); error != MMSYSERR_NOERROR) {
        return error;
    }
    if (const MMRESULT injected =
            WaveInDevices::Instance().Injected(WaveInDevices::Call::AddBuffer);
        injected != MMSYSERR_NOERROR) {
        return injected;
    }
    return device->AddBuffer(pwh);
}

MMRESULT waveInStart(HWAVEIN hwi) {
    WaveInDevice* device = WaveInDevices::Instance().Find(hwi);
    if (device == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    if (const MMRESULT injected = WaveInDevices::Instance().Injected(WaveInDevices::Call::Start);
        injected != MMSYSERR_NOERROR) {
        return injected;
    }
    return device->Start();
}

MMRESULT waveInStop(HWAVEIN hwi) {
    WaveInDevice* device = WaveInDevices::Instance().Find(hwi);
    return device == nullptr ? MMSYSERR_INVALHANDLE : device->Stop();
}

MMRESULT waveInReset(HWAVEIN hwi) {
    WaveInDevice* device = WaveInDevices::Instance().Find(hwi);
    return device == nullptr ? MMSYSERR_INVALHANDLE : device->Reset();
}

MMRESULT waveInClose(HWAVEIN hwi) {
    return WaveInDevices::Instance().Close(hwi);
}
