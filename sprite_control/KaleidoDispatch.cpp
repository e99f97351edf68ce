#include "sprite_control/KaleidoDispatch.h"

#include "sprite_control/KaleidoATL.h"

KaleidoDispatch::KaleidoDispatch(KaleidoATL* canvas)
    : DispatchObject(IID_IKaleidoATL), canvas_(canvas) {
    AddMember("CreateBitmap", kCreateBitmap, 2,
              [this](DispatchArgs args, VARIANT* result) -> HRESULT {
                  if (canvas_ == nullptr) {
                      return E_UNEXPECTED;
                  }
                  std::int32_t w = 0;
                  std::int32_t h = 0;
                  HRESULT hr = ArgToLong(args, 0, w);
                  if (SUCCEEDED(hr)) {
                      hr = ArgToLong(args, 1, h);
                  }
                  if (FAILED(hr)) {
                      return hr;
                  }
                  const std::int32_t bitmap = canvas_->CreateBitmap(w, h);
                  if (bitmap == 0) {
                      return E_INVALIDARG; // too large a picture, or no memory for it
                  }
                  if (result != nullptr) {
                      *result = VARIANT::I4(bitmap);
                  }
                  return S_OK;
              });
    AddMember("SetPixelBitmap", kSetPixelBitmap, 4,
              [this](DispatchArgs args, VARIANT* /*result*/) -> HRESULT {
                  if (canvas_ == nullptr) {
                      return E_UNEXPECTED;
                  }
                  std::int32_t v[4] = {};
                  for (std::size_t i = 0; i < 4; ++i) {
                      if (const HRESULT hr = ArgToLong(args, i, v[i]); FAILED(hr)) {
                          return hr;
                      }
                  }
                  // A pixel outside the bitmap is ignored; an unknown bitmap is the
                  // caller's mistake and is reported.
                  return canvas_->SetPixelBitmap(v[0], v[1], v[2], v[3]) ? S_OK : E_INVALIDARG;
              });
}
