#pragma once
// The BMP loader object of libpixload.

#include "bitmap_loader/IKaleidPixload.h"
#include "platform/com/DispatchObject.h"
#include "platform/com/ServerModule.h"

class CKaleidPixload final : public DispatchObject, public IKaleidPixload {
public:
    /// A new object with one reference, as its IUnknown.
    static IUnknown* Create();

    /// Answers IUnknown, IDispatch and IKaleidPixload, always with the same pointer.
    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    HRESULT GetTypeInfoCount(std::uint32_t* pctinfo) override;
    /// Knows "LoadABitmap" (DISPID 1).
    HRESULT GetIDsOfNames(REFIID riid, const char* const* rgszNames, std::uint32_t cNames,
                          LCID lcid, DISPID* rgDispId) override;
    /// LoadABitmap(filename, Kaleid) returns the bitmap number as VT_I4; Kaleid may be a
    /// dispatch or unknown interface, or empty.
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, std::uint16_t wFlags,
                   DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                   std::uint32_t* puArgErr) override;

    HRESULT LoadABitmap(const std::string& filename, IDispatch* Kaleid,
                        std::int32_t* pResult) override;

private:
    CKaleidPixload();
    ~CKaleidPixload() override;

    ServerModule::ObjectLock moduleLock_;
};
