#pragma once
// The sprite canvas as a component object: the members that other components call by name.

#include "platform/com/DispatchObject.h"

class KaleidoATL;

/// Interface identifier of the canvas's dispatch interface.
inline constexpr IID IID_IKaleidoATL{
    0x6B1F3C52, 0x2D4E, 0x4A17, {0x9C, 0x31, 0x5E, 0x0B, 0x7A, 0xD2, 0x44, 0x18}};

/// Callable by name: CreateBitmap(width, height) returning the bitmap handle, and
/// SetPixelBitmap(bitmap, x, y, colour). Once the canvas is gone every call gives
/// E_UNEXPECTED; the object itself lives until its last reference is released.
class KaleidoDispatch final : public DispatchObject {
public:
    /// Starts with one reference, owned by the canvas.
    explicit KaleidoDispatch(KaleidoATL* canvas);

    /// Called by the canvas as it goes; later calls fail with E_UNEXPECTED.
    void ForgetCanvas() { canvas_ = nullptr; }

    static constexpr DISPID kCreateBitmap = 1;
    static constexpr DISPID kSetPixelBitmap = 2;

private:
    ~KaleidoDispatch() override = default;

    KaleidoATL* canvas_;
};
