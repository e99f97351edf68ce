#include "app/components/PictureLoader.h"

#include "app/components/PictureLoadError.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/Guid.h"
#include "platform/ui/ProgramFolder.h"
#include "sprite_control/KaleidoATL.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

constexpr std::string_view kLoaderProgId = "KaleidPixload.KaleidPixload";

std::string Hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(hr));
    return text;
}

} // namespace

std::string PictureLoader::DataPath(std::string_view name) {
    return ProgramFolder::Path() + std::string(name);
}

void PictureLoader::MakeLoader(const std::string& file) {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(kLoaderProgId, &clsid);
    ComPtr<IDispatch> loader;
    if (SUCCEEDED(hr)) {
        hr =
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, loader.PutVoid());
    }
    if (FAILED(hr) || !loader) {
        std::string reason = CoLastErrorText();
        if (reason.empty()) {
            reason = "foutcode " + Hex(hr);
        }
        throw PictureLoadError(file, std::string(kLoaderProgId), reason + " (" + Hex(hr) + ")");
    }
    const char* const names[] = {"LoadABitmap"};
    DISPID id = DISPID_UNKNOWN;
    hr = loader->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        throw PictureLoadError(file, std::string(kLoaderProgId),
                               "het kent LoadABitmap niet (" + Hex(hr) + ")");
    }
    loader_ = std::move(loader);
    loadABitmap_ = id;
}

std::int32_t PictureLoader::Load(KaleidoATL& mag, std::string_view name) {
    const std::int32_t bitmap = LoadFile(mag, DataPath(name));
    // The canvas loads a sharper version itself, the same way, when its scale asks for one.
    mag.SetSharperSource(bitmap, [&mag, file = DataPath(name)](int factor) -> std::int32_t {
        const std::string sharper = SharperPath(file, factor);
        std::error_code error;
        if (!std::filesystem::is_regular_file(sharper, error)) {
            return 0;
        }
        try {
            PictureLoader loader;
            return loader.LoadFile(mag, sharper);
        } catch (const PictureLoadError& e) {
            std::fprintf(stderr, "tavsim: %s\n", e.what());
            return 0;
        }
    });
    return bitmap;
}

std::string PictureLoader::SharperPath(const std::string& file, int factor) {
    const std::size_t dot = file.rfind('.');
    const std::size_t slash = file.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return file + "@" + std::to_string(factor) + "x";
    }
    return file.substr(0, dot) + "@" + std::to_string(factor) + "x" + file.substr(dot);
}

std::int32_t PictureLoader::LoadFile(KaleidoATL& mag, std::string file) {
    if (!loader_) {
        MakeLoader(file);
    }
    const ComPtr<IDispatch> canvas = mag.Object();
    // Arguments in reverse order: the canvas object, then the file name.
    VARIANT args[2] = {VARIANT::Dispatch(canvas.Get()), VARIANT::Str(file)};
    DISPPARAMS params;
    params.rgvarg = args;
    params.cArgs = 2;
    VARIANT result;
    EXCEPINFO excep;
    std::uint32_t argErr = 0;
    const HRESULT hr = loader_->Invoke(loadABitmap_, IID_NULL, LOCALE_SYSTEM_DEFAULT,
                                       DISPATCH_METHOD, &params, &result, &excep, &argErr);
    if (FAILED(hr)) {
        throw PictureLoadError(std::move(file), "LoadABitmap failed (" + Hex(hr) + ")");
    }
    VARIANT handle;
    if (FAILED(result.ChangeType(handle, VT_I4)) || handle.lVal() <= 0) {
        throw PictureLoadError(std::move(file), "LoadABitmap gave no bitmap");
    }
    return handle.lVal();
}
