#include "platform/com/ClassFactory.h"

#include "platform/com/ServerModule.h"

#include <exception>
#include <new>

ClassFactory::ClassFactory(const ClassEntry& entry, ServerModule& module)
    : entry_(entry), module_(module) {}

HRESULT ClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

std::uint32_t ClassFactory::AddRef() {
    return ++refs_;
}

std::uint32_t ClassFactory::Release() {
    const std::uint32_t left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (pUnkOuter != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    IUnknown* object = nullptr;
    try {
        object = entry_.create != nullptr ? entry_.create() : nullptr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception&) {
        return E_FAIL;
    }
    if (object == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

HRESULT ClassFactory::LockServer(bool fLock) {
    if (fLock) {
        module_.Lock();
    } else {
        module_.Unlock();
    }
    return S_OK;
}
