#pragma once
// The class factory that a server module hands out for each row of its class table.

#include "platform/com/ClassEntry.h"
#include "platform/com/IClassFactory.h"

#include <atomic>

class ServerModule;

class ClassFactory final : public IClassFactory {
public:
    /// Starts with one reference, owned by the caller.
    ClassFactory(const ClassEntry& entry, ServerModule& module);

    /// Answers IUnknown and IClassFactory.
    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;

    /// E_POINTER without ppv; CLASS_E_NOAGGREGATION with an outer object; E_OUTOFMEMORY
    /// when the object cannot be made; E_NOINTERFACE when it lacks riid.
    HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    /// Adds or removes a server lock on the module.
    HRESULT LockServer(bool fLock) override;

private:
    ~ClassFactory() override = default;

    ClassEntry entry_;
    ServerModule& module_;
    std::atomic<std::uint32_t> refs_{1};
};
