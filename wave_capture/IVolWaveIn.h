#pragma once
// The volume meter control VolWaveIn of libWavGrab2: its identities, member numbers and dual
// interface. The members are those of ITheWaveIn2 with the same numbers, except InValid.

#include "wave_capture/ITheWaveIn2.h"

inline constexpr CLSID CLSID_VolWaveIn{
    0x21E1AD61, 0x1FEC, 0x11D7, {0xB5, 0x51, 0x9D, 0x82, 0x65, 0xB3, 0x15, 0x70}};
inline constexpr IID IID_IVolWaveIn{
    0x21E1AD60, 0x1FEC, 0x11D7, {0xB5, 0x51, 0x9D, 0x82, 0x65, 0xB3, 0x15, 0x70}};

/// InValid of IVolWaveIn; the other members keep their ITheWaveIn2 numbers.
inline constexpr DISPID DISPID_VolInValid = 9;

/// Captures and measures the input level only. Unlike TheWaveIn2: InName shows no message,
/// Start keeps the re-queue phase, End leaves Running true, and every buffer that comes
/// back is measured, also after End.
class IVolWaveIn : public IDispatch {
public:
    virtual HRESULT InCount(std::int32_t* pVal) = 0;
    virtual HRESULT InName(std::int32_t Nr, std::string* pVal) = 0;
    virtual HRESULT get_InSelected(std::int32_t* pVal) = 0;
    virtual HRESULT put_InSelected(std::int32_t newVal) = 0;
    virtual HRESULT Start() = 0;
    virtual HRESULT End() = 0;
    virtual HRESULT get_Running(VARIANT_BOOL* pVal) = 0;
    virtual HRESULT get_InputVolume(std::int32_t* pVal) = 0;
    virtual HRESULT InValid(std::int32_t Nr, VARIANT_BOOL* pVal) = 0;
};
