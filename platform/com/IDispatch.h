#pragma once
// Late-bound calls: members looked up by name and invoked with VARIANT arguments.

#include "IUnknown.h"
#include "Variant.h"

#include <cstdint>
#include <string>

using DISPID = std::int32_t;
using LCID = std::uint32_t;

constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_PROPERTYPUT = -3;

constexpr std::uint16_t DISPATCH_METHOD = 1;
constexpr std::uint16_t DISPATCH_PROPERTYGET = 2;
constexpr std::uint16_t DISPATCH_PROPERTYPUT = 4;

constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

/// Arguments of an Invoke. As with every automation call, rgvarg holds the arguments in
/// reverse order: rgvarg[cArgs - 1] is the first argument.
struct DISPPARAMS {
    VARIANT* rgvarg = nullptr;
    DISPID* rgdispidNamedArgs = nullptr;
    std::uint32_t cArgs = 0;
    std::uint32_t cNamedArgs = 0;
};

struct EXCEPINFO {
    std::uint16_t wCode = 0;
    std::string bstrSource;
    std::string bstrDescription;
    HRESULT scode = S_OK;
};

class IDispatch : public IUnknown {
public:
    /// Number of type descriptions the object offers (0 or 1).
    virtual HRESULT GetTypeInfoCount(std::uint32_t* pctinfo) = 0;
    /// Maps member names (case-insensitive, UTF-8) to DISPIDs. Unknown names give
    /// DISP_E_UNKNOWNNAME with DISPID_UNKNOWN in their slot.
    virtual HRESULT GetIDsOfNames(REFIID riid, const char* const* rgszNames, std::uint32_t cNames,
                                  LCID lcid, DISPID* rgDispId) = 0;
    /// Calls a member. Errors: DISP_E_MEMBERNOTFOUND, DISP_E_BADPARAMCOUNT,
    /// DISP_E_TYPEMISMATCH (with *puArgErr the index into rgvarg), DISP_E_NONAMEDARGS, ...
    virtual HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, std::uint16_t wFlags,
                           DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                           std::uint32_t* puArgErr) = 0;
};
