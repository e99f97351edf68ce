#pragma once
// Stands in for the sprite canvas: answers CreateBitmap and SetPixelBitmap by name, records
// every call with the locale, flags and argument types it came with, and can fail a chosen
// call.

#include "platform/com/DispatchObject.h"

#include <optional>
#include <vector>

struct FakeCanvasOptions {
    bool hasCreateBitmap = true;
    bool hasSetPixelBitmap = true;
    HRESULT createFails = S_OK;
    /// 0-based number of the SetPixelBitmap call that fails with pixelError.
    std::optional<std::size_t> failPixel;
    HRESULT pixelError = E_FAIL;
};

class FakeCanvas final : public DispatchObject {
public:
    struct Pixel {
        std::int32_t bitmap, x, y, colour;
        friend bool operator==(const Pixel&, const Pixel&) = default;
    };
    struct Call {
        LCID lcid;
        std::uint16_t flags;
        std::vector<VARTYPE> types; // in call order
    };

    /// Made with one reference; hold it in ComPtr<FakeCanvas>::Attach.
    explicit FakeCanvas(FakeCanvasOptions options = {})
        : DispatchObject(IID{0xFACE, 0, 0, {}}), options_(std::move(options)) {
        if (options_.hasCreateBitmap) {
            AddMember("CreateBitmap", 10, 2, [this](DispatchArgs args, VARIANT* r) {
                std::int32_t w = 0;
                std::int32_t h = 0;
                ArgToLong(args, 0, w);
                ArgToLong(args, 1, h);
                created.push_back({w, h});
                if (FAILED(options_.createFails)) {
                    return options_.createFails;
                }
                if (r != nullptr) {
                    *r = VARIANT::I4(7);
                }
                return S_OK;
            });
        }
        if (options_.hasSetPixelBitmap) {
            AddMember("SetPixelBitmap", 11, 4, [this](DispatchArgs args, VARIANT*) {
                if (options_.failPixel && pixelCalls++ == *options_.failPixel) {
                    return options_.pixelError;
                }
                Pixel p{};
                ArgToLong(args, 0, p.bitmap);
                ArgToLong(args, 1, p.x);
                ArgToLong(args, 2, p.y);
                ArgToLong(args, 3, p.colour);
                pixels.push_back(p);
                return S_OK;
            });
        }
    }

    HRESULT GetIDsOfNames(REFIID riid, const char* const* names, std::uint32_t count, LCID lcid,
                          DISPID* ids) override {
        lookupLocales.push_back(lcid);
        return DispatchObject::GetIDsOfNames(riid, names, count, lcid, ids);
    }
    HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, std::uint16_t flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, std::uint32_t* argErr) override {
        Call call{lcid, flags, {}};
        for (std::uint32_t i = params->cArgs; i > 0; --i) {
            call.types.push_back(params->rgvarg[i - 1].vt());
        }
        calls.push_back(std::move(call));
        return DispatchObject::Invoke(id, riid, lcid, flags, params, result, exception, argErr);
    }

    std::vector<std::pair<std::int32_t, std::int32_t>> created;
    std::vector<Pixel> pixels;
    std::vector<LCID> lookupLocales;
    std::vector<Call> calls;

private:
    FakeCanvasOptions options_;
    std::size_t pixelCalls = 0;
};
