// LoadABitmap on any file, with a canvas that records its calls. A load that succeeds made
// one bitmap of the file's size and, for 8- and 24-bit pictures, set each of its pixels
// exactly once, row by row from the top; a load that fails said so in one message box.

#include "bitmap_loader/CKaleidPixload.h"
#include "fuzz/support/FuzzTempFile.h"
#include "platform/com/ComPtr.h"
#include "platform/ui/ScriptedPrompter.h"
#include "tests/bitmap_loader/FakeCanvas.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "LoadABitmap: %s\n", what);
    std::abort();
}

std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScriptedPrompter prompter;
    static IKaleidPixload* loader = [] {
        Prompter::Install(&prompter);
        IUnknown* unknown = CKaleidPixload::Create();
        IKaleidPixload* p = nullptr;
        if (unknown == nullptr ||
            FAILED(unknown->QueryInterface(IID_IKaleidPixload, reinterpret_cast<void**>(&p)))) {
            Fail("no loader");
        }
        unknown->Release();
        return p;
    }();
    static const FuzzTempFile file(".bmp");
    file.Write(data, size);
    prompter.messages.clear();
    ComPtr<FakeCanvas> canvas = ComPtr<FakeCanvas>::Attach(new FakeCanvas());
    std::int32_t bitmap = 0;
    const HRESULT hr = loader->LoadABitmap(file.Path(), canvas.Get(), &bitmap);
    if (FAILED(hr)) {
        if (prompter.messages.size() != 1) {
            Fail("a failed load did not show exactly one message");
        }
        return 0;
    }
    if (!prompter.messages.empty()) {
        Fail("a load that succeeded showed a message");
    }
    if (size < 54) {
        Fail("a file shorter than its headers was loaded");
    }
    const auto width = static_cast<std::int32_t>(U32(data + 18));
    const auto height = static_cast<std::int32_t>(U32(data + 22));
    const unsigned bits = data[28] | (data[29] << 8);
    if (canvas->created.size() != 1 || canvas->created[0] != std::pair{width, height} ||
        bitmap != 7) {
        Fail("not one bitmap of the file's size");
    }
    const bool hasPixels = (bits == 8 || bits == 24) && width > 0 && height > 0;
    const std::size_t expected =
        hasPixels ? static_cast<std::size_t>(width) * static_cast<std::size_t>(height) : 0;
    if (canvas->pixels.size() != expected) {
        Fail("not every pixel set exactly once");
    }
    for (std::size_t i = 0; i < canvas->pixels.size(); ++i) {
        const FakeCanvas::Pixel& p = canvas->pixels[i];
        if (p.bitmap != 7 || p.x != static_cast<std::int32_t>(i % width) ||
            p.y != static_cast<std::int32_t>(i / width) || p.colour < 0 || p.colour > 0xFFFFFF) {
            Fail("a pixel out of order, outside the bitmap or with a colour that is none");
        }
    }
    return 0;
}
