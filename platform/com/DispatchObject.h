#pragma once
// Base for component objects that are called by name: a reference count and a table of
// members, each with its DISPID, its number of arguments and a handler.

#include "IDispatch.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

/// The arguments of a call in call order (first argument first), read in place from the
/// caller's reversed array: nothing is copied per call.
class DispatchArgs {
public:
    DispatchArgs(const VARIANT* reversed, std::size_t count) : reversed_(reversed), count_(count) {}
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    /// Argument `i` in call order; i < size().
    const VARIANT& operator[](std::size_t i) const { return reversed_[count_ - 1 - i]; }

private:
    const VARIANT* reversed_;
    std::size_t count_;
};

class DispatchObject : public IDispatch {
public:
    /// A member's body. `args` are in call order (first argument first); `result` may be
    /// null when the caller wants no result.
    using Handler = std::function<HRESULT(DispatchArgs args, VARIANT* result)>;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;

    HRESULT GetTypeInfoCount(std::uint32_t* pctinfo) override;
    HRESULT GetIDsOfNames(REFIID riid, const char* const* rgszNames, std::uint32_t cNames,
                          LCID lcid, DISPID* rgDispId) override;
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, std::uint16_t wFlags,
                   DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                   std::uint32_t* puArgErr) override;

    /// Reads argument `index` (call order) as a 32-bit integer with automation conversion;
    /// DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW when it is not one.
    static HRESULT ArgToLong(DispatchArgs args, std::size_t index, std::int32_t& out) {
        if (index < args.size() && args[index].vt() == VT_I4) {
            out = args[index].lVal();
            return S_OK;
        }
        return ConvertArgToLong(args, index, out);
    }

protected:
    /// `interfaceId` is the object's own dual interface, answered by QueryInterface beside
    /// IUnknown and IDispatch.
    explicit DispatchObject(const IID& interfaceId);
    ~DispatchObject() override;

    /// Adds a callable member. Names are matched without regard to case.
    void AddMember(std::string name, DISPID id, std::size_t argCount, Handler handler);

private:
    /// ArgToLong for an argument that is missing or no VT_I4.
    static HRESULT ConvertArgToLong(DispatchArgs args, std::size_t index, std::int32_t& out);

    struct Member {
        std::string name;
        DISPID id;
        std::size_t argCount;
        Handler handler;
    };
    const Member* FindMember(DISPID id) const;

    /// Call-order index of the argument that ArgToLong last refused on this thread.
    inline static thread_local std::size_t lastBadArg_ = 0;

    IID interfaceId_;
    std::atomic<std::uint32_t> refs_{1};
    std::vector<Member> members_;
};
