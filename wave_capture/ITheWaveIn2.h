#pragma once
// The capture control TheWaveIn2 of libWavGrab2 (type library WavGrab2Lib 1.0): its
// identities, member numbers and dual interface.

#include "platform/com/IDispatch.h"

#include <cstdint>
#include <string>

inline constexpr GUID LIBID_WavGrab2Lib{
    0x91764280, 0x1CF9, 0x11D7, {0xB5, 0x51, 0xBF, 0xF4, 0x2E, 0xA5, 0xB5, 0x70}};
inline constexpr CLSID CLSID_TheWaveIn2{
    0xA9B89643, 0x1CF9, 0x11D7, {0xB5, 0x51, 0xBF, 0xF4, 0x2E, 0xA5, 0xB5, 0x70}};
inline constexpr IID IID_ITheWaveIn2{
    0xA9B89642, 0x1CF9, 0x11D7, {0xB5, 0x51, 0xBF, 0xF4, 0x2E, 0xA5, 0xB5, 0x70}};

/// Member numbers of ITheWaveIn2, in interface order (9 is not used).
inline constexpr DISPID DISPID_InCount = 1;
inline constexpr DISPID DISPID_InName = 2;
inline constexpr DISPID DISPID_InSelected = 3;
inline constexpr DISPID DISPID_Start = 4;
inline constexpr DISPID DISPID_End = 5;
inline constexpr DISPID DISPID_Running = 6;
inline constexpr DISPID DISPID_InputVolume = 7;
inline constexpr DISPID DISPID_CalcFreq = 8;
inline constexpr DISPID DISPID_GetFaseByFreq = 10;
inline constexpr DISPID DISPID_SubSine = 11;
inline constexpr DISPID DISPID_GetWaveData = 12;
inline constexpr DISPID DISPID_WaveDataSize = 13;
inline constexpr DISPID DISPID_InValid = 14;

/// Captures 44.1 kHz mono 8-bit sound from one input and measures it. Device numbers are
/// 1-based; 0 is the default input. Booleans are -1 (true) and 0 (false). Every member
/// returns S_OK unless said otherwise; messages go through the prompter.
class ITheWaveIn2 : public IDispatch {
public:
    /// Number of wave-input devices.
    virtual HRESULT InCount(std::int32_t* pVal) = 0;
    /// Product name of device Nr; "" for a number that names no device. Shows "Don't support
    /// 44.100 kHz, Mono, 8-bit" (caption "InName") first when the device reports no formats.
    virtual HRESULT InName(std::int32_t Nr, std::string* pVal) = 0;
    virtual HRESULT get_InSelected(std::int32_t* pVal) = 0;
    /// The device the next Start opens; not checked.
    virtual HRESULT put_InSelected(std::int32_t newVal) = 0;
    /// Stops a running capture, opens the selected device and starts capturing into two
    /// alternating 4000-byte buffers. E_FAIL after a message (caption "Start") when a step
    /// fails.
    virtual HRESULT Start() = 0;
    /// Stops capturing and closes the device; S_OK also when idle.
    virtual HRESULT End() = 0;
    virtual HRESULT get_Running(VARIANT_BOOL* pVal) = 0;
    /// 256 times the mean absolute deviation from silence of the last buffer: 0 to 32768.
    virtual HRESULT get_InputVolume(std::int32_t* pVal) = 0;
    /// Amplitude of frequency `freq` in the wave data: about 16·A for a tone of amplitude A
    /// sample units. 0 before any data has come in.
    virtual HRESULT CalcFreq(float freq, std::int32_t* pVal) = 0;
    /// Phase angle (0 to 3.1399, or -1.0) found by the last CalcFreq of `freq`; E_FAIL when
    /// `freq` was never analysed.
    virtual HRESULT GetFaseByFreq(float freq, float* pVal) = 0;
    /// Subtracts volume/32 · sin(i·w + phase) from the first 4000 bytes of the wave data.
    virtual HRESULT SubSine(float freq, float volume, float phase) = 0;
    /// Byte `index` (0..39999) of the wave data; E_INVALIDARG outside that range.
    virtual HRESULT GetWaveData(std::int32_t index, std::int32_t* pVal) = 0;
    /// Number of bytes of the last buffer.
    virtual HRESULT WaveDataSize(std::int32_t* pVal) = 0;
    /// Whether device Nr can deliver 44.1 kHz mono 8-bit; false for a number that names no
    /// device.
    virtual HRESULT InValid(std::int32_t Nr, VARIANT_BOOL* pVal) = 0;
};
