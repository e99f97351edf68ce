#pragma once
// The interface of the BMP loader component of libpixload (type library PIXLOADLib 1.0),
// for callers that create it with CoCreateInstance(CLSID_KaleidPixload, ...).

#include "platform/com/IDispatch.h"

#include <cstdint>
#include <string>

inline constexpr GUID LIBID_PIXLOADLib{
    0x20FA4668, 0xFEE0, 0x11D5, {0xB5, 0x50, 0xD1, 0xD7, 0x2E, 0x72, 0x52, 0x70}};
inline constexpr CLSID CLSID_KaleidPixload{
    0x20FA4677, 0xFEE0, 0x11D5, {0xB5, 0x50, 0xD1, 0xD7, 0x2E, 0x72, 0x52, 0x70}};
inline constexpr IID IID_IKaleidPixload{
    0x20FA4675, 0xFEE0, 0x11D5, {0xB5, 0x50, 0xD1, 0xD7, 0x2E, 0x72, 0x52, 0x70}};

inline constexpr DISPID DISPID_LoadABitmap = 1;

/// Dual interface: callable through these methods or by name through IDispatch.
class IKaleidPixload : public IDispatch {
public:
    /// Reads the BMP file `filename` and rebuilds it in a new bitmap of the sprite canvas
    /// `Kaleid`, calling its CreateBitmap(width, height) once and SetPixelBitmap(bitmap, x, y,
    /// red + 256 * green + 65536 * blue) for every pixel, by name. 24- and 8-bit pictures get
    /// their pixels; other depths, and a width or height of 0 or less, only the empty
    /// bitmap. *pResult receives the bitmap number as soon as CreateBitmap has returned, and
    /// keeps it when a later step fails.
    /// S_OK; E_FAIL without a message box when Kaleid is null; E_POINTER when pResult is
    /// null; otherwise E_FAIL after one message box saying what failed.
    virtual HRESULT LoadABitmap(const std::string& filename, IDispatch* Kaleid,
                                std::int32_t* pResult) = 0;
};
