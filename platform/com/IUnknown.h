#pragma once
// The root of every component interface: interface lookup and reference counting.

#include "Guid.h"
#include "HResult.h"

#include <cstdint>

class IUnknown {
public:
    /// On success stores an AddRef'ed pointer in *ppv; E_NOINTERFACE (and *ppv = nullptr)
    /// for an interface the object does not have; E_POINTER when ppv is null.
    virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
    virtual std::uint32_t AddRef() = 0;
    /// Drops one reference; the object deletes itself when the count reaches 0.
    virtual std::uint32_t Release() = 0;

protected:
    virtual ~IUnknown() = default;
};
