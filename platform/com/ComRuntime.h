#pragma once
// Making objects of component classes: by class id or ProgID, from whichever library serves
// them (see InprocServerLoader).

#include "platform/com/IUnknown.h"

#include <cstdint>
#include <string>
#include <string_view>

constexpr std::uint32_t CLSCTX_INPROC_SERVER = 0x1;
constexpr std::uint32_t CLSCTX_INPROC_HANDLER = 0x2;
constexpr std::uint32_t CLSCTX_LOCAL_SERVER = 0x4;
constexpr std::uint32_t CLSCTX_REMOTE_SERVER = 0x10;
constexpr std::uint32_t CLSCTX_ALL =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

/// The class object (normally the IClassFactory) of `clsid`. Only in-process servers exist:
/// a context without CLSCTX_INPROC_SERVER gives REGDB_E_CLASSNOTREG. Other results as
/// InprocServerLoader::GetClassObject.
HRESULT CoGetClassObject(REFCLSID clsid, std::uint32_t context, REFIID riid, void** ppv);

/// A new object of class `clsid`, as interface riid. E_POINTER without ppv;
/// REGDB_E_CLASSNOTREG when no library serves the class; CLASS_E_NOAGGREGATION with an
/// outer object; E_NOINTERFACE when the object lacks riid. *ppv is null on failure.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, std::uint32_t context, REFIID riid,
                         void** ppv);

/// The class of a ProgID such as "KaleidPixload.KaleidPixload" (versioned or not).
/// E_POINTER without clsid; CO_E_CLASSSTRING when the ProgID is unknown.
HRESULT CLSIDFromProgID(std::string_view progId, CLSID* clsid);

/// What the last failed call of this thread to one of the functions above failed on (the
/// class or ProgID and the library file), for messages; empty after a success.
std::string CoLastErrorText();
