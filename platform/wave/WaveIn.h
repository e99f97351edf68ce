#pragma once
// Wave input: the calls the capture controls make. Every call is made on the user-interface
// thread; the device notifies its owner with WaveInEvents posted to that thread, so that no
// code of the caller ever runs on another thread.
//
// Devices are numbered from 0; WAVE_MAPPER (-1) is the default input. Which devices exist is
// decided by WaveInDevices: the real sound inputs, or the virtual ones of TAVSIM_WAVE_INPUTS.

#include "platform/wave/WaveInTypes.h"

#include <cstdint>

class QObject;

/// Number of wave-input devices; 0 when there is no sound server and no virtual device.
std::uint32_t waveInGetNumDevs();

/// Fills *pwic (of size cbwic) with the capabilities of device `uDeviceID`.
/// MMSYSERR_BADDEVICEID (and *pwic untouched) for a device that does not exist;
/// MMSYSERR_INVALPARAM without pwic or with a size smaller than WAVEINCAPS.
MMRESULT waveInGetDevCaps(std::uint32_t uDeviceID, WAVEINCAPS* pwic, std::uint32_t cbwic);

/// Opens device `uDeviceID` for capture in format *pwfx. With CALLBACK_WINDOW in fdwOpen the
/// device posts WaveInEvents (open, data, close) to `target`; they are dropped if the target
/// is gone. Only PCM, 1 channel, 44100 Hz, 8 bits can be opened, and only on a device whose
/// mask has WAVE_FORMAT_4M08 (otherwise WAVERR_BADFORMAT). MMSYSERR_BADDEVICEID for a device
/// that does not exist; MMSYSERR_NODRIVER for WAVE_MAPPER when there is no device at all;
/// MMSYSERR_INVALPARAM without phwi or pwfx, or with CALLBACK_WINDOW and no target.
MMRESULT waveInOpen(HWAVEIN* phwi, std::uint32_t uDeviceID, const WAVEFORMATEX* pwfx,
                    QObject* target, std::uintptr_t dwInstance, std::uint32_t fdwOpen);

/// Marks a header prepared. WAVERR_STILLPLAYING while it is queued.
MMRESULT waveInPrepareHeader(HWAVEIN hwi, WAVEHDR* pwh, std::uint32_t cbwh);
/// Clears the prepared mark. WAVERR_STILLPLAYING while it is queued.
MMRESULT waveInUnprepareHeader(HWAVEIN hwi, WAVEHDR* pwh, std::uint32_t cbwh);
/// Queues a prepared buffer (dwBytesRecorded back to 0). WAVERR_UNPREPARED when it is not
/// prepared, WAVERR_STILLPLAYING when it is queued already.
MMRESULT waveInAddBuffer(HWAVEIN hwi, WAVEHDR* pwh, std::uint32_t cbwh);
/// Starts filling the queued buffers, in queue order; a completed buffer is marked WHDR_DONE
/// and reported with an MM_WIM_DATA event. Sound that comes while no buffer is queued is lost.
MMRESULT waveInStart(HWAVEIN hwi);
/// Stops filling. The buffer being filled, if any, is returned as completed with what it
/// holds; the other queued buffers stay queued.
MMRESULT waveInStop(HWAVEIN hwi);
/// Stops filling and returns every queued buffer as completed.
MMRESULT waveInReset(HWAVEIN hwi);
/// Closes the device. WAVERR_STILLPLAYING, and the device stays open, while buffers are still
/// queued.
MMRESULT waveInClose(HWAVEIN hwi);
