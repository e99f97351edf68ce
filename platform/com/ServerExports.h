#pragma once
// The exports of a component library, and the signatures by which loaders find them.
//
// TAVSIM_SERVER_EXPORTS(accessor) defines, for the ServerModule that `accessor()` returns:
//   DllGetClassObject, DllCanUnloadNow, DllRegisterServer, DllUnregisterServer
// and TavsimClassFromProgID, which lets CLSIDFromProgID find a class of a library that has
// not been registered.
//
// TAVSIM_SERVER_CLASSES("{CLSID} ProgID.1 ProgID\n" ...) exports the library's class list,
// one line per class of its table. A loader looking for an unregistered class reads it from
// the file, so that only the library that serves the class is ever loaded.

#include "platform/com/ServerModule.h"

using DllGetClassObjectFunction = HRESULT (*)(REFCLSID rclsid, REFIID riid, void** ppv);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();
using DllUnregisterServerFunction = HRESULT (*)();
using TavsimClassFromProgIDFunction = HRESULT (*)(const char* progId, CLSID* clsid);

#define TAVSIM_SERVER_EXPORT extern "C" __attribute__((visibility("default")))

/// Name of the exported class list.
inline constexpr const char* kClassListSymbol = "TavsimServerClasses";

#define TAVSIM_SERVER_CLASSES(list)                                                                \
    TAVSIM_SERVER_EXPORT const char TavsimServerClasses[];                                         \
    const char TavsimServerClasses[] = list;

#define TAVSIM_SERVER_EXPORTS(accessor)                                                            \
    TAVSIM_SERVER_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {     \
        return accessor().GetClassObject(rclsid, riid, ppv);                                       \
    }                                                                                              \
    TAVSIM_SERVER_EXPORT HRESULT DllCanUnloadNow() {                                               \
        return accessor().CanUnloadNow();                                                          \
    }                                                                                              \
    TAVSIM_SERVER_EXPORT HRESULT DllRegisterServer() {                                             \
        return accessor().RegisterServer();                                                        \
    }                                                                                              \
    TAVSIM_SERVER_EXPORT HRESULT DllUnregisterServer() {                                           \
        return accessor().UnregisterServer();                                                      \
    }                                                                                              \
    TAVSIM_SERVER_EXPORT HRESULT TavsimClassFromProgID(const char* progId, CLSID* clsid) {         \
        return progId == nullptr ? CO_E_CLASSSTRING : accessor().ClassFromProgID(progId, clsid);   \
    }
