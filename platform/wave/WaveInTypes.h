#pragma once
// The structures, result codes and flags of wave input, with the values and meanings that the
// capture controls were written against.

#include <cstdint>

/// An open wave-input device. Handles are never reused within a process, so a notification
/// that arrives after its device was closed never names a device opened later.
using HWAVEIN = struct HWAVEIN__*;
using MMRESULT = std::uint32_t;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_STILLPLAYING = 33;
constexpr MMRESULT WAVERR_UNPREPARED = 34;

/// Device id of the default input.
constexpr std::uint32_t WAVE_MAPPER = 0xFFFFFFFFu;

/// Format-mask bit: 44.1 kHz, mono, 8-bit.
constexpr std::uint32_t WAVE_FORMAT_4M08 = 0x00000100u;
constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

/// Notification by events posted to the owning object (`waveInOpen`'s target).
constexpr std::uint32_t CALLBACK_WINDOW = 0x00010000u;

/// What a device can do.
struct WAVEINCAPS {
    std::uint16_t wMid = 0;
    std::uint16_t wPid = 0;
    std::uint32_t vDriverVersion = 0;
    /// Product name, UTF-8, zero-terminated (at most 31 bytes, cut at a character boundary).
    char szPname[32] = {};
    /// The standard formats the device can deliver; WAVE_FORMAT_4M08 is the only one known.
    std::uint32_t dwFormats = 0;
    std::uint16_t wChannels = 0;
    std::uint16_t wReserved1 = 0;
};

struct WAVEFORMATEX {
    std::uint16_t wFormatTag = 0;
    std::uint16_t nChannels = 0;
    std::uint32_t nSamplesPerSec = 0;
    std::uint32_t nAvgBytesPerSec = 0;
    std::uint16_t nBlockAlign = 0;
    std::uint16_t wBitsPerSample = 0;
    std::uint16_t cbSize = 0;
};

constexpr std::uint32_t WHDR_DONE = 0x00000001u;
constexpr std::uint32_t WHDR_PREPARED = 0x00000002u;
constexpr std::uint32_t WHDR_INQUEUE = 0x00000010u;

/// One buffer handed to a device. The device fills lpData up to dwBufferLength bytes and sets
/// dwBytesRecorded; the header must stay valid (and the data block with it) while the header
/// is queued.
struct WAVEHDR {
    char* lpData = nullptr;
    std::uint32_t dwBufferLength = 0;
    std::uint32_t dwBytesRecorded = 0;
    std::uintptr_t dwUser = 0;
    std::uint32_t dwFlags = 0;
    std::uint32_t dwLoops = 0;
    WAVEHDR* lpNext = nullptr;
    std::uintptr_t reserved = 0;
};
