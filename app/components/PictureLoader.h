#pragma once
// Loads the program's pictures into bitmaps of the sprite canvas through the BMP loader
// component KaleidPixload.

#include "platform/com/ComPtr.h"
#include "platform/com/IDispatch.h"

#include <cstdint>
#include <string>
#include <string_view>

class KaleidoATL;

/// Holds one BMP loader component object, made on the first Load and kept for the life of
/// the PictureLoader, so that a board component keeps its loader as long as itself.
class PictureLoader {
public:
    PictureLoader() = default;
    PictureLoader(const PictureLoader&) = delete;
    PictureLoader& operator=(const PictureLoader&) = delete;

    /// The program's folder followed by `name`, which starts with '/' ("/images2/Bord.bmp").
    /// The folder is ProgramFolder::Path().
    static std::string DataPath(std::string_view name);

    /// Loads the picture DataPath(name) into a new bitmap of `mag` and returns its handle,
    /// which is never 0. Throws PictureLoadError naming the file when the loader component
    /// cannot be made or does not deliver a bitmap; when it refused the file itself, it has
    /// already shown its message. The canvas is told where the sharper versions of the
    /// picture lie (SharperPath), to load them the same way when its scale needs them.
    std::int32_t Load(KaleidoATL& mag, std::string_view name);

    /// The version of `file` drawn at `factor` times its size: ".../Bord.bmp" gives
    /// ".../Bord@3x.bmp".
    static std::string SharperPath(const std::string& file, int factor);

private:
    /// Loads the picture at the full path `file`; throws as Load does.
    std::int32_t LoadFile(KaleidoATL& mag, std::string file);

    /// Makes the loader component object and finds its LoadABitmap member; throws
    /// PictureLoadError naming `file` when either fails.
    void MakeLoader(const std::string& file);

    ComPtr<IDispatch> loader_;
    DISPID loadABitmap_ = DISPID_UNKNOWN;
};
