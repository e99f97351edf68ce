#pragma once
// The tagged value passed through late-bound calls.

#include "HResult.h"

#include <cstdint>
#include <string>

class IUnknown;
class IDispatch;

using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_UNKNOWN = 13,
    VT_UI1 = 17,
};

/// A value of one of the automation types. Strings are UTF-8. Interface pointers are held
/// with a reference (AddRef on copy, Release on clear).
class VARIANT {
public:
    VARIANT() noexcept = default;
    VARIANT(const VARIANT& other);
    VARIANT(VARIANT&& other) noexcept;
    VARIANT& operator=(const VARIANT& other);
    VARIANT& operator=(VARIANT&& other) noexcept;
    ~VARIANT();

    static VARIANT I2(std::int16_t v);
    static VARIANT I4(std::int32_t v);
    static VARIANT R4(float v);
    static VARIANT R8(double v);
    static VARIANT UI1(std::uint8_t v);
    /// VT_BOOL holding VARIANT_TRUE (-1) or VARIANT_FALSE (0).
    static VARIANT Bool(bool v);
    static VARIANT Str(std::string v);
    static VARIANT Error(HRESULT code);
    static VARIANT Dispatch(IDispatch* p);
    static VARIANT Unknown(IUnknown* p);

    VARTYPE vt() const { return vt_; }
    std::int16_t iVal() const { return static_cast<std::int16_t>(int_); }
    std::int32_t lVal() const { return static_cast<std::int32_t>(int_); }
    std::uint8_t bVal() const { return static_cast<std::uint8_t>(int_); }
    VARIANT_BOOL boolVal() const { return static_cast<VARIANT_BOOL>(int_); }
    HRESULT scode() const { return static_cast<HRESULT>(int_); }
    float fltVal() const { return static_cast<float>(real_); }
    double dblVal() const { return real_; }
    const std::string& bstrVal() const { return str_; }
    IDispatch* pdispVal() const;
    IUnknown* punkVal() const { return unk_; }

    /// Back to VT_EMPTY, releasing a held interface.
    void Clear();
    /// Makes this a VT_I4 holding `v`, in place: for arguments rewritten on every call of a
    /// loop.
    void PutI4(std::int32_t v) {
        if (unk_ != nullptr || !str_.empty()) {
            Clear();
        }
        vt_ = VT_I4;
        int_ = v;
        real_ = 0.0;
    }

    /// Converts to type `to` the way automation does: fractions round to the nearest
    /// integer with halves to the even neighbour; a value outside the target's range gives
    /// DISP_E_OVERFLOW; a string is parsed as a number (or "True"/"False" for VT_BOOL);
    /// anything else that cannot be converted gives DISP_E_TYPEMISMATCH. `out` is left
    /// unchanged on failure.
    HRESULT ChangeType(VARIANT& out, VARTYPE to) const;

private:
    void CopyFrom(const VARIANT& other);
    static VARIANT FromInt(VARTYPE vt, std::int64_t v);
    static VARIANT FromReal(VARTYPE vt, double v);

    VARTYPE vt_ = VT_EMPTY;
    std::int64_t int_ = 0;
    double real_ = 0.0;
    std::string str_;
    IUnknown* unk_ = nullptr;
};
