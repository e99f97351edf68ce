#pragma once

#include "IUnknown.h"

class IClassFactory : public IUnknown {
public:
    /// Creates an object of the factory's class and returns interface riid of it.
    /// CLASS_E_NOAGGREGATION when pUnkOuter is given.
    virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) = 0;
    /// Locks (fLock true) or unlocks the server in memory.
    virtual HRESULT LockServer(bool fLock) = 0;
};
