#pragma once
// Owns one reference to a component interface.

#include "IUnknown.h"

#include <utility>

template <class T> class ComPtr {
public:
    ComPtr() = default;
    /// Takes a new reference to p (AddRef).
    explicit ComPtr(T* p) : p_(p) {
        if (p_ != nullptr) {
            p_->AddRef();
        }
    }
    ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    /// Adopts a reference the caller already owns (no AddRef).
    static ComPtr Attach(T* p) {
        ComPtr r;
        r.p_ = p;
        return r;
    }
    /// Gives up the reference without releasing it.
    T* Detach() { return std::exchange(p_, nullptr); }
    void Reset() {
        if (T* p = std::exchange(p_, nullptr)) {
            p->Release();
        }
    }
    /// Releases the present reference and returns the slot for an out parameter.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

    /// QueryInterface into another interface type.
    template <class U> HRESULT As(REFIID iid, ComPtr<U>& out) const {
        if (p_ == nullptr) {
            return E_POINTER;
        }
        return p_->QueryInterface(iid, out.PutVoid());
    }

private:
    T* p_ = nullptr;
};
