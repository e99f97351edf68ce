// LoadABitmap of a board-sized 24-bit picture into a canvas that keeps its pixels, through
// the by-name calls the loader makes for every pixel.
#include "bitmap_loader/IKaleidPixload.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/DispatchObject.h"
#include "tests/support/OwnRegistry.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::int32_t kWidth = 420;
constexpr std::int32_t kHeight = 360;

class PixelCanvas final : public DispatchObject {
public:
    PixelCanvas() : DispatchObject(IID{0xBE4C, 0, 0, {}}) {
        AddMember("CreateBitmap", 1, 2, [this](DispatchArgs args, VARIANT* result) {
            std::int32_t w = 0;
            std::int32_t h = 0;
            ArgToLong(args, 0, w);
            ArgToLong(args, 1, h);
            width_ = w;
            pixels_.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
            if (result != nullptr) {
                *result = VARIANT::I4(1);
            }
            return S_OK;
        });
        AddMember("SetPixelBitmap", 2, 4, [this](DispatchArgs args, VARIANT*) {
            std::int32_t bitmap = 0;
            std::int32_t x = 0;
            std::int32_t y = 0;
            std::int32_t colour = 0;
            ArgToLong(args, 0, bitmap);
            ArgToLong(args, 1, x);
            ArgToLong(args, 2, y);
            ArgToLong(args, 3, colour);
            pixels_[static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)] =
                static_cast<std::uint32_t>(colour);
            return S_OK;
        });
    }
    const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

private:
    std::size_t width_ = 0;
    std::vector<std::uint32_t> pixels_;
};

std::string WritePicture() {
    const std::uint32_t stride = (kWidth * 3 + 3) / 4 * 4;
    const std::uint32_t size = 54 + stride * kHeight;
    std::vector<char> file(size, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            file[at + i] = static_cast<char>(v >> (8 * i));
        }
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, kWidth);
    put32(22, kHeight);
    file[26] = 1;
    file[28] = 24;
    for (std::size_t i = 54; i < file.size(); ++i) {
        file[i] = static_cast<char>(i * 31);
    }
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("tavsim-bench-" + std::to_string(getpid()) + ".bmp"))
                                 .string();
    std::ofstream(path, std::ios::binary).write(file.data(), file.size());
    return path;
}

void BM_LoadABitmap(benchmark::State& state) {
    const std::string path = WritePicture();
    ComPtr<IKaleidPixload> loader;
    if (FAILED(CoCreateInstance(CLSID_KaleidPixload, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IKaleidPixload, loader.PutVoid()))) {
        state.SkipWithError(CoLastErrorText().c_str());
        return;
    }
    auto canvas = ComPtr<PixelCanvas>::Attach(new PixelCanvas());
    for (auto _ : state) {
        std::int32_t bitmap = 0;
        if (FAILED(loader->LoadABitmap(path, canvas.Get(), &bitmap))) {
            state.SkipWithError("LoadABitmap failed");
            break;
        }
        benchmark::DoNotOptimize(canvas->Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadABitmap)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    UseOwnRegistryUnlessSet();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
